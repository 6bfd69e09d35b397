// The main window: unload, command state, toolbar routing; choosing files
// (file dialogs, and edits of the path boxes discard a shown comparison);
// the Options commands and what of them survives a restart; layout pass
// and splitter.

#include "WindowFixture.h"

#include "mainwindow/SplitterBar.h"
#include "options/modIniFile.h"
#include "support/TestEnvironment.h"

using namespace modVantrel;

namespace {

// Toolbar positions 1 to 18: the menu item each runs; null for a separator.
const char* const kToolbar[18] = {
    "mnuFileSelectFileOne",
    "mnuFileSelectFileTwo",
    "mnuFileCompare",
    nullptr,
    "mnuFileShowPreviousDiff",
    "mnuFileShowNextDiff",
    nullptr,
    "mnuFileFind",
    "mnuFileFindNext",
    "mnuFileFindPrevious",
    nullptr,
    "mnuFileToggleBookmark",
    "mnuFileNextBookmark",
    "mnuFilePreviousBookmark",
    "mnuFileClearAllBookmarks",
    nullptr,
    "mnuFilePrint",
    "mnuFileExit",
};

QAction* Action(const frmFileDiffs& form, const char* name)
{
    return name ? form.findChild<QAction*>(QString::fromUtf8(name)) : nullptr;
}

}  // namespace

class tst_frmFileDiffs : public QObject {
    Q_OBJECT
    WindowFixture w;
    frmFileDiffs* m_form = nullptr;  // for the tests that show the window

    bool Shown() const { return m_form->grdFileOne->TextMatrix(0).isEmpty(); }

private slots:
    void init()
    {
        w.setUp();
        QVERIFY(TestEnvironment::LoadPathLibrary());  // an unload releases it
    }
    void cleanup() { w.tearDown(); }

