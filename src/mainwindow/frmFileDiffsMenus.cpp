// The main window's menu bar, toolbar and the enabled state of the result
// commands. A toolbar button shares its menu item's action, so one
// enabled state serves both.

#include "mainwindow/frmFileDiffs.h"

#include "app/FolderComparison.h"
#include "app/Globals.h"
#include "mainwindow/ToolbarIcons.h"
#include "mainwindow/ToolbarKeys.h"
#include "mainwindow/WindowColors.h"

#include <QAction>
#include <QActionGroup>
#include <QLayout>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QToolBar>
#include <QToolButton>

namespace {

using Handler = void (frmFileDiffs::*)();
using ActionMember = QAction* frmFileDiffs::*;

struct MenuItem {
    ActionMember action;  // null for a separator
    const char* name;
    const char* caption;
    QKeySequence shortcut;
    Handler handler;
    bool checkable = false;
};

}  // namespace

struct frmFileDiffs::ToolbarEntry {
    ActionMember action;  // null for a separator
    const char* toolTip;
    const char* imageKey;
};

// Positions 1 to 20; image keys as the image list holds them.
const frmFileDiffs::ToolbarEntry frmFileDiffs::kToolbar[kToolbarPositions] = {
    {&frmFileDiffs::mnuFileSelectFileOne, "Select File One...", "FileOne"},
    {&frmFileDiffs::mnuFileSelectFileTwo, "Select File Two...", "FileTwo"},
    {&frmFileDiffs::mnuFileCompare, "Compare the Files", "CompareFiles"},
    {nullptr, nullptr, nullptr},
    {&frmFileDiffs::mnuFileShowPreviousDiff, "Previous Difference (Shift+F7)", "Previous Diff"},
    {&frmFileDiffs::mnuFileShowNextDiff, "Next Difference (F7)", "Next Diff"},
    {nullptr, nullptr, nullptr},
    {&frmFileDiffs::mnuFileFind, "Find (Ctrl+F)", "Find"},
    {&frmFileDiffs::mnuFileFindNext, "Find Next (F3)", "Find Next"},
    {&frmFileDiffs::mnuFileFindPrevious, "Find Previous (Shift+F3)", "Find Previous"},
    {nullptr, nullptr, nullptr},
    {&frmFileDiffs::mnuFileToggleBookmark, "Toggle Bookmark (Ctrl+F2)", "ToggleBookmark"},
    {&frmFileDiffs::mnuFileNextBookmark, "Next Bookmark (F2)", "NextBookmark"},
    {&frmFileDiffs::mnuFilePreviousBookmark, "Previous Bookmark (Shift+F2)", "PreviousBookmark"},
    {&frmFileDiffs::mnuFileClearAllBookmarks, "Clear All Bookmarks", "ClearAllBookmarks"},
    {nullptr, nullptr, nullptr},
    {&frmFileDiffs::mnuFilePrint, "Print the differences", "Print"},
    {&frmFileDiffs::mnuFileExit, "Exit", "Exit"},
    {nullptr, nullptr, nullptr},
    {&frmFileDiffs::mnuViewHideUnchangedLines, "Hide Unchanged Lines (Ctrl+H)", "HideUnchanged"},
};

namespace {

// The image list: picture n carries key n; the toolbar pictures and the
// window's own icon.
const char* const kImageKeys[][2] = {
    {"Previous Diff", "previousdiff"},
    {"Next Diff", "nextdiff"},
    {"Find", "find"},
    {"Find Next", "findnext"},
    {"Find Previous", "findprevious"},
    {"ToggleBookmark", "togglebookmark"},
    {"NextBookmark", "nextbookmark"},
    {"PreviousBookmark", "previousbookmark"},
    {"ClearAllBookmarks", "clearallbookmarks"},
    {"Exit", "exit"},
    {"Print", "print"},
    {"FileOne", "fileone"},
    {"FileTwo", "filetwo"},
    {"CompareFiles", "vantrel"},
    {"HideUnchanged", "hideunchanged"},
};

}  // namespace

struct frmFileDiffs::CommandState {
    ActionMember action;
    bool whenDisabled;
    bool whenEnabled;
};

