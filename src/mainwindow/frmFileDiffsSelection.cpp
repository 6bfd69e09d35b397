// Row selection in the result grids: the grids' mouse and scroll handlers,
// the selection refresh every command ends with, and the row marker that
// grid one carries. The current and marked rows are the model's; both grids
// follow it, and the model follows grid one's row when the user moves it.

#include "mainwindow/DetailPane.h"
#include "mainwindow/frmFileDiffs.h"

#include <QCheckBox>
#include <QCursor>
#include <QMenu>
#include <utility>

namespace {

// Tooltips longer than this many characters are cut.
constexpr qsizetype kToolTipLength = 255;
// Columns that always hold a line row's number prefix " N." and more.
constexpr qsizetype kPrefixColumns = 24;

// The line's own text in a row of the grid (what follows the first period)
// is empty; decided from the first columns of the row alone.
bool LineIsEmpty(const VGrid& grid, int row)
{
    const RowText::Part part = grid.TextMatrixPart(row, kPrefixColumns);
    const qsizetype period = part.text.indexOf(QLatin1Char('.'));
    if (period >= 0)
        return period + 1 == part.text.size() && !part.more;
    if (!part.more)
        return part.text.isEmpty();
    // Only a cell's own long text without an early period comes here.
    return DetailPane::LineTextOfRow(grid.TextMatrix(row)).isEmpty();
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
    // Commands start from a row grid one's keys moved to, and the bar's value
    // tells it; the marker and the detail pane stay where they were.
    connect(grdFileOne, &VGrid::CurrentRowMoved, this, [this] {
        m_model.SetCurrentRow(grdFileOne->Row());
        TellBarPosition();
        AnnounceRow(grdFileOne);
    });
    connect(grdFileTwo, &VGrid::CurrentRowMoved, this, [this] { AnnounceRow(grdFileTwo); });
    connect(grdFileOne, &VGrid::Activated, this, [this] { GridActivated(grdFileOne); });
    // The menu key shows the pop-up menu a right click shows, below the current row.
    for (VGrid* grid : {grdFileOne, grdFileTwo})
        connect(grid, &VGrid::MenuKeyPressed, this, [this, grid] {
            const QRect row = grid->RowRect(grid->Row());
            if (m_model.Shown())
                mnuFile->popup(grid->viewport()->mapToGlobal(row.isEmpty() ? QPoint() : row.bottomLeft()));
        });
    connect(grdFileTwo, &VGrid::Activated, this, [this] { GridActivated(grdFileTwo); });
}

void frmFileDiffs::SetCurrentRow(std::int32_t row)
{
    m_model.SetCurrentRow(row);
    grdFileOne->SetRow(row);
    grdFileTwo->SetRow(row);
}

void frmFileDiffs::grdFileOne_Click()
{
    GridClick(grdFileOne);
}
void frmFileDiffs::grdFileTwo_Click()
{
    GridClick(grdFileTwo);
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
    GridMouseDown(button);
}
void frmFileDiffs::grdFileTwo_MouseDown(Qt::MouseButton button)
{
    GridMouseDown(button);
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

void frmFileDiffs::GridClick(VGrid* grid)
{
    if (!m_model.Shown())
        return;
    // A click on a fold row shows its rows, the first where the fold row
    // stood.
    const std::int32_t row = grid->Row();
    m_clickOpenedFold = UnfoldRow(row);
    SetCurrentRow(row);
    RefreshSelection();
}

void frmFileDiffs::GridDblClick(VGrid* grid)
{
    // The click before it opened a fold: the double click has done its work.
    const bool opened = std::exchange(m_clickOpenedFold, false);
    if (!m_model.Shown() || opened)
        return;
    // On the marker of a moved row it goes to the move's other end.
    if (grid == grdFileOne && grid->MouseOnPicture()) {
        if (const std::optional<std::int32_t> other = m_model.OtherEndOfMove(grid->Row())) {
            GoToRow(*other);
            return;
        }
    }
    mnuFileToggleBookmark_Click();
}

void frmFileDiffs::GridMouseDown(Qt::MouseButton button)
{
    m_clickOpenedFold = false;
    if (m_model.Shown() && button == Qt::RightButton)
        mnuFile->popup(QCursor::pos());
}

void frmFileDiffs::GridMouseMove(VGrid* grid)
{
    // Below the last row there is no row under the pointer: no tooltip. A
    // cut text ends in an ellipsis, so that it never passes for the whole.
    if (Options().PaneTooltips) {
        if (const RowFolding::Fold* fold = m_model.FoldOf(grid->MouseRow())) {
            grid->SetToolTipText(RowFolding::FoldText(fold->rowCount));
            return;
        }
        const RowText::Part part = grid->TextMatrixPart(grid->MouseRow(), kToolTipLength);
        const QString moved = m_model.MoveText(grid->MouseRow());
        grid->SetToolTipText((part.more ? part.text + QChar(0x2026) : part.text)
                             + (moved.isEmpty() ? QString() : QLatin1Char('\n') + moved));
    }
}

void frmFileDiffs::RefreshSelection()
{
    MarkCurrentRow();
    MarkCurrentRowInDiffsBar();
    ShowSelectedLines();
    AnnounceRow(grdFileOne);
    AnnounceRow(grdFileTwo);
}

void frmFileDiffs::ShowSelectedLines()
{
    // A fold row shows what it holds and how to open it.
    if (const RowFolding::Fold* fold = m_model.FoldOf(m_model.CurrentRow())) {
        const LineText text(RowFolding::FoldText(fold->rowCount) + QStringLiteral(" (Enter shows them)"));
        for (LineDiffView* box : rtfLineDiff)
            DetailPane::ShowPlain(box, text, LineDiffView::Ink::Common);
        return;
    }
    // A moved line is not compared with the unrelated line beside it; where
    // it moved tells the pane's tooltip.
    const QString moved = m_model.MoveText(m_model.CurrentRow());
    for (LineDiffView* box : rtfLineDiff)
        box->setToolTip(moved);
    // Evaluated in this order, both of them, before the choice.
    const bool unchanged = SelectedRowIsUnchanged();
    const bool empty = SelectedLineIsEmpty();
    if (unchanged || empty || !moved.isEmpty())
        DisplaySelectedLinesInRTF();
    else
        DisplaySelectedLinesDiffsInRTF();
}

void frmFileDiffs::MarkCurrentRow()
{
    // Grid one's pictures follow the marked row and the bookmarks (see
    // GridOnePicture); marking moves the marker and repaints.
    m_model.SetMarkedRow(m_model.CurrentRow());
    grdFileOne->viewport()->update();
}

QPixmap frmFileDiffs::GridOnePicture(int row) const
{
    using RowMarkers::Marker;
    if (row < 1 || row > m_model.RowCount())
        return {};
    // Each picture is drawn for the colour of the row it stands on.
    const std::uint32_t color = m_model.RowColor(0, row);
    if (row != m_model.MarkedRow()) {
        if (m_model.IsBookmarked(row))
            return m_markerPictures.Get(Marker::Bookmark, color);
        return m_model.OtherEndOfMove(row) ? m_markerPictures.Get(Marker::Moved, color) : QPixmap();
    }
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
    // A line left out of the comparison is shown as it is, never compared
    // with the line beside it.
    const std::int32_t row = m_model.CurrentRow();
    const std::uint32_t one = m_model.RowColor(0, row);
    const std::uint32_t two = m_model.RowColor(1, row);
    return (one == Alignment::kDefaultColor && two == Alignment::kDefaultColor) || one == Alignment::kSkippedColor
           || two == Alignment::kSkippedColor;
}

bool frmFileDiffs::SelectedLineIsEmpty() const
{
    const std::int32_t row = m_model.CurrentRow();
    return LineIsEmpty(*grdFileOne, row) || LineIsEmpty(*grdFileTwo, row);
}
