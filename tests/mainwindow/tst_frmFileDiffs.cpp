// The main window: load, unload, command state, menus, toolbar routing,
// layout and splitter, options across a restart.

#include "app/CommandLine.h"
#include "app/Globals.h"
#include "engine/cDiffEngine.h"
#include "mainwindow/SplitterBar.h"
#include "mainwindow/frmFileDiffs.h"
#include "options/modIniFile.h"
#include "support/ScriptedPrompts.h"

#include <QAction>
#include <QCheckBox>
#include <QLayout>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTextEdit>
#include <QToolBar>
#include <QToolButton>

using namespace modVantrel;

namespace {

class Lines final : public Grid::RowTextSource {
public:
    QString RowText(std::int32_t line) const override { return QStringLiteral(" %1.text").arg(line + 1); }
};

// Commands of the result-command table, in its order.
const char* const kResultCommands[] = {
    "mnuFileSelectFileOne",    "mnuFileSelectFileTwo",  "mnuFileCompare",           "mnuFileShowFirstDiff",
    "mnuFileShowPreviousDiff", "mnuFileShowNextDiff",   "mnuFileShowLastDiff",      "mnuFileFind",
    "mnuFileFindNext",         "mnuFileFindPrevious",   "mnuFileToggleBookmark",    "mnuFileNextBookmark",
    "mnuFilePreviousBookmark", "mnuFileClearAllBookmarks", "mnuFilePrint",          "mnuFileExit",
};

QAction* Action(const frmFileDiffs& form, const QString& name)
{
    return form.findChild<QAction*>(name);
}

// Lays the window out for a client area of the given pixel size.
void ResizeClient(frmFileDiffs& form, int width, int height)
{
    form.resize(width, height + form.menuBar()->sizeHint().height());
    form.layout()->activate();
    QCoreApplication::processEvents();
}

}  // namespace

class tst_frmFileDiffs : public QObject {
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> m_folder;
    std::unique_ptr<ScriptedPrompts> m_prompts;

    QString iniPath() const { return gAppFolder + modIniFile::IniFileName(); }

private slots:
    void init()
    {
        m_folder = std::make_unique<QTemporaryDir>();
        QVERIFY(m_folder->isValid());
        gAppFolder = m_folder->path() + QLatin1Char('/');
        gOptions = std::make_unique<cViewFileDiffsOptions>();
        gDiffEngine = std::make_unique<cDiffEngine>();
        gArguments.clear();
        m_prompts = std::make_unique<ScriptedPrompts>();
    }

    void cleanup()
    {
        m_prompts.reset();
        QGuiApplication::restoreOverrideCursor();
        gOptions.reset();
        gDiffEngine.reset();
    }

    void loadPreparesTheWindow()
    {
        gOptions->Format = 3;
        frmFileDiffs form;
        form.Form_Load();
        QVERIFY(form.isVisible());
        QCOMPARE(form.windowTitle(), QStringLiteral("Vantrel - File Difference Viewer"));
        QCOMPARE(gOptions->Format, 0);
        QCOMPARE(form.OrphanColor, 0x00C4E1FFu);
        QCOMPARE(form.ChangedColor, 0x00FFDDDDu);
        QCOMPARE(form.LayoutMargin, std::int16_t(200));
        QCOMPARE(form.SplitterDragColor, 0x808080u);
        QCOMPARE(form.SplitterState().SplitterDragX, FormLayout::kNoDrag);
        QVERIFY(form.SearchTextList.isEmpty());
        for (VGrid* grid : {form.grdFileOne, form.grdFileTwo}) {
            QCOMPARE(grid->Rows(), 2);
            QCOMPARE(grid->TextMatrix(0), QStringLiteral("Select two files then press the Compare button"));
            QCOMPARE(grid->TextMatrix(1), QString());
            QCOMPARE(grid->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
            QCOMPARE(grid->ColWidth(), grid->width());
        }
        QCOMPARE(form.rtfLineDiff[0]->toPlainText(),
                 QStringLiteral("Click on a line in either file to see how it differs from its counterpart in the "
                                "other file."));
        QCOMPARE(form.rtfLineDiff[1]->toPlainText(), QString());
        QVERIFY(!form.rtfLineDiff[0]->textCursor().hasSelection());
        QCOMPARE(form.rtfLineDiff[0]->textCursor().position(), 0);
        QCOMPARE(form.Places().Splitter.Width, 25);
        QCOMPARE(form.ClientArea->size(), QSize(687, 442));
        // No INI file: the defaults, among them the grid font.
        QCOMPARE(form.grdFileOne->font().family(), QStringLiteral("Courier New"));
        QVERIFY(form.chkTooltip->isChecked());
        QVERIFY(form.mnuOptionsShowGridLines->isChecked());
        QVERIFY(m_prompts->messages.isEmpty());
    }

    void commandStates_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<bool>("withoutResults");
        QTest::addColumn<bool>("withResults");
        const bool states[][2] = {{true, true},  {true, true},   {true, true},   {false, true},
                                  {false, true}, {false, true},  {false, true},  {false, true},
                                  {false, false}, {false, false}, {false, true}, {false, false},
                                  {false, false}, {false, false}, {false, true}, {true, true}};
        for (std::size_t i = 0; i < std::size(kResultCommands); ++i)
            QTest::newRow(kResultCommands[i]) << QString::fromUtf8(kResultCommands[i]) << states[i][0] << states[i][1];
    }

