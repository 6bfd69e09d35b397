#include "FolderReport.h"

#include "Report.h"

#include "engine/FolderFiles.h"
#include "engine/FolderScan.h"
#include "engine/HtmlFolderReport.h"

#include <cerrno>
#include <cstring>
#include <unistd.h>

using FolderTree::State;
using FolderTree::Tree;

namespace {

// The scan the command line asks for: bytes decide unless an option
// relaxes the comparison, which then reads the files as text.
FolderScanSettings SettingsOf(const CommandLine& cmd)
{
    FolderScanSettings settings;
    settings.rules.asText = !cmd.settings.BytesDecide();
    settings.followLinks = !cmd.noDereference;
    settings.excludeFiles = cmd.excludes;
    settings.excludeFolders = cmd.excludes;
    settings.text = cmd.settings;
    // Blocks go where the window puts them, so that its Save Report and
    // this command write the same page.
    settings.text.lines.diffPlacement = false;
    settings.text.lines.horizon = 0;
    return settings;
}

// Says each entry that could not be compared as diff does, naming the
// side that could not be read (both when neither tells).
void TellErrors(Run& run, const Tree& tree)
{
    for (FolderTree::Id id = 0; id < tree.Size(); ++id) {
        const FolderTree::Node& node = tree.At(id);
        if (node.state != State::Error || (id != FolderTree::kRoot && !tree.IsFolderPair(node.parent)))
            continue;
        std::string paths;
        for (int side = 0; side < 2; ++side) {
            const std::string path = tree.Path(id, side);
            const FolderTree::Kind kind = node.sides[static_cast<std::size_t>(side)].kind;
            if (kind == FolderTree::Kind::Unreadable
                || (kind != FolderTree::Kind::Absent && ::access(path.c_str(), R_OK) != 0))
                paths += (paths.empty() ? "" : " and ") + path;
        }
        if (paths.empty())
            paths = tree.Path(id, 0) + " and " + tree.Path(id, 1);
        run.Trouble(paths + ": " + std::strerror(tree.Error(id)));
    }
}

}  // namespace

void WriteFolderReport(Run& run, const std::string& one, const std::string& two)
{
    const CommandLine& cmd = run.cmd;
    if (!cmd.recursive)
        return run.Trouble("--html compares folders with -r (--recursive): " + one + " and " + two);
    if (!cmd.startingFile.empty())
        return run.Trouble("--html cannot start at a file (-S) in folders");
    const std::array<FolderTree::SideFacts, 2> roots{FolderFiles::LookAt(one, true), FolderFiles::LookAt(two, true)};
    // A folder missing on one side (-N) cannot be listed beside the other.
    for (int side = 0; side < 2; ++side)
        if (roots[static_cast<std::size_t>(side)].kind != FolderTree::Kind::Folder)
            return run.Trouble((side == 0 ? one : two) + ": " + std::strerror(ENOENT));
    Tree tree(one, two, roots);
    const FolderScanSettings settings = SettingsOf(cmd);
    FolderScan::RunToEnd(tree, settings);
    OutputSink out(stdout);
    const std::vector<std::string> unshown =
        HtmlFolderReport::Write(out, tree, HtmlFolderReport::HeadingOf(settings, IgnoredNames(cmd)),
                                HtmlFolderReport::SectionComparer(settings));
    if (!out.Finish())
        return run.Trouble(std::string("standard output: ") + std::strerror(errno));
    for (const State state : {State::Different, State::OnlyInOne, State::OnlyInTwo, State::KindsDiffer})
        if (tree.Count(state) > 0)
            run.Note(1);
    TellErrors(run, tree);
    for (const std::string& trouble : unshown)
        run.Trouble(trouble);
}
