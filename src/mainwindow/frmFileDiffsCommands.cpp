// Command handlers of the main window. Commands that are not built yet
// exist with their names, so that their menu items, shortcuts, toolbar
// buttons and enabled states are in place, and do nothing when chosen.

#include "mainwindow/frmFileDiffs.h"

void frmFileDiffs::mnuFileExit_Click()
{
    // Closing runs the unload, as the close box does.
    close();
}

void frmFileDiffs::mnuFileSelectFileOne_Click() {}
void frmFileDiffs::mnuFileSelectFileTwo_Click() {}
void frmFileDiffs::mnuFilePrint_Click() {}
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
