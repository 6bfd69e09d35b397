// Moving the selection to a difference: the first / previous / next / last
// difference commands and the difference bar left of the grids.

#include "app/ErrorReport.h"
#include "app/Prompt.h"
#include "compare/DiffBarGeometry.h"
#include "mainwindow/WaitCursor.h"
#include "mainwindow/frmFileDiffs.h"

namespace {

const QString kNoMoreDifferences = QStringLiteral("No more differences");

}  // namespace

void frmFileDiffs::GoToRow(std::int32_t row)
{
    // A row in a fold is shown with the rest of its fold. Scrolled only when
    // needed; grid two follows through its scroll handler.
    UnfoldRow(row);
    if (!grdFileOne->RowIsVisible(row))
        grdFileOne->SetTopRow(row);
    SetCurrentRow(row);
    RefreshSelection();
}

void frmFileDiffs::mnuFileShowFirstDiff_Click()
{
    try {
        const std::optional<std::int32_t> row = m_model.FirstDiff();
        if (!row)
            return;
        if (!grdFileOne->RowIsVisible(*row)) {
            grdFileOne->SetTopRow(*row);
            // Compare runs this while the grids do not draw; a first row
            // that did not take is set once more with drawing on.
            if (grdFileOne->TopRow() != *row) {
                grdFileOne->SetRedraw(true);
                grdFileTwo->SetRedraw(true);
                grdFileOne->SetTopRow(*row);
            }
        }
        SetCurrentRow(*row);
        RefreshSelection();
    } catch (...) {
        modVantrel::ReportUnexpectedError(QStringLiteral("frmFileDiffs.mnuFileShowFirstDiff"));
    }
}

void frmFileDiffs::mnuFileShowLastDiff_Click()
{
    try {
        if (const std::optional<std::int32_t> row = m_model.LastDiff())
            GoToRow(*row);
    } catch (...) {
        modVantrel::ReportUnexpectedError(QStringLiteral("frmFileDiffs.mnuFileShowLastDiff"));
    }
}

void frmFileDiffs::mnuFileShowNextDiff_Click()
{
    if (HourglassShown())
        return;
    const std::int32_t row = GetNextDiff();
    if (row == kNotFound || row == kSearchNotRun) {
        // A hidden window has no one to tell.
        if (isVisible())
            modVantrel::MsgBox(kNoMoreDifferences, modVantrel::PromptButtons::Ok, modVantrel::PromptIcon::Information,
                               QStringLiteral("Next Difference"));
        return;
    }
    GoToRow(row);
}

void frmFileDiffs::mnuFileShowPreviousDiff_Click()
{
    if (HourglassShown())
        return;
    const std::int32_t row = GetPreviousDiff();
    if (row == kNotFound || row == kSearchNotRun) {
        modVantrel::MsgBox(kNoMoreDifferences, modVantrel::PromptButtons::Ok, modVantrel::PromptIcon::Information,
                           QStringLiteral("Previous Difference"));
        return;
    }
    GoToRow(row);
}

std::int32_t frmFileDiffs::GetNextDiff()
{
    return SearchFromCurrentRow(&ComparisonModel::NextDiff, "frmFileDiffs.GetNextDiff");
}

std::int32_t frmFileDiffs::GetPreviousDiff()
{
    return SearchFromCurrentRow(&ComparisonModel::PreviousDiff, "frmFileDiffs.GetPreviousDiff");
}

std::int32_t frmFileDiffs::SearchFromCurrentRow(RowSearchMember search, const char* source)
{
    // A second request while a long command runs does nothing.
    if (HourglassShown())
        return kSearchNotRun;
    const WaitCursor wait;
    try {
        return (m_model.*search)(m_model.CurrentRow()).value_or(kNotFound);
    } catch (...) {
        modVantrel::ReportUnexpectedError(QString::fromLatin1(source));
        return kSearchNotRun;
    }
}

bool frmFileDiffs::DrawDiffBars()
{
    try {
        const std::int32_t height = pctDiffsBar->height();
        std::vector<DiffBar::Band> bands = DiffBar::BandsForBlocks(m_model.Blocks(), m_model.RowCount(), height);
        // Moved rows over their blocks, in their own colour.
        for (int side = 0; side < 2; ++side)
            for (const ComparisonModel::MovedRows& run : m_model.MovedRowsOf(side))
                bands.push_back(DiffBar::BandForBlock(run.firstRow, run.rowCount, Alignment::kMovedColor,
                                                      m_model.RowCount(), height));
        pctDiffsBar->SetBands(std::move(bands), palette().color(QPalette::Base));
        TellBarPosition();
        return true;
    } catch (...) {
        modVantrel::ReportUnexpectedError(QStringLiteral("frmFileDiffs.DrawDiffBars"));
        return false;
    }
}

void frmFileDiffs::MarkCurrentRowInDiffsBar()
{
    try {
        const std::int32_t y =
            DiffBar::CurrentRowMarkY(m_model.CurrentRow(), m_model.RowCount(), pctDiffsBar->height());
        pctContainer->SetMark(y);
        TellBarPosition();
    } catch (...) {
        modVantrel::ReportUnexpectedError(QStringLiteral("frmFileDiffs.MarkCurrentRowInDiffsBar"));
    }
}

void frmFileDiffs::ScrollFilesToPointInDiffBar(float y)
{
    try {
        const std::int32_t row = DiffBar::RowAtBarY(y, m_model.RowCount(), pctDiffsBar->height());
        // The bar stands for every row, folded or not.
        UnfoldRow(row);
        if (!grdFileOne->RowIsVisible(row))
            grdFileOne->SetTopRow(row);
        SetCurrentRow(row);
        // The bar's mark stays where the click drew it.
        MarkCurrentRow();
        ShowSelectedLines();
        TellBarPosition();
        AnnounceRow(grdFileOne);
        AnnounceRow(grdFileTwo);
    } catch (...) {
        modVantrel::ReportUnexpectedError(QStringLiteral("frmFileDiffs.ScrollFilesToPointInDiffBar"));
    }
}

void frmFileDiffs::pctDiffsBar_MouseDown(Qt::MouseButton /*button*/, Qt::KeyboardModifiers /*shift*/, float /*x*/,
                                         float y)
{
    if (!m_model.Shown()) {
        modVantrel::MsgBox(
            QStringLiteral("This feature only works when two files have been compared and there are differences."),
            modVantrel::PromptButtons::Ok, modVantrel::PromptIcon::Information, QStringLiteral("Navigate Differences"));
        return;
    }
    pctContainer->SetMark(y);
    ScrollFilesToPointInDiffBar(y);
}
