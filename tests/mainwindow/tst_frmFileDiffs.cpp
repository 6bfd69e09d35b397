// The main window: unload, command state, toolbar routing, the Options
// commands and what of them survives a restart, layout pass and splitter.

#include "WindowFixture.h"

#include "mainwindow/SplitterBar.h"
#include "options/modIniFile.h"


using namespace modVantrel;

namespace {

// Toolbar positions 1 to 18: the menu item each runs; null for a separator.
const char* const kToolbar[18] = {
    "mnuFileSelectFileOne",  "mnuFileSelectFileTwo", "mnuFileCompare",          nullptr,
    "mnuFileShowPreviousDiff", "mnuFileShowNextDiff", nullptr,                  "mnuFileFind",
    "mnuFileFindNext",       "mnuFileFindPrevious",  nullptr,                   "mnuFileToggleBookmark",
    "mnuFileNextBookmark",   "mnuFilePreviousBookmark", "mnuFileClearAllBookmarks", nullptr,
    "mnuFilePrint",          "mnuFileExit",
};

QAction* Action(const frmFileDiffs& form, const char* name)
{
    return name ? form.findChild<QAction*>(QString::fromUtf8(name)) : nullptr;
}

}  // namespace

class tst_frmFileDiffs : public QObject {
    Q_OBJECT
    WindowFixture w;

private slots:
    void init() { w.setUp(); }
    void cleanup() { w.tearDown(); }

    // Each File command's enabled state, on its menu item and toolbar button
    // alike, without results (at first, after a reset, after disabling) and with.
    void commandStates()
    {
        const std::tuple<const char*, bool, bool> states[] = {
            {"mnuFileSelectFileOne", true, true},      {"mnuFileSelectFileTwo", true, true},
            {"mnuFileCompare", true, true},            {"mnuFileShowFirstDiff", false, true},
            {"mnuFileShowPreviousDiff", false, true},  {"mnuFileShowNextDiff", false, true},
            {"mnuFileShowLastDiff", false, true},      {"mnuFileFind", false, true},
            {"mnuFileFindNext", false, false},         {"mnuFileFindPrevious", false, false},
            {"mnuFileToggleBookmark", false, true},    {"mnuFileNextBookmark", false, false},
            {"mnuFilePreviousBookmark", false, false}, {"mnuFileClearAllBookmarks", false, false},
            {"mnuFilePrint", false, true},             {"mnuFileExit", true, true}};
        frmFileDiffs& form = w.load();
        const auto verify = [&](bool results) {
            for (const auto& [name, without, with] : states) {
                QAction* action = Action(form, name);
                QVERIFY2(action && action->isEnabled() == (results ? with : without), name);
                for (int index = 1; index <= 18; ++index)
                    if (kToolbar[index - 1] && qstrcmp(kToolbar[index - 1], name) == 0)
                        QVERIFY2(form.ToolbarButton(index)->isEnabled() == action->isEnabled(), name);
            }
        };
        verify(false);
        form.EnableResultCommands();
        verify(true);
        form.ResetComparisonView();
        verify(false);
        form.EnableResultCommands();
        form.DisableResultCommands();
        verify(false);
    }

    void toolbarRunsItsCommand_data()
    {
        QTest::addColumn<bool>("results");
        QTest::addColumn<int>("hourglass");  // 0 none, 1 application's, 2 the window's own
        QTest::newRow("without results") << false << 0;
        QTest::newRow("with results") << true << 0;
        QTest::newRow("hourglass") << true << 1;
        QTest::newRow("window's hourglass") << true << 2;
    }