    void commandStates()
    {
        QFETCH(QString, command);
        QFETCH(bool, withoutResults);
        QFETCH(bool, withResults);
        frmFileDiffs form;
        form.Form_Load();
        QAction* action = Action(form, command);
        QVERIFY(action);
        QCOMPARE(action->isEnabled(), withoutResults);
        form.EnableResultCommands();
        QCOMPARE(action->isEnabled(), withResults);
        form.ResetComparisonView();
        QCOMPARE(action->isEnabled(), withoutResults);
        form.EnableResultCommands();
        form.DisableResultCommands();
        QCOMPARE(action->isEnabled(), withoutResults);
        // A toolbar button follows its menu item.
        for (int index = 1; index <= 18; ++index) {
            if (form.ToolbarAction(index) == action) {
                form.EnableResultCommands();
                QCOMPARE(form.ToolbarButton(index)->isEnabled(), withResults);
            }
        }
    }

    void menus_data()
    {
        QTest::addColumn<QString>("menu");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QStringList>("items");
        QTest::addColumn<QStringList>("captions");
        QTest::addColumn<QStringList>("shortcuts");
        QTest::newRow("File") << "mnuFile" << "&File"
                              << QStringList{"mnuFileSelectFileOne", "mnuFileSelectFileTwo", "mnuFileCompare", "mnuHyphen4",
                                             "mnuFileShowFirstDiff", "mnuFileShowNextDiff", "mnuFileShowPreviousDiff",
                                             "mnuFileShowLastDiff", "mnuFileHyphenOne", "mnuFileFind", "mnuFileFindNext",
                                             "mnuFileFindPrevious", "mnuOptionsHyphen2", "mnuFileToggleBookmark",
                                             "mnuFileNextBookmark", "mnuFilePreviousBookmark", "mnuFileClearAllBookmarks",
                                             "mnuHyphen3", "mnuFilePrint", "mnuFileExit"}
                              << QStringList{"Select File One...", "Select File Two...", "Compare the Files", "",
                                             "Show First Difference", "Show &Next Difference", "Show &Previous Difference",
                                             "Show Last Difference", "", "&Find...", "Find Next", "Find Previous", "",
                                             "Toggle Bookmark", "Next Bookmark", "Previous Bookmark", "Clear All Bookmarks",
                                             "", "Print...", "E&xit"}
                              << QStringList{"Ctrl+L", "Ctrl+R", "Ctrl+M", "", "", "F7", "Shift+F7", "", "", "Ctrl+F",
                                             "F3", "Shift+F3", "", "Ctrl+F2", "F2", "Shift+F2", "", "", "Ctrl+P", "Ctrl+Q"};
        QTest::newRow("Options") << "mnuOptions" << "&Options"
                                 << QStringList{"mnuOptionsIgnoreCase", "mnuOptionsIgnoreWhitespace", "mnuOptionsHyphen",
                                                "mnuOptionsFont", "mnuOptionsShowGridLines"}
                                 << QStringList{"Ignore &Case", "Ignore &Whitespace", "", "Change Grid Font...",
                                                "Show Grid Lines"}
                                 << QStringList{"", "", "", "", ""};
        QTest::newRow("View") << "mnuView" << "&View" << QStringList{"mnuViewFileOne", "mnuViewFileTwo"}
                              << QStringList{"View File One", "View File Two"} << QStringList{"", ""};
        QTest::newRow("View File One") << "mnuViewFileOne" << "View File One"
                                       << QStringList{"mnuViewFileOneUseNotepad", "mnuViewFileOneUseAssociated"}
                                       << QStringList{"Use Notepad", "Use Associated Program"} << QStringList{"", ""};
        QTest::newRow("View File Two") << "mnuViewFileTwo" << "View File Two"
                                       << QStringList{"mnuViewFileTwoUseNotepad", "mnuViewFileTwoUseAssociated"}
                                       << QStringList{"Use Notepad", "Use Associated Program"} << QStringList{"", ""};
        QTest::newRow("Help") << "mnuHelp" << "&Help"
                              << QStringList{"mnuHelpContent", "mnuHelpVisitQuellanWeb", "mnuHelpContactUs",
                                             "mnuHelpHyphen", "mnuHelpAbout"}
                              << QStringList{"&Contents", "&Visit the Quellan Software site", "Contact &Us", "", "&About"}
                              << QStringList{"", "", "", "", ""};
    }

