// The main window: unload, command state, toolbar routing; choosing files
// (file dialogs, and edits of the path boxes discard a shown comparison);
// the Options commands and what of them survives a restart; layout pass
// and splitter.

#include "WindowFixture.h"

#include "mainwindow/SplitterBar.h"
#include "options/modIniFile.h"

#include <QDialog>
#include <QHelpEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QToolTip>

using namespace modVantrel;

namespace {

// Toolbar positions 1 to 20: the menu item each runs; null for a separator.
// clang-format off
const char* const kToolbar[20] = {
    "mnuFileSelectFileOne", "mnuFileSelectFileTwo", "mnuFileCompare", nullptr,
    "mnuFileShowPreviousDiff", "mnuFileShowNextDiff", nullptr,
    "mnuFileFind", "mnuFileFindNext", "mnuFileFindPrevious", nullptr,
    "mnuFileToggleBookmark", "mnuFileNextBookmark", "mnuFilePreviousBookmark", "mnuFileClearAllBookmarks", nullptr,
    "mnuFilePrint", "mnuFileExit", nullptr, "mnuViewHideUnchangedLines",
};
// Each File command ("mnuFile" and this) enabled without results, and with them.
const std::tuple<const char*, bool, bool> kStates[] = {
    {"SelectFileOne", true, true},     {"SelectFileTwo", true, true},      {"Compare", true, true},
    {"ShowFirstDiff", false, true},    {"ShowPreviousDiff", false, true},  {"ShowNextDiff", false, true},
    {"ShowLastDiff", false, true},     {"Find", false, true},              {"FindNext", false, false},
    {"FindPrevious", false, false},    {"ToggleBookmark", false, true},    {"NextBookmark", false, false},
    {"PreviousBookmark", false, false}, {"ClearAllBookmarks", false, false}, {"Print", false, true},
    {"SavePatch", true, true},         {"SaveReport", false, true},        {"Exit", true, true}};
// clang-format on

const QString kPrompt = QStringLiteral("Select two files then press the Compare button");

}  // namespace

class tst_frmFileDiffs : public WindowTest {
    Q_OBJECT

private slots:
    void toolbarRunsItsCommand_data()
    {
        // 0 none yet, 1 shown, 2 discarded by File One set by the program
        // (as a drop or a file dialog sets it), 3 by Backspace in File Two.
        QTest::addColumn<int>("results");
        QTest::addColumn<int>("hourglass");  // 0 none, 1 application's, 2 the window's own
        QTest::newRow("without results") << 0 << 0;
        QTest::newRow("with results") << 1 << 0;
        QTest::newRow("File One set: results discarded") << 2 << 0;
        QTest::newRow("Backspace in File Two: results discarded") << 3 << 0;
        QTest::newRow("hourglass") << 1 << 1;
        QTest::newRow("window's hourglass") << 1 << 2;
    }

