#include "engine/HtmlFolderReport.h"

#include "engine/FileText.h"
#include "engine/HtmlReport.h"
#include "engine/HunkRows.h"

#include <cstring>
#include <locale.h>

using FolderTree::Id;
using FolderTree::Kind;
using FolderTree::State;
using FolderTree::Tree;

namespace HtmlFolderReport {
namespace {

// What the folder page adds to the file report's look: the tables of the
// counts and of the entries, their row colours (an error in light red),
// and the headings of the sections.
constexpr std::string_view kFolderStyle =
    "h2{font-size:1.1em;margin-top:1.6em}h3{font-size:1em;margin:1.4em 0 .4em}"
    "h2,h3{break-after:avoid;page-break-after:avoid}"
    "a.up{font-weight:normal;font-size:.85em;margin-left:.8em}"
    "table.counts{border-collapse:collapse;margin-bottom:.6em}"
    "table.counts td{padding:0 .6em;border:1px solid #ccc}td.count{text-align:right}"
    "table.entries{border-collapse:collapse;width:100%}"
    "table.entries th,table.entries td{text-align:left;vertical-align:top;padding:.1em .5em;border:1px solid #ccc}"
    "td.p{overflow-wrap:anywhere}td.z{text-align:right}td.z,td.m{white-space:nowrap}"
    ".e{background:#ffd6d6}"
    "@media print{table.entries{font-size:9pt}}";

// The system's words for an error number, in English whatever the
// program's locale, so that the window and the command write one page.
std::string Reason(int code)
{
    static const locale_t c = newlocale(LC_ALL_MASK, "C", nullptr);
    return c ? strerror_l(code, c) : std::strerror(code);
}

// A time of the tree (nanoseconds) in whole seconds, rounded down.
std::int64_t Seconds(std::int64_t nanoseconds)
{
    constexpr std::int64_t kSecond = 1'000'000'000;
    return nanoseconds >= 0 ? nanoseconds / kSecond : -((-nanoseconds + kSecond - 1) / kSecond);
}

// Folders the table looks into: the root and pairs of folders holding
// something that is not the same on both sides.
bool Enters(const Tree& tree, Id id)
{
    return tree.At(id).childCount > 0 && tree.IsFolderPair(id) && !FolderTree::IsSame(tree.StateOf(id));
}

// The entry after `id` in the tree's order, a folder before what it holds,
// leaving out what the table does not look into; Size() after the last.
Id Next(const Tree& tree, Id id)
{
    if (Enters(tree, id))
        return tree.At(id).firstChild;
    for (; id != FolderTree::kRoot; id = tree.At(id).parent) {
        const FolderTree::Node& parent = tree.At(tree.At(id).parent);
        if (id + 1 < parent.firstChild + parent.childCount)
            return id + 1;
    }
    return tree.Size();
}

// True for an entry with a row: one not the same on both sides, apart from
// pairs of folders, which their paths name (unless they were not read).
bool Listed(const Tree& tree, Id id)
{
    const FolderTree::Node& node = tree.At(id);
    if (tree.IsFolderPair(id))
        return node.state == State::Error || (!node.listed && !FolderTree::IsSame(tree.StateOf(id)));
    return id != FolderTree::kRoot && !FolderTree::IsSame(node.state);
}

// A pair of files whose lines may be shown.
bool TextCandidate(const Tree& tree, Id id)
{
    const FolderTree::Node& node = tree.At(id);
    return node.state == State::Different && node.sides[0].kind == Kind::File && node.sides[1].kind == Kind::File;
}

// What the first comparison of a candidate pair found.
struct Candidate {
    Id id = 0;
    Outcome outcome = Outcome::Identical;
    std::string reason;  // why it could not be compared
};

std::string FailureReason(const Comparison& c)
{
    switch (c.trouble) {
    case Trouble::OutOfMemory: return "not enough memory";
    case Trouble::TooManyLines: return "too many lines";
    case Trouble::Skipping: return c.skipTrouble;
    case Trouble::File:
    case Trouble::None: break;
    }
    return FileText::ReadableName(c.fileError.path) + ": " + Reason(c.fileError.code);
}

// Compares every candidate once. `skipped` tells whether any section will
// show lines left out by a line filter, for the legend.
std::vector<Candidate> FirstLook(const Tree& tree, const ComparePair& compare, bool& skipped,
                                 std::vector<std::string>& unshown)
{
    std::vector<Candidate> found;
    for (Id id = FolderTree::kRoot; id < tree.Size(); id = Next(tree, id)) {
        if (!Listed(tree, id) || !TextCandidate(tree, id))
            continue;
        const Comparison c = compare(tree.Path(id, 0), tree.Path(id, 1));
        Candidate candidate{id, c.outcome, {}};
        if (c.outcome == Outcome::Failed) {
            candidate.reason = FailureReason(c);
            unshown.push_back(c.trouble == Trouble::File
                                  ? c.fileError.path + ": " + Reason(c.fileError.code)
                                  : tree.Path(id, 0) + " and " + tree.Path(id, 1) + ": " + candidate.reason);
        }
        skipped = skipped || (c.outcome == Outcome::Different && (c.skipped[0] || c.skipped[1]));
        found.push_back(std::move(candidate));
    }
    return found;
}

std::string_view KindWords(const FolderTree::SideFacts& side)
{
    switch (side.kind) {
    case Kind::File: return side.link ? "a link to a file" : "a file";
    case Kind::Folder: return side.link ? "a link to a folder" : "a folder";
    case Kind::Other: return side.link ? "a symbolic link" : "a special file";
    case Kind::Absent: return "nothing";
    case Kind::Unreadable: break;
    }
    return "unreadable";
}

// The state of a row in words, with what the first look found.
std::string StateText(const Tree& tree, Id id, const Candidate* candidate)
{
    const FolderTree::Node& node = tree.At(id);
    std::string words(FolderTree::StateWords(tree.StateOf(id)));
    if (node.state == State::KindsDiffer)
        return words.append(": ").append(KindWords(node.sides[0])).append(" and ").append(KindWords(node.sides[1]));
    if (node.state == State::Error && tree.Error(id) != 0)
        return words + ": " + Reason(tree.Error(id));
    if (node.state != State::Different)
        return words;
    if (!candidate)
        return words + " (symbolic links)";
    switch (candidate->outcome) {
    case Outcome::Different: return words;
    case Outcome::BinaryDiffer: return words + " (binary files)";
    case Outcome::Failed: return words + "; not shown: " + candidate->reason;
    case Outcome::Identical: break;
    }
    return words + "; no changed lines to show";
}

const char* RowClass(State state)
{
    switch (state) {
    case State::Different:
    case State::KindsDiffer: return "c";
    case State::OnlyInOne:
    case State::OnlyInTwo: return "o";
    case State::Error: return "e";
    case State::Identical:
    case State::IdenticalIgnoring: return "";
    case State::Pending:
    case State::Stopped: break;
    }
    return "g";
}

// The entry's path below the roots, a folder's with a slash after it.
std::string ShownPath(const Tree& tree, Id id)
{
    const auto& sides = tree.At(id).sides;
    const bool folder = tree.HasFolder(id) && (sides[0].kind == Kind::Folder || sides[0].kind == Kind::Absent)
                        && (sides[1].kind == Kind::Folder || sides[1].kind == Kind::Absent);
    const std::string path = id == FolderTree::kRoot ? "." : tree.PathFromRoot(id);
    return HtmlReport::Escaped(FileText::ReadableName(path) + (folder ? "/" : ""));
}

std::string Anchor(Id id)
{
    // (Appended, not added: GCC 12 at -O3 reports a false -Wrestrict for
    // a literal added to a temporary string.)
    std::string anchor(1, 'f');
    anchor += std::to_string(id);
    return anchor;
}

void AppendSide(std::string& html, const FolderTree::SideFacts& side)
{
    const bool present = side.kind != Kind::Absent && side.kind != Kind::Unreadable;
    html += "<td class=\"z\">";
    if (side.kind == Kind::File)
        html += std::to_string(side.size);
    html += "</td><td class=\"m\">";
    if (present)
        html += HtmlReport::LocalTime(Seconds(side.modified));
    html += "</td>";
}

void WriteEntry(OutputSink& out, const Tree& tree, Id id, const Candidate* candidate)
{
    const State state = tree.StateOf(id);
    std::string html = "<tr class=\"";
    html += RowClass(state);
    html += "\"><td class=\"p\">";
    const bool linked = candidate && candidate->outcome == Outcome::Different;
    if (linked)
        html += "<a href=\"#" + Anchor(id) + "\">";
    html += ShownPath(tree, id);
    if (linked)
        html += "</a>";
    html += "</td><td class=\"s\">" + HtmlReport::Escaped(StateText(tree, id, candidate)) + "</td>";
    AppendSide(html, tree.At(id).sides[0]);
    AppendSide(html, tree.At(id).sides[1]);
    out.Write(html + "</tr>\n");
}

// The count of each state: those every comparison has always, the
// others when there are any.
void WriteCounts(OutputSink& out, const Tree& tree)
{
    std::string html = "<table class=\"counts\">\n";
    for (int s = 0; s < FolderTree::kStateCount; ++s) {
        const auto state = static_cast<State>(s);
        const std::uint32_t count = tree.Count(state);
        if (count == 0 && state != State::Identical && state != State::Different)
            continue;
        const std::string shade = RowClass(state);
        html += (shade.empty() ? "<tr>" : "<tr class=\"" + shade + "\">") + "<td class=\"count\">"
                + std::to_string(count) + "</td><td>" + HtmlReport::Escaped(FolderTree::StateWords(state))
                + "</td></tr>\n";
    }
    out.Write(html + "</table>\n");
}

void WriteTop(OutputSink& out, const Tree& tree, const Heading& heading)
{
    const std::string one = FileText::ReadableName(tree.Root(0));
    const std::string two = FileText::ReadableName(tree.Root(1));
    HtmlReport::WritePageStart(out, "Comparison of " + one + " and " + two, kFolderStyle);
    out.Write("<h1>Comparison of two folders</h1>\n<table class=\"files\">\n<tr><th>Folder One</th><td class=\"name\">"
              + HtmlReport::Escaped(one) + "</td></tr>\n<tr><th>Folder Two</th><td class=\"name\">"
              + HtmlReport::Escaped(two) + "</td></tr>\n</table>\n<p class=\"compared\">Files were compared "
              + HtmlReport::Escaped(heading.comparedBy) + ".</p>\n");
    WriteCounts(out, tree);
}

void WriteEntries(OutputSink& out, const Tree& tree, const std::vector<Candidate>& candidates)
{
    if (FolderTree::IsSame(tree.StateOf(FolderTree::kRoot)))
        return out.Write("<p class=\"none\">Every entry is the same in both folders.</p>\n");
    std::string legend =
        "<p class=\"legend\">Legend: <span class=\"c\">different</span><span class=\"o\">in one folder only</span>"
        "<span class=\"e\">cannot be compared</span>";
    if (tree.Count(State::Stopped) > 0 || tree.Count(State::Pending) > 0)
        legend += "<span class=\"g\">not compared</span>";
    out.Write(legend
              + "</p>\n<table class=\"entries\" id=\"entries\">\n<thead><tr><th>Path</th><th>State</th>"
                "<th>Size in One</th><th>Modified in One</th><th>Size in Two</th><th>Modified in Two</th></tr>"
                "</thead>\n<tbody>\n");
    auto next = candidates.begin();
    for (Id id = FolderTree::kRoot; id < tree.Size(); id = Next(tree, id)) {
        if (!Listed(tree, id))
            continue;
        const bool candidate = next != candidates.end() && next->id == id;
        WriteEntry(out, tree, id, candidate ? &*next : nullptr);
        next += candidate ? 1 : 0;
    }
    out.Write("</tbody></table>\n");
}

// One pair's section: its files and the rows around its changes.
void WriteSection(OutputSink& out, const Tree& tree, const Heading& heading, Id id, const ComparePair& compare)
{
    out.Write("<section id=\"" + Anchor(id) + "\">\n<h3>" + ShownPath(tree, id)
              + " <a class=\"up\" href=\"#entries\">&#8593; to the list</a></h3>\n");
    const Comparison c = compare(tree.Path(id, 0), tree.Path(id, 1));
    if (c.outcome != Outcome::Different || !c.files[0] || !c.files[1])
        return out.Write(
            "<p>The files changed while the page was written: their lines are not shown.</p>\n</section>\n");
    std::array<HtmlReport::FileHeading, 2> files;
    for (int side = 0; side < 2; ++side) {
        const auto s = static_cast<std::size_t>(side);
        files[s] = {FileText::ReadableName(tree.Path(id, side)), Seconds(tree.At(id).sides[s].modified),
                    FileText::Summary(*c.files[s])};
    }
    HtmlReport::WriteFiles(out, files);
    HunkRows rows(*c.files[0], *c.files[1], c.hunks, heading.ignoreCase, {c.skipped[0].get(), c.skipped[1].get()});
    HtmlReport::WriteRows(out, rows, rows.ChangeSpans(kContext));
    out.Write("</section>\n");
}

void WriteSections(OutputSink& out, const Tree& tree, const Heading& heading, const std::vector<Candidate>& candidates,
                   bool skipped, const ComparePair& compare)
{
    bool first = true;
    for (const Candidate& candidate : candidates) {
        if (candidate.outcome != Outcome::Different)
            continue;
        if (first) {
            out.Write("<h2>Changes in the text files</h2>\n");
            HtmlReport::Heading legend;
            legend.skipped = skipped;
            HtmlReport::WriteLegend(out, legend);
            first = false;
        }
        WriteSection(out, tree, heading, candidate.id, compare);
    }
}

}  // namespace

std::vector<std::string> Write(OutputSink& out, const Tree& tree, const Heading& heading, const ComparePair& compare)
{
    bool skipped = false;
    std::vector<std::string> unshown;
    const std::vector<Candidate> candidates = FirstLook(tree, compare, skipped, unshown);
    WriteTop(out, tree, heading);
    WriteEntries(out, tree, candidates);
    WriteSections(out, tree, heading, candidates, skipped, compare);
    HtmlReport::WritePageEnd(out);
    return unshown;
}

Heading HeadingOf(const FolderScanSettings& settings, const std::vector<std::string>& ignored)
{
    const FolderTree::Rules& rules = settings.rules;
    if (rules.by == FolderTree::CompareBy::SizeAndTime) {
        const std::int64_t seconds = Seconds(rules.timeTolerance);
        return {"by size and time, times up to " + std::to_string(seconds) + (seconds == 1 ? " second" : " seconds")
                    + " apart counting as the same",
                false};
    }
    if (!rules.asText)
        return {"by content", false};
    return {ignored.empty() ? "as text" : "as text, " + HtmlReport::Ignoring(ignored), settings.text.lines.ignoreCase};
}

ComparePair SectionComparer(const FolderScanSettings& settings)
{
    CompareSettings text = settings.text;
    if (!settings.rules.asText) {
        text = {};
        text.forceText = settings.text.forceText;
        text.lines.minimal = settings.text.lines.minimal;
        text.decodeUnicode = true;
    } else if (settings.makeLineSkipper) {
        text.skipLines = settings.makeLineSkipper();
    }
    return [text](const std::string& one, const std::string& two) {
        InputFile a(one);
        InputFile b(two);
        return CompareInputs(a, b, text);
    };
}

}  // namespace HtmlFolderReport
