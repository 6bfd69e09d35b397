// Row selection in the result grids: the grids' mouse and scroll handlers,
// the selection refresh every command ends with, and the row marker that
// grid one carries. Grid two follows grid one row for row.

#include "mainwindow/DetailPane.h"
#include "mainwindow/frmFileDiffs.h"

#include <QCheckBox>
#include <QCursor>
#include <QMenu>

namespace {

// Tooltips longer than this many characters are cut.
constexpr qsizetype kToolTipLength = 255;
// Columns that always hold a line row's number prefix " N." and more.
constexpr qsizetype kPrefixColumns = 24;

// The line's own text in the grid's current row (what follows the first
// period) is empty; decided from the first columns of the row alone.
bool CurrentLineIsEmpty(const VGrid& grid)
{
    const RowText::Part part = grid.TextMatrixPart(grid.Row(), kPrefixColumns);
    const qsizetype period = part.text.indexOf(QLatin1Char('.'));
    if (period >= 0)
        return period + 1 == part.text.size() && !part.more;
    if (!part.more)
        return part.text.isEmpty();
    // Only a cell's own long text without an early period comes here.
    return DetailPane::LineTextOfRow(grid.TextMatrix(grid.Row())).isEmpty();
}

}  // namespace

void frmFileDiffs::ConnectSelectionHandlers()
{
    connect(grdFileOne, &VGrid::Click, this, &frmFileDiffs::grdFileOne_Click);
    connect(grdFileTwo, &VGrid::Click, this, &frmFileDiffs::grdFileTwo_Click);
    connect(grdFileOne, &VGrid::DblClick, this, &frmFileDiffs::grdFileOne_DblClick);
    connect(grdFileTwo, &VGrid::DblClick, this, &frmFileDiffs::grdFileTwo_DblClick);
    connect(grdFileOne, &VGrid::MouseDown, this, &frmFileDiffs::grdFileOne_MouseDown);
    connect(grdFileTwo, &VGrid::MouseDown, this, &frmFileDiffs::grdFileTwo_MouseDown);
    connect(grdFileOne, &VGrid::MouseMove, this, &frmFileDiffs::grdFileOne_MouseMove);
    connect(grdFileTwo, &VGrid::MouseMove, this, &frmFileDiffs::grdFileTwo_MouseMove);
    connect(grdFileOne, &VGrid::Scroll, this, &frmFileDiffs::grdFileOne_Scroll);
    connect(grdFileTwo, &VGrid::Scroll, this, &frmFileDiffs::grdFileTwo_Scroll);
    connect(pctDiffsBar, &DiffBarWidget::MouseDown, this, &frmFileDiffs::pctDiffsBar_MouseDown);
}

void frmFileDiffs::grdFileOne_Click()
{
    GridClick(grdFileOne, grdFileTwo);
}
void frmFileDiffs::grdFileTwo_Click()
{
    GridClick(grdFileTwo, grdFileOne);
}
void frmFileDiffs::grdFileOne_DblClick()
{
    GridDblClick(grdFileOne);
}
void frmFileDiffs::grdFileTwo_DblClick()
{
    GridDblClick(grdFileTwo);
}
void frmFileDiffs::grdFileOne_MouseDown(Qt::MouseButton button)
{
    GridMouseDown(grdFileOne, button);
}
void frmFileDiffs::grdFileTwo_MouseDown(Qt::MouseButton button)
{
    GridMouseDown(grdFileTwo, button);
}
void frmFileDiffs::grdFileOne_MouseMove()
{
    GridMouseMove(grdFileOne);
}
void frmFileDiffs::grdFileTwo_MouseMove()
{
    GridMouseMove(grdFileTwo);
}

// Setting the other grid's first row makes it scroll in turn, which sets
// this grid's first row to the value it already has: there it stops.
void frmFileDiffs::grdFileOne_Scroll()
{
    grdFileTwo->SetTopRow(grdFileOne->TopRow());
}
void frmFileDiffs::grdFileTwo_Scroll()
{
    grdFileOne->SetTopRow(grdFileTwo->TopRow());
}

void frmFileDiffs::GridClick(VGrid* grid, VGrid* other)
{
    if (grid->TextMatrix(0) == kSelectFilesPrompt)
        return;
    other->SetRow(grid->Row());
    RefreshSelection();
}

void frmFileDiffs::GridDblClick(VGrid* grid)
{
    if (grid->TextMatrix(0) != kSelectFilesPrompt)
        mnuFileToggleBookmark_Click();
}

void frmFileDiffs::GridMouseDown(VGrid* grid, Qt::MouseButton button)
{
    if (grid->TextMatrix(0) != kSelectFilesPrompt && button == Qt::RightButton)
        mnuFile->popup(QCursor::pos());
}

void frmFileDiffs::GridMouseMove(VGrid* grid)
{
    // Below the last row there is no row under the pointer: no tooltip. A
    // cut text ends in an ellipsis, so that it never passes for the whole.
    if (chkTooltip->isChecked()) {
        const RowText::Part part = grid->TextMatrixPart(grid->MouseRow(), kToolTipLength);
        grid->SetToolTipText(part.more ? part.text + QChar(0x2026) : part.text);
    }
}

void frmFileDiffs::RefreshSelection()
{
    MarkCurrentRow();
    MarkCurrentRowInDiffsBar();
    ShowSelectedLines();
}

void frmFileDiffs::ShowSelectedLines()
{
    // Evaluated in this order, both of them, before the choice.
    const bool unchanged = SelectedRowIsUnchanged();
    const bool empty = SelectedLineIsEmpty();
    if (unchanged || empty)
        DisplaySelectedLinesInRTF();
    else
        DisplaySelectedLinesDiffsInRTF();
}

void frmFileDiffs::MarkCurrentRow()
{
    // Grid one's pictures follow the marked row and the bookmarks (see
    // GridOnePicture); marking moves the marker and repaints.
    m_model.SetMarkedRow(grdFileOne->Row());
    grdFileOne->viewport()->update();
}

QPixmap frmFileDiffs::GridOnePicture(int row) const
{
    using RowMarkers::Marker;
    if (row < 1 || row > m_model.RowCount())
        return {};
    // Each picture is drawn for the colour of the row it stands on.
    const std::uint32_t color = grdFileOne->CellBackColor(row);
    if (row != m_model.MarkedRow())
        return m_model.IsBookmarked(row) ? m_markerPictures.Get(Marker::Bookmark, color) : QPixmap();
    // A bookmark is tested first, then the orphan colour, then the changed
    // colour; grid two's colour is never read.
    if (m_model.IsBookmarked(row))
        return m_markerPictures.Get(Marker::BookmarkArrow, color);
    if (color == Alignment::kOrphanColor)
        return pctOrphanArrow;
    if (color == Alignment::kChangedColor)
        return pctDifferArrow;
    return pctArrow;
}

bool frmFileDiffs::IsRowBookmarked(std::int32_t row) const
{
    return m_model.IsBookmarked(row);
}

bool frmFileDiffs::SelectedRowIsUnchanged() const
{
    return grdFileOne->CellBackColor(grdFileOne->Row()) == Grid::kNoCellColor
           && grdFileTwo->CellBackColor(grdFileTwo->Row()) == Grid::kNoCellColor;
}

bool frmFileDiffs::SelectedLineIsEmpty() const
{
    return CurrentLineIsEmpty(*grdFileOne) || CurrentLineIsEmpty(*grdFileTwo);
}
