// The folder window's menu bar and toolbar. A toolbar button shares its
// menu item's action, so one enabled state serves both.

#include "folderview/frmFolderDiffs.h"

#include "app/cViewFileDiffsOptions.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QMenu>
#include <QMenuBar>
#include <QStyle>
#include <QToolBar>
#include <QTreeView>

QAction* frmFolderDiffs::AddAction(QMenu* menu, const char* name, const QString& caption, const QKeySequence& shortcut,
                                   void (frmFolderDiffs::*handler)(), bool checkable)
{
    auto* action = new QAction(caption, this);
    action->setObjectName(QString::fromLatin1(name));
    action->setShortcut(shortcut);
    action->setCheckable(checkable);
    connect(action, &QAction::triggered, this, handler);
    menu->addAction(action);
    return action;
}

void frmFolderDiffs::CreateMenus()
{
    using F = frmFolderDiffs;
    QMenu* file = menuBar()->addMenu(QStringLiteral("&File"));
    file->setObjectName(QStringLiteral("mnuFile"));
    AddAction(file, "mnuFileSelectFolderOne", QStringLiteral("Select Folder One..."),
              QKeySequence(Qt::CTRL | Qt::Key_L), &F::mnuFileSelectFolderOne_Click);
    AddAction(file, "mnuFileSelectFolderTwo", QStringLiteral("Select Folder Two..."),
              QKeySequence(Qt::CTRL | Qt::Key_R), &F::mnuFileSelectFolderTwo_Click);
    mnuFileCompare = AddAction(file, "mnuFileCompare", QStringLiteral("Compare the Folders"),
                               QKeySequence(Qt::CTRL | Qt::Key_M), &F::mnuFileCompare_Click);
    mnuFileRefresh = AddAction(file, "mnuFileRefresh", QStringLiteral("&Refresh"), QKeySequence(Qt::Key_F5),
                               &F::mnuFileRefresh_Click);
    mnuFileStop =
        AddAction(file, "mnuFileStop", QStringLiteral("&Stop"), QKeySequence(Qt::Key_Escape), &F::mnuFileStop_Click);
    file->addSeparator();
    // Enter opens the pair (or the folder) while the tree has the focus;
    // in the path boxes it compares.
    mnuFileOpenPair = new QAction(QStringLiteral("&Open in the File View"), this);
    mnuFileOpenPair->setObjectName(QStringLiteral("mnuFileOpenPair"));
    mnuFileOpenPair->setShortcuts({QKeySequence(Qt::Key_Return), QKeySequence(Qt::Key_Enter)});
    mnuFileOpenPair->setShortcutContext(Qt::WidgetShortcut);
    connect(mnuFileOpenPair, &QAction::triggered, this, [this] { tvwFolders_Activated(tvwFolders->currentIndex()); });
    file->addAction(mnuFileOpenPair);
    tvwFolders->addAction(mnuFileOpenPair);
    AddAction(file, "mnuFileShowFirstDiff", QStringLiteral("Show First Difference"), {},
              &F::mnuFileShowFirstDiff_Click);
    mnuFileShowNextDiff = AddAction(file, "mnuFileShowNextDiff", QStringLiteral("Show &Next Difference"),
                                    QKeySequence(Qt::Key_F7), &F::mnuFileShowNextDiff_Click);
    mnuFileShowPreviousDiff = AddAction(file, "mnuFileShowPreviousDiff", QStringLiteral("Show &Previous Difference"),
                                        QKeySequence(Qt::SHIFT | Qt::Key_F7), &F::mnuFileShowPreviousDiff_Click);
    AddAction(file, "mnuFileShowLastDiff", QStringLiteral("Show Last Difference"), {}, &F::mnuFileShowLastDiff_Click);
    file->addSeparator();
    mnuFileSaveReport = AddAction(file, "mnuFileSaveReport", QStringLiteral("Save Report..."),
                                  QKeySequence(Qt::CTRL | Qt::Key_S), &F::mnuFileSaveReport_Click);
    file->addSeparator();
    auto* closeWindow = file->addAction(QStringLiteral("&Close"), this, &QWidget::close);
    closeWindow->setObjectName(QStringLiteral("mnuFileClose"));
    closeWindow->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_W));
    auto* exit = file->addAction(QStringLiteral("E&xit"), this, [this] {
        if (m_links.exit)
            m_links.exit();
        else
            close();
    });
    exit->setObjectName(QStringLiteral("mnuFileExit"));
    exit->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q));

    QMenu* options = menuBar()->addMenu(QStringLiteral("&Options"));
    options->setObjectName(QStringLiteral("mnuOptions"));
    auto* by = new QActionGroup(this);
    mnuOptionsByContent = AddAction(options, "mnuOptionsByContent", QStringLiteral("Compare by &Content"), {},
                                    &F::mnuOptionsByContent_Click, true);
    mnuOptionsBySizeAndTime = AddAction(options, "mnuOptionsBySizeAndTime", QStringLiteral("Compare by &Size and Time"),
                                        {}, &F::mnuOptionsBySizeAndTime_Click, true);
    by->addAction(mnuOptionsByContent);
    by->addAction(mnuOptionsBySizeAndTime);
    mnuOptionsAsText = AddAction(options, "mnuOptionsAsText", QStringLiteral("Compare as &Text"), {},
                                 &F::mnuOptionsAsText_Click, true);
    options->addSeparator();
    mnuOptionsIgnoreCase = AddAction(options, "mnuOptionsIgnoreCase", QStringLiteral("Ignore &Case"), {},
                                     &F::mnuOptionsIgnoreCase_Click, true);
    mnuOptionsIgnoreWhitespace = AddAction(options, "mnuOptionsIgnoreWhitespace", QStringLiteral("Ignore &Whitespace"),
                                           {}, &F::mnuOptionsIgnoreWhitespace_Click, true);
    mnuOptionsIgnoreWhiteSpaceChanges =
        AddAction(options, "mnuOptionsIgnoreWhiteSpaceChanges", QStringLiteral("Ignore White Space C&hanges"), {},
                  &F::mnuOptionsIgnoreWhiteSpaceChanges_Click, true);
    mnuOptionsIgnoreLineEndings =
        AddAction(options, "mnuOptionsIgnoreLineEndings", QStringLiteral("Ignore &Line Endings"), {},
                  &F::mnuOptionsIgnoreLineEndings_Click, true);
    mnuOptionsIgnoreBlankLines = AddAction(options, "mnuOptionsIgnoreBlankLines", QStringLiteral("Ignore &Blank Lines"),
                                           {}, &F::mnuOptionsIgnoreBlankLines_Click, true);
    AddAction(options, "mnuOptionsLineFilters", QStringLiteral("Line &Filters..."), {},
              &F::mnuOptionsLineFilters_Click);
    options->addSeparator();
    mnuOptionsIgnoreNameCase = AddAction(options, "mnuOptionsIgnoreNameCase", QStringLiteral("Ignore Case in &Names"),
                                         {}, &F::mnuOptionsIgnoreNameCase_Click, true);
    mnuOptionsHonourGitIgnore =
        AddAction(options, "mnuOptionsHonourGitIgnore", QStringLiteral("Leave Out What .&gitignore Files Ignore"), {},
                  &F::mnuOptionsHonourGitIgnore_Click, true);
    mnuOptionsFollowLinks = AddAction(options, "mnuOptionsFollowLinks", QStringLiteral("Follow Symbolic Lin&ks"), {},
                                      &F::mnuOptionsFollowLinks_Click, true);
    AddAction(options, "mnuOptionsNameFilters", QStringLiteral("Leave Out &Names..."), {},
              &F::mnuOptionsNameFilters_Click);

    QMenu* view = menuBar()->addMenu(QStringLiteral("&View"));
    view->setObjectName(QStringLiteral("mnuView"));
    mnuViewShowIdentical = AddAction(view, "mnuViewShowIdentical", QStringLiteral("Show &Identical Entries"),
                                     QKeySequence(Qt::CTRL | Qt::Key_I), &F::mnuViewShowIdentical_Click, true);
    AddAction(view, "mnuViewExpandAll", QStringLiteral("&Expand All"), QKeySequence(Qt::CTRL | Qt::Key_Plus),
              &F::mnuViewExpandAll_Click);
    AddAction(view, "mnuViewCollapseAll", QStringLiteral("C&ollapse All"), QKeySequence(Qt::CTRL | Qt::Key_Minus),
              &F::mnuViewCollapseAll_Click);
    view->addSeparator();
    AddAction(view, "mnuViewFileView", QStringLiteral("&File View"), QKeySequence(Qt::CTRL | Qt::Key_Tab),
              &F::mnuViewFileView_Click);

    QMenu* help = menuBar()->addMenu(QStringLiteral("&Help"));
    help->setObjectName(QStringLiteral("mnuHelp"));
    AddAction(help, "mnuHelpContent", QStringLiteral("&Contents"), QKeySequence(Qt::Key_F1), &F::mnuHelpContent_Click);

    QToolBar* bar = addToolBar(QStringLiteral("Folders"));
    bar->setObjectName(QStringLiteral("Toolbar1"));
    bar->setMovable(false);
    const QStyle* style = QApplication::style();
    const auto button = [&](QAction* action, QStyle::StandardPixmap icon, const QString& tip) {
        action->setIcon(style->standardIcon(icon));
        action->setIconVisibleInMenu(false);
        action->setToolTip(tip);
        bar->addAction(action);
    };
    button(mnuFileCompare, QStyle::SP_DialogApplyButton, QStringLiteral("Compare the Folders (Ctrl+M)"));
    button(mnuFileRefresh, QStyle::SP_BrowserReload, QStringLiteral("Refresh (F5)"));
    button(mnuFileStop, QStyle::SP_BrowserStop, QStringLiteral("Stop (Esc)"));
    bar->addSeparator();
    button(mnuFileShowPreviousDiff, QStyle::SP_ArrowUp, QStringLiteral("Previous Difference (Shift+F7)"));
    button(mnuFileShowNextDiff, QStyle::SP_ArrowDown, QStringLiteral("Next Difference (F7)"));
    button(mnuFileOpenPair, QStyle::SP_FileDialogContentsView, QStringLiteral("Open in the File View (Enter)"));
    bar->addSeparator();
    button(mnuViewShowIdentical, QStyle::SP_FileDialogListView, QStringLiteral("Show Identical Entries (Ctrl+I)"));
    button(mnuFileSaveReport, QStyle::SP_DialogSaveButton, QStringLiteral("Save Report (Ctrl+S)"));
    mnuFileStop->setEnabled(false);
}

