// Moving through the folder tree: from one difference to the next across
// folders, opening a pair of files in the file view, showing or hiding the
// identical entries, and keeping the place in the tree across a refresh.

#include "folderview/frmFolderDiffs.h"

#include "app/Globals.h"
#include "app/Prompt.h"
#include "engine/FileNameText.h"

#include <QAction>
#include <QScrollBar>
#include <QStatusBar>
#include <QTreeView>

using FolderTree::Id;
using FolderTree::Kind;

namespace {

QString Text(const std::string& bytes)
{
    return FileNameText::FromBytes(QByteArrayView(bytes.data(), static_cast<qsizetype>(bytes.size())));
}

}  // namespace

Id frmFolderDiffs::CurrentEntry() const
{
    return m_model.IdOf(tvwFolders->currentIndex());
}

void frmFolderDiffs::SelectEntry(Id id)
{
    const FolderTree::Tree* tree = m_model.Tree();
    if (!tree || id == FolderTree::kRoot || id >= tree->Size())
        return;
    // Identical entries that are hidden come back to be shown.
    if (!m_model.IndexOf(id).isValid()) {
        Options().Folders.ShowIdentical = true;
        mnuViewShowIdentical->setChecked(true);
        m_model.SetHideIdentical(false);
    }
    for (Id up = tree->At(id).parent; up != FolderTree::kRoot; up = tree->At(up).parent)
        tvwFolders->expand(m_model.IndexOf(up));
    const QModelIndex index = m_model.IndexOf(id);
    tvwFolders->setCurrentIndex(index);
    tvwFolders->scrollTo(index);
}

void frmFolderDiffs::GoToDifference(Id from, bool forward)
{
    const FolderTree::Tree* tree = m_model.Tree();
    if (!tree)
        return;
    const Id found = FolderTree::NextDifference(*tree, from, forward);
    if (found < tree->Size())
        return SelectEntry(found);
    modVantrel::MsgBox(QStringLiteral("There are no more differences."), modVantrel::PromptButtons::Ok,
                       modVantrel::PromptIcon::Information, QStringLiteral("No more differences"));
}

void frmFolderDiffs::mnuFileShowNextDiff_Click()
{
    GoToDifference(CurrentEntry(), true);
}

void frmFolderDiffs::mnuFileShowPreviousDiff_Click()
{
    GoToDifference(CurrentEntry(), false);
}

void frmFolderDiffs::mnuFileShowFirstDiff_Click()
{
    GoToDifference(FolderTree::kRoot, true);
}

void frmFolderDiffs::mnuFileShowLastDiff_Click()
{
    GoToDifference(FolderTree::kRoot, false);
}

// Enter or a double click: a folder opens or closes, a pair of files is
// compared in the file view.
void frmFolderDiffs::tvwFolders_Activated(const QModelIndex& index)
{
    const Id id = m_model.IdOf(index);
    const FolderTree::Tree* tree = m_model.Tree();
    if (!tree || id == FolderTree::kRoot)
        return;
    if (tree->HasFolder(id) && m_model.hasChildren(m_model.IndexOf(id))) {
        const QModelIndex folder = m_model.IndexOf(id);
        tvwFolders->setExpanded(folder, !tvwFolders->isExpanded(folder));
        return;
    }
    OpenPair(id);
}

void frmFolderDiffs::OpenPair(Id id)
{
    const FolderTree::Tree* tree = m_model.Tree();
    if (!tree || id == FolderTree::kRoot || id >= tree->Size())
        return;
    const FolderTree::Node& node = tree->At(id);
    if (node.sides[0].kind != Kind::File || node.sides[1].kind != Kind::File) {
        statusBar()->showMessage(QStringLiteral("Only a pair of files opens in the file view."), 4000);
        return;
    }
    if (m_links.openPair)
        m_links.openPair(Text(tree->Path(id, 0)), Text(tree->Path(id, 1)));
}

void frmFolderDiffs::mnuViewShowIdentical_Click()
{
    Options().Folders.ShowIdentical = mnuViewShowIdentical->isChecked();
    // While the scan runs every entry shows; the choice is applied at its end.
    if (!Scanning())
        m_model.SetHideIdentical(!mnuViewShowIdentical->isChecked());
    if (tvwFolders->currentIndex().isValid())
        tvwFolders->scrollTo(tvwFolders->currentIndex());
}

void frmFolderDiffs::mnuViewExpandAll_Click()
{
    tvwFolders->expandAll();
}

void frmFolderDiffs::mnuViewCollapseAll_Click()
{
    tvwFolders->collapseAll();
}

void frmFolderDiffs::mnuViewFileView_Click()
{
    if (m_links.showFileView)
        m_links.showFileView();
}

frmFolderDiffs::Place frmFolderDiffs::CurrentPlace() const
{
    Place place;
    const FolderTree::Tree* tree = m_model.Tree();
    if (!tree)
        return place;
    const auto path = [&](const QModelIndex& index) { return Text(tree->PathFromRoot(m_model.IdOf(index))); };
    if (tvwFolders->currentIndex().isValid())
        place.selected = path(tvwFolders->currentIndex());
    const QModelIndex top = tvwFolders->indexAt(QPoint(0, 0));
    if (top.isValid())
        place.top = path(top);
    // The open folders, found by walking the open part of the tree only.
    std::vector<QModelIndex> open{QModelIndex()};
    while (!open.empty()) {
        const QModelIndex at = open.back();
        open.pop_back();
        for (int row = 0; row < m_model.rowCount(at); ++row) {
            const QModelIndex child = m_model.index(row, 0, at);
            if (tvwFolders->isExpanded(child)) {
                place.expanded << path(child);
                open.push_back(child);
            }
        }
    }
    return place;
}

void frmFolderDiffs::RestorePlace(const Place& place)
{
    const FolderTree::Tree* tree = m_model.Tree();
    if (!tree)
        return;
    const auto find = [&](const QString& path) {
        return m_model.IndexOf(tree->Find(FileNameText::ToBytes(path).toStdString()));
    };
    for (const QString& folder : place.expanded)
        if (const QModelIndex index = find(folder); index.isValid())
            tvwFolders->expand(index);
    // The current entry first: making it current scrolls to it.
    if (const QModelIndex selected = find(place.selected); selected.isValid())
        tvwFolders->setCurrentIndex(selected);
    else if (m_model.rowCount() > 0)
        tvwFolders->setCurrentIndex(m_model.index(0, 0));
    if (const QModelIndex top = find(place.top); top.isValid())
        tvwFolders->scrollTo(top, QAbstractItemView::PositionAtTop);
}
