// Command handlers of the main window. Commands that are not built yet
// exist with their names, so that their menu items, shortcuts, toolbar
// buttons and enabled states are in place, and do nothing when chosen.

#include "mainwindow/frmFileDiffs.h"

void frmFileDiffs::mnuFileExit_Click()
{
    // Closing runs the unload, as the close box does.
    close();
}

void frmFileDiffs::mnuFilePrint_Click() {}
void frmFileDiffs::mnuViewFileOneUseNotepad_Click() {}
void frmFileDiffs::mnuViewFileOneUseAssociated_Click() {}
void frmFileDiffs::mnuViewFileTwoUseNotepad_Click() {}
void frmFileDiffs::mnuViewFileTwoUseAssociated_Click() {}
void frmFileDiffs::mnuHelpContent_Click() {}
void frmFileDiffs::mnuHelpVisitQuellanWeb_Click() {}
void frmFileDiffs::mnuHelpContactUs_Click() {}
void frmFileDiffs::mnuHelpAbout_Click() {}
