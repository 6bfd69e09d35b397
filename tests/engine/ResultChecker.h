#pragma once
// Test helpers: result lines applied to File One as `patch` would, checking
// every number; brute-force LCS; changed lines; random texts; files.

#include "engine/LineDiff.h"
#include "support/FileBytes.h"

#include <QByteArray>
#include <QList>
#include <QRandomGenerator>
#include <QString>
#include <QTemporaryDir>

#include <algorithm>
#include <numeric>
#include <utility>
#include <vector>

namespace ResultChecker {

inline QString Write(const QString& path, const QByteArray& bytes)
{
    if (!FileBytes::Write(path, bytes))
        qFatal("cannot write test file");
    return path;
}

class Folder {
protected:
    QTemporaryDir m_dir;

    QString Write(const QString& name, const QByteArray& bytes)
    {
        return ResultChecker::Write(m_dir.filePath(name), bytes);
    }
};

// Lines with their line endings, as in the file.
inline QList<QByteArray> SplitKeepingEnds(const QByteArray& bytes)
{
    QList<QByteArray> lines;
    for (qsizetype start = 0, lf = 0; start < bytes.size(); start = lf < 0 ? bytes.size() : lf + 1)
        lines << bytes.mid(start, (lf = bytes.indexOf('\n', start)) < 0 ? -1 : lf + 1 - start);
    return lines;
}

struct Range {
    qint64 first = 0, last = 0;
};

inline bool ParseRange(const QByteArray& text, Range& r)
{
    const QList<QByteArray> parts = text.split(',');
    bool ok1 = false, ok2 = true;
    r.first = parts[0].toLongLong(&ok1);
    r.last = parts.size() == 2 ? parts[1].toLongLong(&ok2) : r.first;
    return ok1 && ok2 && parts.size() <= 2 && r.last >= r.first;
}

// A part of a script: where it starts in File One and in File Two (0-based),
// how many lines of each it covers, and its lines: ' ' (context), '-' or '+'
// with the line's text, ending in LF unless a "\ No newline" line followed.
struct Part {
    qint64 start1 = 0, start2 = 0, count1 = 0, count2 = 0;
    QList<std::pair<char, QByteArray>> lines;
};

// Takes the "\ No newline" line at `i`, if there is one, for the part's last line.
inline void TakeNoNewline(const QList<QByteArray>& lines, qsizetype& i, Part& part)
{
    if (i < lines.size() && lines[i].startsWith('\\') && !part.lines.isEmpty()
        && part.lines.last().second.endsWith('\n')) {
        part.lines.last().second.chop(1);
        ++i;
    }
}

// Applies the parts to `one` into `out`, exactly: each starts where its
// numbers say, its context and removed lines are File One's with their
// line ends, and it holds as many lines as its counts. Returns what was wrong.
inline QString ApplyParts(const QByteArray& one, const QList<Part>& parts, QByteArray& out)
{
    const QList<QByteArray> a = SplitKeepingEnds(one);
    QList<QByteArray> b;
    qint64 pos = 0;  // lines of File One used so far
    for (const Part& part : parts) {
        if (part.start1 < pos || part.start1 > a.size())
            return QStringLiteral("part out of order at line %1").arg(part.start1);
        while (pos < part.start1)
            b << a[pos++];
        if (part.start2 != b.size())
            return QStringLiteral("File Two number wrong at line %1").arg(part.start1);
        qint64 old = 0, added = 0;
        for (const auto& [kind, text] : part.lines) {
            if (kind != '+' && (pos >= a.size() || a[pos++] != text))
                return QStringLiteral("line %1 is not File One's").arg(pos);
            if (kind != '-')
                b << text;
            old += kind != '+';
            added += kind != '-';
        }
        if (old != part.count1 || added != part.count2)
            return QStringLiteral("counts wrong at line %1").arg(part.start1);
    }
    while (pos < a.size())
        b << a[pos++];
    out = b.join();
    return {};
}

// Applies normal-form result lines to `one` into `out`; returns what was wrong.
inline QString Apply(const QByteArray& one, const QList<QByteArray>& result, QByteArray& out)
{
    QList<Part> parts;
    for (qsizetype i = 0; i < result.size();) {
        const QByteArray cmd = result[i++];
        const QString bad = QStringLiteral("bad command ") + QString::fromLatin1(cmd);
        const qsizetype at =
            std::find_if(cmd.begin(), cmd.end(), [](char c) { return c == 'a' || c == 'd' || c == 'c'; }) - cmd.begin();
        Range left, right;
        if (at == cmd.size() || !ParseRange(cmd.left(at), left) || !ParseRange(cmd.mid(at + 1), right)
            || (cmd[at] == 'a' && left.last != left.first) || (cmd[at] == 'd' && right.last != right.first))
            return bad;
        const bool adds = cmd[at] != 'd', removes = cmd[at] != 'a';
        Part part{removes ? left.first - 1 : left.first,
                  adds ? right.first - 1 : right.first,
                  removes ? left.last - left.first + 1 : 0,
                  adds ? right.last - right.first + 1 : 0,
                  {}};
        const auto take = [&](char kind, const char* prefix, qint64 count) {
            for (; count > 0 && i < result.size() && result[i].startsWith(prefix); --count)
                part.lines.append({kind, result[i++].mid(2) + '\n'});
            TakeNoNewline(result, i, part);
            return count == 0;
        };
        if (!take('-', "< ", part.count1) || (adds && removes && (i >= result.size() || result[i++] != "---"))
            || !take('+', "> ", part.count2))
            return bad;
        parts << part;
    }
    return ApplyParts(one, parts, out);
}

// The same for a normal-form script as written, one line feed after each line.
inline QString ApplyNormal(const QByteArray& one, const QByteArray& script, QByteArray& out)
{
    QList<QByteArray> lines = script.split('\n');
    if (lines.last().isEmpty())
        lines.removeLast();
    return Apply(one, lines, out);
}

// Applies unified output (headers, then "@@ -a,b +c,d @@" hunks) to `one`
// into `out`, as exactly. Returns what was wrong.
inline QString ApplyUnified(const QByteArray& one, const QByteArray& patch, QByteArray& out)
{
    QList<QByteArray> lines = patch.split('\n');
    if (lines.size() < 2 || !lines[0].startsWith("--- ") || !lines[1].startsWith("+++ "))
        return QStringLiteral("no headers");
    if (lines.last().isEmpty())
        lines.removeLast();
    QList<Part> parts;
    for (qsizetype i = 2; i < lines.size();) {
        const QList<QByteArray> head = lines[i++].split(' ');
        if (head.size() < 4 || head[0] != "@@" || !head[1].startsWith('-') || !head[2].startsWith('+'))
            return QStringLiteral("bad hunk header ") + QString::fromLatin1(lines[i - 1]);
        // "-l,s": an empty range names the line before it; the length 1 is left out.
        const auto range = [](const QByteArray& text, qint64& start, qint64& count) {
            const QList<QByteArray> numbers = text.mid(1).split(',');
            count = numbers.size() > 1 ? numbers[1].toLongLong() : 1;
            start = numbers[0].toLongLong() - (count > 0);
        };
        Part part;
        range(head[1], part.start1, part.count1);
        range(head[2], part.start2, part.count2);
        for (qint64 old = part.count1, added = part.count2; i < lines.size() && (old > 0 || added > 0);) {
            const char kind = lines[i].isEmpty() ? ' ' : lines[i][0];
            if (kind != ' ' && kind != '-' && kind != '+')
                return QStringLiteral("bad line ") + QString::fromLatin1(lines[i]);
            part.lines.append({kind, lines[i++].mid(1) + '\n'});
            old -= kind != '+';
            added -= kind != '-';
            TakeNoNewline(lines, i, part);
        }
        parts << part;
    }
    return ApplyParts(one, parts, out);
}

// Length of a longest common subsequence of two sequences (of lines, or
// of characters), by table.
template <class Sequence>
qint64 LcsLength(const Sequence& a, const Sequence& b)
{
    const auto n = qint64(a.size()), m = qint64(b.size());
    std::vector<qint64> row(std::size_t(m) + 1, 0);
    for (qint64 i = 1; i <= n; ++i)
        for (qint64 j = 1, diagonal = 0; j <= m; ++j)
            diagonal = std::exchange(row[j], a[i - 1] == b[j - 1] ? diagonal + 1 : std::max(row[j], row[j - 1]));
    return row.back();
}

// Lines the hunks remove or add.
inline qint64 ChangedLines(const std::vector<LineDiff::Hunk>& hunks)
{
    return std::accumulate(hunks.begin(), hunks.end(), qint64(0),
                           [](qint64 n, const LineDiff::Hunk& h) { return n + h.count1 + h.count2; });
}

// `count` lines drawn from `alphabet` distinct lines.
inline QList<QByteArray> RandomLines(QRandomGenerator& rng, int count, int alphabet)
{
    QList<QByteArray> lines;
    while (lines.size() < count)
        lines << "line " + QByteArray::number(rng.bounded(alphabet));
    return lines;
}

// A copy of `lines` with a few random insertions, deletions and changes.
inline QList<QByteArray> Edited(QRandomGenerator& rng, QList<QByteArray> lines, int edits, int alphabet)
{
    for (int e = 0; e < edits; ++e) {
        const int kind = rng.bounded(3);
        if (kind == 0 && !lines.isEmpty())
            lines.removeAt(rng.bounded(lines.size()));
        else if (kind == 1)
            lines.insert(rng.bounded(lines.size() + 1), "line " + QByteArray::number(rng.bounded(alphabet)));
        else if (!lines.isEmpty())
            lines[rng.bounded(lines.size())] = "new " + QByteArray::number(rng.bounded(alphabet));
    }
    return lines;
}

inline QByteArray Join(const QList<QByteArray>& lines, const QByteArray& ending, bool finalNewline)
{
    return lines.join(ending) + (!lines.isEmpty() && finalNewline ? ending : QByteArray());
}

}  // namespace ResultChecker
