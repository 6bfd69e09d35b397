#include "options/IniText.h"

#include <QList>
#include <QString>

namespace IniText {
namespace {

struct Line {
    qsizetype start = 0;  // first byte of the line
    qsizetype end = 0;    // one past its last byte, line ending excluded
    qsizetype next = 0;   // first byte of the following line
};

// Lines end in LF, CR LF or a lone CR, each line by its own.
QList<Line> SplitLines(const QByteArray& text)
{
    QList<Line> lines;
    const char* const begin = text.constData();
    const qsizetype size = text.size();
    qsizetype start = 0;
    while (start < size) {
        qsizetype end = start;
        while (end < size && begin[end] != '\n' && begin[end] != '\r')
            ++end;
        qsizetype next = end;
        if (next < size)
            next += begin[next] == '\r' && next + 1 < size && begin[next + 1] == '\n' ? 2 : 1;
        lines.append({start, end, next});
        start = next;
    }
    return lines;
}

QByteArray Content(const QByteArray& text, const Line& line)
{
    return text.mid(line.start, line.end - line.start);
}

bool SameName(const QByteArray& a, const QByteArray& b)
{
    return QString::fromUtf8(a).compare(QString::fromUtf8(b), Qt::CaseInsensitive) == 0;
}

// The section name of a "[name]" line.
std::optional<QByteArray> SectionName(const QByteArray& content)
{
    const QByteArray trimmed = content.trimmed();
    if (!trimmed.startsWith('['))
        return std::nullopt;
    const qsizetype close = trimmed.indexOf(']');
    if (close < 0)
        return std::nullopt;
    return trimmed.mid(1, close - 1).trimmed();
}

// The key of a "key=value" line; comment lines have none.
std::optional<QByteArray> KeyName(const QByteArray& content)
{
    const QByteArray trimmed = content.trimmed();
    if (trimmed.isEmpty() || trimmed.startsWith(';') || trimmed.startsWith('['))
        return std::nullopt;
    const qsizetype equals = content.indexOf('=');
    if (equals < 0)
        return std::nullopt;
    return content.left(equals).trimmed();
}

// Where a section's lines are: the header's index and one past its last line.
struct SectionSpan {
    qsizetype header = -1;
    qsizetype end = -1;
};

SectionSpan FindSection(const QByteArray& text, const QList<Line>& lines, const QByteArray& section)
{
    SectionSpan span;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const std::optional<QByteArray> name = SectionName(Content(text, lines[i]));
        if (!name)
            continue;
        if (span.header >= 0) {
            span.end = i;
            return span;
        }
        if (SameName(*name, section))
            span.header = i;
    }
    if (span.header >= 0)
        span.end = lines.size();
    return span;
}

qsizetype FindKey(const QByteArray& text, const QList<Line>& lines, const SectionSpan& span, const QByteArray& key)
{
    for (qsizetype i = span.header + 1; i < span.end; ++i) {
        const std::optional<QByteArray> name = KeyName(Content(text, lines[i]));
        if (name && SameName(*name, key))
            return i;
    }
    return -1;
}

// The ending of the text's first line: LF, CR LF or CR (LF when none).
QByteArray LineEnding(const QByteArray& text, const QList<Line>& lines)
{
    if (lines.isEmpty() || lines.front().next == lines.front().end)
        return QByteArrayLiteral("\n");
    return text.mid(lines.front().end, lines.front().next - lines.front().end);
}

// A value must stay on its line: a line break inside it would split the
// file's structure, so it is written as a space.
QByteArray OneLine(QByteArray value)
{
    value.replace('\r', ' ');
    value.replace('\n', ' ');
    return value;
}

}  // namespace

std::optional<QByteArray> Read(const QByteArray& text, const QByteArray& section, const QByteArray& key)
{
    const QList<Line> lines = SplitLines(text);
    const SectionSpan span = FindSection(text, lines, section);
    if (span.header < 0)
        return std::nullopt;
    const qsizetype at = FindKey(text, lines, span, key);
    if (at < 0)
        return std::nullopt;
    const QByteArray content = Content(text, lines[at]);
    QByteArray value = content.mid(content.indexOf('=') + 1).trimmed();
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front())
        value = value.mid(1, value.size() - 2);
    return value;
}

QByteArray Write(const QByteArray& text, const QByteArray& section, const QByteArray& key, const QByteArray& value)
{
    const QList<Line> lines = SplitLines(text);
    const QByteArray eol = LineEnding(text, lines);
    const QByteArray keyLine = key + '=' + OneLine(value);
    const SectionSpan span = FindSection(text, lines, section);

    if (span.header < 0) {
        QByteArray out = text;
        if (!out.isEmpty() && !out.endsWith('\n') && !out.endsWith('\r'))
            out += eol;
        return out + '[' + section + ']' + eol + keyLine + eol;
    }

    const qsizetype at = FindKey(text, lines, span, key);
    if (at >= 0) {
        const Line& line = lines[at];
        return text.left(line.start) + keyLine + text.mid(line.end);
    }

    // A new key follows the last non-blank line of its section, so blank
    // lines that separate sections stay where they are.
    qsizetype after = span.header;
    for (qsizetype i = span.header + 1; i < span.end; ++i) {
        if (!Content(text, lines[i]).trimmed().isEmpty())
            after = i;
    }
    const Line& anchor = lines[after];
    QByteArray out = text.left(anchor.end);
    out += eol + keyLine;
    out += anchor.next > anchor.end ? text.mid(anchor.end) : eol;
    return out;
}

}  // namespace IniText
