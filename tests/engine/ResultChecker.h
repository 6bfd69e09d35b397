#pragma once
// Test helpers: apply result lines to File One the way `patch` would,
// checking every command's numbers; brute-force LCS; random texts; files.

#include <QByteArray>
#include <QFile>
#include <QList>
#include <QRandomGenerator>
#include <QString>

#include <algorithm>
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

struct Range { qint64 first = 0, last = 0; };

inline bool ParseRange(const QByteArray& text, Range& r)
{
    const QList<QByteArray> parts = text.split(',');
    bool ok1 = false, ok2 = true;
    r.first = parts.value(0).toLongLong(&ok1);
    r.last = parts.size() == 2 ? parts[1].toLongLong(&ok2) : r.first;
    return ok1 && ok2 && parts.size() <= 2 && r.last >= r.first;
}

// Applies `result` to `one`. Returns an empty string and sets `out` on
// success, otherwise says what was wrong.
inline QString Apply(const QByteArray& one, const QList<QByteArray>& result, QByteArray& out)
{
    const QList<QByteArray> a = SplitKeepingEnds(one);
    QList<QByteArray> b;
    qint64 pos = 0;  // lines of File One used so far
    qsizetype i = 0;
    auto copyUpTo = [&](qint64 line) { while (pos < line) b << a[pos++]; };
    while (i < result.size()) {
        const QByteArray cmd = result[i++];
        const qsizetype letterAt = std::find_if(cmd.begin(), cmd.end(), [](char c) { return c == 'a' || c == 'd' || c == 'c'; }) - cmd.begin();
        Range left, right;
        if (letterAt == cmd.size() || !ParseRange(cmd.left(letterAt), left) || !ParseRange(cmd.mid(letterAt + 1), right))
            return QStringLiteral("not a command: ") + QString::fromLatin1(cmd);
        const char letter = cmd[letterAt];
        // Where File One's part starts (0-based) and File Two's part starts.
        const qint64 oneStart = letter == 'a' ? left.first : left.first - 1;
        const qint64 twoStart = letter == 'd' ? right.first : right.first - 1;
        if ((letter == 'a' && left.last != left.first) || (letter == 'd' && right.last != right.first))
            return QStringLiteral("a single line number expected: ") + QString::fromLatin1(cmd);
        if (oneStart < pos || oneStart > a.size())
            return QStringLiteral("command out of order or range: ") + QString::fromLatin1(cmd);
        copyUpTo(oneStart);
        if (twoStart != b.size())
            return QStringLiteral("File Two number disagrees with the applied text: ") + QString::fromLatin1(cmd);
        if (letter != 'a') {
            for (qint64 n = left.first; n <= left.last; ++n) {
                if (i >= result.size() || pos >= a.size() || result[i] != "< " + (a[pos].endsWith('\n') ? a[pos].chopped(1) : a[pos]))
                    return QStringLiteral("deleted line does not match File One at ") + QString::fromLatin1(cmd);
                ++i, ++pos;
            }
            if (i < result.size() && result[i].startsWith('\\')) {
                if (a[pos - 1].endsWith('\n'))
                    return QStringLiteral("no-newline mark on a line that has one");
                ++i;
            }
        }
        if (letter == 'c' && (i >= result.size() || result[i++] != "---"))
            return QStringLiteral("missing --- in ") + QString::fromLatin1(cmd);
        if (letter != 'd') {
            for (qint64 n = right.first; n <= right.last; ++n) {
                if (i >= result.size() || !result[i].startsWith("> "))
                    return QStringLiteral("missing > line in ") + QString::fromLatin1(cmd);
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

// Length of a longest common subsequence of two line lists, by table.
inline qint64 LcsLength(const QList<QByteArray>& a, const QList<QByteArray>& b)
{
    std::vector<qint64> row(static_cast<size_t>(b.size() + 1), 0);
    for (qsizetype i = 1; i <= a.size(); ++i) {
        qint64 diagonal = 0;
        for (qsizetype j = 1; j <= b.size(); ++j) {
            const qint64 above = row[static_cast<size_t>(j)];
            row[static_cast<size_t>(j)] = a[i - 1] == b[j - 1] ? diagonal + 1 : std::max(above, row[static_cast<size_t>(j - 1)]);
            diagonal = above;
        }
    }
    return row.back();
}

// A random text of `count` lines drawn from `alphabet` distinct lines.
inline QList<QByteArray> RandomLines(QRandomGenerator& rng, int count, int alphabet)
{
    QList<QByteArray> lines;
    for (int i = 0; i < count; ++i)
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
