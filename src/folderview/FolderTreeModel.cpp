#include "folderview/FolderTreeModel.h"

#include "compare/AlignedRows.h"
#include "mainwindow/WindowColors.h"

#include <QApplication>
#include <QStyle>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <map>
#include <stdexcept>

using FolderTree::Id;
using FolderTree::Kind;
using FolderTree::State;

namespace {

QString KindWords(const FolderTree::SideFacts& side)
{
    if (side.link && side.kind != Kind::Folder && side.kind != Kind::File)
        return QStringLiteral("a link");
    switch (side.kind) {
    case Kind::File: return QStringLiteral("a file");
    case Kind::Folder: return QStringLiteral("a folder");
    default: return QStringLiteral("a special file");
    }
}

QString Reason(int error)
{
    return QString::fromLocal8Bit(std::strerror(error));
}

}  // namespace

FolderTreeModel::FolderTreeModel(QObject* parent) : QAbstractItemModel(parent)
{
    const QStyle* style = QApplication::style();
    m_folderIcon = style->standardIcon(QStyle::SP_DirIcon);
    m_fileIcon = style->standardIcon(QStyle::SP_FileIcon);
    m_linkIcon = style->standardIcon(QStyle::SP_FileLinkIcon);
    // Drawn once now at the size a row shows them, not in the first frame
    // of a comparison.
    const int size = style->pixelMetric(QStyle::PM_SmallIconSize);
    for (const QIcon& icon : {m_folderIcon, m_fileIcon, m_linkIcon})
        (void)icon.pixmap(size, size);
    // The rows' colours are the file view's; text on them is dark.
    const auto color = [](std::uint32_t value) {
        return QColor(static_cast<int>(value & 0xFF), static_cast<int>((value >> 8) & 0xFF),
                      static_cast<int>((value >> 16) & 0xFF));
    };
    m_orphanColor = color(Alignment::kOrphanColor);
    m_changedColor = color(Alignment::kChangedColor);
    m_errorColor = QColor(255, 214, 214);
    m_textOnRow = WindowColors::TextOnRow(m_changedColor);
    m_bold.setBold(true);
}

FolderTreeModel::~FolderTreeModel() = default;

void FolderTreeModel::Reset(std::unique_ptr<FolderTree::Tree> tree)
{
    beginResetModel();
    m_tree = std::move(tree);
    m_hideIdentical = false;
    m_row.clear();
    m_start.clear();
    m_count.clear();
    m_shown.clear();
    endResetModel();
}

bool FolderTreeModel::Shown(Id id) const
{
    return !m_hideIdentical || !FolderTree::IsSame(m_tree->StateOf(id));
}

std::uint32_t FolderTreeModel::ShownCount(Id id) const
{
    if (m_hideIdentical)
        return m_count[id];
    return m_tree->At(id).listed ? m_tree->At(id).childCount : 0;
}

Id FolderTreeModel::ShownChild(Id parent, std::uint32_t row) const
{
    return m_hideIdentical ? m_shown[m_start[parent] + row] : m_tree->At(parent).firstChild + row;
}

std::uint32_t FolderTreeModel::RowOf(Id id) const
{
    return m_hideIdentical ? m_row[id] : id - m_tree->At(m_tree->At(id).parent).firstChild;
}

bool FolderTreeModel::Reachable(Id id) const
{
    if (!m_hideIdentical)
        return true;
    for (Id at = id; at != FolderTree::kRoot; at = m_tree->At(at).parent)
        if (m_row[at] == kHidden)
            return false;
    return true;
}

Id FolderTreeModel::IdOf(const QModelIndex& index) const
{
    return index.isValid() ? static_cast<Id>(index.internalId()) : FolderTree::kRoot;
}

QModelIndex FolderTreeModel::IndexOf(Id id, int column) const
{
    if (!m_tree || id == FolderTree::kRoot || id >= m_tree->Size() || !Reachable(id))
        return {};
    return createIndex(static_cast<int>(RowOf(id)), column, static_cast<quintptr>(id));
}