    void menus()
    {
        QFETCH(QString, menu);
        QFETCH(QString, title);
        QFETCH(QStringList, items);
        QFETCH(QStringList, captions);
        QFETCH(QStringList, shortcuts);
        frmFileDiffs form;
        const auto* found = form.findChild<QMenu*>(menu);
        QVERIFY(found);
        QCOMPARE(found->title(), title);
        const QList<QAction*> actions = found->actions();
        QCOMPARE(actions.size(), items.size());
        for (qsizetype i = 0; i < actions.size(); ++i) {
            QCOMPARE(actions.at(i)->objectName(), items.at(i));
            QCOMPARE(actions.at(i)->isSeparator(), captions.at(i).isEmpty());
            if (!captions.at(i).isEmpty())
                QCOMPARE(actions.at(i)->text(), captions.at(i));
            QCOMPARE(actions.at(i)->shortcut().toString(QKeySequence::PortableText), shortcuts.at(i));
        }
    }

    void menuBarOrder()
    {
        frmFileDiffs form;
        QStringList titles;
        for (const QAction* action : form.menuBar()->actions())
            titles.append(action->text());
        QCOMPARE(titles, (QStringList{"&File", "&Options", "&View", "&Help"}));
    }

    void toolbar_data()
    {
        QTest::addColumn<int>("index");
        QTest::addColumn<QString>("command");
        QTest::addColumn<QString>("toolTip");
        QTest::addColumn<QString>("imageKey");
        QTest::addColumn<int>("image");
        const struct {
            const char* command;
            const char* toolTip;
            const char* key;
            int image;
        } rows[] = {
            {"mnuFileSelectFileOne", "Select File One...", "FileOne", 12},
            {"mnuFileSelectFileTwo", "Select File Two...", "FileTwo", 13},
            {"mnuFileCompare", "Compare the Files", "CompareFiles", 14},
            {nullptr, nullptr, nullptr, 0},
            {"mnuFileShowPreviousDiff", "Previous Difference (Shift+F7)", "Previous Diff", 1},
            {"mnuFileShowNextDiff", "Next Difference (F7)", "Next Diff", 2},
            {nullptr, nullptr, nullptr, 0},
            {"mnuFileFind", "Find (Ctrl+F)", "Find", 3},
            {"mnuFileFindNext", "Find Next (F3)", "Find Next", 4},
            {"mnuFileFindPrevious", "Find Previous (Shift+F3)", "Find Previous", 5},
            {nullptr, nullptr, nullptr, 0},
            {"mnuFileToggleBookmark", "Toggle Bookmark (Ctrl+F2)", "ToggleBookmark", 6},
            {"mnuFileNextBookmark", "Next Bookmark (F2)", "NextBookmark", 7},
            {"mnuFilePreviousBookmark", "Previous Bookmark (Shift+F2)", "PreviousBookmark", 8},
            {"mnuFileClearAllBookmarks", "Clear All Bookmarks", "ClearAllBookmarks", 9},
            {nullptr, nullptr, nullptr, 0},
            {"mnuFilePrint", "Print the differences", "Print", 11},
            {"mnuFileExit", "Exit", "Exit", 10},
        };
        for (int i = 0; i < 18; ++i) {
            const auto& row = rows[i];
            QTest::addRow("%d", i + 1) << i + 1 << QString::fromUtf8(row.command) << QString::fromUtf8(row.toolTip)
                                       << QString::fromUtf8(row.key) << row.image;
        }
    }

