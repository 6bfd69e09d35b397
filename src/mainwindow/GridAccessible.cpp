// A result grid as assistive technology reads it: a table of one column,
// its header the grid's header row, its rows the rows as shown. A cell
// reads "Line 12: text" and its state in words; the current row is the
// selected cell, and the focused one while the grid has the focus. Cells
// are made when asked for and kept by shown row until the rows change.

#include "mainwindow/Accessibility.h"
#include "mainwindow/VGrid.h"

#include <QAccessibleWidget>
#include <QHash>
#include <QPointer>
#include <QTimer>
#include <QWindow>
#include <algorithm>

namespace {

// " 12.abc" reads as "Line 12: abc"; any other text as it is.
QString CellName(const VGrid& grid, int row)
{
    if (const RowFolding::Fold* fold = grid.FoldOf(row))
        return RowFolding::FoldText(fold->rowCount);
    const RowText::Part part = grid.TextMatrixPart(row, Accessibility::kCellTextLength);
    const QString text = part.more ? part.text + QChar(0x2026) : part.text;
    const qsizetype period = text.indexOf(QLatin1Char('.'));
    const QStringView number = QStringView(text).left(std::max<qsizetype>(period, 0)).trimmed();
    if (number.isEmpty() || !std::all_of(number.begin(), number.end(), [](QChar c) { return c.isDigit(); }))
        return text;
    return QStringLiteral("Line %1: %2").arg(number, QStringView(text).sliced(period + 1));
}

class GridTable;

// The header row (index -1) or a shown row of a grid.
class GridCell final : public QAccessibleInterface, public QAccessibleTableCellInterface {
public:
    GridCell(VGrid* grid, int index) : m_grid(grid), m_index(index) {}

    bool isValid() const override { return m_grid && m_index < m_grid->ShownRowCount(); }
    QObject* object() const override { return nullptr; }
    QWindow* window() const override { return m_grid ? m_grid->window()->windowHandle() : nullptr; }
    QAccessibleInterface* parent() const override { return QAccessible::queryAccessibleInterface(m_grid.data()); }
    QAccessibleInterface* child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }
    QAccessibleInterface* focusChild() const override { return nullptr; }
    QAccessible::Role role() const override { return m_index < 0 ? QAccessible::ColumnHeader : QAccessible::Cell; }
    void setText(QAccessible::Text, const QString&) override {}
    void* interface_cast(QAccessible::InterfaceType type) override
    {
        return type == QAccessible::TableCellInterface ? static_cast<QAccessibleTableCellInterface*>(this) : nullptr;
    }

    QString text(QAccessible::Text type) const override
    {
        if (!isValid())
            return {};
        // The header row is empty once files are compared: it then reads
        // as the grid's name.
        if (m_index < 0 && type == QAccessible::Name)
            return m_grid->TextMatrix(0).isEmpty() ? m_grid->accessibleName() : m_grid->TextMatrix(0);
        if (m_index < 0)
            return {};
        const int row = m_grid->RowOfShownIndex(m_index);
        if (type == QAccessible::Name)
            return CellName(*m_grid, row);
        return type == QAccessible::Description ? m_grid->RowState(row) : QString();
    }

    QAccessible::State state() const override
    {
        QAccessible::State state;
        if (!isValid())
            return state;
        state.readOnly = true;
        if (m_index < 0)
            return state;
        state.focusable = state.selectable = true;
        state.selected = isSelected();
        state.focused = state.selected && m_grid->hasFocus();
        state.invisible = state.offscreen = rect().isEmpty();
        return state;
    }

    QRect rect() const override
    {
        if (!isValid())
            return {};
        const QRect place =
            m_index < 0 ? QRect(0, 0, m_grid->viewport()->width(), m_grid->RowHeight()) : m_grid->RowRect(Row());
        return place.isEmpty() ? QRect() : QRect(m_grid->viewport()->mapToGlobal(place.topLeft()), place.size());
    }

    bool isSelected() const override { return m_index >= 0 && isValid() && Row() == m_grid->Row(); }
    QList<QAccessibleInterface*> columnHeaderCells() const override;
    QList<QAccessibleInterface*> rowHeaderCells() const override { return {}; }
    int columnIndex() const override { return 0; }
    int rowIndex() const override { return m_index; }
    int columnExtent() const override { return 1; }
    int rowExtent() const override { return 1; }
    QAccessibleInterface* table() const override { return parent(); }

private:
    [[nodiscard]] int Row() const { return m_grid->RowOfShownIndex(m_index); }

