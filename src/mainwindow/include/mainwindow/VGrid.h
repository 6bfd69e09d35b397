#pragma once
// The result grid: one column, a fixed header row 0 and any number of
// uniform rows below it. Rows that show a line of a file hold only the
// line's index; their text is asked of a row-text source when a row is
// painted or read, so a million-row comparison costs a few bytes per row.
// The rows of a comparison are shared with the comparison model and copied
// only if code changes a single row. Texts and pictures that code puts
// into single cells are kept sparsely; other pictures may come from a
// picture source.

#include "compare/AlignedRows.h"
#include "compare/LineText.h"
#include "compare/RowFolding.h"
#include "compare/RowText.h"
#include "mainwindow/GridRowDrawing.h"

#include <QAbstractScrollArea>
#include <QHash>
#include <QPixmap>
#include <QString>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

namespace Grid {

// Forms the text a row shows for a line of its file (for example " 12.abc").
class RowTextSource {
public:
    virtual ~RowTextSource() = default;
    [[nodiscard]] virtual QString RowText(std::int32_t line) const = 0;
    // The row text's first `columns` columns (RowText::LeadingColumns) and
    // whether it goes on: what painting and tooltips use, so that their cost
    // stays bounded by what is shown. This default cuts the whole text;
    // sources of long lines form the part alone.
    [[nodiscard]] virtual RowText::Part RowTextPart(std::int32_t line, qsizetype columns) const
    {
        return RowText::LeadingColumns(RowText(line), columns);
    }
    // The line's own text without its number, as the detail pane shows it.
    [[nodiscard]] virtual LineText LineTextOf(std::int32_t line) const
    {
        return LineText(RowText::LineOfRowText(RowText(line)));
    }
};

// The character marks of a row's line, one per UTF-16 position of
// LineOfRow(row): false where the character differs from the counterpart
// line. Null when the row has no marks, or none yet.
using MarkSource = std::function<const std::vector<bool>*(int row)>;

// A cell without a background colour of its own reads back as 0.
inline constexpr std::uint32_t kNoCellColor = 0;

}  // namespace Grid

class VGrid : public QAbstractScrollArea {
    Q_OBJECT
public:
    explicit VGrid(QWidget* parent = nullptr);

    // Row count including the header row; at least 1. Rows added at the end
    // are empty, rows removed at the end lose their cells.
    [[nodiscard]] int Rows() const { return static_cast<int>(m_rows->size()) + 1; }
    void SetRows(int rows);
    // Takes a whole comparison's rows at once: row i + 1 shows rows.line[i]
    // through the source and has the background rows.color[i]. Every cell
    // below the header loses its own text and picture; the header keeps its.
    void SetRowsFrom(std::shared_ptr<const Alignment::PaneRows> rows,
                     std::shared_ptr<const Grid::RowTextSource> source);
    // Pictures of cells that have none of their own; null for none.
    void SetPictureSource(std::function<QPixmap(int row)> source);
    // Where the differing characters of rows come from; asked while rows
    // are painted, so it must answer at once. Null for none.
    void SetMarkSource(Grid::MarkSource source);
    // The rows shown: each fold's rows as one fold row, the others as
    // themselves; null shows every row. Every other call still speaks of
    // rows: a folded row reads as a row of its own and is shown, made current
    // or scrolled to as its fold's row. Folds made for another row count are
    // not taken. The current row keeps its place on screen when it is in
    // view, else the first row shown stays first. New rows show no folds.
    void SetFolds(std::shared_ptr<const RowFolding::FoldedView> folds);
    // The fold that hides a row; null when the row is shown as itself.
    [[nodiscard]] const RowFolding::Fold* FoldOf(int row) const;

    // The current row (never the header row while the grid has other rows).
    [[nodiscard]] int Row() const { return m_row; }
    void SetRow(int row);
    // Moves the current row as the keys do: kept in view, and told by
    // CurrentRowMoved, as a row chosen with the mouse is.
    void MoveCurrentRow(int row);
    // The first row shown below the header. Setting it emits Scroll.
    [[nodiscard]] int TopRow() const;
    void SetTopRow(int row);