    void toolbar()
    {
        QFETCH(int, index);
        QFETCH(QString, command);
        QFETCH(QString, toolTip);
        QFETCH(QString, imageKey);
        frmFileDiffs form;
        form.Form_Load();
        const QList<QAction*> positions = form.Toolbar1->actions();
        QCOMPARE(positions.size(), 18);
        QCOMPARE(positions.at(index - 1)->isSeparator(), command.isEmpty());
        if (command.isEmpty()) {
            QVERIFY(!form.ToolbarButton(index));
            return;
        }
        QToolButton* button = form.ToolbarButton(index);
        QVERIFY(button);
        QCOMPARE(button->defaultAction(), Action(form, command));
        QCOMPARE(button->toolTip(), toolTip);
        QCOMPARE(form.ToolbarImageKey(index), imageKey);
        const QIcon icon = button->icon();
        QVERIFY(!icon.isNull());
        QVERIFY(icon.availableSizes().contains(QSize(16, 16)));
        QVERIFY(icon.availableSizes().contains(QSize(32, 32)));
        QVERIFY(button->isVisible());
        QVERIFY(form.Toolbar1->rect().contains(button->geometry()));  // nothing in an overflow menu
    }

    void imageListOrder()
    {
        frmFileDiffs form;
        form.Form_Load();
        // Image n of the list carries the key of image n; 14 is the window's
        // own icon.
        const QStringList expected = {"Previous Diff",  "Next Diff",    "Find",             "Find Next",
                                      "Find Previous",  "ToggleBookmark", "NextBookmark",   "PreviousBookmark",
                                      "ClearAllBookmarks", "Exit",       "Print",            "FileOne",
                                      "FileTwo",        "CompareFiles"};
        QCOMPARE(form.ImageListKeys(), expected);
        form.LoadToolbarImages();
        QCOMPARE(form.ImageListKeys(), expected);
        const QIcon own = form.windowIcon();
        QVERIFY(!own.isNull());
        QCOMPARE(form.ToolbarButton(3)->icon().pixmap(16, 16).toImage(), own.pixmap(16, 16).toImage());
    }

    void toolbarRunsTheMenuCommand_data()
    {
        QTest::addColumn<bool>("hourglass");
        QTest::newRow("normal") << false;
        QTest::newRow("hourglass shown") << true;
    }

    void toolbarRunsTheMenuCommand()
    {
        QFETCH(bool, hourglass);
        frmFileDiffs form;
        form.Form_Load();
        form.EnableResultCommands();
        QList<QAction*> commands;
        for (const char* name : kResultCommands) {
            Action(form, QString::fromUtf8(name))->setEnabled(true);
            commands.append(Action(form, QString::fromUtf8(name)));
        }
        std::vector<std::unique_ptr<QSignalSpy>> spies;
        for (QAction* action : commands)
            spies.push_back(std::make_unique<QSignalSpy>(action, &QAction::triggered));
        if (hourglass)
            QGuiApplication::setOverrideCursor(Qt::WaitCursor);
        QVERIFY(form.HourglassShown() == hourglass);
        // Exit (18) closes the window; it has a test of its own.
        for (int index = 1; index <= 17; ++index) {
            if (QToolButton* button = form.ToolbarButton(index))
                QTest::mouseClick(button, Qt::LeftButton);
            else
                form.Toolbar1_ButtonClick(index);
            for (qsizetype c = 0; c < commands.size(); ++c) {
                const bool expected = !hourglass && form.ToolbarAction(index) == commands.at(c);
                QCOMPARE(spies.at(static_cast<std::size_t>(c))->count(), expected ? 1 : 0);
                spies.at(static_cast<std::size_t>(c))->clear();
            }
            // Compare with empty paths resets the view, which disables the
            // result commands again.
            for (QAction* action : commands)
                action->setEnabled(true);
        }
        QVERIFY(form.isVisible());
        if (hourglass) {
            form.Toolbar1_ButtonClick(18);
            QVERIFY(form.isVisible());
        }
    }

    void disabledButtonRunsNothing()
    {
        frmFileDiffs form;
        form.Form_Load();
        QSignalSpy find(form.mnuFileFind, &QAction::triggered);
        form.Toolbar1_ButtonClick(8);
        QCOMPARE(find.count(), 0);
        form.EnableResultCommands();
        form.Toolbar1_ButtonClick(8);
        QCOMPARE(find.count(), 1);
    }