    QPointer<VGrid> m_grid;
    int m_index;
};

class GridTable final : public QAccessibleWidget, public QAccessibleTableInterface {
public:
    explicit GridTable(VGrid* grid) : QAccessibleWidget(grid, QAccessible::Table) {}
    ~GridTable() override { DropCells(); }
    GridTable(const GridTable&) = delete;
    GridTable& operator=(const GridTable&) = delete;

    [[nodiscard]] VGrid* Grid() const { return static_cast<VGrid*>(widget()); }

    void* interface_cast(QAccessible::InterfaceType type) override
    {
        if (type == QAccessible::TableInterface)
            return static_cast<QAccessibleTableInterface*>(this);
        return QAccessibleWidget::interface_cast(type);
    }

    // The grid's name; its description tells where the current row is, once
    // a command moved it, and is the widget's own before.
    QString text(QAccessible::Text type) const override
    {
        if (type == QAccessible::Description && !Grid()->Announcement().isEmpty())
            return Grid()->Announcement();
        return QAccessibleWidget::text(type);
    }

    // Child 0 is the header, child k the shown row k - 1.
    int childCount() const override { return rowCount() + 1; }
    QAccessibleInterface* child(int index) const override
    {
        return index >= 0 && index <= rowCount() ? Cell(index - 1) : nullptr;
    }
    int indexOfChild(const QAccessibleInterface* child) const override
    {
        if (!child || child->parent() != this)
            return -1;
        const auto* cell = const_cast<QAccessibleInterface*>(child)->tableCellInterface();
        return !cell ? -1 : child->role() == QAccessible::ColumnHeader ? 0 : cell->rowIndex() + 1;
    }
    QAccessibleInterface* childAt(int x, int y) const override
    {
        const QPoint at = Grid()->viewport()->mapFromGlobal(QPoint(x, y));
        if (!Grid()->viewport()->rect().contains(at))
            return nullptr;
        const int row = Grid()->RowAt(at.y());
        return row == 0 ? Cell(-1) : row > 0 ? Cell(Grid()->ShownIndexOfRow(row)) : nullptr;
    }
    QAccessibleInterface* focusChild() const override { return Grid()->hasFocus() ? CurrentCell() : nullptr; }

    QAccessibleInterface* caption() const override { return nullptr; }
    QAccessibleInterface* summary() const override { return nullptr; }
    QAccessibleInterface* cellAt(int row, int column) const override
    {
        return column == 0 && row >= 0 && row < rowCount() ? Cell(row) : nullptr;
    }
    int selectedCellCount() const override { return CurrentCell() ? 1 : 0; }
    QList<QAccessibleInterface*> selectedCells() const override
    {
        QAccessibleInterface* current = CurrentCell();
        return current ? QList<QAccessibleInterface*>{current} : QList<QAccessibleInterface*>{};
    }
    QString columnDescription(int column) const override { return column == 0 ? Grid()->TextMatrix(0) : QString(); }
    QString rowDescription(int) const override { return {}; }
    int selectedColumnCount() const override { return 0; }
    int selectedRowCount() const override { return selectedCellCount(); }
    int columnCount() const override { return 1; }
    int rowCount() const override { return Grid()->ShownRowCount(); }
    QList<int> selectedColumns() const override { return {}; }
    QList<int> selectedRows() const override
    {
        return CurrentCell() ? QList<int>{Grid()->ShownIndexOfRow(Grid()->Row())} : QList<int>{};
    }
    bool isColumnSelected(int) const override { return false; }
    bool isRowSelected(int row) const override
    {
        return CurrentCell() && row == Grid()->ShownIndexOfRow(Grid()->Row());
    }
    // Selecting a row moves the current row there as the keys do.
    bool selectRow(int row) override
    {
        if (row < 0 || row >= rowCount())
            return false;
        Grid()->MoveCurrentRow(Grid()->RowOfShownIndex(row));
        return true;
    }
    bool selectColumn(int) override { return false; }
    bool unselectRow(int) override { return false; }
    bool unselectColumn(int) override { return false; }
    void modelChange(QAccessibleTableModelChangeEvent*) override { DropCells(); }