    // Texts: a cell's own text wins over its line's text. Out of range
    // rows read as empty and ignore writes.
    [[nodiscard]] QString TextMatrix(int row) const;
    void SetTextMatrix(int row, const QString& text);
    // The header's text as shown: cut to the cell's visible width and ended
    // with "…" when it does not fit; its tooltip then shows it whole.
    [[nodiscard]] QString HeaderShown() const;
    // The first `columns` columns of TextMatrix(row) and whether it goes on,
    // formed without the rest of a long line.
    [[nodiscard]] RowText::Part TextMatrixPart(int row, qsizetype columns) const;
    // The line's own text in a row: what follows the first period of
    // TextMatrix(row), or all of it when it holds none; empty for fillers.
    [[nodiscard]] LineText LineOfRow(int row) const;
    // Columns of row text the viewport can show at most: the widest part a
    // row is painted from.
    [[nodiscard]] qsizetype VisibleColumns() const;
    [[nodiscard]] std::uint32_t CellBackColor(int row) const;
    // 0 removes the cell's own colour. Colour values are 0x00BBGGRR.
    void SetCellBackColor(int row, std::uint32_t color);
    void SetCellBackColor(int firstRow, int lastRow, std::uint32_t color);
    [[nodiscard]] QPixmap CellPicture(int row) const;
    // A null pixmap removes the picture. Pictures stand at the cell's left.
    void SetCellPicture(int row, const QPixmap& picture);

    // The row under the pointer at the last mouse event over the grid, or
    // -1 when the pointer was below the last row.
    [[nodiscard]] int MouseRow() const { return m_mouseRow; }
    // True when the last press or double click was on the cell's picture.
    [[nodiscard]] bool MouseOnPicture() const { return m_mouseOnPicture; }
    // True when any part of the row is inside the visible area.
    [[nodiscard]] bool RowIsVisible(int row) const;
    // Rows below the header that fit wholly into the visible area.
    [[nodiscard]] int VisibleRowCount() const;
    [[nodiscard]] int RowAt(int y) const;

    // While drawing is off nothing is repainted; turning it on repaints once.
    [[nodiscard]] bool Redraw() const { return m_redraw; }
    void SetRedraw(bool on);

    // Clears every cell's text, picture and colour, the header's included;
    // the row count stays.
    void ClearCells();

    [[nodiscard]] bool GridLines() const { return m_gridLines; }
    void SetGridLines(bool on);
    [[nodiscard]] int ColWidth() const { return m_colWidth; }
    void SetColWidth(int pixels);
    // From now on the column is as wide as the viewport, whatever the
    // grid's size, so there is nothing to scroll to sideways; SetColWidth
    // ends this.
    void FitColumnToViewport();
    [[nodiscard]] int RowHeight() const { return m_rowHeight; }
    // Pixels from a cell's left edge to its text.
    [[nodiscard]] int TextIndent() const { return m_textIndent; }
    // The tooltip as plain text; the viewport shows it as such, tags and all.
    [[nodiscard]] const QString& ToolTipText() const { return m_toolTip; }
    void SetToolTipText(const QString& text);

    [[nodiscard]] QColor ToQColor(std::uint32_t color) const;

