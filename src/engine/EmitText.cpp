#include "engine/EmitText.h"

#include "engine/CharacterMarks.h"

#include <algorithm>
#include <climits>

namespace Emit {

namespace {

constexpr std::string_view kNoNewline = "\\ No newline at end of file\n";
constexpr std::size_t kHeadingLength = 40;

// A code point from a UTF-8 sequence of `length` bytes at text[at], or -1
// when the bytes there are not one.
std::int32_t Decode(std::string_view text, std::size_t at, std::size_t& length)
{
    const auto lead = static_cast<unsigned char>(text[at]);
    length = lead < 0xC2 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : lead < 0xF5 ? 4 : 1;
    if (length == 1 || at + length > text.size())
        return (length = 1, lead < 0x80 ? lead : -1);
    std::int32_t code = lead & (0x7F >> length);
    for (std::size_t k = 1; k < length; ++k) {
        const auto c = static_cast<unsigned char>(text[at + k]);
        if ((c & 0xC0) != 0x80)
            return (length = 1, -1);
        code = code << 6 | (c & 0x3F);
    }
    return code;
}

bool Wide(std::int32_t c)
{
    return (c >= 0x1100 && c <= 0x115F) || (c >= 0x2E80 && c <= 0xA4CF && c != 0x303F) || (c >= 0xAC00 && c <= 0xD7A3)
           || (c >= 0xF900 && c <= 0xFAFF) || (c >= 0xFE30 && c <= 0xFE4F) || (c >= 0xFF00 && c <= 0xFF60)
           || (c >= 0xFFE0 && c <= 0xFFE6) || (c >= 0x1F300 && c <= 0x1F64F) || (c >= 0x1F900 && c <= 0x1F9FF)
           || (c >= 0x20000 && c <= 0x3FFFD);
}

// A letter, '$' or '_' first: ASCII letters, and outside ASCII the code
// points that are not marks, punctuation or symbols.
bool StartsWithLetter(std::string_view text)
{
    if (text.empty())
        return false;
    const char first = text[0];
    if ((first >= 'a' && first <= 'z') || (first >= 'A' && first <= 'Z') || first == '$' || first == '_')
        return true;
    std::size_t length = 1;
    const std::int32_t c = Decode(text, 0, length);
    // Below Greek, as diff reads letters in a UTF-8 locale: the letters and
    // modifier letters of Latin-1 and the Latin and IPA blocks, not the
    // signs, spacing accents and combining marks among them (U+0345, the
    // combining subscript iota, counts as a letter).
    if (c < 0x370)
        return c == 0xAA || c == 0xB5 || c == 0xBA || (c >= 0xC0 && c <= 0x2C1 && c != 0xD7 && c != 0xF7)
               || (c >= 0x2C6 && c <= 0x2D1) || (c >= 0x2E0 && c <= 0x2E4) || c == 0x2EC || c == 0x2EE || c == 0x345;
    return !((c >= 0x2000 && c <= 0x2BFF) || (c >= 0x3000 && c <= 0x303F) || (c >= 0xFF00 && c <= 0xFF20)
             || (c >= 0xFF3B && c <= 0xFF40) || (c >= 0xFF5B && c <= 0xFF65) || (c >= 0xE000 && c <= 0xF8FF)
             || (c >= 0x1F000 && c <= 0x1FAFF));
}

}  // namespace

int CharColumns(std::string_view text, std::size_t at, std::size_t& length)
{
    const std::int32_t c = Decode(text, at, length);
    if (c < 0)
        return 1;
    if (c < 0x20 || (c >= 0x7F && c < 0xA0) || (c >= 0x300 && c <= 0x36F) || c == 0x200B)
        return 0;
    return Wide(c) ? 2 : 1;
}

void WriteRepeated(OutputSink& out, char c, std::int64_t count)
{
    const std::string piece(static_cast<std::size_t>(std::min<std::int64_t>(count, 4096)), c);
    for (; count > 0; count -= static_cast<std::int64_t>(piece.size()))
        out.Write(std::string_view(piece).substr(0, static_cast<std::size_t>(std::min<std::int64_t>(count, 4096))));
}

void WriteExpanded(OutputSink& out, std::string_view text, std::int64_t tabSize, std::string_view marker)
{
    std::int64_t column = 0;
    std::size_t done = 0;  // text before this is written
    for (std::size_t at = 0; at < text.size();) {
        const char c = text[at];
        if (c != '\t' && c != '\r' && c != '\b') {
            std::size_t length = 1;
            column += CharColumns(text, at, length);
            at += length;
            continue;
        }
        out.Write(text.substr(done, at - done));
        if (c == '\t') {
            const std::int64_t spaces = tabSize - column % tabSize;
            WriteRepeated(out, ' ', spaces);
            column = spaces > INT64_MAX - column ? INT64_MAX : column + spaces;
        } else {
            out.Write(text.substr(at, 1));
            if (c == '\r' && at + 1 < text.size())
                out.Write(marker);
            column = c == '\r' ? 0 : std::max<std::int64_t>(0, column - 1);
        }
        done = ++at;
    }
    out.Write(text.substr(done));
}

void WriteMarkedLine(OutputSink& out, Marker marker, const LineFile& file, std::int64_t line, const Layout& layout,
                     const std::vector<bool>* differs)
{
    const std::string_view text = file.RawLine(line);
    char head[2];
    std::size_t length = 0;
    // Unified output's common lines have a blank flag and nothing after it;
    // with an initial tab, the tab takes the blank's place.
    if (marker.flag != ' ' || marker.spaced || !layout.initialTab)
        head[length++] = marker.flag;
    if (layout.initialTab)
        head[length++] = '\t';
    else if (marker.spaced)
        head[length++] = ' ';
    if (layout.suppressBlankEmpty && text.empty())
        while (length > 0 && (head[length - 1] == ' ' || head[length - 1] == '\t'))
            --length;
    const Palette* colors = layout.colors;
    const bool deleted = marker.flag == '<' || marker.flag == '-';
    const bool coloured = colors && (deleted || marker.flag == '>' || marker.flag == '+');
    if (coloured)
        out.Write(colors->Start(deleted ? colors->de : colors->ad));
    out.Write({head, length});
    // The normal and context forms write the marker again after a carriage
    // return.
    if (layout.expandTabs && text.find_first_of("\t\r") != std::string_view::npos) {
        WriteExpanded(out, text, layout.tabSize, marker.spaced ? std::string_view(head, length) : std::string_view());
    } else if (coloured && differs && differs->size() == text.size()) {
        const std::string on = colors->Start("7");
        const std::string off = colors->Start("27");
        for (std::size_t at = 0; at < text.size();) {
            const bool common = (*differs)[at];
            std::size_t end = at + 1;
            while (end < text.size() && (*differs)[end] == common)
                ++end;
            if (!common)
                out.Write(on);
            out.Write(text.substr(at, end - at));
            if (!common)
                out.Write(off);
            at = end;
        }
    } else {
        out.Write(text);
    }
    if (coloured)
        out.Write(colors->Reset());
    out.Write("\n");
    if (file.LineLacksNewline(line))
        out.Write(kNoNewline);
}

std::vector<modVantrel::CharacterDiffResult> PairedLineMarks(const Pair& pair, const LineDiff::Hunk& h,
                                                             const Layout& layout)
{
    std::vector<modVantrel::CharacterDiffResult> marks;
    if (!layout.colors)
        return marks;
    for (std::int64_t k = 0; k < std::min(h.count1, h.count2); ++k)
        marks.push_back(CharacterMarks::MarkUtf8Lines(pair.one.RawLine(h.first1 + k), pair.two.RawLine(h.first2 + k),
                                                      layout.colors->ignoreCase));
    return marks;
}

std::vector<Group> GroupHunks(const Pair& pair, std::int64_t context)
{
    std::vector<Group> groups;
    const std::vector<LineDiff::Hunk>& hunks = pair.hunks;
    const std::int64_t nA = pair.one.LineCount();
    for (std::size_t g = 0; g < hunks.size();) {
        // Compared without forming 2 * context, which may not fit. An
        // ignored hunk joins only where the context around the one before
        // already shows it, as in diff.
        std::size_t last = g;
        bool shown = !hunks[g].ignored;
        while (last + 1 < hunks.size()) {
            const std::int64_t gap = hunks[last + 1].first1 - (hunks[last].first1 + hunks[last].count1);
            if (hunks[last + 1].ignored ? gap >= context : gap > context && gap - context > context)
                break;
            ++last;
            shown = shown || !hunks[last].ignored;
        }
        const LineDiff::Hunk& first = hunks[g];
        const LineDiff::Hunk& end = hunks[last];
        Group group{g, last, 0, 0, 0, 0};
        group.start1 = std::max<std::int64_t>(0, first.first1 - context);
        group.start2 = first.first2 - (first.first1 - group.start1);
        const std::int64_t endA = end.first1 + end.count1;
        group.stop1 = context >= nA - endA ? nA : endA + context;
        group.stop2 = end.first2 + end.count2 + (group.stop1 - endA);
        if (shown)
            groups.push_back(group);
        g = last + 1;
    }
    return groups;
}

void AppendSpan(std::string& out, std::int64_t first, std::int64_t count)
{
    out += std::to_string(first + 1);
    if (count > 1) {
        out += ',';
        out += std::to_string(first + count);
    }
}

SectionFinder::SectionFinder(const std::vector<std::string>& patterns)
{
    for (const std::string& pattern : patterns) {
        if (pattern == "^[[:alpha:]$_]")
            m_startsWithLetter = true;
        else
            m_patterns.emplace_back(pattern, std::regex::basic | std::regex::optimize);
    }
}

bool SectionFinder::Matches(std::string_view text) const
{
    if (m_startsWithLetter && StartsWithLetter(text))
        return true;
    for (const std::regex& pattern : m_patterns)
        if (std::regex_search(text.begin(), text.end(), pattern))
            return true;
    return false;
}

std::string_view SectionFinder::Before(const LineFile& file, std::int64_t line) const
{
    // Searched backwards down to where the last search began: a heading
    // found earlier still holds when no newer one comes before the hunk.
    for (std::int64_t i = line - 1; i >= m_searched; --i) {
        const std::string_view text = file.RawLine(i);
        if (!Matches(text))
            continue;
        std::string_view heading = text.substr(0, kHeadingLength);
        while (!heading.empty() && (heading.back() == ' ' || heading.back() == '\t' || heading.back() == '\r'))
            heading.remove_suffix(1);
        m_found = heading;
        break;
    }
    m_searched = std::max(m_searched, line);
    return m_found;
}

}  // namespace Emit
