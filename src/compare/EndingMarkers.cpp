#include "compare/EndingMarkers.h"

#include "engine/LineFile.h"

#include <string_view>

namespace EndingMarkers {
namespace {

constexpr char16_t kByteOrderMark = 0xFEFF;
// No-break spaces inside the tags, so that they never take the marker of a
// differing blank.
const QString kBomTag = QStringLiteral(u"\u2039BOM\u203A");
const QString kCrMarker = QStringLiteral(u"\u2039CR\u203A");
const QString kNoNewlineTag = QStringLiteral(u"\u2039no\u00A0newline\u00A0at\u00A0end\u203A");

bool StartsWithMark(const LineFile& file, std::int64_t line)
{
    return file.RawLine(line).substr(0, 3) == "\xEF\xBB\xBF";
}

bool EndsInCrLf(const LineFile& file, std::int64_t line)
{
    const std::string_view raw = file.RawLine(line);
    return !file.LineLacksNewline(line) && !raw.empty() && raw.back() == '\r';
}

bool EndsInCr(const LineFile& file, std::int64_t line)
{
    const std::string_view raw = file.RawLine(line);
    return !raw.empty() && raw.back() == '\r';
}

// What `line` of `file` has that `otherLine` of `other` lacks.
Ending Against(const LineFile& file, std::int64_t line, const LineFile& other, std::int64_t otherLine)
{
    Ending ending;
    ending.byteOrderMark = line == 0 && StartsWithMark(file, line) && !StartsWithMark(other, otherLine);
    ending.crBeforeLf = EndsInCrLf(file, line) && !EndsInCr(other, otherLine);
    // A last line ending in a CR has its line ending: the CR, shown as such.
    ending.noNewline = file.LineLacksNewline(line) && !EndsInCr(file, line) && !other.LineLacksNewline(otherLine);
    return ending;
}

}  // namespace

std::array<Ending, 2> Compare(const LineFile& one, std::int64_t lineOne, const LineFile& two, std::int64_t lineTwo)
{
    if (lineOne < 0 || lineOne >= one.LineCount() || lineTwo < 0 || lineTwo >= two.LineCount())
        return {};
    return {Against(one, lineOne, two, lineTwo), Against(two, lineTwo, one, lineOne)};
}

LineText WithMarkers(const LineText& text, Ending ending, std::vector<bool>& marks)
{
    // A mark decoded as UTF-8 is invisible, or dropped by the decoding; in
    // a line read as Windows-1252 its three bytes show as letters.
    const bool tagMark = ending.byteOrderMark && !text.mid(0, 3).startsWith(QStringLiteral(u"\u00EF\u00BB\u00BF"));
    if (!tagMark && !ending.crBeforeLf && !ending.noNewline)
        return text;
    marks.resize(static_cast<std::size_t>(text.size()), false);
    QString shown = text.toString();
    if (tagMark) {
        const bool markKept = !shown.isEmpty() && shown.front() == QChar(kByteOrderMark);
        shown.replace(0, markKept ? 1 : 0, kBomTag);
        if (markKept)
            marks.erase(marks.begin());
        marks.insert(marks.begin(), static_cast<std::size_t>(kBomTag.size()), false);
    }
    const QString tail = (ending.crBeforeLf ? kCrMarker : QString()) + (ending.noNewline ? kNoNewlineTag : QString());
    shown += tail;
    marks.insert(marks.end(), static_cast<std::size_t>(tail.size()), false);
    return LineText(shown);
}

}  // namespace EndingMarkers
