// Hide Unchanged Lines: the View menu's check item and its context sizes,
// and the folds of unchanged rows in both grids. The model keeps the folds;
// the grids show them, and every command that goes to a row opens the fold
// that hides it.

#include "mainwindow/frmFileDiffs.h"

#include "app/Globals.h"

#include <QAction>
#include <QSignalBlocker>

void frmFileDiffs::mnuViewHideUnchangedLines_Click()
{
    SetOptionFlag(&cViewFileDiffsOptions::HideUnchangedLines, mnuViewHideUnchangedLines);
}

void frmFileDiffs::SetUnchangedContext(int lines)
{
    cViewFileDiffsOptions options = Options();
    options.UnchangedContext = lines;
    ApplyOptions(options);
}

void frmFileDiffs::ApplyFolding(const cViewFileDiffsOptions& options)
{
    mnuViewHideUnchangedLines->setChecked(options.HideUnchangedLines);
    for (std::size_t i = 0; i < mnuViewContextLines.size(); ++i)
        mnuViewContextLines[i]->setChecked(RowFolding::kContextSizes[i] == options.UnchangedContext);
    const std::optional<std::int32_t> context =
        options.HideUnchangedLines ? std::optional<std::int32_t>(options.UnchangedContext) : std::nullopt;
    // Other options leave the folds as they are, opened ones too.
    if (context == m_model.FoldingContext())
        return;
    m_model.SetFolding(context);
    ShowFolds();
    // The current row may now stand in a fold, or out of one.
    if (m_model.Shown())
        RefreshSelection();
}

void frmFileDiffs::ShowFolds()
{
    {
        // Both grids change their rows before they follow each other again.
        const QSignalBlocker blockOne(grdFileOne);
        const QSignalBlocker blockTwo(grdFileTwo);
        grdFileOne->SetFolds(m_model.Folds());
        grdFileTwo->SetFolds(m_model.Folds());
    }
    grdFileTwo->SetTopRow(grdFileOne->TopRow());
}

bool frmFileDiffs::UnfoldRow(std::int32_t row)
{
    if (!m_model.Unfold(row))
        return false;
    ShowFolds();
    return true;
}

void frmFileDiffs::GridActivated(VGrid* grid)
{
    // Enter on a fold row shows its rows; the row it stood for is current.
    const std::int32_t row = grid->Row();
    if (m_model.Shown() && UnfoldRow(row)) {
        SetCurrentRow(row);
        RefreshSelection();
    }
}
