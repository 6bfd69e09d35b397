// The main window: unload, command state, menus, toolbar routing, layout
// pass and splitter, options across a restart.

#include "WindowFixture.h"

#include "mainwindow/SplitterBar.h"
#include "options/modIniFile.h"

#include <QAction>
#include <QCheckBox>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QSignalSpy>
#include <QToolBar>
#include <QToolButton>

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

    void commandStates_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<bool>("withoutResults");
        QTest::addColumn<bool>("withResults");
        const auto row = [](const char* name, bool without, bool with) {
            QTest::newRow(name) << QString::fromUtf8(name) << without << with;
        };
        row("mnuFileSelectFileOne", true, true);      row("mnuFileSelectFileTwo", true, true);
        row("mnuFileCompare", true, true);            row("mnuFileShowFirstDiff", false, true);
        row("mnuFileShowPreviousDiff", false, true);  row("mnuFileShowNextDiff", false, true);
        row("mnuFileShowLastDiff", false, true);      row("mnuFileFind", false, true);
        row("mnuFileFindNext", false, false);         row("mnuFileFindPrevious", false, false);
        row("mnuFileToggleBookmark", false, true);    row("mnuFileNextBookmark", false, false);
        row("mnuFilePreviousBookmark", false, false); row("mnuFileClearAllBookmarks", false, false);
        row("mnuFilePrint", false, true);             row("mnuFileExit", true, true);
    }

    void commandStates()
    {
        QFETCH(QString, command);
        QFETCH(bool, withoutResults);
        QFETCH(bool, withResults);
        frmFileDiffs& form = w.load();
        QAction* action = Action(form, command.toUtf8().constData());
        QVERIFY(action);
        QToolButton* button = nullptr;
        for (int index = 1; index <= 18; ++index)
            button = command == QLatin1String(kToolbar[index - 1]) ? form.ToolbarButton(index) : button;
        const auto verify = [&](bool enabled) {
            QCOMPARE(action->isEnabled(), enabled);
            if (button)
                QCOMPARE(button->isEnabled(), enabled);
        };
        verify(withoutResults);
        form.EnableResultCommands();
        verify(withResults);
        form.ResetComparisonView();
        verify(withoutResults);
        form.EnableResultCommands();
        form.DisableResultCommands();
        verify(withoutResults);
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

    void toolbarRunsItsCommand()
    {
        QFETCH(bool, results);
        QFETCH(int, hourglass);
        frmFileDiffs& form = w.load();
        QList<QAction*> actions;
        std::vector<std::unique_ptr<QSignalSpy>> spies;
        for (const char* command : kToolbar) {
            if (QAction* action = Action(form, command)) {
                actions << action;
                spies.push_back(std::make_unique<QSignalSpy>(action, &QAction::triggered));
            }
        }
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
            const bool runs = expected && expected->isEnabled() && hourglass == 0;
            if (QToolButton* button = form.ToolbarButton(index))
                QTest::mouseClick(button, Qt::LeftButton);
            else
                form.Toolbar1_ButtonClick(index);
            for (qsizetype c = 0; c < actions.size(); ++c) {
                QVERIFY2(spies[std::size_t(c)]->count() == (runs && actions[c] == expected ? 1 : 0),
                         qPrintable(actions[c]->objectName()));
                spies[std::size_t(c)]->clear();
            }
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

    // Options written at unload are read at the next load; files named on the
    // command line win over the paths from the INI file.
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
        {
            frmFileDiffs& form = w.load();
            QCOMPARE(form.grdFileOne->font().family(), QStringLiteral("Courier New"));  // no INI file yet
            // Through the commands, as a user changes them.
            w.prompts->fontAnswers.push_back(font);
            form.mnuOptionsFont->trigger();
            form.mnuOptionsShowGridLines->trigger();
            form.mnuOptionsIgnoreWhitespace->trigger();
            form.chkTooltip->click();
            form.txtFileOne->setText(QStringLiteral("/ini/one.txt"));
            form.txtFileTwo->setText(QStringLiteral("/ini/two.txt"));
            form.close();
        }
        gOptions = std::make_unique<cViewFileDiffsOptions>();
        gArguments = arguments;
        frmFileDiffs& form = w.load();
        for (VGrid* grid : {form.grdFileOne, form.grdFileTwo}) {
            QCOMPARE(grid->font().family(), font.family());
            QCOMPARE(grid->font().pointSizeF(), 12.0);
            QVERIFY(grid->font().bold() && !grid->GridLines());
            QCOMPARE(grid->TextMatrix(0), frmFileDiffs::kSelectFilesPrompt);  // nothing compared
        }
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

    // A drag ended by the right button keeps the width reached; a drag by
    // real mouse events in pixels moves only the splitter until the drop.
    void splitterDrag()
    {
        frmFileDiffs& form = w.load();
        form.Splitter_MouseDown(Qt::LeftButton, {}, 15, 0);
        form.Splitter_MouseMove(Qt::LeftButton, {}, 765, 0);
        QCOMPARE(form.Places().grdFileOne.Width, 4845);
        form.Splitter_MouseDown(Qt::RightButton, {}, 0, 0);
        QCOMPARE(form.SplitterState().SplitterDragX, FormLayout::kNoDrag);
        QCOMPARE(form.Places().grdFileOne.Width, 5610);
        QCOMPARE(form.Places().Splitter.Left, 6120);
        SplitterBar* bar = form.Splitter;
        const QColor resting = bar->Color();
        const int width = form.grdFileOne->width();
        QTest::mousePress(bar, Qt::LeftButton, {}, QPoint(1, 10));
        QCOMPARE(bar->Color(), QColor(0x80, 0x80, 0x80));
        QMouseEvent move(QEvent::MouseMove, QPointF(101, 10), bar->mapToGlobal(QPointF(101, 10)), Qt::NoButton,
                         Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(bar, &move);
        QCOMPARE(form.grdFileOne->width(), width);
        QCOMPARE(form.Places().Splitter.Left, 6120 + 1515);
        QTest::mouseRelease(bar, Qt::LeftButton, {}, QPoint(0, 10));
        QCOMPARE(form.SplitterState().SplitterDragX, FormLayout::kNoDrag);
        QCOMPARE(bar->Color(), resting);
        QCOMPARE(form.grdFileOne->width(), width + 101);
        QCOMPARE(form.txtFileOne->width(), width + 101);
        QCOMPARE(form.grdFileTwo->x(), form.Splitter->geometry().right() + 1);
    }
};

QTEST_MAIN(tst_frmFileDiffs)
#include "tst_frmFileDiffs.moc"