    // Each File command's enabled state, on its menu item and toolbar button
    // alike, without results (at first, after a reset, after disabling) and with.
    void commandStates()
    {
        const std::tuple<const char*, bool, bool> states[] = {{"mnuFileSelectFileOne", true, true},
                                                              {"mnuFileSelectFileTwo", true, true},
                                                              {"mnuFileCompare", true, true},
                                                              {"mnuFileShowFirstDiff", false, true},
                                                              {"mnuFileShowPreviousDiff", false, true},
                                                              {"mnuFileShowNextDiff", false, true},
                                                              {"mnuFileShowLastDiff", false, true},
                                                              {"mnuFileFind", false, true},
                                                              {"mnuFileFindNext", false, false},
                                                              {"mnuFileFindPrevious", false, false},
                                                              {"mnuFileToggleBookmark", false, true},
                                                              {"mnuFileNextBookmark", false, false},
                                                              {"mnuFilePreviousBookmark", false, false},
                                                              {"mnuFileClearAllBookmarks", false, false},
                                                              {"mnuFilePrint", false, true},
                                                              {"mnuFileExit", true, true}};
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

    void selectFile_data()
    {
        QTest::addColumn<int>("which");         // 1 or 2
        QTest::addColumn<bool>("byKey");        // Ctrl+L or Ctrl+R; else toolbar button 1 or 2
        QTest::addColumn<QString>("lastFile");  // "" none, "x" an existing file, "gone" a missing one
        QTest::addColumn<QString>("answer");    // null: cancelled
        QTest::newRow("One, Ctrl+L, last file's folder") << 1 << true << "x"
                                                         << "/chosen";
        QTest::newRow("Two, Ctrl+R, last file's folder") << 2 << true << "x"
                                                         << "/chosen";
        QTest::newRow("One, button 1, last file gone") << 1 << false << "gone"
                                                       << "/chosen";
        QTest::newRow("Two, button 2, no last file") << 2 << false << ""
                                                     << "/chosen";
        QTest::newRow("One cancelled") << 1 << false << "x" << QString();
        // Choosing the path the box holds changes no text, yet discards.
        QTest::newRow("Two, the same file") << 2 << false << "x"
                                            << "/typed";
    }

    void selectFile()
    {
        m_form = &w.load(true);
        QFETCH(int, which);
        QFETCH(bool, byKey);
        QFETCH(QString, lastFile);
        QFETCH(QString, answer);
        const QString sub = w.folder->filePath(QStringLiteral("sub"));
        QVERIFY(QDir().mkpath(sub));
        if (lastFile == QLatin1String("x"))
            w.write(QStringLiteral("sub/x"), "x\n");
        (which == 1 ? gOptions->FileOne : gOptions->FileTwo) = lastFile.isEmpty() ? QString() : sub + u'/' + lastFile;
        QLineEdit* box = which == 1 ? m_form->txtFileOne : m_form->txtFileTwo;
        box->setText(QStringLiteral("/typed"));
        ShownComparison::Show(*m_form);
        w.prompts->textAnswers.push_back(answer.isNull() ? std::nullopt : std::optional<QString>(answer));
        if (byKey)
            w.key(which == 1 ? Qt::Key_L : Qt::Key_R, Qt::ControlModifier);
        else
            QTest::mouseClick(m_form->ToolbarButton(which), Qt::LeftButton);
        QCOMPARE(w.prompts->files.size(), 1);
        const FilePrompt& prompt = w.prompts->files.constFirst();
        QCOMPARE(prompt.title, QStringLiteral("Select File %1").arg(which == 1 ? "One" : "Two"));
        QCOMPARE(prompt.folder, lastFile == QLatin1String("x") ? sub + u'/' : QDir::currentPath());
        QCOMPARE(prompt.filter, QStringLiteral("All Files (*)"));
        QVERIFY(w.prompts->messages.isEmpty());
        QCOMPARE(box->text(), answer.isNull() ? QStringLiteral("/typed") : answer);
        QCOMPARE(Shown(), answer.isNull());
    }

    void editDiscards_data()
    {
        QTest::addColumn<int>("which");
        QTest::addColumn<QString>("how");  // "type", "backspace", "program" (as a drop or a file dialog sets it)
        QTest::addColumn<bool>("shown");
        QTest::newRow("Backspace in Two") << 2 << "backspace" << true;
        QTest::newRow("set by the program") << 1 << "program" << true;
        QTest::newRow("typing before any comparison") << 1 << "type" << false;
    }

    void editDiscards()
    {
        m_form = &w.load(true);
        QFETCH(int, which);
        QFETCH(QString, how);
        QFETCH(bool, shown);
        QLineEdit* box = which == 1 ? m_form->txtFileOne : m_form->txtFileTwo;
        box->setText(QStringLiteral("/a.txt"));
        if (shown)
            ShownComparison::Show(*m_form);
        const int rows = m_form->grdFileOne->Rows();
        if (how == QLatin1String("type"))
            QTest::keyClicks(box, QStringLiteral("x"));
        else if (how == QLatin1String("backspace"))
            QTest::keyClick(box, Qt::Key_Backspace);
        else
            box->setText(QStringLiteral("/b.txt"));
        QVERIFY(box->text() != QLatin1String("/a.txt"));
        for (const VGrid* grid : {m_form->grdFileOne, m_form->grdFileTwo})
            QCOMPARE(grid->TextMatrix(0), frmFileDiffs::kSelectFilesPrompt);
        QCOMPARE(m_form->grdFileOne->Rows(), rows);
        QCOMPARE(m_form->mnuFilePrint->isEnabled(), false);
    }

    // The flags reach the next Compare, not the comparison on display.
    void ignoreFlagsReachNextCompare_data()
    {
        QTest::addColumn<QString>("item");
        QTest::addColumn<QByteArray>("two");
        QTest::newRow("Ignore Case") << "mnuOptionsIgnoreCase" << QByteArray("Same\nLINE\n");
        QTest::newRow("Ignore Whitespace") << "mnuOptionsIgnoreWhitespace" << QByteArray("same\n line \n");
    }

    void ignoreFlagsReachNextCompare()
    {
        m_form = &w.load(true);
        QFETCH(QString, item);
        QFETCH(QByteArray, two);
        auto* action = m_form->findChild<QAction*>(item);
        bool& flag = item.contains(QLatin1String("Case")) ? gOptions->IgnoreCase : gOptions->IgnoreWhiteSpace;
        action->trigger();
        action->trigger();  // twice: as before
        QVERIFY(!action->isChecked() && !flag);
        w.compare(w.write(QStringLiteral("one"), "same\nline\n"), w.write(QStringLiteral("two"), two));
        QVERIFY(Shown());
        const QString row = m_form->grdFileTwo->TextMatrix(1);
        action->trigger();
        QVERIFY(action->isChecked() && flag);
        QVERIFY(Shown());
        QCOMPARE(m_form->grdFileTwo->TextMatrix(1), row);
        QVERIFY(w.prompts->messages.isEmpty());
        m_form->mnuFileCompare_Click();
        QCOMPARE(w.prompts->lastMessage().text, QStringLiteral("The files are identical"));
    }

    // The Options commands act on both grids at once; what they set is
    // written at unload and read at the next load, where files named on
    // the command line win over the paths from the INI file.
    void optionsSurviveRestart_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("one");
        QTest::addColumn<QString>("two");
        QTest::newRow("no files named") << QStringList{} << "/ini/one.txt"
                                        << "/ini/two.txt";
        QTest::newRow("File One named") << QStringList{"/cmd/a.txt"} << "/cmd/a.txt"
                                        << "/ini/two.txt";
        QTest::newRow("both named") << QStringList{"/cmd/a.txt", "/cmd/b c.txt"} << "/cmd/a.txt"
                                    << "/cmd/b c.txt";
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
