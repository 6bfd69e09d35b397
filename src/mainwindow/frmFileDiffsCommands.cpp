// Command handlers of the main window that hand their work to another
// part of the program: exit, printing, external viewing and help.

#include "mainwindow/frmFileDiffs.h"

#include "about/ProductInfo.h"
#include "about/ShellOpen.h"
#include "app/Prompt.h"
#include "help/HelpWindow.h"
#include "mainwindow/ExternalViewing.h"
#include "print/frmPrintOptions.h"

#include <QCoreApplication>
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

// External viewing and help (ExternalViewing, HelpWindow, ProductInfo).
void frmFileDiffs::mnuViewFileOneUseNotepad_Click()
{
    ExternalViewing::UseNotepad(txtFileOne->text(), ExternalViewing::File::One);
}

void frmFileDiffs::mnuViewFileOneUseAssociated_Click()
{
    if (ExternalViewing::UseAssociatedProgram(txtFileOne->text(), ExternalViewing::File::One))
        mnuViewFileOneUseNotepad_Click();
}

void frmFileDiffs::mnuViewFileTwoUseNotepad_Click()
{
    ExternalViewing::UseNotepad(txtFileTwo->text(), ExternalViewing::File::Two);
}

void frmFileDiffs::mnuViewFileTwoUseAssociated_Click()
{
    if (ExternalViewing::UseAssociatedProgram(txtFileTwo->text(), ExternalViewing::File::Two))
        mnuViewFileTwoUseNotepad_Click();
}

void frmFileDiffs::mnuHelpContent_Click()
{
    HelpWindow::ShowTopic(this, HelpWindow::kContents);
    QCoreApplication::processEvents();
}

void frmFileDiffs::mnuHelpVisitQuellanWeb_Click()
{
    ShellOpen::Open(ProductInfo::kMakerWebSite);
}

void frmFileDiffs::mnuHelpContactUs_Click()
{
    ShellOpen::Open(ProductInfo::kSupportMail);
}

void frmFileDiffs::mnuHelpAbout_Click()
{
    modVantrel::MsgBox(ProductInfo::AboutText(), modVantrel::PromptButtons::Ok, modVantrel::PromptIcon::Information,
                       QStringLiteral("Vantrel"));
}