    // What assistive technology reads (Accessibility.h): the rows as
    // shown, counted from 0 below the header, a fold row as one row.
    [[nodiscard]] int ShownRowCount() const { return ShownRows() - 1; }
    [[nodiscard]] int RowOfShownIndex(int index) const { return RowOfShown(index + 1); }
    [[nodiscard]] int ShownIndexOfRow(int row) const { return ShownOf(row) - 1; }
    // A row's state in words, asked of the source when read; null for none.
    void SetStateSource(std::function<QString(int row)> source) { m_stateSource = std::move(source); }
    [[nodiscard]] QString RowState(int row) const { return m_stateSource ? m_stateSource(row) : QString(); }
    // The row's place in the viewport; empty when it is out of view.
    [[nodiscard]] QRect RowRect(int row) const;
    // What a move of the current row means, told to assistive technology
    // as the grid's description.
    void Announce(const QString& text);
    [[nodiscard]] const QString& Announcement() const { return m_announcement; }
    // Counts every change of the rows as shown, so that what was read of
    // them before is known to be stale.
    [[nodiscard]] std::uint64_t RowsGeneration() const { return m_rowsGeneration; }
    // Makes a row current as a click on it does, for assistive technology.
    void ClickRow(int row);

signals:
    void Click();
    void DblClick();
    // button: Qt's button of the press; the row under the pointer is MouseRow.
    void MouseDown(Qt::MouseButton button);
    void MouseMove();
    // The first visible row changed, by the user or by code.
    void Scroll();
    // The user moved the current row (a press, a double click or a key).
    void CurrentRowMoved();
    // Enter was pressed on the current row.
    void Activated();
    // The menu key (or Shift+F10) asked for the pop-up menu of the current row.
    void MenuKeyPressed();

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void changeEvent(QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;
    bool viewportEvent(QEvent* event) override;

private:
    // Pixels between a cell's left edge and its picture.
    static constexpr int kPictureIndent = 1;

    [[nodiscard]] bool Valid(int row) const { return row >= 0 && row < Rows(); }
    // Shown rows, counted like rows: the header is shown row 0.
    [[nodiscard]] int ShownRows() const { return m_folds ? m_folds->ShownRowCount() + 1 : Rows(); }
    [[nodiscard]] int ShownOf(int row) const { return m_folds ? m_folds->ShownOfRow(row) : row; }
    [[nodiscard]] int RowOfShown(int shown) const { return m_folds ? m_folds->RowOfShown(shown) : shown; }
    [[nodiscard]] int TopShown() const;
    [[nodiscard]] int MaxTopShown() const;
    [[nodiscard]] bool OnPicture(int x) const;
    void SetTopShown(int shown);
    void MoveCurrentShown(int shown);
    void PaintRow(QPainter& painter, int row, int y) const;
    void PaintFoldRow(QPainter& painter, const RowFolding::Fold& fold, int y) const;
    // The keyboard focus's mark around the current row's cell.
    void PaintFocus(QPainter& painter, const QRect& cell, const QColor& background) const;
    // The differing characters of the drawn text of a row.
    [[nodiscard]] std::vector<GridRowDrawing::Span> DifferingSpans(int row, const QString& text) const;
    void UpdateRowHeight();
    void UpdateScrollBars();
    void Refresh();
    // The rows for a change of single rows; copies them first when shared.
    Alignment::PaneRows& WritableRows();
    void SetOwnRows(Alignment::PaneRows rows);
    // Tells assistive technology that the rows as shown changed.
    void RowsReset();
    void TellCurrentRow() const;

    // Entry i describes row i + 1; never null.
    std::shared_ptr<const Alignment::PaneRows> m_rows;
    Alignment::PaneRows* m_writableRows = nullptr;  // m_rows when this grid owns them
    std::shared_ptr<const Grid::RowTextSource> m_source;
    std::shared_ptr<const RowFolding::FoldedView> m_folds;
    std::function<QPixmap(int)> m_pictureSource;
    Grid::MarkSource m_markSource;
    std::function<QString(int)> m_stateSource;
    QString m_announcement;
    std::uint64_t m_rowsGeneration = 0;
    QHash<int, QString> m_texts;
    QHash<int, QPixmap> m_pictures;
    QString m_toolTip;
    std::uint32_t m_headerColor = Grid::kNoCellColor;
    int m_row = 1;
    int m_mouseRow = -1;
    int m_rowHeight = 16;
    int m_narrowestAdvance = 1;  // pixels of the font's narrowest ASCII character
    int m_colWidth = 0;
    int m_textIndent = 4;  // pixels left of a cell's text
    bool m_fitColumn = false;
    bool m_redraw = true;
    bool m_gridLines = true;
    bool m_leftPressed = false;
    bool m_mouseOnPicture = false;
};
