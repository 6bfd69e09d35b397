#pragma once
// The folder comparison as an item model: a lazy view of a
// FolderTree::Tree, which holds every entry once; an index carries the
// entry's id, and a row's texts are made only when asked for. Entries the
// same on both sides can be hidden, so that what is left reads like
// `diff -rq`; hiding keeps the indexes of the entries still shown (the
// view's selection and its open folders).

#include "engine/FolderScan.h"
#include "engine/FolderTree.h"

#include <QAbstractItemModel>
#include <QColor>
#include <QFont>
#include <QIcon>
#include <memory>
#include <vector>

class FolderTreeModel final : public QAbstractItemModel {
    Q_OBJECT
public:
    enum Column { ColumnName, ColumnState, ColumnSizeOne, ColumnModifiedOne, ColumnSizeTwo, ColumnModifiedTwo };
    static constexpr int kColumns = 6;
    // The entry's id, for any column.
    static constexpr int IdRole = Qt::UserRole + 1;

    explicit FolderTreeModel(QObject* parent = nullptr);
    ~FolderTreeModel() override;

    // A new comparison of the two roots: the tree holds only their pair.
    void Reset(std::unique_ptr<FolderTree::Tree> tree);
    [[nodiscard]] const FolderTree::Tree* Tree() const { return m_tree.get(); }

    // What a scan found, put into the tree. Children must come in the
    // order the scan gave them; their first id is checked.
    void AddChildren(FolderScanNews::Children&& children);
    void SetStates(const std::vector<FolderScanNews::Verdict>& verdicts, std::size_t from, std::size_t to);
    // Every entry not known yet is told as stopped.
    void StopPending();

    // Hides (or shows again) the entries that are the same on both sides,
    // and the folders that hold nothing else.
    void SetHideIdentical(bool hide);
    [[nodiscard]] bool HideIdentical() const { return m_hideIdentical; }

    [[nodiscard]] FolderTree::Id IdOf(const QModelIndex& index) const;
    // The index of an entry; invalid for the root and for hidden entries.
    [[nodiscard]] QModelIndex IndexOf(FolderTree::Id id, int column = ColumnName) const;
    // The state of an entry in words, as the State column shows it.
    [[nodiscard]] QString StateText(FolderTree::Id id) const;
    // What a comparison as text ignores ("ignoring line endings"), told
    // with the files identical only as text.
    void SetIgnoring(const QString& words);

    QModelIndex index(int row, int column, const QModelIndex& parent = {}) const override;
    QModelIndex parent(const QModelIndex& child) const override;
    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    bool hasChildren(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

private:
    [[nodiscard]] bool Shown(FolderTree::Id id) const;
    [[nodiscard]] std::uint32_t ShownCount(FolderTree::Id id) const;
    [[nodiscard]] FolderTree::Id ShownChild(FolderTree::Id parent, std::uint32_t row) const;
    [[nodiscard]] std::uint32_t RowOf(FolderTree::Id id) const;
    [[nodiscard]] bool Reachable(FolderTree::Id id) const;
    void RebuildVisible();
    [[nodiscard]] QVariant Display(FolderTree::Id id, int column) const;
    [[nodiscard]] QVariant Background(FolderTree::Id id) const;
    [[nodiscard]] QString ToolTip(FolderTree::Id id) const;
    [[nodiscard]] QIcon Icon(FolderTree::Id id) const;

    std::unique_ptr<FolderTree::Tree> m_tree;
    bool m_hideIdentical = false;
    // While identical entries are hidden: each node's row among its
    // parent's shown children (kHidden when it is not shown), and where its
    // shown children start in m_shown and how many there are. While every
    // entry is shown, the tree alone tells all that.
    std::vector<std::uint32_t> m_row;
    std::vector<std::uint32_t> m_start;
    std::vector<std::uint32_t> m_count;
    std::vector<FolderTree::Id> m_shown;
    static constexpr std::uint32_t kHidden = UINT32_MAX;
    QString m_ignoring;
    QColor m_orphanColor;
    QColor m_changedColor;
    QColor m_errorColor;
    QColor m_textOnRow;
    QFont m_bold;
    QIcon m_folderIcon;
    QIcon m_fileIcon;
    QIcon m_linkIcon;
};