    // Each button runs its command, and nothing else, when the command is
    // enabled and the window not busy; separators run nothing.
    void toolbarRunsItsCommand()
    {
        QFETCH(bool, results);
        QFETCH(int, hourglass);
        frmFileDiffs& form = w.load();
        QStringList ran;
        const QObject recording;  // gone, and its connections with it, before `ran`
        for (QAction* action : form.findChildren<QAction*>())
            connect(action, &QAction::triggered, &recording, [&ran, action] { ran << action->objectName(); });
        if (hourglass == 1)
            QGuiApplication::setOverrideCursor(Qt::WaitCursor);
        else if (hourglass == 2)
            form.setCursor(Qt::WaitCursor);
        QCOMPARE(form.Toolbar1->actions().size(), 18);
        for (int index = 1; index <= 17; ++index) {  // Exit (18) closes the window: last
            results ? form.EnableResultCommands() : form.DisableResultCommands();
            QAction* expected = Action(form, kToolbar[index - 1]);
            QCOMPARE(form.Toolbar1->actions().at(index - 1)->isSeparator(), !expected);
            QCOMPARE(!form.ToolbarButton(index), !expected);
            if (QToolButton* button = form.ToolbarButton(index))
                QTest::mouseClick(button, Qt::LeftButton);
            else
                form.Toolbar1_ButtonClick(index);
            const bool runs = expected && expected->isEnabled() && hourglass == 0;
            QCOMPARE(ran, runs ? QStringList{QString::fromUtf8(kToolbar[index - 1])} : QStringList());
            ran.clear();
        }
        form.Toolbar1_ButtonClick(18);
        QCOMPARE(form.isVisible(), hourglass != 0);
    }

    void exitRoutes_data()
    {
        QTest::addColumn<QString>("route");
        QTest::addColumn<int>("productsShown");
        QTest::newRow("toolbar button 18") << "toolbar" << 1;
        QTest::newRow("close box") << "close" << 1;
        QTest::newRow("close box while minimised") << "minimised" << 0;
    }

    void exitRoutes()
    {
        QFETCH(QString, route);
        QFETCH(int, productsShown);
        frmFileDiffs& form = w.load();
        if (route == QLatin1String("toolbar"))
            QTest::mouseClick(form.ToolbarButton(18), Qt::LeftButton);
        else {
            if (route == QLatin1String("minimised"))
                form.setWindowState(Qt::WindowMinimized);
            form.close();
        }
        QVERIFY(!form.isVisible() && !gOptions && !gDiffEngine);
        QCOMPARE(w.prompts->modalWindows, QStringList(productsShown, QStringLiteral("frmProducts")));
        QVERIFY(QFileInfo::exists(gAppFolder + modIniFile::IniFileName()));
        form.close();  // a second close does not unload again
        QCOMPARE(w.prompts->modalWindows.size(), productsShown);
    }

