// What assistive technology reads of the main window besides what its
// widgets tell of themselves: a name and a description for every control
// and command, each row's state in words, and what a move of the current
// row announces.

#include "compare/RowDescription.h"
#include "mainwindow/SplitterBar.h"
#include "mainwindow/frmFileDiffs.h"

#include <QAction>
#include <QCheckBox>
#include <QLineEdit>
#include <QMenu>
#include <QToolBar>
#include <QToolButton>

namespace {

// What the command of each toolbar button does, read as the button's
// description with the button's tooltip.
const char* const kCommandDescriptions[][2] = {
    {"mnuFileSelectFileOne", "Chooses the first file to compare, shown on the left"},
    {"mnuFileSelectFileTwo", "Chooses the second file to compare, shown on the right"},
    {"mnuFileCompare", "Compares the two files named in the path boxes"},
    {"mnuFileShowNextDiff", "Goes to the next difference after the current row"},
    {"mnuFileShowPreviousDiff", "Goes to the difference before the current row"},
    {"mnuFileFind", "Searches both files for a text"},
    {"mnuFileFindNext", "Searches again downwards"},
    {"mnuFileFindPrevious", "Searches again upwards"},
    {"mnuFileToggleBookmark", "Sets or removes a bookmark on the current row"},
    {"mnuFileNextBookmark", "Goes to the next bookmarked row"},
    {"mnuFilePreviousBookmark", "Goes to the bookmarked row before the current row"},
    {"mnuFileClearAllBookmarks", "Removes every bookmark"},
    {"mnuFilePrint", "Prints the differences, or saves them as a PDF file"},
    {"mnuFileExit", "Closes the program"},
    {"mnuViewHideUnchangedLines", "Folds long runs of unchanged rows into one row each"},
};

const QString kPathDescriptions[2] = {QStringLiteral("The path of File One, the file shown on the left"),
                                      QStringLiteral("The path of File Two, the file shown on the right")};

}  // namespace

void frmFileDiffs::DescribeControls()
{
    Toolbar1->setAccessibleName(QStringLiteral("Toolbar"));
    Toolbar1->setAccessibleDescription(
        QStringLiteral("The commands as buttons: Left and Right choose a button, Space or Enter presses it"));
    chkTooltip->setAccessibleDescription(QStringLiteral("Shows the text of the row under the pointer as a tooltip"));
    txtFileOne->setAccessibleName(QStringLiteral("File One"));
    txtFileTwo->setAccessibleName(QStringLiteral("File Two"));
    DescribePathBoxes();
    const QString files[2] = {QStringLiteral("File One"), QStringLiteral("File Two")};
    const QString others[2] = {QStringLiteral("File Two"), QStringLiteral("File One")};
    for (int side = 0; side < 2; ++side) {
        VGrid* grid = side == 0 ? grdFileOne : grdFileTwo;
        grid->setAccessibleName(files[side]);
        grid->setAccessibleDescription(
            QStringLiteral("The lines of %1, row by row beside %2").arg(files[side], others[side]));
        grid->SetStateSource([this, side](int row) { return RowDescription::RowState(m_model, side, row); });
        LineDiffView* box = rtfLineDiff[static_cast<std::size_t>(side)];
        box->setAccessibleName(QStringLiteral("%1's line").arg(files[side]));
        box->setAccessibleDescription(QStringLiteral("The current row's line of %1").arg(files[side]));
    }
    pctContainer->setAccessibleName(QStringLiteral("Difference bar"));
    pctDiffsBar->setAccessibleName(QStringLiteral("Difference bar"));
    Splitter->setAccessibleName(QStringLiteral("Splitter"));
    Splitter->setAccessibleDescription(
        QStringLiteral("Divides the two files' panes: Left and Right move it while it has the focus"));
    for (int index = 1; index <= kToolbarPositions; ++index) {
        QAction* action = ToolbarAction(index);
        auto* button = findChild<QToolButton*>(QStringLiteral("Toolbar1Button%1").arg(index));
        for (const auto& [name, description] : kCommandDescriptions)
            if (action && button && action->objectName() == QLatin1String(name))
                button->setAccessibleDescription(
                    QStringLiteral("%1: %2").arg(action->toolTip(), QString::fromUtf8(description)));
    }
    // Qt's button for buttons that do not fit; the toolbar is made wide
    // enough that it never shows.
    if (auto* more = Toolbar1->findChild<QToolButton*>(QStringLiteral("qt_toolbar_ext_button")))
        more->setAccessibleName(QStringLiteral("More buttons"));
    for (QMenu* menu : {mnuFile, mnuOptions, mnuView, mnuViewFileOne, mnuViewFileTwo, mnuViewContext, mnuHelp})
        menu->setAccessibleName(menu->title().remove(QLatin1Char('&')));
    connect(pctDiffsBar, &DiffBarWidget::RowRequested, this, [this](std::int32_t row) {
        if (m_model.Shown() && !HourglassShown())
            GoToRow(row);
    });
}

void frmFileDiffs::DescribePathBoxes()
{
    // What the tooltips tell of a compared file is part of the description.
    for (int side = 0; side < 2; ++side) {
        QLineEdit* box = side == 0 ? txtFileOne : txtFileTwo;
        const QString facts = box->toolTip();
        box->setAccessibleDescription(kPathDescriptions[side]
                                      + (facts.isEmpty() ? QString() : QStringLiteral(". ") + facts));
    }
}

void frmFileDiffs::AnnounceRow(VGrid* grid)
{
    grid->Announce(RowDescription::Announcement(m_model, grid->Row()));
}

void frmFileDiffs::TellBarPosition()
{
    if (m_model.Shown())
        pctDiffsBar->SetPosition(m_model.CurrentRow(), m_model.RowCount(), m_model.Blocks().size());
    else
        pctDiffsBar->SetPosition(0, 0, 0);
}
