#pragma once
// The lines of one file, read once and never changed afterwards, so the
// engine and the result grids can share one copy through a
// std::shared_ptr<const LineFile> and always count lines the same way.
//
// Lines end at LF. A CR right before the LF belongs to the line ending, not
// to the text; a last line without a final LF is still a line.

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <cstdint>
#include <memory>
#include <vector>

class OpenedFile;

class LineFile {
public:
    // Outcome of loading: either a file or a plain error text that names
    // the path and the system's reason.
    struct LoadResult {
        std::shared_ptr<const LineFile> file;
        QString error;
    };

    // Reads the whole file at `path`.
    [[nodiscard]] static LoadResult Load(const QString& path);
    // Reads the rest of a file whose first block has already been read.
    [[nodiscard]] static LoadResult FromOpened(OpenedFile& opened);
    // Splits bytes that are already in memory (no file behind them).
    [[nodiscard]] static std::shared_ptr<const LineFile> FromBytes(QByteArray bytes,
                                                                  QString path = {});

    [[nodiscard]] qsizetype LineCount() const
    {
        return static_cast<qsizetype>(m_wide ? m_wideStarts.size() : m_starts.size()) - 1;
    }
    // The line's text without its line ending (no LF, no CR before the LF).
    [[nodiscard]] QByteArrayView Line(qsizetype index) const;
    // The line with a CR before the LF kept, but without the LF: the bytes
    // that decide whether two lines are equal.
    [[nodiscard]] QByteArrayView RawLine(qsizetype index) const;
    // True when the file does not end in LF (and is not empty): the last
    // line then has no line ending at all.
    [[nodiscard]] bool LastLineLacksNewline() const { return m_lastLacksNewline; }
    [[nodiscard]] bool LineLacksNewline(qsizetype index) const
    {
        return m_lastLacksNewline && index == LineCount() - 1;
    }
    [[nodiscard]] QByteArrayView Bytes() const { return {m_bytes.constData(), m_bytes.size()}; }
    [[nodiscard]] const QString& Path() const { return m_path; }

    // Text for display: UTF-8 when the bytes are valid UTF-8, otherwise
    // Windows-1252 (see TextDecoding), so no byte is ever lost or turned
    // into a replacement mark.
    [[nodiscard]] static QString DecodeLine(QByteArrayView bytes);
    [[nodiscard]] QString LineText(qsizetype index) const { return DecodeLine(Line(index)); }

private:
    LineFile(QByteArray bytes, QString path);
    void Split();

    QByteArray m_bytes;
    QString m_path;
    template <class Offset>
    void SplitInto(std::vector<Offset>& starts);
    [[nodiscard]] std::uint64_t Start(size_t i) const { return m_wide ? m_wideStarts[i] : m_starts[i]; }

    // Offset of the first byte of each line, plus one entry for the end of
    // the data: line i spans [start(i), start(i + 1)) with its LF. Files
    // under 4 GiB use 32-bit offsets, half the memory per line.
    std::vector<std::uint32_t> m_starts;
    std::vector<std::uint64_t> m_wideStarts;
    bool m_wide = false;
    bool m_lastLacksNewline = false;
};