// The result commands' states without results and with them.
const frmFileDiffs::CommandState frmFileDiffs::kCommandStates[19] = {
    {&frmFileDiffs::mnuFileSelectFileOne, true, true},
    {&frmFileDiffs::mnuFileSelectFileTwo, true, true},
    {&frmFileDiffs::mnuFileCompare, true, true},
    {&frmFileDiffs::mnuFileShowFirstDiff, false, true},
    {&frmFileDiffs::mnuFileShowPreviousDiff, false, true},
    {&frmFileDiffs::mnuFileShowNextDiff, false, true},
    {&frmFileDiffs::mnuFileShowLastDiff, false, true},
    {&frmFileDiffs::mnuFileGoToOtherEndOfMove, false, true},
    {&frmFileDiffs::mnuFileFind, false, true},
    {&frmFileDiffs::mnuFileFindNext, false, false},
    {&frmFileDiffs::mnuFileFindPrevious, false, false},
    {&frmFileDiffs::mnuFileToggleBookmark, false, true},
    {&frmFileDiffs::mnuFileNextBookmark, false, false},
    {&frmFileDiffs::mnuFilePreviousBookmark, false, false},
    {&frmFileDiffs::mnuFileClearAllBookmarks, false, false},
    {&frmFileDiffs::mnuFilePrint, false, true},
    // Enabled throughout, so that it can say why there is no patch.
    {&frmFileDiffs::mnuFileSavePatch, true, true},
    {&frmFileDiffs::mnuFileSaveReport, false, true},
    {&frmFileDiffs::mnuFileExit, true, true},
};

namespace {

// A toolbar button whose click goes to the window's toolbar handler (which
// ignores it while the hourglass shows) instead of straight to its action.
class Toolbar1Button : public QToolButton {
public:
    Toolbar1Button(QWidget* parent, std::function<void()> click) : QToolButton(parent), m_click(std::move(click)) {}

protected:
    void nextCheckState() override { m_click(); }
    void paintEvent(QPaintEvent* event) override
    {
        QToolButton::paintEvent(event);
        if (!ToolbarKeys::ShowsFocus(this))
            return;
        QPainter painter(this);
        painter.setPen(QPen(WindowColors::FocusMark(palette(), palette().color(QPalette::Button)), 2));
        painter.drawRect(QRectF(rect()).adjusted(1, 1, -1, -1));
    }

private:
    std::function<void()> m_click;
};

}  // namespace

