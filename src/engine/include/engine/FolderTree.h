#pragma once
// Two folder trees lined up by name as one tree. Each node is an entry of
// either tree or of both: a pair of files, a pair of folders, an entry one
// side has alone, or two entries of the same name that are not of one kind.
// A pair of files has a state of its own (found from what the listing told
// or from reading both files); a pair of folders takes its state from what
// lies below it.
//
// The tree is a plain value: nodes in one array, the children of a folder
// side by side, names in one arena of bytes (a name need not be UTF-8). It
// grows a folder at a time, as a scan lists the folders, and never shrinks.

#include <array>
#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace FolderTree {

// What an entry is on one side.
enum class Kind : std::uint8_t {
    Absent,      // this side has no entry of that name
    File,        // a regular file
    Folder,      // a folder
    Other,       // a fifo, socket or device
    Unreadable,  // could not be asked about (a broken link, no permission); see error
};

// What the listing of a folder tells about one entry.
struct SideFacts {
    Kind kind = Kind::Absent;
    bool link = false;        // a symbolic link (followed, unless links are compared as links)
    std::uint16_t error = 0;  // the system's error number for Unreadable
    std::int64_t size = 0;
    std::int64_t modified = 0;  // nanoseconds since 1970

    friend bool operator==(const SideFacts&, const SideFacts&) = default;
};

// Which file an entry is, to tell a folder met again below itself (through
// a link) and the same file on both sides; not kept in the tree.
struct FileId {
    std::uint64_t device = 0;
    std::uint64_t inode = 0;
    friend bool operator==(const FileId&, const FileId&) = default;
};

struct ListedEntry {
    std::string name;
    SideFacts facts;
    FileId id;
};

enum class State : std::uint8_t {
    Pending,            // not known yet: the files are still to be read, or the folder listed
    Identical,          // the same bytes (or the same size and time, when that is the rule)
    IdenticalIgnoring,  // the same text under the ignore options, not the same bytes
    Different,
    OnlyInOne,
    OnlyInTwo,
    KindsDiffer,  // a file against a folder, or against another kind of entry
    Error,        // unreadable, a broken link, a folder that leads back into itself
    Stopped,      // the scan was stopped before it was known
};
constexpr int kStateCount = 9;

// True for the states of entries that are the same on both sides.
[[nodiscard]] constexpr bool IsSame(State s)
{
    return s == State::Identical || s == State::IdenticalIgnoring;
}

// The words a state is told in ("identical", "only in Folder One", ...).
[[nodiscard]] std::string_view StateWords(State state);

enum class CompareBy : std::uint8_t {
    Content,      // a size difference answers at once; otherwise the bytes are read
    SizeAndTime,  // the same size and a time within the tolerance: identical
};

struct Rules {
    CompareBy by = CompareBy::Content;
    // Files are read as text, so sizes decide nothing.
    bool asText = false;
    // Names that differ only in the case of ASCII letters pair up.
    bool ignoreNameCase = false;
    // How far apart two times may be and still count as the same.
    std::int64_t timeTolerance = 2'000'000'000;
};

// One entry of the aligned listing of a folder pair. names[side] is empty
// when that side has no entry.
struct AlignedPair {
    std::array<std::string, 2> names;
    std::array<SideFacts, 2> sides;
    State state = State::Pending;
    std::array<FileId, 2> ids;
};

// True for an entry whose folder (or folders) are listed in turn: a pair of
// folders still to be listed, or a folder one side has alone.
[[nodiscard]] bool Descends(const std::array<SideFacts, 2>& sides, State state);

// The state of two entries of one name as far as the listing tells it:
// Pending when the files must be read (or a folder pair listed).
[[nodiscard]] State FirstState(const SideFacts& one, const SideFacts& two, const Rules& rules);

// The entries of a folder pair matched by name, in byte order of the name
// (File One's where both have one). With ignoreNameCase, names of one
// folding pair up: the same name exactly first, then the rest in order;
// what is left over stands alone.
[[nodiscard]] std::vector<AlignedPair> AlignFolder(std::vector<ListedEntry> one, std::vector<ListedEntry> two,
                                                   const Rules& rules);

using Id = std::uint32_t;
constexpr Id kRoot = 0;

