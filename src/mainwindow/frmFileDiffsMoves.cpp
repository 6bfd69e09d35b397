// Moved lines: the View menu's check item, the moves the engine finds shown
// in the model's rows, and File > Go to Other End of Move.

#include "mainwindow/frmFileDiffs.h"

#include "app/ErrorReport.h"
#include "app/Globals.h"
#include "app/Prompt.h"
#include "engine/cDiffEngine.h"

#include <QAction>
#include <QSignalBlocker>

void frmFileDiffs::mnuViewShowMovedLines_Click()
{
    SetOptionFlag(&cViewFileDiffsOptions::ShowMovedLines, mnuViewShowMovedLines);
}

void frmFileDiffs::FindMoves(const cViewFileDiffsOptions& options)
{
    // The engine still holds the comparison shown: its files, its blocks and
    // the rules its lines were compared by.
    m_model.ShowMoves(options.ShowMovedLines && modVantrel::gDiffEngine ? modVantrel::gDiffEngine->FindMoves()
                                                                        : std::vector<MovedLines::Move>());
}

void frmFileDiffs::ReshowRows()
{
    try {
        const std::int32_t row = m_model.CurrentRow();
        const int top = grdFileOne->TopRow();
        ShowComparisonInGrids();
        {
            const QSignalBlocker blockOne(grdFileOne);
            const QSignalBlocker blockTwo(grdFileTwo);
            grdFileOne->SetTopRow(top);
            grdFileTwo->SetTopRow(top);
        }
        SetCurrentRow(row);
        DrawDiffBars();
        RefreshSelection();
    } catch (...) {
        modVantrel::ReportUnexpectedError(QStringLiteral("frmFileDiffs.ReshowRows"));
    }
}

void frmFileDiffs::mnuFileGoToOtherEndOfMove_Click()
{
    if (HourglassShown() || !m_model.Shown())
        return;
    if (const std::optional<std::int32_t> other = m_model.OtherEndOfMove(m_model.CurrentRow())) {
        GoToRow(*other);
        return;
    }
    modVantrel::MsgBox(QStringLiteral("The selected line was not moved."), modVantrel::PromptButtons::Ok,
                       modVantrel::PromptIcon::Information, QStringLiteral("Go to Other End of Move"));
}
