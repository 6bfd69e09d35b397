#pragma once
// An input file opened for reading, with its first block already read.
// The first block is what decides whether the file is text, so a binary
// pair can be answered without reading either file in full.

#include <QByteArray>
#include <QFile>
#include <QString>

class OpenedFile {
public:
    static constexpr qsizetype kFirstBlockSize = 64 * 1024;

    // Opens `path` and reads its first block; Error() tells why when that
    // fails (the path and the system's reason).
    explicit OpenedFile(const QString& path);

    [[nodiscard]] bool Ok() const { return m_error.isEmpty(); }
    [[nodiscard]] const QString& Error() const { return m_error; }
    [[nodiscard]] const QString& Path() const { return m_path; }
    [[nodiscard]] const QByteArray& FirstBlock() const { return m_firstBlock; }
    // True when the first block contains a NUL byte.
    [[nodiscard]] bool LooksBinary() const;
    // The size the file system reported on opening, or -1 for pipes and
    // other files whose size is not known in advance.
    [[nodiscard]] qint64 ReportedSize() const { return m_reportedSize; }

    // Reads the next bytes after everything read so far. Returns the count
    // read, 0 at the end, -1 on failure (Error() then says why).
    qint64 ReadMore(char* into, qint64 capacity);

private:
    void Fail(const char* what, const QString& reason);

    QString m_path;
    QFile m_file;
    QByteArray m_firstBlock;
    qint64 m_reportedSize = -1;
    QString m_error;
};

// True when both files hold the same bytes; reads both in fixed-size
// chunks, so the memory used does not depend on the files' sizes. On a
// read failure returns false and sets `error`.
[[nodiscard]] bool SameBytes(OpenedFile& one, OpenedFile& two, QString& error);