QModelIndex FolderTreeModel::index(int row, int column, const QModelIndex& parent) const
{
    if (!m_tree || row < 0 || column < 0 || column >= kColumns)
        return {};
    const Id up = IdOf(parent);
    if (static_cast<std::uint32_t>(row) >= ShownCount(up))
        return {};
    return createIndex(row, column, static_cast<quintptr>(ShownChild(up, static_cast<std::uint32_t>(row))));
}

QModelIndex FolderTreeModel::parent(const QModelIndex& child) const
{
    if (!m_tree || !child.isValid())
        return {};
    const Id up = m_tree->At(IdOf(child)).parent;
    return up == FolderTree::kRoot ? QModelIndex()
                                   : createIndex(static_cast<int>(RowOf(up)), 0, static_cast<quintptr>(up));
}

int FolderTreeModel::rowCount(const QModelIndex& parent) const
{
    if (!m_tree || parent.column() > 0)
        return 0;
    return static_cast<int>(ShownCount(IdOf(parent)));
}

int FolderTreeModel::columnCount(const QModelIndex&) const
{
    return kColumns;
}

bool FolderTreeModel::hasChildren(const QModelIndex& parent) const
{
    if (!m_tree || parent.column() > 0)
        return false;
    const Id id = IdOf(parent);
    // A folder not listed yet shows that it may hold something.
    if (!m_tree->At(id).listed)
        return id != FolderTree::kRoot && FolderTree::Descends(m_tree->At(id).sides, m_tree->At(id).state);
    return ShownCount(id) > 0;
}

void FolderTreeModel::AddChildren(FolderScanNews::Children&& children)
{
    if (!m_tree)
        return;
    if (children.first != m_tree->Size())
        throw std::logic_error("folder scan news out of order");
    // Entries come in only while every entry is shown.
    SetHideIdentical(false);
    const Id parent = children.parent;
    const auto count = static_cast<int>(children.pairs.size());
    if (count > 0)
        beginInsertRows(IndexOf(parent), 0, count - 1);
    (void)m_tree->AddChildren(parent, std::move(children.pairs));
    if (count > 0)
        endInsertRows();
    // The folder and those above it may have changed state.
    SetStates({{parent, m_tree->At(parent).state, m_tree->At(parent).error}}, 0, 0);
}

void FolderTreeModel::SetStates(const std::vector<FolderScanNews::Verdict>& verdicts, std::size_t from, std::size_t to)
{
    if (!m_tree)
        return;
    std::vector<Id> dirty;
    std::vector<std::pair<Id, State>> above;
    for (std::size_t i = from; i <= to && i < verdicts.size(); ++i) {
        const FolderScanNews::Verdict& v = verdicts[i];
        if (v.id >= m_tree->Size())
            continue;
        above.clear();
        for (Id at = m_tree->At(v.id).parent; at != FolderTree::kRoot; at = m_tree->At(at).parent)
            above.emplace_back(at, m_tree->StateOf(at));
        if (m_tree->At(v.id).state != v.state || m_tree->At(v.id).error != v.error)
            m_tree->SetState(v.id, v.state, v.error);
        dirty.push_back(v.id);
        // Only the folders whose state changed are told again.
        for (const auto& [folder, before] : above)
            if (m_tree->StateOf(folder) != before)
                dirty.push_back(folder);
    }
    std::sort(dirty.begin(), dirty.end());
    dirty.erase(std::unique(dirty.begin(), dirty.end()), dirty.end());
    // One signal for each run of changed rows under one folder.
    std::map<Id, std::pair<int, int>> rows;
    for (const Id id : dirty) {
        if (id == FolderTree::kRoot || !Reachable(id))
            continue;
        const auto row = static_cast<int>(RowOf(id));
        auto [it, added] = rows.try_emplace(m_tree->At(id).parent, row, row);
        if (!added)
            it->second = {std::min(it->second.first, row), std::max(it->second.second, row)};
    }
    for (const auto& [parent, span] : rows) {
        const QModelIndex up = IndexOf(parent);
        if (parent != FolderTree::kRoot && !up.isValid())
            continue;
        emit dataChanged(index(span.first, 0, up), index(span.second, kColumns - 1, up));
    }
}