void frmFolderDiffs::ShowOptions()
{
    const cViewFileDiffsOptions& options = Options();
    const cViewFileDiffsOptions::FolderCompare& folders = options.Folders;
    mnuOptionsByContent->setChecked(!folders.BySizeAndTime);
    mnuOptionsBySizeAndTime->setChecked(folders.BySizeAndTime);
    mnuOptionsAsText->setChecked(folders.AsText);
    mnuOptionsAsText->setEnabled(!folders.BySizeAndTime);
    mnuOptionsIgnoreCase->setChecked(options.IgnoreCase);
    mnuOptionsIgnoreWhitespace->setChecked(options.IgnoreWhiteSpace);
    mnuOptionsIgnoreWhiteSpaceChanges->setChecked(options.IgnoreWhiteSpaceChanges);
    mnuOptionsIgnoreLineEndings->setChecked(options.IgnoreLineEndings);
    mnuOptionsIgnoreBlankLines->setChecked(options.IgnoreBlankLines);
    mnuOptionsIgnoreNameCase->setChecked(folders.IgnoreNameCase);
    mnuOptionsHonourGitIgnore->setChecked(folders.HonourGitIgnore);
    mnuOptionsFollowLinks->setChecked(folders.FollowLinks);
    mnuViewShowIdentical->setChecked(folders.ShowIdentical);
}
