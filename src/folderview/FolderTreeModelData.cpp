// What the folder model tells of each entry: its texts, colours, icon and
// tooltip, made when the view asks (only for the rows it shows).

#include "folderview/FolderTreeModel.h"

#include "engine/FileNameText.h"
#include "engine/FolderFiles.h"

#include <QApplication>
#include <QDateTime>
#include <QFont>
#include <QLocale>
#include <QPalette>

using FolderTree::Id;
using FolderTree::Kind;
using FolderTree::State;

namespace {

QString Text(std::string_view bytes)
{
    return FileNameText::FromBytes(QByteArrayView(bytes.data(), static_cast<qsizetype>(bytes.size())));
}

QString SizeText(const FolderTree::SideFacts& side)
{
    return side.kind == Kind::File ? QLocale().toString(static_cast<qlonglong>(side.size)) : QString();
}

QString TimeText(const FolderTree::SideFacts& side)
{
    // A folder's time says little of what it holds.
    if (side.kind != Kind::File)
        return {};
    return QDateTime::fromMSecsSinceEpoch(side.modified / 1'000'000).toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
}

}  // namespace

QVariant FolderTreeModel::data(const QModelIndex& index, int role) const
{
    if (!m_tree || !index.isValid())
        return {};
    const Id id = IdOf(index);
    switch (role) {
    case Qt::DisplayRole: return Display(id, index.column());
    case IdRole: return QVariant::fromValue(id);
    case Qt::DecorationRole: return index.column() == ColumnName ? QVariant(Icon(id)) : QVariant();
    case Qt::BackgroundRole: return Background(id);
    case Qt::ForegroundRole: {
        // Text on a row of its own colour is dark in every palette.
        if (Background(id).isValid())
            return m_textOnRow;
        const State state = m_tree->StateOf(id);
        if (state == State::Pending || state == State::Stopped)
            return QApplication::palette().color(QPalette::Disabled, QPalette::Text);
        return {};
    }
    case Qt::FontRole:
        // A folder with differences inside stands out from identical ones.
        return m_tree->IsFolderPair(id) && m_tree->StateOf(id) == State::Different ? QVariant(m_bold) : QVariant();
    case Qt::ToolTipRole: return ToolTip(id);
    case Qt::AccessibleTextRole:
        // The name is read with its state, as a sighted user sees both.
        return index.column() == ColumnName ? Display(id, ColumnName).toString() + QStringLiteral(", ") + StateText(id)
                                            : Display(id, index.column());
    case Qt::TextAlignmentRole:
        return index.column() == ColumnSizeOne || index.column() == ColumnSizeTwo
                   ? QVariant(Qt::AlignRight | Qt::AlignVCenter)
                   : QVariant();
    default: return {};
    }
}

QVariant FolderTreeModel::Display(Id id, int column) const
{
    const FolderTree::Node& node = m_tree->At(id);
    switch (column) {
    case ColumnName: {
        const std::string_view one = m_tree->Name(id, 0);
        const std::string_view two = m_tree->Name(id, 1);
        // Names that pair up only when case is ignored show both.
        if (!one.empty() && !two.empty() && one != two)
            return Text(one) + QStringLiteral(" | ") + Text(two);
        return Text(m_tree->ShownName(id));
    }
    case ColumnState: return StateText(id);
    case ColumnSizeOne: return SizeText(node.sides[0]);
    case ColumnModifiedOne: return TimeText(node.sides[0]);
    case ColumnSizeTwo: return SizeText(node.sides[1]);
    case ColumnModifiedTwo: return TimeText(node.sides[1]);
    default: return {};
    }
}

QVariant FolderTreeModel::Background(Id id) const
{
    switch (m_tree->StateOf(id)) {
    case State::OnlyInOne:
    case State::OnlyInTwo: return m_orphanColor;
    case State::Different: return m_tree->IsFolderPair(id) ? QVariant() : QVariant(m_changedColor);
    case State::KindsDiffer: return m_changedColor;
    case State::Error: return m_errorColor;
    default: return {};
    }
}

QString FolderTreeModel::ToolTip(Id id) const
{
    QStringList lines;
    const FolderTree::Node& node = m_tree->At(id);
    for (int side = 0; side < 2; ++side) {
        const FolderTree::SideFacts& facts = node.sides[static_cast<std::size_t>(side)];
        const QString folder = side == 0 ? QStringLiteral("Folder One: ") : QStringLiteral("Folder Two: ");
        if (facts.kind == Kind::Absent) {
            lines << folder + QStringLiteral("none");
            continue;
        }
        const std::string path = m_tree->Path(id, side);
        QString line = folder + Text(path);
        // A link shows where it leads; read only when the tip is asked for.
        if (facts.link)
            line += QStringLiteral(" \u2192 ") + Text(FolderFiles::LinkTarget(path));
        lines << line;
    }
    lines << StateText(id);
    return lines.join(u'\n');
}

QIcon FolderTreeModel::Icon(Id id) const
{
    const FolderTree::Node& node = m_tree->At(id);
    if (node.sides[0].link || node.sides[1].link)
        return m_linkIcon;
    return m_tree->HasFolder(id) ? m_folderIcon : m_fileIcon;
}

QVariant FolderTreeModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return {};
    switch (section) {
    case ColumnName: return QStringLiteral("Name");
    case ColumnState: return QStringLiteral("State");
    case ColumnSizeOne: return QStringLiteral("Size in One");
    case ColumnModifiedOne: return QStringLiteral("Modified in One");
    case ColumnSizeTwo: return QStringLiteral("Size in Two");
    case ColumnModifiedTwo: return QStringLiteral("Modified in Two");
    default: return {};
    }
}