void frmFileDiffs::CreateMenus()
{
    const auto addItems = [this](QMenu* menu, std::initializer_list<MenuItem> items) {
        for (const MenuItem& item : items) {
            QAction* action = item.action ? new QAction(QString::fromUtf8(item.caption), this) : menu->addSeparator();
            action->setObjectName(QString::fromUtf8(item.name));
            if (!item.action)
                continue;
            action->setShortcut(item.shortcut);
            action->setCheckable(item.checkable);
            action->setIconVisibleInMenu(false);
            connect(action, &QAction::triggered, this, item.handler);
            menu->addAction(action);
            this->*item.action = action;
        }
    };
    const auto menu = [this](QMenu* parentMenu, const char* name, const char* caption) {
        QMenu* created = parentMenu ? parentMenu->addMenu(QString::fromUtf8(caption))
                                    : menuBar()->addMenu(QString::fromUtf8(caption));
        created->setObjectName(QString::fromUtf8(name));
        created->menuAction()->setObjectName(QString::fromUtf8(name));
        return created;
    };
    using F = frmFileDiffs;
    mnuFile = menu(nullptr, "mnuFile", "&File");
    addItems(
        mnuFile,
        {{&F::mnuFileSelectFileOne, "mnuFileSelectFileOne", "Select File One...", QKeySequence(Qt::CTRL | Qt::Key_L),
          &F::mnuFileSelectFileOne_Click},
         {&F::mnuFileSelectFileTwo, "mnuFileSelectFileTwo", "Select File Two...", QKeySequence(Qt::CTRL | Qt::Key_R),
          &F::mnuFileSelectFileTwo_Click},
         {&F::mnuFileCompare, "mnuFileCompare", "Compare the Files", QKeySequence(Qt::CTRL | Qt::Key_M),
          &F::mnuFileCompare_Click},
         {nullptr, "mnuHyphen4", "-", {}, nullptr},
         {&F::mnuFileShowFirstDiff,
          "mnuFileShowFirstDiff",
          "Show First Difference",
          {},
          &F::mnuFileShowFirstDiff_Click},
         {&F::mnuFileShowNextDiff, "mnuFileShowNextDiff", "Show &Next Difference", QKeySequence(Qt::Key_F7),
          &F::mnuFileShowNextDiff_Click},
         {&F::mnuFileShowPreviousDiff, "mnuFileShowPreviousDiff", "Show &Previous Difference",
          QKeySequence(Qt::SHIFT | Qt::Key_F7), &F::mnuFileShowPreviousDiff_Click},
         {&F::mnuFileShowLastDiff, "mnuFileShowLastDiff", "Show Last Difference", {}, &F::mnuFileShowLastDiff_Click},
         {&F::mnuFileGoToOtherEndOfMove, "mnuFileGoToOtherEndOfMove", "Go to Other End of &Move",
          QKeySequence(Qt::CTRL | Qt::Key_J), &F::mnuFileGoToOtherEndOfMove_Click},
         {nullptr, "mnuFileHyphenOne", "-", {}, nullptr},
         {&F::mnuFileFind, "mnuFileFind", "&Find...", QKeySequence(Qt::CTRL | Qt::Key_F), &F::mnuFileFind_Click},
         {&F::mnuFileFindNext, "mnuFileFindNext", "Find Next", QKeySequence(Qt::Key_F3), &F::mnuFileFindNext_Click},
         {&F::mnuFileFindPrevious, "mnuFileFindPrevious", "Find Previous", QKeySequence(Qt::SHIFT | Qt::Key_F3),
          &F::mnuFileFindPrevious_Click},
         {nullptr, "mnuOptionsHyphen2", "-", {}, nullptr},
         {&F::mnuFileToggleBookmark, "mnuFileToggleBookmark", "Toggle Bookmark", QKeySequence(Qt::CTRL | Qt::Key_F2),
          &F::mnuFileToggleBookmark_Click},
         {&F::mnuFileNextBookmark, "mnuFileNextBookmark", "Next Bookmark", QKeySequence(Qt::Key_F2),
          &F::mnuFileNextBookmark_Click},
         {&F::mnuFilePreviousBookmark, "mnuFilePreviousBookmark", "Previous Bookmark",
          QKeySequence(Qt::SHIFT | Qt::Key_F2), &F::mnuFilePreviousBookmark_Click},
         {&F::mnuFileClearAllBookmarks,
          "mnuFileClearAllBookmarks",
          "Clear All Bookmarks",
          {},
          &F::mnuFileClearAllBookmarks_Click},
         {nullptr, "mnuHyphen3", "-", {}, nullptr},
         {&F::mnuFilePrint, "mnuFilePrint", "Print...", QKeySequence(Qt::CTRL | Qt::Key_P), &F::mnuFilePrint_Click},
         {&F::mnuFileSavePatch, "mnuFileSavePatch", "Save Patch...", QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S),
          &F::mnuFileSavePatch_Click},
         {&F::mnuFileSaveReport, "mnuFileSaveReport", "Save Report...", QKeySequence(Qt::CTRL | Qt::Key_S),
          &F::mnuFileSaveReport_Click},
         {&F::mnuFileExit, "mnuFileExit", "E&xit", QKeySequence(Qt::CTRL | Qt::Key_Q), &F::mnuFileExit_Click}});
    // Folders are compared in a window of their own, which the boxes'
    // folders (or the last ones compared) are handed to.
    auto* compareFolders = new QAction(QStringLiteral("Compare Fol&ders..."), this);
    compareFolders->setObjectName(QStringLiteral("mnuFileCompareFolders"));
    compareFolders->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_M));
    connect(compareFolders, &QAction::triggered, this, [this] {
        const auto folder = [](const QLineEdit* box) {
            const QString path = modVantrel::TrimSpaces(box->text());
            return modVantrel::IsFolderPath(path) ? path : QString();
        };
        (void)modVantrel::OpenFolderComparison(folder(txtFileOne), folder(txtFileTwo), false);
    });
    mnuFile->insertAction(findChild<QAction*>(QStringLiteral("mnuHyphen4")), compareFolders);
    mnuOptions = menu(nullptr, "mnuOptions", "&Options");
    addItems(
        mnuOptions,
        {{&F::mnuOptionsIgnoreCase, "mnuOptionsIgnoreCase", "Ignore &Case", {}, &F::mnuOptionsIgnoreCase_Click, true},
         {&F::mnuOptionsIgnoreWhitespace,
          "mnuOptionsIgnoreWhitespace",
          "Ignore &Whitespace",
          {},
          &F::mnuOptionsIgnoreWhitespace_Click,
          true},
         {&F::mnuOptionsIgnoreWhiteSpaceChanges,
          "mnuOptionsIgnoreWhiteSpaceChanges",
          "Ignore White Space C&hanges",
          {},
          &F::mnuOptionsIgnoreWhiteSpaceChanges_Click,
          true},
         {&F::mnuOptionsIgnoreLineEndings,
          "mnuOptionsIgnoreLineEndings",
          "Ignore &Line Endings",
          {},
          &F::mnuOptionsIgnoreLineEndings_Click,
          true},
         {&F::mnuOptionsIgnoreBlankLines,
          "mnuOptionsIgnoreBlankLines",
          "Ignore &Blank Lines",
          {},
          &F::mnuOptionsIgnoreBlankLines_Click,
          true},
         {&F::mnuOptionsLineFilters, "mnuOptionsLineFilters", "Line &Filters...", {}, &F::mnuOptionsLineFilters_Click},
         {nullptr, "mnuOptionsHyphen", "-", {}, nullptr},
         {&F::mnuOptionsFont, "mnuOptionsFont", "Change Grid Font...", {}, &F::mnuOptionsFont_Click},
         {&F::mnuOptionsShowGridLines,
          "mnuOptionsShowGridLines",
          "Show Grid Lines",
          {},
          &F::mnuOptionsShowGridLines_Click,
          true}});
    mnuView = menu(nullptr, "mnuView", "&View");
    mnuViewFileOne = menu(mnuView, "mnuViewFileOne", "View File One");
    addItems(mnuViewFileOne, {{&F::mnuViewFileOneUseNotepad,
                               "mnuViewFileOneUseNotepad",
                               "Use Notepad",
                               {},
                               &F::mnuViewFileOneUseNotepad_Click},
                              {&F::mnuViewFileOneUseAssociated,
                               "mnuViewFileOneUseAssociated",
                               "Use Associated Program",
                               {},
                               &F::mnuViewFileOneUseAssociated_Click}});
    mnuViewFileTwo = menu(mnuView, "mnuViewFileTwo", "View File Two");
    addItems(mnuViewFileTwo, {{&F::mnuViewFileTwoUseNotepad,
                               "mnuViewFileTwoUseNotepad",
                               "Use Notepad",
                               {},
                               &F::mnuViewFileTwoUseNotepad_Click},
                              {&F::mnuViewFileTwoUseAssociated,
                               "mnuViewFileTwoUseAssociated",
                               "Use Associated Program",
                               {},
                               &F::mnuViewFileTwoUseAssociated_Click}});
    addItems(mnuView, {{nullptr, "mnuViewHyphen", "-", {}, nullptr},
                       {&F::mnuViewShowMovedLines,
                        "mnuViewShowMovedLines",
                        "Show &Moved Lines",
                        {},
                        &F::mnuViewShowMovedLines_Click,
                        true},
                       {&F::mnuViewHideUnchangedLines, "mnuViewHideUnchangedLines", "&Hide Unchanged Lines",
                        QKeySequence(Qt::CTRL | Qt::Key_H), &F::mnuViewHideUnchangedLines_Click, true}});
    // One of the sizes is ticked at a time.
    mnuViewContext = menu(mnuView, "mnuViewContext", "&Context Lines");
    auto* contextGroup = new QActionGroup(this);
    for (std::size_t i = 0; i < mnuViewContextLines.size(); ++i) {
        const int lines = RowFolding::kContextSizes[i];
        QAction* action = mnuViewContext->addAction(QStringLiteral("&%1").arg(lines));
        action->setObjectName(QStringLiteral("mnuViewContext%1").arg(lines));
        action->setCheckable(true);
        contextGroup->addAction(action);
        connect(action, &QAction::triggered, this, [this, lines] { SetUnchangedContext(lines); });
        mnuViewContextLines[i] = action;
    }
    mnuHelp = menu(nullptr, "mnuHelp", "&Help");
    addItems(mnuHelp, {{&F::mnuHelpContent, "mnuHelpContent", "&Contents", {}, &F::mnuHelpContent_Click},
                       {&F::mnuHelpVisitQuellanWeb,
                        "mnuHelpVisitQuellanWeb",
                        "&Visit the Quellan Software site",
                        {},
                        &F::mnuHelpVisitQuellanWeb_Click},
                       {&F::mnuHelpContactUs, "mnuHelpContactUs", "Contact &Us", {}, &F::mnuHelpContactUs_Click},
                       {nullptr, "mnuHelpHyphen", "-", {}, nullptr},
                       {&F::mnuHelpAbout, "mnuHelpAbout", "&About", {}, &F::mnuHelpAbout_Click}});
}