    // Each command is enabled as kStates says, its button with it; every
    // change of a path box discards the comparison shown. Each button
    // triggers its command, and nothing else, when the command is enabled
    // and the window not busy; separators have no button. The commands
    // themselves are cut off, so each click leaves the state.
    void toolbarRunsItsCommand()
    {
        QFETCH(int, results);
        QFETCH(int, hourglass);
        if (results)
            ShownComparison::Show(w);
        const int rows = w.grid(1)->Rows();
        if (results == 2)
            w.box(1)->setText(QStringLiteral("/b.txt"));
        else if (results == 3)
            QTest::keyClick(w.box(2), Qt::Key_Backspace);
        // Discarded, the grids keep their rows, emptied.
        QVERIFY(w.Model().Shown() == (results == 1) && w.grid(1)->Rows() == rows);
        for (const auto& [name, without, with] : kStates)
            QVERIFY2(w.action("mnuFile" + QByteArray(name))->isEnabled() == (results == 1 ? with : without), name);
        QStringList ran;
        const QObject recording;  // gone, and its connections with it, before `ran`
        for (QAction* action : w.form->findChildren<QAction*>()) {
            QObject::disconnect(action, &QAction::triggered, w.form.get(), nullptr);
            connect(action, &QAction::triggered, &recording, [&ran, action] { ran << action->objectName(); });
        }
        if (hourglass == 1)
            QGuiApplication::setOverrideCursor(Qt::WaitCursor);
        else if (hourglass == 2)
            w.form->setCursor(Qt::WaitCursor);
        const auto* toolbar = w.child<QToolBar>(QStringLiteral("Toolbar1"));
        const QList<QAction*> items = toolbar->actions();
        QCOMPARE(std::pair(toolbar->iconSize(), items.size()), std::pair(QSize(16, 16), qsizetype(20)));
        QSet<QString> descriptions;  // each button's own, for a screen reader
        for (int index = 1; index <= 20; ++index) {
            QAction* expected = kToolbar[index - 1] ? w.action(kToolbar[index - 1]) : nullptr;
            QCOMPARE(std::pair(items.at(index - 1)->isSeparator(), !w.button(index)), std::pair(!expected, !expected));
            if (!expected)
                continue;
            QCOMPARE(w.button(index)->isEnabled(), expected->isEnabled());
            descriptions.insert(w.button(index)->accessibleDescription().section(QStringLiteral(": "), 1));
            QTest::mouseClick(w.button(index), Qt::LeftButton);
            const bool runs = expected->isEnabled() && hourglass == 0;
            QCOMPARE(ran, runs ? QStringList{QString::fromUtf8(kToolbar[index - 1])} : QStringList());
            ran.clear();
        }
        QVERIFY(descriptions.size() == 15 && !descriptions.contains(QString()));
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
        frmFileDiffs& form = *w.form;
        if (route == QLatin1String("toolbar"))
            QTest::mouseClick(w.button(18), Qt::LeftButton);
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
        QTest::addColumn<QString>("lastFile");  // "x" an existing file, "gone" a missing one
        QTest::addColumn<QString>("answer");    // null: cancelled; "=": the path the box holds
        QTest::newRow("One, Ctrl+L, last file's folder") << 1 << true << "x" << QString("/chosen");
        QTest::newRow("Two, Ctrl+R, last file's folder") << 2 << true << "x" << QString("/chosen");
        QTest::newRow("One, button 1, last file gone") << 1 << false << "gone" << QString("/chosen");
        QTest::newRow("One cancelled") << 1 << false << "x" << QString();
        // Choosing the path the box holds changes no text, yet discards.
        QTest::newRow("Two, the same file") << 2 << false << "x" << QString("=");
    }

    void selectFile()
    {
        QFETCH(int, which);
        QFETCH(bool, byKey);
        QFETCH(QString, lastFile);
        QFETCH(QString, answer);
        ShownComparison::Show(w);
        const QString sub = w.folder->filePath(QStringLiteral("sub"));
        QVERIFY(QDir().mkpath(sub));
        if (lastFile == QLatin1String("x"))
            w.write(QStringLiteral("sub/x"), "x\n");
        (which == 1 ? gOptions->FileOne : gOptions->FileTwo) = sub + u'/' + lastFile;
        const QString typed = w.box(which)->text();
        if (answer == u'=')
            answer = typed;
        w.prompts->textAnswers.push_back(answer.isNull() ? std::nullopt : std::optional<QString>(answer));
        if (byKey)
            w.key(which == 1 ? Qt::Key_L : Qt::Key_R, Qt::ControlModifier);
        else
            QTest::mouseClick(w.button(which), Qt::LeftButton);
        QCOMPARE(w.prompts->files.size(), 1);
        const FilePrompt& prompt = w.prompts->files.constFirst();
        QCOMPARE(QStringList({prompt.title, prompt.folder, prompt.filter}),
                 QStringList({QStringLiteral("Select File %1").arg(which == 1 ? "One" : "Two"),
                              lastFile == QLatin1String("x") ? sub + u'/' : QDir::currentPath(), "All Files (*)"}));
        QVERIFY(w.prompts->messages.isEmpty());
        QCOMPARE(w.box(which)->text(), answer.isNull() ? typed : answer);
        QCOMPARE(w.Model().Shown(), answer.isNull());
    }