    void exitRoutes_data()
    {
        QTest::addColumn<QString>("route");
        QTest::newRow("toolbar button 18") << "toolbar";
        QTest::newRow("File, Exit") << "menu";
        QTest::newRow("close box") << "close";
    }

    void exitRoutes()
    {
        QFETCH(QString, route);
        frmFileDiffs form;
        form.Form_Load();
        if (route == QLatin1String("toolbar"))
            QTest::mouseClick(form.ToolbarButton(18), Qt::LeftButton);
        else if (route == QLatin1String("menu"))
            form.mnuFileExit->trigger();
        else
            form.close();
        QVERIFY(!form.isVisible());
        QCOMPARE(m_prompts->modalWindows, QStringList{QStringLiteral("frmProducts")});
        QVERIFY(!gOptions);
        QVERIFY(!gDiffEngine);
        QVERIFY(QFileInfo::exists(iniPath()));
        // A second close does not unload again.
        form.close();
        QCOMPARE(m_prompts->modalWindows.size(), 1);
    }

    void minimisedCloseSkipsProducts()
    {
        frmFileDiffs form;
        form.Form_Load();
        form.setWindowState(Qt::WindowMinimized);
        QVERIFY(form.isMinimized());
        form.close();
        QVERIFY(m_prompts->modalWindows.isEmpty());
        QVERIFY(QFileInfo::exists(iniPath()));
        QVERIFY(!gOptions);
    }

    void fontSurvivesRestart()
    {
        {
            frmFileDiffs form;
            form.Form_Load();
            QFont font(QStringLiteral("Liberation Serif"));
            font.setPointSizeF(12);
            font.setBold(true);
            form.grdFileOne->setFont(font);
            form.grdFileTwo->setFont(font);
            form.mnuOptionsShowGridLines->setChecked(false);
            form.chkTooltip->setChecked(false);
            form.close();
        }
        gOptions = std::make_unique<cViewFileDiffsOptions>();
        frmFileDiffs again;
        again.Form_Load();
        for (VGrid* grid : {again.grdFileOne, again.grdFileTwo}) {
            QCOMPARE(grid->font().family(), QStringLiteral("Liberation Serif"));
            QCOMPARE(grid->font().pointSizeF(), 12.0);
            QVERIFY(grid->font().bold());
            QVERIFY(!grid->GridLines());
        }
        QVERIFY(!again.mnuOptionsShowGridLines->isChecked());
        QVERIFY(!again.chkTooltip->isChecked());
    }

