// The Options menu and the pane-tooltip switch. Each command changes the
// option record and the window shows the changed record: the comparison
// flags take effect at the next Compare (and the grids' character marks
// follow the letter-case rule at once); font, grid lines and tooltips act
// on both grids at once. Nothing here writes the INI file: the record
// reaches it when the window unloads.

#include "mainwindow/frmFileDiffs.h"

#include "mainwindow/LineFiltersDialog.h"

#include "app/ErrorReport.h"
#include "app/Globals.h"
#include "app/Prompt.h"

#include <QAction>
#include <QCheckBox>
#include <QFontInfo>
#include <QToolTip>

const cViewFileDiffsOptions& frmFileDiffs::Options() const
{
    // Events still pending after the unload released the record see the
    // defaults.
    static const cViewFileDiffsOptions released;
    return modVantrel::gOptions ? *modVantrel::gOptions : released;
}

void frmFileDiffs::ApplyOptions(const cViewFileDiffsOptions& options)
{
    const bool movesChanged = options.ShowMovedLines != Options().ShowMovedLines;
    if (modVantrel::gOptions)
        *modVantrel::gOptions = options;
    mnuOptionsIgnoreCase->setChecked(options.IgnoreCase);
    mnuOptionsIgnoreWhitespace->setChecked(options.IgnoreWhiteSpace);
    mnuOptionsIgnoreWhiteSpaceChanges->setChecked(options.IgnoreWhiteSpaceChanges);
    mnuOptionsIgnoreLineEndings->setChecked(options.IgnoreLineEndings);
    mnuOptionsIgnoreBlankLines->setChecked(options.IgnoreBlankLines);
    mnuOptionsShowGridLines->setChecked(options.ShowGridLines);
    for (VGrid* grid : {grdFileOne, grdFileTwo}) {
        grid->SetGridLines(options.ShowGridLines);
        grid->setFont(options.GridFont);
        grid->viewport()->update();
    }
    mnuViewShowMovedLines->setChecked(options.ShowMovedLines);
    if (movesChanged && m_model.Shown()) {
        FindMoves(options);
        ReshowRows();
    }
    ApplyFolding(options);
    // Last: ticking the box runs its handler, which reads the record.
    chkTooltip->setChecked(options.PaneTooltips);
}

// The flag items are checkable actions: Qt has already flipped the
// check mark when their handler runs, and the check mark is the option.
void frmFileDiffs::SetOptionFlag(bool cViewFileDiffsOptions::*flag, const QAction* item)
{
    cViewFileDiffsOptions options = Options();
    options.*flag = item->isChecked();
    ApplyOptions(options);
}

void frmFileDiffs::mnuOptionsIgnoreCase_Click()
{
    SetOptionFlag(&cViewFileDiffsOptions::IgnoreCase, mnuOptionsIgnoreCase);
}

void frmFileDiffs::mnuOptionsIgnoreWhitespace_Click()
{
    SetOptionFlag(&cViewFileDiffsOptions::IgnoreWhiteSpace, mnuOptionsIgnoreWhitespace);
}

void frmFileDiffs::mnuOptionsIgnoreWhiteSpaceChanges_Click()
{
    SetOptionFlag(&cViewFileDiffsOptions::IgnoreWhiteSpaceChanges, mnuOptionsIgnoreWhiteSpaceChanges);
}

void frmFileDiffs::mnuOptionsIgnoreLineEndings_Click()
{
    SetOptionFlag(&cViewFileDiffsOptions::IgnoreLineEndings, mnuOptionsIgnoreLineEndings);
}

void frmFileDiffs::mnuOptionsIgnoreBlankLines_Click()
{
    SetOptionFlag(&cViewFileDiffsOptions::IgnoreBlankLines, mnuOptionsIgnoreBlankLines);
}

// The filters reach the next Compare, as the flags do.
void frmFileDiffs::mnuOptionsLineFilters_Click()
{
    try {
        LineFiltersDialog dialog(Options().LineFilters, this);
        modVantrel::Prompts().showModal(&dialog);
        if (dialog.result() != QDialog::Accepted)
            return;
        cViewFileDiffsOptions options = Options();
        options.LineFilters = dialog.Filters();
        ApplyOptions(options);
    } catch (...) {
        modVantrel::ReportUnexpectedError(QStringLiteral("frmFileDiffs.mnuOptionsLineFilters_Click"));
    }
}

void frmFileDiffs::mnuOptionsShowGridLines_Click()
{
    SetOptionFlag(&cViewFileDiffsOptions::ShowGridLines, mnuOptionsShowGridLines);
}

// Offers the grids' font as they show it; takes face, size, bold and italic of the choice
// (no underline, strike-out or colour) into both grids.
void frmFileDiffs::mnuOptionsFont_Click()
{
    try {
        cViewFileDiffsOptions options = Options();
        // The dialog finds a font among the families the system lists; a
        // name the system only maps to another face (Courier New to
        // Liberation Mono) is not listed, so it gets the face the grids show.
        QFont shown = grdFileOne->font();
        shown.setFamily(QFontInfo(shown).family());
        const std::optional<QFont> chosen = modVantrel::Prompts().font({QStringLiteral("Select Font"), shown});
        if (!chosen)
            return;
        QFont& font = options.GridFont;
        font.setBold(chosen->bold());
        font.setItalic(chosen->italic());
        font.setFamily(chosen->family());
        // A font given in pixels has no point size to copy.
        if (chosen->pointSizeF() > 0)
            font.setPointSizeF(chosen->pointSizeF());
        ApplyOptions(options);
    } catch (...) {
        modVantrel::ReportUnexpectedError(QStringLiteral("frmFileDiffs.mnuOptionsFont_Click"));
    }
}

// Switching tooltips off also takes away one that is showing; switching
// them on shows one only when the pointer next moves over a grid.
void frmFileDiffs::chkTooltip_Click()
{
    if (Options().PaneTooltips != chkTooltip->isChecked()) {
        cViewFileDiffsOptions options = Options();
        options.PaneTooltips = chkTooltip->isChecked();
        ApplyOptions(options);
    }
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