    // The flags reach the next Compare, not the comparison on display, and
    // its message names what made the files identical (the two original
    // options keep the plain message).
    void ignoreFlagsReachNextCompare_data()
    {
        QTest::addColumn<QString>("item");
        QTest::addColumn<QByteArray>("two");
        QTest::addColumn<QString>("message");
        const auto row = [](const char* item, const QByteArray& two, const QString& message) {
            QTest::newRow(item + 10) << QString::fromUtf8(item) << two << message;
        };
        const QString identical = QStringLiteral("The files are identical");
        row("mnuOptionsIgnoreCase", "Same\nLINE\n", identical);
        row("mnuOptionsIgnoreWhitespace", "same\n li ne \n", identical);
        row("mnuOptionsIgnoreWhiteSpaceChanges", "same\nline \t\n", identical + ", ignoring white space changes");
        row("mnuOptionsIgnoreLineEndings", "same\r\nline", identical + ", ignoring line endings");
        row("mnuOptionsIgnoreBlankLines", "same\n\nline\n", identical + ", ignoring blank lines");
    }

    void ignoreFlagsReachNextCompare()
    {
        QFETCH(QString, item);
        QFETCH(QByteArray, two);
        QAction* action = w.action(item.toUtf8());
        action->trigger();
        action->trigger();  // twice: as before, so the files below still differ
        w.compare(w.write(QStringLiteral("one"), "same\nline\n"), w.write(QStringLiteral("two"), two));
        QVERIFY(w.Model().Shown());
        const QString row = w.grid(2)->TextMatrix(1);
        const qsizetype told = w.prompts->messages.size();  // (line endings alone differ: said)
        action->trigger();
        QCOMPARE(
            std::tuple(action->isChecked(), w.Model().Shown(), w.grid(2)->TextMatrix(1), w.prompts->messages.size()),
            std::tuple(true, true, row, told));
        w.action("mnuFileCompare")->trigger();
        QTEST(w.prompts->lastMessage().text, "message");
    }

    // A filter added in Options > Line Filters reaches the next Compare; one
    // that does not compile (from the options file) or that the library
    // gives up on stops the comparison with a message naming it.
    void lineFiltersReachNextCompare_data()
    {
        QTest::addColumn<QString>("filter");
        QTest::addColumn<QByteArray>("two");
        QTest::addColumn<QString>("told");
        QTest::newRow("identical but for them") << "^#" << QByteArray("#2\nsame\n#3\nline\n")
                                                << "The files are identical, ignoring lines that match the line filter";
        QTest::newRow("does not compile") << "(#" << QByteArray("same\n")
                                          << "The line filter \"(#\" is not a valid regular expression: missing "
                                             "closing parenthesis (at character 3).";
        QTest::newRow("given up") << "(a*)*b" << QByteArray("same\n" + QByteArray(40, 'a') + "cb\n")
                                  << "The line filter \"(a*)*b\" could not be tried on line 2 of";
    }

    void lineFiltersReachNextCompare()
    {
        QFETCH(QString, filter);
        QFETCH(QByteArray, two);
        QFETCH(QString, told);
        if (filter.startsWith('(') && !filter.contains('*')) {
            gOptions->LineFilters = {{filter, true}, {QStringLiteral("off"), false}};
        } else {
            w.prompts->whileModalShown = [&](QWidget* window) {
                if (window->objectName() == QLatin1String("frmLineFilters"))
                    window->findChild<QPushButton*>(QStringLiteral("cmdAdd"))->click();
                else
                    window->findChild<QLineEdit*>(QStringLiteral("txtExpression"))->setText(filter);
                static_cast<QDialog*>(window)->accept();
            };
            w.action("mnuOptionsLineFilters")->trigger();
            QCOMPARE(gOptions->EnabledLineFilters(), QStringList{filter});
        }
        w.compare(w.write(QStringLiteral("one"), "#1\nsame\nline\n"), w.write(QStringLiteral("two"), two));
        QVERIFY(!w.Model().Shown());
        QVERIFY2(w.prompts->lastMessage().text.contains(told), qPrintable(w.prompts->lastMessage().text));
    }