void frmFileDiffs::CreateToolbar()
{
    Toolbar1->setMovable(false);
    Toolbar1->setFloatable(false);
    Toolbar1->setIconSize(QSize(16, 16));
    Toolbar1->setToolButtonStyle(Qt::ToolButtonIconOnly);
    // Fifteen buttons and five separators must fit the toolbar's width
    // without an overflow arrow.
    Toolbar1->setContentsMargins(0, 0, 0, 0);
    if (QLayout* layout = Toolbar1->layout()) {
        layout->setSpacing(0);
        layout->setContentsMargins(0, 0, 0, 0);
    }
    for (int index = 1; index <= kToolbarPositions; ++index) {
        const ToolbarEntry& entry = kToolbar[index - 1];
        if (!entry.action) {
            Toolbar1->addSeparator();
            continue;
        }
        QAction* action = this->*entry.action;
        action->setToolTip(QString::fromUtf8(entry.toolTip));
        auto* button = new Toolbar1Button(Toolbar1, [this, index] { Toolbar1_ButtonClick(index); });
        button->setObjectName(QStringLiteral("Toolbar1Button%1").arg(index));
        button->setDefaultAction(action);
        button->setAutoRaise(true);
        button->setFixedSize(23, 22);
        button->setFocusPolicy(Qt::NoFocus);
        Toolbar1->addWidget(button);
        m_toolbarActions[static_cast<std::size_t>(index)] = action;
    }
    new ToolbarKeys(Toolbar1);
}