    void commandLineOverridesIniPaths_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("one");
        QTest::addColumn<QString>("two");
        QTest::newRow("none") << QStringList{} << "/ini/one.txt" << "/ini/two.txt";
        QTest::newRow("File One only") << QStringList{"/cmd/a.txt"} << "/cmd/a.txt" << "/ini/two.txt";
        QTest::newRow("both") << QStringList{"/cmd/a.txt", "/cmd/b c.txt"} << "/cmd/a.txt" << "/cmd/b c.txt";
        QTest::newRow("three") << QStringList{"/cmd/a.txt", "/cmd/b.txt", "/cmd/c.txt"} << "/cmd/a.txt"
                               << "/cmd/b.txt";
    }

    void commandLineOverridesIniPaths()
    {
        QFETCH(QStringList, arguments);
        {
            frmFileDiffs form;
            form.Form_Load();
            form.txtFileOne->setText(QStringLiteral("/ini/one.txt"));
            form.txtFileTwo->setText(QStringLiteral("/ini/two.txt"));
            form.close();
        }
        gOptions = std::make_unique<cViewFileDiffsOptions>();
        gArguments = arguments;
        frmFileDiffs form;
        form.Form_Load();
        QTEST(form.txtFileOne->text(), "one");
        QTEST(form.txtFileTwo->text(), "two");
        // Nothing is compared: the prompts stay, result commands stay off.
        QCOMPARE(form.grdFileOne->TextMatrix(0), frmFileDiffs::kSelectFilesPrompt);
        QCOMPARE(form.grdFileTwo->TextMatrix(0), frmFileDiffs::kSelectFilesPrompt);
        QVERIFY(!form.mnuFilePrint->isEnabled());
    }

    void resetKeepsRowsAndEmptiesCells()
    {
        frmFileDiffs form;
        form.Form_Load();
        Alignment::PaneRows rows;
        for (std::int32_t i = 0; i < 40; ++i) {
            rows.line.push_back(i);
            rows.color.push_back(i % 3 == 0 ? Alignment::kOrphanColor : Alignment::kDefaultColor);
        }
        form.grdFileOne->SetRowsFrom(rows, std::make_shared<Lines>());
        form.grdFileTwo->SetRowsFrom(rows, std::make_shared<Lines>());
        form.grdFileOne->SetTextMatrix(0, QString());
        form.grdFileOne->SetCellPicture(5, form.pctArrow);
        form.grdFileOne->SetRow(20);
        form.grdFileOne->SetTopRow(15);
        form.rtfLineDiff[1]->setPlainText(QStringLiteral("something"));
        form.EnableResultCommands();
        form.ResetComparisonView();
        for (VGrid* grid : {form.grdFileOne, form.grdFileTwo}) {
            QCOMPARE(grid->Rows(), 41);
            QCOMPARE(grid->TextMatrix(0), frmFileDiffs::kSelectFilesPrompt);
            for (int row = 1; row < 41; ++row) {
                QCOMPARE(grid->TextMatrix(row), QString());
                QCOMPARE(grid->CellBackColor(row), Grid::kNoCellColor);
                QVERIFY(grid->CellPicture(row).isNull());
            }
            QCOMPARE(grid->Row(), 1);
            QVERIFY(grid->Redraw());
        }
        QCOMPARE(form.grdFileOne->TopRow(), 1);
        QVERIFY(!form.mnuFileShowFirstDiff->isEnabled());
        QCOMPARE(form.rtfLineDiff[0]->toPlainText(), frmFileDiffs::kDetailPaneHint);
        QCOMPARE(form.rtfLineDiff[1]->toPlainText(), QString());
    }

    void layoutAtSeveralSizes_data()
    {
        QTest::addColumn<QSize>("client");
        QTest::addColumn<QRect>("gridOne");
        QTest::addColumn<QRect>("gridTwo");
        QTest::addColumn<QRect>("detailTwo");
        // In pixels of 15 twips: grid one 510/840 twips = 34/56 px; the grid
        // height is CH - 1590 twips = CH - 106 px; grid two starts 25 twips
        // right of grid one and ends 60 twips = 4 px inside.
        QTest::newRow("designed") << QSize(687, 442) << QRect(34, 56, 323, 336) << QRect(359, 56, 324, 336)
                                  << QRect(2, 417, 674, 25);
        QTest::newRow("large") << QSize(1000, 700) << QRect(34, 56, 323, 594) << QRect(359, 56, 637, 594)
                               << QRect(2, 675, 987, 25);
        QTest::newRow("narrow") << QSize(300, 442) << QRect(34, 56, 260, 336) << QRect(296, 56, 0, 336)
                                << QRect(2, 417, 287, 25);
    }

    void layoutAtSeveralSizes()
    {
        QFETCH(QSize, client);
        frmFileDiffs form;
        form.Form_Load();
        ResizeClient(form, client.width(), client.height());
        QCOMPARE(form.ClientArea->size(), client);
        QTEST(form.grdFileOne->geometry(), "gridOne");
        QTEST(form.grdFileTwo->geometry(), "gridTwo");
        QTEST(form.rtfLineDiff[1]->geometry(), "detailTwo");
        QCOMPARE(form.txtFileOne->x(), form.grdFileOne->x());
        QCOMPARE(form.txtFileOne->width(), form.grdFileOne->width());
        QCOMPARE(form.txtFileTwo->x(), form.grdFileTwo->x());
        QCOMPARE(form.txtFileTwo->width(), form.grdFileTwo->width());
        QCOMPARE(form.Splitter->geometry().left(), form.grdFileOne->geometry().right() + 1);
        QCOMPARE(form.Splitter->geometry().right() + 1, form.grdFileTwo->x());
        QCOMPARE(form.grdFileOne->ColWidth(), form.grdFileOne->width());
        QCOMPARE(form.grdFileTwo->ColWidth(), form.grdFileTwo->width());
        QVERIFY(form.grdFileTwo->geometry().right() < client.width());
        // The fixed controls never move.
        QCOMPARE(form.Toolbar1->geometry(), QRect(2, 2, 375, 26));
        QCOMPARE(form.chkTooltip->pos(), QPoint(586, 4));
        QCOMPARE(form.pctContainer->geometry(), QRect(4, 56, 27, 195));
    }

    void minimisedWindowIsNotLaidOut()
    {
        frmFileDiffs form;
        form.Form_Load();
        const FormLayout::Places before = form.Places();
        form.setWindowState(Qt::WindowMinimized);
        form.ClientArea->resize(300, 200);  // as a resize while iconic would
        QCOMPARE(form.Places().grdFileOne, before.grdFileOne);
        QCOMPARE(form.Places().rtfLineDiff0, before.rtfLineDiff0);
        form.setWindowState(Qt::WindowNoState);
        QCOMPARE(form.Places().rtfLineDiff0.Top, 200 * 15 - 750);
    }

    void splitterDragWithTheMouse()
    {
        frmFileDiffs form;
        form.Form_Load();
        SplitterBar* bar = form.Splitter;
        const QColor resting = bar->Color();
        QTest::mousePress(bar, Qt::LeftButton, {}, QPoint(1, 10));
        QCOMPARE(bar->Color(), QColor(0x80, 0x80, 0x80));
        QCOMPARE(form.SplitterState().SplitterDragX, 15);
        QMouseEvent move(QEvent::MouseMove, QPointF(101, 10), bar->mapToGlobal(QPointF(101, 10)), Qt::NoButton,
                         Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(bar, &move);
        QCOMPARE(form.grdFileOne->width(), 323);  // only the splitter moves while dragging
        QCOMPARE(form.Places().Splitter.Left, 5355 + 1515);
        QTest::mouseRelease(bar, Qt::LeftButton, {}, QPoint(0, 10));
        QCOMPARE(form.SplitterState().SplitterDragX, FormLayout::kNoDrag);
        QCOMPARE(bar->Color(), resting);
        QCOMPARE(form.Places().grdFileOne.Width, 6360);
        QCOMPARE(form.grdFileOne->width(), 424);
        QCOMPARE(form.txtFileOne->width(), 424);
        QCOMPARE(form.grdFileTwo->x(), 460);
    }

    void otherButtonEndsDrag()
    {
        frmFileDiffs form;
        form.Form_Load();
        form.Splitter_MouseDown(Qt::LeftButton, {}, 15, 0);
        form.Splitter_MouseMove(Qt::LeftButton, {}, 765, 0);
        QCOMPARE(form.Places().grdFileOne.Width, 4845);
        form.Splitter_MouseDown(Qt::RightButton, {}, 0, 0);
        QCOMPARE(form.SplitterState().SplitterDragX, FormLayout::kNoDrag);
        QCOMPARE(form.Places().grdFileOne.Width, 5610);
        QCOMPARE(form.Places().Splitter.Left, 6120);
        // The release of the left button afterwards changes nothing.
        form.Splitter_MouseUp(Qt::LeftButton, {}, 3000, 0);
        QCOMPARE(form.Places().grdFileOne.Width, 5610);
        // A right press without a drag does nothing either.
        form.Splitter_MouseDown(Qt::RightButton, {}, 900, 0);
        QCOMPARE(form.Places().grdFileOne.Width, 5610);
    }

    void farRightDropKeepsSplitterInside()
    {
        frmFileDiffs form;
        form.Form_Load();
        form.Splitter_MouseDown(Qt::LeftButton, {}, 15, 0);
        form.Splitter_MouseUp(Qt::LeftButton, {}, 60000, 0);
        QCOMPARE(form.grdFileTwo->width(), 0);
        QVERIFY(form.Splitter->geometry().right() < form.ClientArea->width());
        QVERIFY(form.grdFileOne->width() <= form.ClientArea->width());
    }

    void tabOrder()
    {
        frmFileDiffs form;
        const QList<QWidget*> expected = {form.Toolbar1,   form.chkTooltip,     form.txtFileOne,     form.txtFileTwo,
                                          form.grdFileOne, form.grdFileTwo,     form.rtfLineDiff[0], form.rtfLineDiff[1],
                                          form.Splitter};
        for (qsizetype i = 1; i < expected.size(); ++i) {
            QWidget* next = expected.at(i - 1)->nextInFocusChain();
            // Children of a control (a scroll area's viewport) come between.
            while (next && !expected.contains(next) && next != &form)
                next = next->nextInFocusChain();
            QCOMPARE(next, expected.at(i));
        }
    }
};

QTEST_MAIN(tst_frmFileDiffs)
#include "tst_frmFileDiffs.moc"