struct Node {
    Id parent = kRoot;
    Id firstChild = 0;
    std::uint32_t childCount = 0;
    std::array<std::uint32_t, 2> name{};  // offsets into the name arena
    State state = State::Pending;
    bool listed = false;      // a folder whose children are in
    std::uint16_t error = 0;  // the system's error number for State::Error
    std::array<SideFacts, 2> sides;
    // Below a pair of folders: entries not yet known, and entries that are
    // not the same on both sides.
    std::uint32_t pendingBelow = 0;
    std::uint32_t differingBelow = 0;
};

class Tree {
public:
    // The tree of two roots, given as paths, with what they are; node kRoot
    // is their pair (two folders still to be listed, when they are folders).
    Tree(std::string rootOne, std::string rootTwo, std::array<SideFacts, 2> roots);

    [[nodiscard]] std::uint32_t Size() const { return static_cast<std::uint32_t>(m_nodes.size()); }
    [[nodiscard]] const Node& At(Id id) const { return m_nodes[id]; }
    [[nodiscard]] const std::string& Root(int side) const { return m_roots[static_cast<std::size_t>(side)]; }
    // The entry's name on one side; empty when that side has none.
    [[nodiscard]] std::string_view Name(Id id, int side) const;
    // Its name on side one, or on side two when side one has none.
    [[nodiscard]] std::string_view ShownName(Id id) const;
    // Its path below the roots, "a/b/c" (empty for the root).
    [[nodiscard]] std::string PathFromRoot(Id id) const;
    // Its path on one side: the root and the names of that side.
    [[nodiscard]] std::string Path(Id id, int side) const;
    // True for a node whose both sides are folders.
    [[nodiscard]] bool IsFolderPair(Id id) const;
    // True for a node that is a folder on at least one side.
    [[nodiscard]] bool HasFolder(Id id) const;
    // A folder pair's state from what lies below it; any other node's own.
    [[nodiscard]] State StateOf(Id id) const;
    // The node's child called `name` (as ShownName gives it); Size() when
    // there is none.
    [[nodiscard]] Id Child(Id parent, std::string_view name) const;
    // The node at a path from the root ("a/b"); Size() when there is none.
    [[nodiscard]] Id Find(std::string_view pathFromRoot) const;

    // Puts in the children of a folder that has none yet and returns the
    // id of the first (the rest follow it). A pair of folders waits to be
    // listed; a folder one side has alone shares that state with all it
    // holds.
    Id AddChildren(Id parent, std::vector<AlignedPair> pairs);
    // Sets the state of a node that is not a pair of folders (or marks a
    // pair of folders unreadable with State::Error), keeping the counts.
    void SetState(Id id, State state, std::uint16_t error = 0);
    // Every node still pending becomes Stopped.
    void StopPending();

    // Entries by state, counted as `diff -rq` reports them: pairs of
    // files, one-sided entries (a one-sided folder once, not what it holds),
    // kinds that differ and errors; pairs of folders are not counted.
    [[nodiscard]] std::uint32_t Count(State state) const { return m_counts[static_cast<std::size_t>(state)]; }
    // The error number of a node in State::Error (or of an unreadable side).
    [[nodiscard]] std::uint16_t Error(Id id) const;
    // True once StopPending has run.
    [[nodiscard]] bool Stopped() const { return m_stopped; }

private:
    // Adds or takes away (sign) what a node adds to the counters of the
    // folders above it, up to the first that is not a pair of folders, and
    // to the counts by state.
    void Contribute(Id id, int sign);
    [[nodiscard]] bool Counted(Id id) const;
    std::uint32_t AddName(std::string_view name);

    std::array<std::string, 2> m_roots;
    std::vector<Node> m_nodes;
    std::string m_names;  // each name followed by a NUL, which no name holds
    std::array<std::uint32_t, kStateCount> m_counts{};
    bool m_stopped = false;
};

// The first entry after `from` (before it, when not `forward`) in the
// tree's order, a folder before what it holds, that is a difference of its
// own: a pair of files that differ, an entry one side has alone (not what
// a one-sided folder holds), entries of different kinds, an error. From
// kRoot: the first (or the last). Size() when there is none.
[[nodiscard]] Id NextDifference(const Tree& tree, Id from, bool forward);

// Two trees as listed, folder by folder: the entries of each folder under
// its path from the root ("" for the root itself, else "a/b"). A folder
// missing from its tree's listing could not be read.
using ListedTree = std::map<std::string, std::vector<ListedEntry>>;

// The tree of two listed trees, as a scan of them would build it, with the
// files whose bytes must be read still pending.
[[nodiscard]] Tree BuildTree(const ListedTree& one, const ListedTree& two, const Rules& rules);

}  // namespace FolderTree