void frmFileDiffs::LoadToolbarImages()
{
    imlToolbarIcons.clear();
    QHash<QString, QIcon> images;
    // Drawn for the toolbar's own colour, so that they stay visible on a
    // dark desktop; a palette change draws them again. The window's palette
    // is read, since the toolbar learns of a change after the window.
    const QColor background = palette().color(Toolbar1->backgroundRole());
    for (const auto& [key, file] : kImageKeys) {
        imlToolbarIcons.append(QString::fromUtf8(key));
        images.insert(QString::fromUtf8(key), ToolbarIcons::Icon(QLatin1String(file), background));
    }
    for (int index = 1; index <= kToolbarPositions; ++index) {
        const ToolbarEntry& entry = kToolbar[index - 1];
        if (!entry.action)
            continue;
        QAction* action = this->*entry.action;
        action->setIcon(images.value(QString::fromUtf8(entry.imageKey)));
    }
}

QAction* frmFileDiffs::ToolbarAction(int index) const
{
    return index >= 1 && index <= kToolbarPositions ? m_toolbarActions[static_cast<std::size_t>(index)] : nullptr;
}

void frmFileDiffs::Toolbar1_ButtonClick(int index)
{
    if (HourglassShown())
        return;
    // The button runs its menu item's command, with the item's own checks.
    QAction* action = ToolbarAction(index);
    if (action && action->isEnabled())
        action->trigger();
}

void frmFileDiffs::DisableResultCommands()
{
    for (const CommandState& state : kCommandStates)
        (this->*state.action)->setEnabled(state.whenDisabled);
}

void frmFileDiffs::EnableResultCommands()
{
    for (const CommandState& state : kCommandStates)
        (this->*state.action)->setEnabled(state.whenEnabled);
}
