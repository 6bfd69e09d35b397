// Command handlers of the main window. Commands that are not built yet
// exist with their names, so that their menu items, shortcuts, toolbar
// buttons and enabled states are in place, and do nothing when chosen.

#include "mainwindow/frmFileDiffs.h"

#include "about/ProductInfo.h"
#include "about/ShellOpen.h"
#include "app/Prompt.h"
#include "help/HelpWindow.h"
#include "mainwindow/ExternalViewing.h"

#include <QCoreApplication>
#include <QLineEdit>

void frmFileDiffs::mnuFileExit_Click()
{
    // Closing runs the unload, as the close box does.
    close();
}

void frmFileDiffs::mnuFileSelectFileOne_Click() {}
void frmFileDiffs::mnuFileSelectFileTwo_Click() {}
void frmFileDiffs::mnuFileFind_Click() {}
void frmFileDiffs::mnuFileFindNext_Click() {}
void frmFileDiffs::mnuFileFindPrevious_Click() {}
void frmFileDiffs::mnuFileToggleBookmark_Click() {}
void frmFileDiffs::mnuFileNextBookmark_Click() {}
void frmFileDiffs::mnuFilePreviousBookmark_Click() {}
void frmFileDiffs::mnuFileClearAllBookmarks_Click() {}
void frmFileDiffs::mnuFilePrint_Click() {}
// The three option items are checkable actions: Qt has already flipped the
// check mark when their handler runs.
void frmFileDiffs::mnuOptionsIgnoreCase_Click() {}
void frmFileDiffs::mnuOptionsIgnoreWhitespace_Click() {}
void frmFileDiffs::mnuOptionsFont_Click() {}
void frmFileDiffs::mnuOptionsShowGridLines_Click() {}

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
