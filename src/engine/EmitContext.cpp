// The context form: "*** header1" and "--- header2", then per group of
// hunks a line of stars, File One's lines under "*** a,b ****" and File
// Two's under "--- a,b ----". A side's lines are left out when the group
// changes none of them. Changed lines are marked "! " where the hunk both
// removes and adds, else "- " (removed) or "+ " (added); others "  ".

#include "engine/Emit.h"
#include "engine/EmitText.h"

namespace Emit {

namespace {

// "a,b" for a range of lines; an empty range names the line before it.
std::string Span(std::int64_t first, std::int64_t stop)
{
    std::string text;
    if (stop <= first)
        text = std::to_string(first);
    else
        AppendSpan(text, first, stop - first);
    return text;
}

// One side of a group: its lines from `start` to `stop`, the lines of each
// hunk's own range flagged. `side` 0 is File One.
void WriteSide(OutputSink& out, const Pair& pair, const Group& g, int side, const Layout& layout)
{
    const LineFile& file = side == 0 ? pair.one : pair.two;
    std::int64_t at = side == 0 ? g.start1 : g.start2;
    const std::int64_t stop = side == 0 ? g.stop1 : g.stop2;
    for (std::size_t k = g.first; k <= g.last; ++k) {
        const LineDiff::Hunk& h = pair.hunks[k];
        const std::int64_t first = side == 0 ? h.first1 : h.first2;
        const std::int64_t count = side == 0 ? h.count1 : h.count2;
        for (; at < first; ++at)
            WriteMarkedLine(out, {' ', true}, file, at, layout);
        const char flag = h.count1 > 0 && h.count2 > 0 ? '!' : side == 0 ? '-' : '+';
        for (; at < first + count; ++at)
            WriteMarkedLine(out, {flag, true}, file, at, layout);
    }
    for (; at < stop; ++at)
        WriteMarkedLine(out, {' ', true}, file, at, layout);
}

}  // namespace

void WriteContext(OutputSink& out, const Pair& pair, const ContextForm& form)
{
    const std::vector<Group> groups = GroupHunks(pair, form.lines);
    if (groups.empty())
        return;
    std::string text = "*** ";
    text.append(form.header1).append("\n--- ").append(form.header2).append("\n");
    out.Write(text);
    for (const Group& g : groups) {
        bool removes = false;
        bool adds = false;
        for (std::size_t k = g.first; k <= g.last; ++k) {
            removes = removes || pair.hunks[k].count1 > 0;
            adds = adds || pair.hunks[k].count2 > 0;
        }
        text = "***************";
        if (form.sections) {
            const std::string_view heading = form.sections->Before(pair.one, g.start1);
            if (!heading.empty())
                text.append(" ").append(heading);
        }
        text += "\n*** " + Span(g.start1, g.stop1) + " ****\n";
        out.Write(text);
        if (removes)
            WriteSide(out, pair, g, 0, form.layout);
        out.Write("--- " + Span(g.start2, g.stop2) + " ----\n");
        if (adds)
            WriteSide(out, pair, g, 1, form.layout);
    }
}

}  // namespace Emit
