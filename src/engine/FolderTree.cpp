#include "engine/FolderTree.h"

#include <algorithm>
#include <cstdlib>
#include <stdexcept>
#include <utility>

namespace FolderTree {
namespace {

char Folded(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

// Byte order of the names with ASCII letters folded: 0 when they fold to one.
int CompareFolded(std::string_view a, std::string_view b)
{
    const std::size_t n = std::min(a.size(), b.size());
    for (std::size_t i = 0; i < n; ++i) {
        const auto x = static_cast<unsigned char>(Folded(a[i]));
        const auto y = static_cast<unsigned char>(Folded(b[i]));
        if (x != y)
            return x < y ? -1 : 1;
    }
    return a.size() == b.size() ? 0 : a.size() < b.size() ? -1 : 1;
}

AlignedPair Alone(ListedEntry&& entry, int side)
{
    AlignedPair pair;
    pair.names[static_cast<std::size_t>(side)] = std::move(entry.name);
    pair.sides[static_cast<std::size_t>(side)] = entry.facts;
    pair.ids[static_cast<std::size_t>(side)] = entry.id;
    pair.state = side == 0 ? State::OnlyInOne : State::OnlyInTwo;
    return pair;
}

AlignedPair Both(ListedEntry&& one, ListedEntry&& two, const Rules& rules)
{
    AlignedPair pair;
    pair.state = FirstState(one.facts, two.facts, rules);
    pair.names = {std::move(one.name), std::move(two.name)};
    pair.sides = {one.facts, two.facts};
    pair.ids = {one.id, two.id};
    // The same file reached on both sides (a hard link, a tree linked into
    // the other) is identical without a byte read.
    if (pair.state == State::Pending && one.facts.kind == Kind::File && one.id == two.id && one.id.inode != 0)
        pair.state = State::Identical;
    return pair;
}

// One group of names that fold to the same: exact matches pair first, then
// what is left in order, then the rest stand alone.
void PairGroup(std::vector<ListedEntry>& one, std::vector<ListedEntry>& two, const Rules& rules,
               std::vector<AlignedPair>& out)
{
    std::vector<AlignedPair> group;
    for (auto& a : one) {
        const auto same = std::find_if(two.begin(), two.end(), [&](const ListedEntry& b) { return b.name == a.name; });
        if (same == two.end())
            continue;
        group.push_back(Both(std::move(a), std::move(*same), rules));
        two.erase(same);
        a.name.clear();
    }
    std::erase_if(one, [](const ListedEntry& e) { return e.name.empty(); });
    const std::size_t paired = std::min(one.size(), two.size());
    for (std::size_t i = 0; i < paired; ++i)
        group.push_back(Both(std::move(one[i]), std::move(two[i]), rules));
    for (std::size_t i = paired; i < one.size(); ++i)
        group.push_back(Alone(std::move(one[i]), 0));
    for (std::size_t i = paired; i < two.size(); ++i)
        group.push_back(Alone(std::move(two[i]), 1));
    std::sort(group.begin(), group.end(), [](const AlignedPair& a, const AlignedPair& b) {
        return (a.names[0].empty() ? a.names[1] : a.names[0]) < (b.names[0].empty() ? b.names[1] : b.names[0]);
    });
    for (auto& pair : group)
        out.push_back(std::move(pair));
}

// Puts the listings of the folder pair `at` (and of what it holds) into
// the tree; `paths` are the folders' paths from the roots on each side.
void BuildBelow(Tree& tree, Id at, const std::array<std::string, 2>& paths,
                const std::array<const ListedTree*, 2>& trees, const Rules& rules)
{
    std::array<std::vector<ListedEntry>, 2> entries;
    for (std::size_t side = 0; side < 2; ++side) {
        if (tree.At(at).sides[side].kind != Kind::Folder)
            continue;
        const auto listed = trees[side]->find(paths[side]);
        if (listed == trees[side]->end())
            return tree.SetState(at, State::Error, 13);  // EACCES: the folder could not be read
        entries[side] = listed->second;
    }
    const Id first = tree.AddChildren(at, AlignFolder(std::move(entries[0]), std::move(entries[1]), rules));
    for (Id child = first; child < first + tree.At(at).childCount; ++child) {
        if (!Descends(tree.At(child).sides, tree.At(child).state))
            continue;
        std::array<std::string, 2> below;
        for (int side = 0; side < 2; ++side) {
            const std::string& up = paths[static_cast<std::size_t>(side)];
            below[static_cast<std::size_t>(side)] = (up.empty() ? "" : up + "/") + std::string(tree.Name(child, side));
        }
        BuildBelow(tree, child, below, trees, rules);
    }
}

// Entries whose children are stepped through: the root and pairs of
// folders (what a one-sided folder holds is that folder's difference).
bool Enters(const Tree& tree, Id id)
{
    return tree.At(id).childCount > 0 && (id == kRoot || tree.IsFolderPair(id));
}

Id After(const Tree& tree, Id id)
{
    if (Enters(tree, id))
        return tree.At(id).firstChild;
    for (; id != kRoot; id = tree.At(id).parent) {
        const Node& parent = tree.At(tree.At(id).parent);
        if (id + 1 < parent.firstChild + parent.childCount)
            return id + 1;
    }
    return tree.Size();
}

Id LastBelow(const Tree& tree, Id id)
{
    while (Enters(tree, id))
        id = tree.At(id).firstChild + tree.At(id).childCount - 1;
    return id;
}

Id Before(const Tree& tree, Id id)
{
    if (id == kRoot)
        return LastBelow(tree, kRoot);
    const Id parent = tree.At(id).parent;
    if (id == tree.At(parent).firstChild)
        return parent == kRoot ? tree.Size() : parent;
    return LastBelow(tree, id - 1);
}

bool IsDifference(const Tree& tree, Id id)
{
    const State state = tree.At(id).state;
    if (tree.IsFolderPair(id))
        return id != kRoot && state == State::Error;
    return !IsSame(state) && state != State::Pending && state != State::Stopped;
}

}  // namespace

Id NextDifference(const Tree& tree, Id from, bool forward)
{
    for (Id at = forward ? After(tree, from) : Before(tree, from); at < tree.Size() && at != kRoot;
         at = forward ? After(tree, at) : Before(tree, at))
        if (IsDifference(tree, at))
            return at;
    return tree.Size();
}

bool Descends(const std::array<SideFacts, 2>& sides, State state)
{
    const bool one = sides[0].kind == Kind::Folder;
    const bool two = sides[1].kind == Kind::Folder;
    return (one && two && state == State::Pending) || (one && state == State::OnlyInOne)
           || (two && state == State::OnlyInTwo);
}

Tree BuildTree(const ListedTree& one, const ListedTree& two, const Rules& rules)
{
    SideFacts folder;
    folder.kind = Kind::Folder;
    Tree tree("", "", {folder, folder});
    BuildBelow(tree, kRoot, {"", ""}, {&one, &two}, rules);
    return tree;
}

std::string_view StateWords(State state)
{
    switch (state) {
    case State::Pending: return "not compared yet";
    case State::Identical: return "identical";
    case State::IdenticalIgnoring: return "identical as text";
    case State::Different: return "different";
    case State::OnlyInOne: return "only in Folder One";
    case State::OnlyInTwo: return "only in Folder Two";
    case State::KindsDiffer: return "of different kinds";
    case State::Error: return "cannot be compared";
    case State::Stopped: return "not compared: stopped";
    }
    return {};
}

State FirstState(const SideFacts& one, const SideFacts& two, const Rules& rules)
{
    if (one.kind == Kind::Unreadable || two.kind == Kind::Unreadable)
        return State::Error;
    if (one.kind != two.kind)
        return State::KindsDiffer;
    switch (one.kind) {
    case Kind::Folder: return State::Pending;
    case Kind::File: break;
    // Links compared as links are read for their targets; other special
    // files cannot be compared.
    default: return one.link && two.link ? State::Pending : State::KindsDiffer;
    }
    if (rules.by == CompareBy::SizeAndTime)
        return one.size == two.size && std::llabs(one.modified - two.modified) <= rules.timeTolerance
                   ? State::Identical
                   : State::Different;
    return !rules.asText && one.size != two.size ? State::Different : State::Pending;
}

std::vector<AlignedPair> AlignFolder(std::vector<ListedEntry> one, std::vector<ListedEntry> two, const Rules& rules)
{
    const auto less = [&](const ListedEntry& a, const ListedEntry& b) {
        if (!rules.ignoreNameCase)
            return a.name < b.name;
        const int folded = CompareFolded(a.name, b.name);
        return folded != 0 ? folded < 0 : a.name < b.name;
    };
    std::sort(one.begin(), one.end(), less);
    std::sort(two.begin(), two.end(), less);
    const auto order = [&](const ListedEntry& a, const ListedEntry& b) {
        return rules.ignoreNameCase ? CompareFolded(a.name, b.name) : a.name.compare(b.name);
    };
    std::vector<AlignedPair> out;
    out.reserve(std::max(one.size(), two.size()));
    std::size_t i = 0;
    std::size_t j = 0;
    while (i < one.size() || j < two.size()) {
        const int c = i == one.size() ? 1 : j == two.size() ? -1 : order(one[i], two[j]);
        if (c < 0) {
            out.push_back(Alone(std::move(one[i++]), 0));
        } else if (c > 0) {
            out.push_back(Alone(std::move(two[j++]), 1));
        } else if (!rules.ignoreNameCase) {
            out.push_back(Both(std::move(one[i++]), std::move(two[j++]), rules));
        } else {
            // The whole run of names on each side that fold to this one.
            std::size_t endOne = i;
            std::size_t endTwo = j;
            while (endOne < one.size() && CompareFolded(one[endOne].name, one[i].name) == 0)
                ++endOne;
            while (endTwo < two.size() && CompareFolded(two[endTwo].name, one[i].name) == 0)
                ++endTwo;
            std::vector<ListedEntry> groupOne(
                std::make_move_iterator(one.begin() + static_cast<std::ptrdiff_t>(i)),
                std::make_move_iterator(one.begin() + static_cast<std::ptrdiff_t>(endOne)));
            std::vector<ListedEntry> groupTwo(
                std::make_move_iterator(two.begin() + static_cast<std::ptrdiff_t>(j)),
                std::make_move_iterator(two.begin() + static_cast<std::ptrdiff_t>(endTwo)));
            PairGroup(groupOne, groupTwo, rules, out);
            i = endOne;
            j = endTwo;
        }
    }
    return out;
}

Tree::Tree(std::string rootOne, std::string rootTwo, std::array<SideFacts, 2> roots)
    : m_roots{std::move(rootOne), std::move(rootTwo)}
{
    Node root;
    root.sides = roots;
    root.name = {AddName({}), 0};
    if (roots[0].kind != Kind::Absent || roots[1].kind != Kind::Absent)
        root.state = FirstState(roots[0], roots[1], {});
    m_nodes.push_back(root);
    Contribute(kRoot, 1);
}

std::uint32_t Tree::AddName(std::string_view name)
{
    if (m_names.size() + name.size() + 1 > UINT32_MAX)
        throw std::length_error("too many names for one folder tree");
    const auto at = static_cast<std::uint32_t>(m_names.size());
    m_names.append(name);
    m_names.push_back('\0');
    return at;
}

std::string_view Tree::Name(Id id, int side) const
{
    const Node& node = m_nodes[id];
    if (id != kRoot && node.sides[static_cast<std::size_t>(side)].kind == Kind::Absent)
        return {};
    return m_names.c_str() + node.name[static_cast<std::size_t>(side)];
}

std::string_view Tree::ShownName(Id id) const
{
    const std::string_view one = Name(id, 0);
    return one.empty() ? Name(id, 1) : one;
}

std::string Tree::PathFromRoot(Id id) const
{
    std::vector<Id> chain;
    for (Id at = id; at != kRoot; at = m_nodes[at].parent)
        chain.push_back(at);
    std::string path;
    for (auto it = chain.rbegin(); it != chain.rend(); ++it) {
        if (!path.empty())
            path += '/';
        path += ShownName(*it);
    }
    return path;
}

std::string Tree::Path(Id id, int side) const
{
    std::vector<Id> chain;
    for (Id at = id; at != kRoot; at = m_nodes[at].parent)
        chain.push_back(at);
    std::string path = m_roots[static_cast<std::size_t>(side)];
    for (auto it = chain.rbegin(); it != chain.rend(); ++it) {
        const std::string_view own = Name(*it, side);
        if (path.empty() || path.back() != '/')
            path += '/';
        path += own.empty() ? ShownName(*it) : own;
    }
    return path;
}

bool Tree::IsFolderPair(Id id) const
{
    const Node& node = m_nodes[id];
    return node.sides[0].kind == Kind::Folder && node.sides[1].kind == Kind::Folder;
}

bool Tree::HasFolder(Id id) const
{
    const Node& node = m_nodes[id];
    return node.sides[0].kind == Kind::Folder || node.sides[1].kind == Kind::Folder;
}

State Tree::StateOf(Id id) const
{
    const Node& node = m_nodes[id];
    if (!IsFolderPair(id) || node.state == State::Error)
        return node.state;
    if (node.differingBelow > 0)
        return State::Different;
    if (!node.listed || node.pendingBelow > 0)
        return m_stopped ? State::Stopped : State::Pending;
    return State::Identical;
}

Id Tree::Child(Id parent, std::string_view name) const
{
    const Node& node = m_nodes[parent];
    for (Id child = node.firstChild; child < node.firstChild + node.childCount; ++child)
        if (ShownName(child) == name)
            return child;
    return Size();
}

Id Tree::Find(std::string_view pathFromRoot) const
{
    Id at = kRoot;
    while (!pathFromRoot.empty() && at < Size()) {
        const std::size_t slash = pathFromRoot.find('/');
        at = Child(at, pathFromRoot.substr(0, slash));
        pathFromRoot = slash == std::string_view::npos ? std::string_view() : pathFromRoot.substr(slash + 1);
    }
    return at;
}

bool Tree::Counted(Id id) const
{
    const Node& node = m_nodes[id];
    if (IsFolderPair(id))
        return node.state == State::Error;
    return id == kRoot || IsFolderPair(node.parent);
}

void Tree::Contribute(Id id, int sign)
{
    const Node& node = m_nodes[id];
    if (Counted(id))
        m_counts[static_cast<std::size_t>(node.state)] += static_cast<std::uint32_t>(sign);
    int pending = 0;
    int differing = 0;
    if (IsFolderPair(id) && node.state != State::Error)
        pending = node.listed ? 0 : 1;
    else if (node.state == State::Pending || node.state == State::Stopped)
        pending = 1;
    else if (!IsSame(node.state))
        differing = 1;
    if ((pending == 0 && differing == 0) || id == kRoot)
        return;
    for (Id at = node.parent; IsFolderPair(at); at = m_nodes[at].parent) {
        m_nodes[at].pendingBelow += static_cast<std::uint32_t>(sign * pending);
        m_nodes[at].differingBelow += static_cast<std::uint32_t>(sign * differing);
        if (at == kRoot)
            break;
    }
}

Id Tree::AddChildren(Id parent, std::vector<AlignedPair> pairs)
{
    if (m_nodes[parent].listed)
        throw std::logic_error("a folder's children are put in once");
    if (m_nodes.size() + pairs.size() > UINT32_MAX - 1)
        throw std::length_error("too many entries for one folder tree");
    Contribute(parent, -1);
    const auto first = static_cast<Id>(m_nodes.size());
    m_nodes[parent].listed = true;
    m_nodes[parent].firstChild = first;
    m_nodes[parent].childCount = static_cast<std::uint32_t>(pairs.size());
    Contribute(parent, 1);
    // What a one-sided folder holds is one-sided too.
    const State inherited = IsFolderPair(parent) ? State::Pending : m_nodes[parent].state;
    for (AlignedPair& pair : pairs) {
        Node node;
        node.parent = parent;
        node.sides = pair.sides;
        node.state = inherited == State::Pending ? pair.state : inherited;
        const std::uint32_t one = pair.names[0].empty() ? 0 : AddName(pair.names[0]);
        node.name = {one, pair.names[1].empty() || pair.names[1] == pair.names[0] ? one : AddName(pair.names[1])};
        if (pair.names[0].empty())
            node.name[0] = node.name[1];
        m_nodes.push_back(node);
        Contribute(static_cast<Id>(m_nodes.size() - 1), 1);
    }
    return first;
}

void Tree::SetState(Id id, State state, std::uint16_t error)
{
    Contribute(id, -1);
    m_nodes[id].state = state;
    m_nodes[id].error = error;
    Contribute(id, 1);
}

void Tree::StopPending()
{
    for (Id id = 0; id < Size(); ++id)
        if (!IsFolderPair(id) && m_nodes[id].state == State::Pending)
            SetState(id, State::Stopped);
    m_stopped = true;
}

std::uint16_t Tree::Error(Id id) const
{
    const Node& node = m_nodes[id];
    if (node.error != 0)
        return node.error;
    return node.sides[0].error != 0 ? node.sides[0].error : node.sides[1].error;
}

}  // namespace FolderTree
