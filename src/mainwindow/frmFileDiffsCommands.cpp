// Command handlers of the main window. Commands that are not built yet
// exist with their names, so that their menu items, shortcuts, toolbar
// buttons and enabled states are in place, and do nothing when chosen.

#include "mainwindow/frmFileDiffs.h"

#include "app/Prompt.h"
#include "print/frmPrintOptions.h"

#include <QLineEdit>

namespace {

// A result grid as the printing reads it; reading never moves the grid's
// current row.
class GridPrintRows final : public PrintRows {
public:
    explicit GridPrintRows(const VGrid& grid) : m_grid(grid) {}
    int RowCount() const override { return m_grid.Rows() - 1; }
    QString RowText(int row, int maxChars) const override { return m_grid.TextMatrix(row).left(maxChars); }
    std::uint32_t RowColor(int row) const override { return m_grid.CellBackColor(row); }

private:
    const VGrid& m_grid;
};

}  // namespace

void frmFileDiffs::mnuFileExit_Click()
{
    // Closing runs the unload, as the close box does.
    close();
}

void frmFileDiffs::mnuFilePrint_Click()
{
    const GridPrintRows one(*grdFileOne);
    const GridPrintRows two(*grdFileTwo);
    frmPrintOptions dialog({&one, txtFileOne->text()}, {&two, txtFileTwo->text()}, this);
    if (dialog.Form_Load())
        modVantrel::Prompts().showModal(&dialog);
}

void frmFileDiffs::mnuFileSelectFileOne_Click() {}
void frmFileDiffs::mnuFileSelectFileTwo_Click() {}
// The three option items are checkable actions: Qt has already flipped the
// check mark when their handler runs.
void frmFileDiffs::mnuOptionsIgnoreCase_Click() {}
void frmFileDiffs::mnuOptionsIgnoreWhitespace_Click() {}
void frmFileDiffs::mnuOptionsFont_Click() {}
void frmFileDiffs::mnuOptionsShowGridLines_Click() {}
void frmFileDiffs::mnuViewFileOneUseNotepad_Click() {}
void frmFileDiffs::mnuViewFileOneUseAssociated_Click() {}
void frmFileDiffs::mnuViewFileTwoUseNotepad_Click() {}
void frmFileDiffs::mnuViewFileTwoUseAssociated_Click() {}
void frmFileDiffs::mnuHelpContent_Click() {}
void frmFileDiffs::mnuHelpVisitQuellanWeb_Click() {}
void frmFileDiffs::mnuHelpContactUs_Click() {}
void frmFileDiffs::mnuHelpAbout_Click() {}