    // The cell of a shown row (-1: the header), made on first need.
    [[nodiscard]] QAccessibleInterface* Cell(int index) const
    {
        // Cells read their row afresh each time, but one made for a row
        // count that is gone could stand for a row that no longer exists.
        if (m_generation != Grid()->RowsGeneration()) {
            const_cast<GridTable*>(this)->DropCells();
            m_generation = Grid()->RowsGeneration();
        }
        if (const auto it = m_cells.constFind(index); it != m_cells.cend())
            return QAccessible::accessibleInterface(*it);
        auto* cell = new GridCell(Grid(), index);
        m_cells.insert(index, QAccessible::registerAccessibleInterface(cell));
        // A reader that walks far keeps a bounded number of cells: past the
        // limit they go once the request that made them is answered, the
        // header's and the current row's excepted.
        if (m_cells.size() > kKeptCells && !m_dropPending) {
            m_dropPending = true;
            QTimer::singleShot(0, Grid(), [this] { const_cast<GridTable*>(this)->DropOldCells(); });
        }
        return cell;
    }
    [[nodiscard]] QAccessibleInterface* CurrentCell() const
    {
        return Grid()->Row() > 0 && Grid()->Row() < Grid()->Rows() ? Cell(Grid()->ShownIndexOfRow(Grid()->Row()))
                                                                   : nullptr;
    }

private:
    static constexpr qsizetype kKeptCells = 1000;

    void DropOldCells()
    {
        m_dropPending = false;
        const int current = Grid()->ShownIndexOfRow(Grid()->Row());
        for (auto it = m_cells.begin(); it != m_cells.end();) {
            if (it.key() == -1 || it.key() == current) {
                ++it;
                continue;
            }
            QAccessible::deleteAccessibleInterface(*it);
            it = m_cells.erase(it);
        }
    }
    void DropCells()
    {
        for (const QAccessible::Id id : std::as_const(m_cells))
            QAccessible::deleteAccessibleInterface(id);
        m_cells.clear();
    }

    mutable QHash<int, QAccessible::Id> m_cells;
    mutable std::uint64_t m_generation = 0;
    mutable bool m_dropPending = false;
};

QList<QAccessibleInterface*> GridCell::columnHeaderCells() const
{
    const auto* table = static_cast<const GridTable*>(parent());
    return m_index < 0 || !table ? QList<QAccessibleInterface*>{} : QList<QAccessibleInterface*>{table->Cell(-1)};
}

GridTable* TableOf(const VGrid* grid)
{
    return static_cast<GridTable*>(QAccessible::queryAccessibleInterface(const_cast<VGrid*>(grid)));
}

}  // namespace

QAccessibleInterface* Accessibility::CreateGridInterface(VGrid* grid)
{
    return new GridTable(grid);
}

QRect VGrid::RowRect(int row) const
{
    if (!RowIsVisible(row) || row < 1)
        return {};
    return QRect(0, m_rowHeight * (ShownOf(row) - TopShown() + 1), viewport()->width(), m_rowHeight);
}

void VGrid::Announce(const QString& text)
{
    if (text == m_announcement)
        return;
    m_announcement = text;
    if (QAccessible::isActive()) {
        QAccessibleEvent changed(this, QAccessible::DescriptionChanged);
        QAccessible::updateAccessibility(&changed);
    }
}

void VGrid::ClickRow(int row)
{
    if (!Valid(row) || row < 1)
        return;
    m_mouseRow = row;
    m_mouseOnPicture = false;
    m_row = row;
    Refresh();
    TellCurrentRow();
    emit CurrentRowMoved();
    emit Click();
}

void VGrid::RowsReset()
{
    ++m_rowsGeneration;
    if (!QAccessible::isActive())
        return;
    QAccessibleTableModelChangeEvent reset(this, QAccessibleTableModelChangeEvent::ModelReset);
    QAccessible::updateAccessibility(&reset);
}

void VGrid::TellCurrentRow() const
{
    // Only the grid that has the focus moves the focus; the other's
    // selected cell is read when asked.
    if (!QAccessible::isActive() || !hasFocus())
        return;
    if (QAccessibleInterface* cell = TableOf(this)->CurrentCell()) {
        QAccessibleEvent focus(cell, QAccessible::Focus);
        QAccessible::updateAccessibility(&focus);
    }
}
