#pragma once
// Test helpers: result lines applied to File One as `patch` would, checking
// every number; brute-force LCS; changed lines; random texts; files.

#include "engine/LineDiff.h"

#include <QByteArray>
#include <QFile>
#include <QList>
#include <QRandomGenerator>
#include <QString>

#include <algorithm>
#include <utility>
#include <vector>

namespace ResultChecker {

inline QString Write(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) || f.write(bytes) != bytes.size())
        qFatal("cannot write test file");
    return path;
}

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

// Applies `result` to `one` into `out`; returns what was wrong, if anything.
inline QString Apply(const QByteArray& one, const QList<QByteArray>& result, QByteArray& out)
{
    const QList<QByteArray> a = SplitKeepingEnds(one);
    QList<QByteArray> b;
    qint64 pos = 0;  // lines of File One used so far
    qsizetype i = 0;
    auto copyUpTo = [&](qint64 line) {
        while (pos < line)
            b << a[pos++];
    };
    while (i < result.size()) {
        const QByteArray cmd = result[i++];
        const QString bad = QStringLiteral("bad command ") + QString::fromLatin1(cmd);
        const qsizetype letterAt =
            std::find_if(cmd.begin(), cmd.end(), [](char c) { return c == 'a' || c == 'd' || c == 'c'; }) - cmd.begin();
        Range left, right;
        if (letterAt == cmd.size() || !ParseRange(cmd.left(letterAt), left)
            || !ParseRange(cmd.mid(letterAt + 1), right))
            return bad;
        const char letter = cmd[letterAt];
        // 0-based starts of File One's and File Two's parts.
        const qint64 oneStart = letter == 'a' ? left.first : left.first - 1;
        const qint64 twoStart = letter == 'd' ? right.first : right.first - 1;
        if ((letter == 'a' && left.last != left.first) || (letter == 'd' && right.last != right.first) || oneStart < pos
            || oneStart > a.size())
            return bad + " (range or order)";
        copyUpTo(oneStart);
        if (twoStart != b.size())
            return bad + " (File Two number)";
        if (letter != 'a') {
            for (qint64 n = left.first; n <= left.last; ++n) {
                if (i >= result.size() || pos >= a.size()
                    || result[i] != "< " + (a[pos].endsWith('\n') ? a[pos].chopped(1) : a[pos]))
                    return bad + " (< line)";
                ++i, ++pos;
            }
            if (i < result.size() && result[i].startsWith('\\')) {
                if (a[pos - 1].endsWith('\n'))
                    return bad + " (no-newline mark)";
                ++i;
            }
        }
        if (letter == 'c' && (i >= result.size() || result[i++] != "---"))
            return bad + " (---)";
        if (letter != 'd') {
            for (qint64 n = right.first; n <= right.last; ++n) {
                if (i >= result.size() || !result[i].startsWith("> "))
                    return bad + " (> line)";
                b << result[i++].mid(2) + '\n';
            }
            if (i < result.size() && result[i].startsWith('\\')) {
                b.last().chop(1);
                ++i;
            }
        }
    }
    copyUpTo(a.size());
    out = b.join();
    return {};
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
// into `out`, exactly: every hunk must start where its numbers say, and
// its context and removed lines must be File One's. Returns what was wrong.
inline QString ApplyUnified(const QByteArray& one, const QByteArray& patch, QByteArray& out)
{
    const QList<QByteArray> a = SplitKeepingEnds(one);
    QList<QByteArray> lines = patch.split('\n');
    if (lines.size() < 2 || !lines[0].startsWith("--- ") || !lines[1].startsWith("+++ "))
        return QStringLiteral("no headers");
    if (lines.last().isEmpty())
        lines.removeLast();
    QList<QByteArray> b;
    qint64 pos = 0;
    for (qsizetype i = 2; i < lines.size();) {
        const QList<QByteArray> head = lines[i++].split(' ');
        if (head.size() < 4 || head[0] != "@@" || !head[1].startsWith('-') || !head[2].startsWith('+'))
            return QStringLiteral("bad hunk header ") + QString::fromLatin1(lines[i - 1]);
        const auto count = [](const QByteArray& range) {
            return range.contains(',') ? range.split(',')[1].toLongLong() : 1;
        };
        const auto start = [](const QByteArray& range) { return range.split(',')[0].mid(1).toLongLong(); };
        qint64 oldLeft = count(head[1]), newLeft = count(head[2]);
        // An empty range names the line before it.
        const qint64 oldStart = oldLeft == 0 ? start(head[1]) : start(head[1]) - 1;
        if (oldStart < pos || oldStart > a.size())
            return QStringLiteral("hunk out of order");
        while (pos < oldStart)
            b << a[pos++];
        if ((newLeft == 0 ? start(head[2]) : start(head[2]) - 1) != b.size())
            return QStringLiteral("new start wrong");
        for (; i < lines.size() && (oldLeft > 0 || newLeft > 0 || lines[i].startsWith('\\')); ++i) {
            const QByteArray& l = lines[i];
            const char kind = l.isEmpty() ? ' ' : l[0];
            if (kind == '\\') {
                // Only an added line had a line feed put after it here.
                if (lines[i - 1].startsWith('+') && b.last().endsWith('\n'))
                    b.last().chop(1);
                continue;
            }
            const QByteArray text = l.mid(1) + '\n';
            if (kind == ' ' || kind == '-') {
                if (pos >= a.size() || (a[pos] != text && a[pos] != l.mid(1)) || oldLeft-- <= 0)
                    return QStringLiteral("context or removed line differs at line %1").arg(pos + 1);
                if (kind == ' ')
                    b << a[pos];
                ++pos;
            }
            if (kind == '+')
                b << text;
            if ((kind == ' ' || kind == '+') && newLeft-- <= 0)
                return QStringLiteral("too many new lines");
        }
        if (oldLeft != 0 || newLeft != 0)
            return QStringLiteral("hunk counts wrong");
    }
    while (pos < a.size())
        b << a[pos++];
    out = b.join();
    return {};
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
    qint64 n = 0;
    for (const LineDiff::Hunk& h : hunks)
        n += h.count1 + h.count2;
    return n;
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