void FolderTreeModel::StopPending()
{
    if (!m_tree)
        return;
    // Only texts change, but all over the tree: the view lays out and
    // paints again.
    emit layoutAboutToBeChanged();
    m_tree->StopPending();
    emit layoutChanged();
}

void FolderTreeModel::SetHideIdentical(bool hide)
{
    if (hide == m_hideIdentical || !m_tree) {
        m_hideIdentical = hide;
        return;
    }
    emit layoutAboutToBeChanged();
    const QModelIndexList before = persistentIndexList();
    std::vector<std::pair<Id, int>> ids;
    ids.reserve(static_cast<std::size_t>(before.size()));
    for (const QModelIndex& index : before)
        ids.emplace_back(IdOf(index), index.column());
    m_hideIdentical = hide;
    RebuildVisible();
    QModelIndexList after;
    after.reserve(before.size());
    for (const auto& [id, column] : ids)
        after.append(IndexOf(id, column));
    changePersistentIndexList(before, after);
    emit layoutChanged();
}

void FolderTreeModel::RebuildVisible()
{
    m_row.clear();
    m_start.clear();
    m_count.clear();
    m_shown.clear();
    if (!m_hideIdentical)
        return;
    const Id size = m_tree->Size();
    m_row.assign(size, kHidden);
    m_start.assign(size, 0);
    m_count.assign(size, 0);
    for (Id id = 0; id < size; ++id) {
        const FolderTree::Node& node = m_tree->At(id);
        m_start[id] = static_cast<std::uint32_t>(m_shown.size());
        for (Id child = node.firstChild; child < node.firstChild + node.childCount; ++child) {
            if (!Shown(child))
                continue;
            m_row[child] = m_count[id]++;
            m_shown.push_back(child);
        }
    }
    m_shown.shrink_to_fit();
}

QString FolderTreeModel::StateText(Id id) const
{
    if (!m_tree || id >= m_tree->Size())
        return {};
    const FolderTree::Node& node = m_tree->At(id);
    const State state = m_tree->StateOf(id);
    const bool folders = m_tree->IsFolderPair(id);
    switch (state) {
    case State::Identical: return QStringLiteral("identical");
    case State::IdenticalIgnoring:
        return m_ignoring.isEmpty() ? QStringLiteral("identical as text") : QStringLiteral("identical, ") + m_ignoring;
    case State::Different: return folders ? QStringLiteral("different inside") : QStringLiteral("different");
    case State::KindsDiffer: return KindWords(node.sides[0]) + QStringLiteral(" against ") + KindWords(node.sides[1]);
    case State::Pending: return folders ? QStringLiteral("being compared") : QStringLiteral("not compared yet");
    case State::Stopped:
        return folders ? QStringLiteral("not all compared: stopped") : QStringLiteral("not compared: stopped");
    case State::OnlyInOne:
    case State::OnlyInTwo: return QString::fromUtf8(FolderTree::StateWords(state).data());
    case State::Error: break;
    }
    const int error = m_tree->Error(id);
    for (const FolderTree::SideFacts& side : node.sides)
        if (side.kind == Kind::Unreadable && side.link)
            return QStringLiteral("a link that leads nowhere: ") + Reason(error);
    if (error == ELOOP && m_tree->HasFolder(id))
        return QStringLiteral("a folder that leads back into itself");
    return QStringLiteral("cannot be compared: ") + Reason(error);
}

void FolderTreeModel::SetIgnoring(const QString& words)
{
    m_ignoring = words;
}