    // The Options commands act on both grids at once; what they set is
    // written at unload and read at the next load, where files named on
    // the command line win over the paths from the INI file. Only --compare
    // compares them, once the window shows (here: to say File One is missing).
    void optionsSurviveRestart_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<bool>("compare");
        QTest::addColumn<QStringList>("boxes");
        const QStringList both{"/cmd/a.txt", "/cmd/b c.txt"};
        QTest::newRow("no files named") << QStringList{} << false << QStringList{"/ini/one.txt", "/ini/two.txt"};
        QTest::newRow("File One named") << both.mid(0, 1) << false << QStringList{both[0], "/ini/two.txt"};
        QTest::newRow("both named, --compare") << both << true << both;
    }

    void optionsSurviveRestart()
    {
        QFETCH(QStringList, arguments);
        QFont font(QStringLiteral("Liberation Serif"), 12, QFont::Bold);
        font.setUnderline(true);
        const auto verifyGrids = [&] {  // family, size, bold, italic, underline, grid lines
            for (const VGrid* grid : {w.grid(1), w.grid(2)})
                QCOMPARE(std::tuple(grid->font().family(), grid->font().pointSizeF(), grid->font().bold(),
                                    grid->font().italic(), grid->font().underline(), grid->GridLines()),
                         std::tuple(font.family(), 12.0, true, false, false, false));
        };
        const QFont detail = w.pane(1)->font();
        // Through the commands, as a user changes them; the font offered
        // is the grids' (no INI file yet), and a cancelled choice changes nothing.
        w.prompts->fontAnswers = {font, std::nullopt};
        w.action("mnuOptionsFont")->trigger();
        w.action("mnuOptionsFont")->trigger();
        QCOMPARE(w.prompts->fonts.at(0).title, QStringLiteral("Select Font"));
        // Offered as the face the grids show, one the dialog lists, not the
        // name the system maps to it.
        QCOMPARE(w.prompts->fonts.at(0).initial.family(),
                 QFontInfo(cViewFileDiffsOptions::DesignedGridFont()).family());
        QCOMPARE(std::pair(w.prompts->fonts.at(1).initial.family(), w.prompts->fonts.at(1).initial.pointSizeF()),
                 std::pair(font.family(), 12.0));
        QVERIFY(w.grid(1)->GridLines() && w.grid(2)->GridLines());
        w.action("mnuOptionsShowGridLines")->trigger();
        verifyGrids();
        QCOMPARE(w.pane(1)->font(), detail);
        w.action("mnuOptionsIgnoreWhitespace")->trigger();
        w.action("mnuOptionsIgnoreLineEndings")->trigger();
        w.child<QCheckBox>(QStringLiteral("chkTooltip"))->click();
        w.box(1)->setText(QStringLiteral("/ini/one.txt"));
        w.box(2)->setText(QStringLiteral("/ini/two.txt"));
        bool shownWhenCompared = false;
        w.prompts->whileMessageShown = [&] { shownWhenCompared = w.form->isVisible(); };
        QFETCH(bool, compare);
        w.restart(arguments, compare);
        QVERIFY(w.prompts->messages.isEmpty());
        QCoreApplication::processEvents();
        QCOMPARE(w.prompts->messages.size(), compare ? 1 : 0);
        if (compare)
            QVERIFY(shownWhenCompared && w.prompts->lastMessage().text.startsWith(QStringLiteral("File One")));
        verifyGrids();
        QVERIFY(!w.action("mnuOptionsShowGridLines")->isChecked());
        QVERIFY(!w.child<QCheckBox>(QStringLiteral("chkTooltip"))->isChecked());
        QVERIFY(w.action("mnuOptionsIgnoreWhitespace")->isChecked() && gOptions->IgnoreWhiteSpace);
        QVERIFY(!w.action("mnuOptionsIgnoreCase")->isChecked() && !gOptions->IgnoreCase);
        QVERIFY(w.action("mnuOptionsIgnoreLineEndings")->isChecked() && gOptions->IgnoreLineEndings);
        QVERIFY(!w.action("mnuOptionsIgnoreWhiteSpaceChanges")->isChecked() && !gOptions->IgnoreWhiteSpaceChanges);
        QTEST(QStringList({w.box(1)->text(), w.box(2)->text()}), "boxes");
    }

    // At any scale the window opens inside the screen's available area, the
    // pane-tooltip box shows its whole caption inside the window, and a
    // header prompt that does not fit ends with "…" and shows whole in its
    // tooltip. Also run on a 1280 x 900 screen at scale factors 1, 1.5 and 2
    // (CMakeLists.txt).
    void fitsTheScreen()
    {
        QVERIFY(w.form->screen()->availableGeometry().contains(w.form->geometry()));
        const auto* tooltips = w.child<QCheckBox>(QStringLiteral("chkTooltip"));
        QVERIFY(tooltips->width() >= tooltips->sizeHint().width());
        QVERIFY(tooltips->geometry().right() < tooltips->parentWidget()->width());
        for (VGrid* grid : {w.grid(1), w.grid(2)}) {
            const QString shown = grid->HeaderShown();
            QVERIFY2(grid->fontMetrics().horizontalAdvance(shown) <= grid->viewport()->width(), qPrintable(shown));
            QToolTip::hideText();
            QHelpEvent help(QEvent::ToolTip, QPoint(5, 2), grid->viewport()->mapToGlobal(QPoint(5, 2)));
            QCoreApplication::sendEvent(grid->viewport(), &help);
            if (shown == kPrompt) {
                QVERIFY(!QToolTip::isVisible());
                continue;
            }
            QVERIFY2(shown.endsWith(u'…') && kPrompt.startsWith(shown.chopped(1)), qPrintable(shown));
            QCOMPARE(QToolTip::text(), kPrompt);
            grid->SetToolTipText(QStringLiteral("a row's tooltip"));  // the header's wins over it
            QCoreApplication::sendEvent(grid->viewport(), &help);
            QCOMPARE(QToolTip::text(), kPrompt);
        }
        // Grid two takes what the window gains: given the prompt's width, it
        // shows the prompt whole.
        w.form->resize(w.form->width() + w.grid(2)->fontMetrics().horizontalAdvance(kPrompt), w.form->height());
        QCoreApplication::processEvents();
        QCOMPARE(w.grid(2)->HeaderShown(), kPrompt);
    }

    void minimisedWindowIsNotLaidOut()
    {
        const QRect grid = w.grid(1)->geometry();
        const QRect pane = w.pane(1)->geometry();
        w.form->setWindowState(Qt::WindowMinimized);
        w.child<QWidget>(QStringLiteral("ClientArea"))->resize(300, 200);  // as a resize while iconic would
        QVERIFY(w.grid(1)->geometry() == grid && w.pane(1)->geometry() == pane);
        w.form->setWindowState(Qt::WindowNoState);
        QCOMPARE(w.pane(1)->y(), (200 * 15 - 750) / 15);  // twips: the margin and the pane's height
    }

    // A drag by real mouse events moves only the splitter, grey, until it
    // ends; ended by the release or by another button, the widths follow
    // and moving the pointer on moves nothing.
    void splitterDrag_data()
    {
        QTest::addColumn<Qt::MouseButton>("endingButton");
        QTest::newRow("released") << Qt::LeftButton;
        QTest::newRow("right button pressed") << Qt::RightButton;
    }

    void splitterDrag()
    {
        QFETCH(Qt::MouseButton, endingButton);
        auto* bar = w.child<SplitterBar>(QStringLiteral("Splitter"));
        const QColor resting = bar->Color();
        const int width = w.grid(1)->width();
        const int left = bar->x();
        const auto move = [bar](int x) {
            QMouseEvent event(QEvent::MouseMove, QPointF(x, 10), bar->mapToGlobal(QPointF(x, 10)), Qt::NoButton,
                              Qt::LeftButton, Qt::NoModifier);
            QCoreApplication::sendEvent(bar, &event);
        };
        QTest::mousePress(bar, Qt::LeftButton, {}, QPoint(1, 10));
        QCOMPARE(bar->Color(), QColor(0x80, 0x80, 0x80));
        move(101);
        QCOMPARE(std::pair(w.grid(1)->width(), bar->x()), std::pair(width, left + 101));
        if (endingButton == Qt::LeftButton)
            QTest::mouseRelease(bar, Qt::LeftButton, {}, QPoint(0, 10));
        else
            QTest::mousePress(bar, Qt::RightButton, {}, QPoint(0, 10));
        // The colour, grid one's and box one's widths, where grid two starts.
        QCOMPARE(std::tuple(bar->Color(), w.grid(1)->width(), w.box(1)->width(), w.grid(2)->x()),
                 std::tuple(resting, width + 101, width + 101, bar->geometry().right() + 1));
        const QRect after = bar->geometry();
        move(40);
        QCOMPARE(bar->geometry(), after);
    }
};

QTEST_MAIN(tst_frmFileDiffs)
#include "tst_frmFileDiffs.moc"
#include "moc_WindowFixture.cpp"
