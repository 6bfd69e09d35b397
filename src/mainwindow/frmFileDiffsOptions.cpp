// The Options menu and the pane-tooltip switch. The comparison flags go to
// the option record and take effect at the next Compare; font, grid lines
// and tooltips act on both grids at once. Nothing here writes the INI file:
// the values reach it when the window unloads.

#include "mainwindow/frmFileDiffs.h"

#include "app/ErrorReport.h"
#include "app/Globals.h"
#include "app/Prompt.h"

#include <QAction>
#include <QCheckBox>
#include <QToolTip>

// The three flag items are checkable actions: Qt has already flipped the
// check mark when their handler runs, and the check mark is the option.
// The record is gone once the window has unloaded.
void frmFileDiffs::mnuOptionsIgnoreCase_Click()
{
    if (modVantrel::gOptions)
        modVantrel::gOptions->IgnoreCase = mnuOptionsIgnoreCase->isChecked();
    // The grids' character marks follow the option at once, as the detail
    // pane does at its next display.
    grdFileOne->viewport()->update();
    grdFileTwo->viewport()->update();
}

void frmFileDiffs::mnuOptionsIgnoreWhitespace_Click()
{
    if (modVantrel::gOptions)
        modVantrel::gOptions->IgnoreWhiteSpace = mnuOptionsIgnoreWhitespace->isChecked();
}

void frmFileDiffs::mnuOptionsShowGridLines_Click()
{
    const bool on = mnuOptionsShowGridLines->isChecked();
    grdFileOne->SetGridLines(on);
    grdFileTwo->SetGridLines(on);
}

// Offers the grids' font; takes face, size, bold and italic of the choice
// (no underline, strike-out or colour) into both grids.
void frmFileDiffs::mnuOptionsFont_Click()
{
    try {
        const std::optional<QFont> chosen =
            modVantrel::Prompts().font({QStringLiteral("Select Font"), grdFileOne->font()});
        if (!chosen)
            return;
        for (VGrid* grid : {grdFileOne, grdFileTwo}) {
            QFont font = grid->font();
            font.setBold(chosen->bold());
            font.setItalic(chosen->italic());
            font.setFamily(chosen->family());
            // A font given in pixels has no point size to copy.
            if (chosen->pointSizeF() > 0)
                font.setPointSizeF(chosen->pointSizeF());
            grid->setFont(font);
        }
    } catch (...) {
        modVantrel::ReportUnexpectedError(QStringLiteral("frmFileDiffs.mnuOptionsFont_Click"));
    }
}

// Switching tooltips off also takes away one that is showing; switching
// them on shows one only when the pointer next moves over a grid.
void frmFileDiffs::chkTooltip_Click()
{
    if (chkTooltip->isChecked())
        return;
    const bool gridTipShown =
        QToolTip::isVisible()
        && (QToolTip::text() == grdFileOne->ToolTipText() || QToolTip::text() == grdFileTwo->ToolTipText());
    grdFileOne->SetToolTipText(QString());
    grdFileTwo->SetToolTipText(QString());
    if (gridTipShown)
        QToolTip::hideText();
}
