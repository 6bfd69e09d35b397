#include "folderview/FolderWindows.h"

#include "app/Termination.h"
#include "folderview/frmFolderDiffs.h"
#include "mainwindow/frmFileDiffs.h"

#include <QCloseEvent>

FolderWindows::FolderWindows(QObject* parent) : QObject(parent)
{
}

FolderWindows::~FolderWindows() = default;

void FolderWindows::SetFileView(frmFileDiffs* fileView)
{
    if (m_fileView)
        m_fileView->removeEventFilter(this);
    m_fileView = fileView;
    if (m_fileView)
        m_fileView->installEventFilter(this);
}

void FolderWindows::Open(const QString& folderOne, const QString& folderTwo, bool compare)
{
    if (!m_folderView) {
        frmFolderDiffs::Links links;
        links.openPair = [this](const QString& one, const QString& two) { OpenPair(one, two); };
        links.showFileView = [this] { ShowFileView(); };
        links.optionsChanged = [this] {
            if (m_fileView)
                m_fileView->ShowOptionsInForce();
        };
        links.exit = [this] {
            CloseFolderView();
            if (m_fileView)
                m_fileView->close();
        };
        m_folderView = std::make_unique<frmFolderDiffs>(std::move(links));
        connect(m_folderView.get(), &frmFolderDiffs::Closed, this, &FolderWindows::FolderViewClosed);
    }
    // A file view not shown yet (a start on two folders) serves the folder
    // view from now on, and goes with it.
    if (m_fileView && !m_fileView->isVisible())
        m_fileViewServes = true;
    m_folderView->Open(folderOne, folderTwo, compare);
}

void FolderWindows::CloseFolderView()
{
    if (!m_folderView)
        return;
    m_closingFolderView = true;
    m_folderView->close();
    m_closingFolderView = false;
}

void FolderWindows::OpenPair(const QString& one, const QString& two)
{
    if (!m_fileView)
        return;
    ShowFileView();
    m_fileView->ComparePaths(one, two);
}

void FolderWindows::ShowFileView()
{
    if (!m_fileView)
        return;
    m_fileView->show();
    m_fileView->raise();
    m_fileView->activateWindow();
}

// The folder window went: the program ends with it unless the file view is
// a window of its own that the user works in (the program started with
// it), or the folder window was only closed on the way out.
void FolderWindows::FolderViewClosed()
{
    // The window stays (hidden) until the program ends: it may close while
    // one of its own commands waits in a dialog (a signal ends the program
    // then), and that command goes on with its window when the dialog returns.
    if (!m_closingFolderView && m_fileView && (!m_fileView->isVisible() || m_fileViewServes))
        m_fileView->close();
}

bool FolderWindows::eventFilter(QObject* watched, QEvent* event)
{
    if (watched != m_fileView || event->type() != QEvent::Close || !m_folderView || !m_folderView->isVisible()
        || modVantrel::TerminationRequested())
        return false;
    // Back to the folder view, which keeps its tree as it was.
    event->ignore();
    m_fileView->hide();
    m_folderView->raise();
    m_folderView->activateWindow();
    return true;
}