    // The Options commands act on both grids at once; what they set is
    // written at unload and read at the next load, where files named on
    // the command line win over the paths from the INI file.
    void optionsSurviveRestart_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("one");
        QTest::addColumn<QString>("two");
        QTest::newRow("no files named") << QStringList{} << "/ini/one.txt" << "/ini/two.txt";
        QTest::newRow("File One named") << QStringList{"/cmd/a.txt"} << "/cmd/a.txt" << "/ini/two.txt";
        QTest::newRow("both named") << QStringList{"/cmd/a.txt", "/cmd/b c.txt"} << "/cmd/a.txt" << "/cmd/b c.txt";
    }

    void optionsSurviveRestart()
    {
        QFETCH(QStringList, arguments);
        QFont font(QStringLiteral("Liberation Serif"));
        font.setPointSizeF(12);
        font.setBold(true);
        font.setUnderline(true);
        const auto verifyGrids = [&](const frmFileDiffs& form) {
            for (const VGrid* grid : {form.grdFileOne, form.grdFileTwo}) {
                QCOMPARE(grid->font().family(), font.family());
                QCOMPARE(grid->font().pointSizeF(), 12.0);
                QVERIFY(grid->font().bold() && !grid->font().italic() && !grid->font().underline());
                QVERIFY(!grid->GridLines());
            }
        };
        {
            frmFileDiffs& form = w.load();
            const QFont detail = form.rtfLineDiff[0]->font();
            // Through the commands, as a user changes them; the font offered
            // is the grids' (no INI file yet), and a cancelled choice changes nothing.
            w.prompts->fontAnswers = {font, std::nullopt};
            form.mnuOptionsFont->trigger();
            form.mnuOptionsFont->trigger();
            QCOMPARE(w.prompts->fonts.at(0).title, QStringLiteral("Select Font"));
            QCOMPARE(w.prompts->fonts.at(0).initial.family(), QStringLiteral("Courier New"));
            QCOMPARE(w.prompts->fonts.at(1).initial, form.grdFileOne->font());
            QVERIFY(form.grdFileOne->GridLines() && form.grdFileTwo->GridLines());
            form.mnuOptionsShowGridLines->trigger();
            verifyGrids(form);
            QCOMPARE(form.rtfLineDiff[0]->font(), detail);
            form.mnuOptionsIgnoreWhitespace->trigger();
            form.chkTooltip->click();
            form.txtFileOne->setText(QStringLiteral("/ini/one.txt"));
            form.txtFileTwo->setText(QStringLiteral("/ini/two.txt"));
            QVERIFY(w.prompts->messages.isEmpty());
            form.close();
        }
        gOptions = std::make_unique<cViewFileDiffsOptions>();
        gArguments = arguments;
        frmFileDiffs& form = w.load();
        verifyGrids(form);
        QCOMPARE(form.grdFileOne->TextMatrix(0), frmFileDiffs::kSelectFilesPrompt);  // nothing compared
        QVERIFY(!form.mnuOptionsShowGridLines->isChecked() && !form.chkTooltip->isChecked());
        QVERIFY(form.mnuOptionsIgnoreWhitespace->isChecked() && gOptions->IgnoreWhiteSpace);
        QVERIFY(!form.mnuOptionsIgnoreCase->isChecked() && !gOptions->IgnoreCase);
        QTEST(form.txtFileOne->text(), "one");
        QTEST(form.txtFileTwo->text(), "two");
        QVERIFY(!form.mnuFilePrint->isEnabled());
    }

    void minimisedWindowIsNotLaidOut()
    {
        frmFileDiffs& form = w.load();
        const FormLayout::Places before = form.Places();
        form.setWindowState(Qt::WindowMinimized);
        form.ClientArea->resize(300, 200);  // as a resize while iconic would
        QCOMPARE(form.Places().grdFileOne, before.grdFileOne);
        QCOMPARE(form.Places().rtfLineDiff0, before.rtfLineDiff0);
        form.setWindowState(Qt::WindowNoState);
        QCOMPARE(form.Places().rtfLineDiff0.Top, 200 * 15 - 750);
    }

    // A drag by real mouse events moves only the splitter, grey, until it
    // ends; ended by the release or by another button, the widths follow.
    void splitterDrag_data()
    {
        QTest::addColumn<Qt::MouseButton>("endingButton");
        QTest::newRow("released") << Qt::LeftButton;
        QTest::newRow("right button pressed") << Qt::RightButton;
    }

    void splitterDrag()
    {
        QFETCH(Qt::MouseButton, endingButton);
        frmFileDiffs& form = w.load();
        SplitterBar* bar = form.Splitter;
        const QColor resting = bar->Color();
        const int width = form.grdFileOne->width();
        const int left = form.Places().Splitter.Left;
        QTest::mousePress(bar, Qt::LeftButton, {}, QPoint(1, 10));
        QCOMPARE(bar->Color(), QColor(0x80, 0x80, 0x80));
        QMouseEvent move(QEvent::MouseMove, QPointF(101, 10), bar->mapToGlobal(QPointF(101, 10)), Qt::NoButton,
                         Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(bar, &move);
        QCOMPARE(form.grdFileOne->width(), width);
        QCOMPARE(form.Places().Splitter.Left, left + 1515);
        if (endingButton == Qt::LeftButton)
            QTest::mouseRelease(bar, Qt::LeftButton, {}, QPoint(0, 10));
        else
            QTest::mousePress(bar, Qt::RightButton, {}, QPoint(0, 10));
        QCOMPARE(form.SplitterState().SplitterDragX, FormLayout::kNoDrag);
        QCOMPARE(bar->Color(), resting);
        QCOMPARE(form.grdFileOne->width(), width + 101);
        QCOMPARE(form.txtFileOne->width(), width + 101);
        QCOMPARE(form.grdFileTwo->x(), form.Splitter->geometry().right() + 1);
    }
};

QTEST_MAIN(tst_frmFileDiffs)
#include "tst_frmFileDiffs.moc"
