#include "engine/EmitText.h"

namespace Emit {

namespace {

constexpr std::string_view kNoNewline = "\\ No newline at end of file\n";
constexpr std::size_t kHeadingLength = 40;

}  // namespace

std::string ExpandTabs(std::string_view text, std::int64_t tabSize)
{
    std::string out;
    out.reserve(text.size());
    std::int64_t column = 0;
    for (const char c : text) {
        if (c == '\t') {
            const std::int64_t spaces = tabSize - column % tabSize;
            out.append(static_cast<std::size_t>(spaces), ' ');
            column += spaces;
            continue;
        }
        out += c;
        // A UTF-8 continuation byte shares its character's column.
        if ((static_cast<unsigned char>(c) & 0xC0) != 0x80)
            ++column;
    }
    return out;
}

void WriteMarkedLine(OutputSink& out, Marker marker, const LineFile& file, std::int64_t line, const Layout& layout)
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
    out.Write({head, length});
    if (layout.expandTabs && text.find('\t') != std::string_view::npos)
        out.Write(ExpandTabs(text, layout.tabSize));
    else
        out.Write(text);
    out.Write("\n");
    if (file.LineLacksNewline(line))
        out.Write(kNoNewline);
}

std::vector<Group> GroupHunks(const Pair& pair, std::int64_t context)
{
    std::vector<Group> groups;
    const std::vector<LineDiff::Hunk>& hunks = pair.hunks;
    const std::int64_t nA = pair.one.LineCount();
    for (std::size_t g = 0; g < hunks.size();) {
        // Compared without forming 2 * context, which may not fit.
        std::size_t last = g;
        while (last + 1 < hunks.size()) {
            const std::int64_t gap = hunks[last + 1].first1 - (hunks[last].first1 + hunks[last].count1);
            if (gap > context && gap - context > context)
                break;
            ++last;
        }
        const LineDiff::Hunk& first = hunks[g];
        const LineDiff::Hunk& end = hunks[last];
        Group group{g, last, 0, 0, 0, 0};
        group.start1 = std::max<std::int64_t>(0, first.first1 - context);
        group.start2 = first.first2 - (first.first1 - group.start1);
        const std::int64_t endA = end.first1 + end.count1;
        group.stop1 = context >= nA - endA ? nA : endA + context;
        group.stop2 = end.first2 + end.count2 + (group.stop1 - endA);
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
    for (const std::string& pattern : patterns)
        m_patterns.emplace_back(pattern, std::regex::basic | std::regex::optimize);
}

bool SectionFinder::Matches(std::string_view text) const
{
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
