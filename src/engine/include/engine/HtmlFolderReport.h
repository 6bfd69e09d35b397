#pragma once
// A comparison of two folders as one HTML page, in the look of the file
// report (engine/HtmlReport.h) and as self-contained: a heading naming both
// folders, how the files were compared and the count of each state; a
// table of every entry that is not the same on both sides, in the tree's
// order, with its state, size and time on each side; then, for each pair
// of text files that differ, a section of its own with the rows around
// its changes, linked from its row in the table.
//
// The folder pairs that hold differences are not rows of their own: the
// paths of what they hold name them. What a folder one side has alone
// holds is that folder's difference, and is not listed either.
//
// The window's Save Report and `vantrel-diff -r --html` both write it from
// the tree of a finished scan, so that the same folders give the same page.

#include "engine/Comparison.h"
#include "engine/Emit.h"
#include "engine/FolderScan.h"
#include "engine/FolderTree.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace HtmlFolderReport {

// Lines of context around each change in a section.
constexpr std::int64_t kContext = 3;

struct Heading {
    // How the files were compared, told after "Files were compared ":
    // "by content", "as text, ignoring case".
    std::string comparedBy;
    // How the characters of changed line pairs are compared in the sections.
    bool ignoreCase = false;
};

// Compares the two files at these paths for a section: a pair with
// changes to show comes back Different with both files and the hunks.
using ComparePair = std::function<Comparison(const std::string& one, const std::string& two)>;

// Writes the page of `tree`. A pair of files that differ is compared
// twice, once to tell in the table whether it has a section (a binary pair
// or one that cannot be read has none) and once as its section is written,
// so that no more than one pair's files are held at a time. Returns what
// kept a pair from being shown ("PATH: reason"), as its row tells it too.
std::vector<std::string> Write(OutputSink& out, const FolderTree::Tree& tree, const Heading& heading,
                               const ComparePair& compare);

// The heading of a scan with `settings`; `ignored` names what a
// comparison as text ignores ("case", "white space").
[[nodiscard]] Heading HeadingOf(const FolderScanSettings& settings, const std::vector<std::string>& ignored);

// How the sections of a scan with `settings` compare their pairs: as the
// scan compared text, with its line filters; or, when bytes decided, with
// nothing ignored. Files with a UTF-16 or UTF-32 byte-order mark are then
// read as text, as the file view reads them.
[[nodiscard]] ComparePair SectionComparer(const FolderScanSettings& settings);

}  // namespace HtmlFolderReport
