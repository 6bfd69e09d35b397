#include "options/IniText.h"

#include <QChar>
#include <QHash>
#include <QList>
#include <QString>

#include <algorithm>
#include <cstring>
#include <utility>

namespace IniText {
namespace {

struct Line {
    qsizetype start = 0;  // first byte of the line
    qsizetype end = 0;    // one past its last byte, line ending excluded
    qsizetype next = 0;   // first byte of the following line
};

// Where the next `byte` lies at or after `from` (size when none): each
// search starts where the last one ended, so a text is scanned once.
class NextByte {
public:
    NextByte(const QByteArray& text, char byte) : m_text(text), m_byte(byte) {}
    qsizetype At(qsizetype from)
    {
        if (m_found < from) {
            const void* hit =
                std::memchr(m_text.constData() + from, m_byte, static_cast<std::size_t>(m_text.size() - from));
            m_found = hit ? static_cast<const char*>(hit) - m_text.constData() : m_text.size();
        }
        return m_found;
    }

private:
    const QByteArray& m_text;
    char m_byte;
    qsizetype m_found = -1;
};

// Lines end in LF, CR LF or a lone CR, each line by its own.
QList<Line> SplitLines(const QByteArray& text)
{
    QList<Line> lines;
    NextByte lf(text, '\n');
    NextByte cr(text, '\r');
    const qsizetype size = text.size();
    qsizetype start = 0;
    while (start < size) {
        const qsizetype end = std::min(lf.At(start), cr.At(start));
        qsizetype next = end;
        if (next < size)
            next += text.at(next) == '\r' && next + 1 < size && text.at(next + 1) == '\n' ? 2 : 1;
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

// Whether the line's first non-blank byte is '[': most lines are not
// headers, and are passed over without a copy.
bool MayBeHeader(const QByteArray& text, const Line& line)
{
    for (qsizetype i = line.start; i < line.end; ++i) {
        if (!QChar::isSpace(static_cast<unsigned char>(text.at(i))))
            return text.at(i) == '[';
    }
    return false;
}

// The section headers of a text: their lines and names, in order.
struct Header {
    qsizetype line = 0;
    QByteArray name;
};

QList<Header> FindHeaders(const QByteArray& text, const QList<Line>& lines)
{
    QList<Header> headers;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        if (!MayBeHeader(text, lines[i]))
            continue;
        if (std::optional<QByteArray> name = SectionName(Content(text, lines[i])))
            headers.append({i, std::move(*name)});
    }
    return headers;
}

// The first section of that name; its keys end at the next header.
SectionSpan FindSection(const QList<Header>& headers, qsizetype lineCount, const QByteArray& section)
{
    for (qsizetype h = 0; h < headers.size(); ++h) {
        if (SameName(headers[h].name, section))
            return {headers[h].line, h + 1 < headers.size() ? headers[h + 1].line : lineCount};
    }
    return {};
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

// The value of a "key=value" line, trimmed of blanks and of one pair of
// enclosing quotes.
QByteArray ValueOf(const QByteArray& content)
{
    QByteArray value = content.mid(content.indexOf('=') + 1).trimmed();
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front())
        value = value.mid(1, value.size() - 2);
    return value;
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

// A new key goes after the last non-blank line of its section, so blank
// lines that separate sections stay where they are.
qsizetype LastFilledLine(const QByteArray& text, const QList<Line>& lines, const SectionSpan& span)
{
    qsizetype last = span.header;
    for (qsizetype i = span.header + 1; i < span.end; ++i) {
        if (!Content(text, lines[i]).trimmed().isEmpty())
            last = i;
    }
    return last;
}

// A key's name as keys are matched: without regard to letter case.
QString Folded(const QByteArray& name)
{
    return QString::fromUtf8(name).toCaseFolded();
}

// New key lines of one place, in the order first written; a key written
// again keeps its place and takes the new line.
struct KeyLines {
    QList<std::pair<QByteArray, QByteArray>> lines;
    QHash<QString, qsizetype> at;  // folded name -> index in lines
};

void Set(KeyLines& keyLines, const QByteArray& key, const QByteArray& keyLine)
{
    const QString name = Folded(key);
    const auto known = keyLines.at.constFind(name);
    if (known != keyLines.at.cend()) {
        keyLines.lines[*known].second = keyLine;
        return;
    }
    keyLines.at.insert(name, keyLines.lines.size());
    keyLines.lines.append({key, keyLine});
}

// What writing the entries changes, by line of the text.
struct Edits {
    QHash<qsizetype, QByteArray> replaced;  // line -> its new content
    QHash<qsizetype, KeyLines> addedAfter;  // line -> new key lines after it
    QList<std::pair<QByteArray, KeyLines>> newSections;
};

// The line of each key of a section (the first of a name), by folded name:
// many entries of one section are placed without reading it again each.
QHash<QString, qsizetype> KeyIndex(const QByteArray& text, const QList<Line>& lines, const SectionSpan& span)
{
    QHash<QString, qsizetype> index;
    // From the end, so that the first of a name is the one kept.
    for (qsizetype i = span.end - 1; i > span.header; --i) {
        if (const std::optional<QByteArray> name = KeyName(Content(text, lines[i])))
            index.insert(Folded(*name), i);
    }
    return index;
}

Edits PlanEdits(const QByteArray& text, const QList<Line>& lines, const QList<Entry>& entries)
{
    const QList<Header> headers = FindHeaders(text, lines);
    QHash<qsizetype, QHash<QString, qsizetype>> keyIndexes;  // by the section's header line
    Edits edits;
    for (const Entry& entry : entries) {
        const QByteArray keyLine = entry.key + '=' + OneLine(entry.value);
        const SectionSpan span = FindSection(headers, lines.size(), entry.section);
        if (span.header < 0) {
            auto known = std::find_if(edits.newSections.begin(), edits.newSections.end(),
                                      [&](const auto& added) { return SameName(added.first, entry.section); });
            if (known == edits.newSections.end())
                known = edits.newSections.insert(edits.newSections.end(), {entry.section, KeyLines()});
            Set(known->second, entry.key, keyLine);
            continue;
        }
        auto index = keyIndexes.find(span.header);
        if (index == keyIndexes.end())
            index = keyIndexes.insert(span.header, KeyIndex(text, lines, span));
        const qsizetype at = index->value(Folded(entry.key), -1);
        if (at >= 0)
            edits.replaced.insert(at, keyLine);
        else
            Set(edits.addedAfter[LastFilledLine(text, lines, span)], entry.key, keyLine);
    }
    return edits;
}

// The text with the edits made: untouched lines byte for byte, new lines
// ending in eol, new sections at the end.
QByteArray Apply(const QByteArray& text, const QList<Line>& lines, const QByteArray& eol, const Edits& edits)
{
    QByteArray out;
    out.reserve(text.size() + 1024);
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const Line& line = lines[i];
        const auto replacement = edits.replaced.constFind(i);
        if (replacement != edits.replaced.cend())
            out += *replacement;
        else
            out.append(text.constData() + line.start, line.end - line.start);
        const auto added = edits.addedAfter.constFind(i);
        if (added != edits.addedAfter.cend()) {
            for (const auto& [name, keyLine] : added->lines)
                out += eol + keyLine;
        }
        // A last line without an ending gets one when lines follow it.
        if (line.next > line.end || added == edits.addedAfter.cend())
            out.append(text.constData() + line.end, line.next - line.end);
        else
            out += eol;
    }
    if (!edits.newSections.isEmpty() && !out.isEmpty() && !out.endsWith('\n') && !out.endsWith('\r'))
        out += eol;
    for (const auto& [name, keyLines] : edits.newSections) {
        out += '[' + name + ']' + eol;
        for (const auto& [key, keyLine] : keyLines.lines)
            out += keyLine + eol;
    }
    return out;
}

}  // namespace

std::optional<QByteArray> Read(const QByteArray& text, const QByteArray& section, const QByteArray& key)
{
    const QList<Line> lines = SplitLines(text);
    const SectionSpan span = FindSection(FindHeaders(text, lines), lines.size(), section);
    if (span.header < 0)
        return std::nullopt;
    const qsizetype at = FindKey(text, lines, span, key);
    if (at < 0)
        return std::nullopt;
    return ValueOf(Content(text, lines[at]));
}

QList<Entry> ReadSection(const QByteArray& text, const QByteArray& section)
{
    QList<Entry> entries;
    const QList<Line> lines = SplitLines(text);
    const SectionSpan span = FindSection(FindHeaders(text, lines), lines.size(), section);
    for (qsizetype i = span.header + 1; span.header >= 0 && i < span.end; ++i) {
        const QByteArray content = Content(text, lines[i]);
        if (std::optional<QByteArray> name = KeyName(content))
            entries.append({section, std::move(*name), ValueOf(content)});
    }
    return entries;
}

QByteArray Write(const QByteArray& text, const QByteArray& section, const QByteArray& key, const QByteArray& value)
{
    return Write(text, QList<Entry>{{section, key, value}});
}

QByteArray Write(const QByteArray& text, const QList<Entry>& entries)
{
    const QList<Line> lines = SplitLines(text);
    return Apply(text, lines, LineEnding(text, lines), PlanEdits(text, lines, entries));
}

}  // namespace IniText
