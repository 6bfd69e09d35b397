#include "Report.h"

#include "engine/FileText.h"
#include "engine/HtmlReport.h"
#include "engine/HunkRows.h"

#include <utility>

namespace {

// A file as the heading names it: its label, or its name and time.
HtmlReport::FileHeading HeadingOf(const CommandLine& cmd, std::size_t side, const Operand& operand,
                                  const InputFile& file, const LineFile& lines)
{
    HtmlReport::FileHeading heading{FileText::ReadableName(operand.path), std::nullopt, FileText::Summary(lines)};
    if (cmd.labels.size() > side)
        heading.name = FileText::ReadableName(cmd.labels[side]);
    else if (!operand.absent && operand.path != "-")
        heading.modified = file.ModificationTime().seconds;
    return heading;
}

}  // namespace

std::vector<std::string> IgnoredNames(const CommandLine& cmd)
{
    const LineDiff::Settings& lines = cmd.settings.lines;
    const std::pair<bool, const char*> flags[] = {{lines.ignoreCase, "case"},
                                                  {lines.ignoreWhiteSpace, "white space"},
                                                  {lines.ignoreSpaceChange, "white space changes"},
                                                  {lines.ignoreTrailingSpace, "white space at line ends"},
                                                  {lines.ignoreTabExpansion, "tab expansion"},
                                                  {cmd.settings.stripTrailingCr, "carriage returns at line ends"},
                                                  {lines.ignoreBlankLines, "blank lines"}};
    std::vector<std::string> names;
    for (const auto& [on, name] : flags)
        if (on)
            names.emplace_back(name);
    if (cmd.ignorePatterns.empty())
        return names;
    std::string patterns;
    for (const std::string& pattern : cmd.ignorePatterns)
        patterns += (patterns.empty() ? "'" : ", '") + FileText::ReadableName(pattern) + "'";
    names.push_back(
        (cmd.ignorePatterns.size() == 1 ? "changes whose lines all match " : "changes whose lines all match one of ")
        + patterns);
    return names;
}

void WriteReport(OutputSink& out, const CommandLine& cmd, const Comparison& c, const Operand (&operands)[2],
                 const InputFile (&files)[2])
{
    HtmlReport::Heading heading{
        {HeadingOf(cmd, 0, operands[0], files[0], *c.files[0]), HeadingOf(cmd, 1, operands[1], files[1], *c.files[1])},
        IgnoredNames(cmd)};
    HunkRows rows(*c.files[0], *c.files[1], c.hunks, cmd.settings.lines.ignoreCase);
    HtmlReport::Write(out, heading, rows);
}
