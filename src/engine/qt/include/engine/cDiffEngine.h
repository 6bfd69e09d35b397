#pragma once
// The window's interface to the engine: settings, a compare call taking
// the two paths, a result code and result lines.
//
// Result codes: 0 identical, 1 different, 2 the comparison failed (result
// line 0 then says why). For differing text files the result lines are the
// normal output of the engine's writer (difference commands LaR, RdL, RcR
// with 1-based line numbers, each followed by the "< " lines of File One,
// "---", and the "> " lines of File Two); for binary files there is one
// line "Binary files <one> <two> differ". The outcome is also kept typed,
// with the hunks and the files read, for callers that need no text.

#include "engine/Comparison.h"
#include "engine/Emit.h"
#include "engine/LineDiff.h"
#include "engine/LineFile.h"
#include "engine/MovedLines.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <memory>
#include <optional>
#include <vector>

class cDiffEngine {
public:
    cDiffEngine() = default;
    // The result lines refer to the hunks and files held here.
    cDiffEngine(const cDiffEngine&) = delete;
    cDiffEngine& operator=(const cDiffEngine&) = delete;

    void IgnoreCase(bool on) { m_ignoreCase = on; }
    void IgnoreWhiteSpace(bool on) { m_ignoreWhiteSpace = on; }
    // Runs of blanks equal, blanks at line ends ignored (as diff -b).
    void IgnoreWhiteSpaceChanges(bool on) { m_ignoreSpaceChange = on; }
    // CR LF equals LF; a last line without an ending equals one with.
    void IgnoreLineEndings(bool on) { m_ignoreLineEndings = on; }
    // Differences made only of blank lines do not count (as diff -B).
    void IgnoreBlankLines(bool on) { m_ignoreBlankLines = on; }
    // Lines matching one of these regular expressions take no part in the
    // comparison (see LineFilterPatterns); none by default.
    void LineFilters(const QStringList& patterns) { m_lineFilters = patterns; }
    void ForceTextCompare(bool on) { m_forceText = on; }
    // Always find a smallest result, however long it takes (off by
    // default: very different files then get a good, fast result).
    void Minimal(bool on) { m_minimal = on; }
    // Read files that start with a UTF-16 or UTF-32 byte-order mark as
    // text (on by default: the window shows them as text; the files held
    // then hold their UTF-8 decoding).
    void DecodeUnicode(bool on) { m_decodeUnicode = on; }
    [[nodiscard]] bool IgnoreCase() const { return m_ignoreCase; }
    [[nodiscard]] bool IgnoreWhiteSpace() const { return m_ignoreWhiteSpace; }
    [[nodiscard]] bool IgnoreWhiteSpaceChanges() const { return m_ignoreSpaceChange; }
    [[nodiscard]] bool IgnoreLineEndings() const { return m_ignoreLineEndings; }
    [[nodiscard]] bool IgnoreBlankLines() const { return m_ignoreBlankLines; }
    [[nodiscard]] bool ForceTextCompare() const { return m_forceText; }
    [[nodiscard]] bool Minimal() const { return m_minimal; }
    [[nodiscard]] bool DecodeUnicode() const { return m_decodeUnicode; }

    // What CompareFiles compares with under these settings, but for the line
    // filters (compiled by CompareFiles itself, see LineFilterPatterns).
    [[nodiscard]] CompareSettings Settings() const;
    [[nodiscard]] const QStringList& LineFilters() const { return m_lineFilters; }

    // 0 identical, 1 different, 2 the comparison failed (line 0 says why).
    [[nodiscard]] int CompareFiles(const QString& fileOne, const QString& fileTwo);
    [[nodiscard]] int ResultLineCount() const;
    // Line `index` of the result, decoded for display; empty when out of range.
    [[nodiscard]] QString ResultLine(int index) const;
    // The same line as the exact bytes written to a patch file.
    [[nodiscard]] QByteArray ResultLineBytes(int index) const;

    // What the last CompareFiles found; Failed before the first one.
    [[nodiscard]] Outcome LastOutcome() const { return m_outcome; }
    // Why the last comparison failed (result line 0); empty unless it failed.
    [[nodiscard]] QString FailureText() const { return m_outcome == Outcome::Failed ? m_singleLine : QString(); }
    // The difference blocks of the last text comparison (0-based lines).
    [[nodiscard]] const std::vector<LineDiff::Hunk>& Hunks() const { return m_hunks; }
    // The files read for the last comparison (which = 0 for File One, 1 for
    // File Two), or null when it failed or the files were not text.
    [[nodiscard]] std::shared_ptr<const LineFile> LoadedFile(int which) const;
    // The lines of that file the line filters left out of the last
    // comparison; null when no filter was given.
    [[nodiscard]] std::shared_ptr<const LineMask> SkippedLines(int which) const;
    // The lines the last text comparison found moved, under its settings;
    // none when it found no difference.
    [[nodiscard]] std::vector<MovedLines::Move> FindMoves() const;

    // The text a failed file access is reported with: the path as given
    // and the system's reason.
    [[nodiscard]] static QString DescribeFileError(const FileError& error);

private:
    int Fail(const QString& text);
    void Clear();

    bool m_ignoreCase = false;
    bool m_ignoreWhiteSpace = false;
    bool m_ignoreSpaceChange = false;
    bool m_ignoreLineEndings = false;
    bool m_ignoreBlankLines = false;
    QStringList m_lineFilters;
    bool m_forceText = false;
    bool m_minimal = false;
    bool m_decodeUnicode = true;

    Outcome m_outcome = Outcome::Failed;
    // Error text or the binary line, when the result is that single line.
    QString m_singleLine;
    std::shared_ptr<const LineFile> m_files[2];
    std::shared_ptr<const LineMask> m_skipped[2];
    LineDiff::Settings m_lineSettings;  // of the last comparison
    std::vector<LineDiff::Hunk> m_hunks;
    std::optional<Emit::NormalLines> m_lines;
};
