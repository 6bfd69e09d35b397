// The result grids after a comparison: selecting rows by click, the row
// marker, the detail pane and scroll synchronisation; the difference bar,
// the difference navigation commands, bookmarks and Find.

#include "WindowFixture.h"
#include "mainwindow/RowMarkers.h"
#include "mainwindow/WindowColors.h"

#include <QContextMenuEvent>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTextDocument>
#include <QToolTip>

using namespace modVantrel;
using RowMarkers::Marker;

namespace {

// A row clicked in the comparison of Show: grid one's marker, the bar mark,
// each detail line as "text|looks".
struct Click {
    bool inGridTwo;
    int row, markY;
    Marker marker;
    const char *ignore, *one, *two;
};

// A navigation command run from a selected row with the grids scrolled to
// `top`; `to` 0: the selection stays, with a message of that title.
struct Move {
    int from, top, to;
    const char *command, *title;
    bool scrolls;
};

}  // namespace

class tst_SelectionNavigation : public WindowTest {
    Q_OBJECT

    DiffBarWidget* Bar() const { return w.child<DiffBarWidget>(QStringLiteral("pctDiffsBar")); }
    std::optional<double> MarkY() const { return w.child<DiffBarFrame>(QStringLiteral("pctContainer"))->MarkY(); }

    // A navigation command by its menu item, a bar click or its key.
    void RunCommand(const QString& command)
    {
        if (command == QLatin1String("bar"))
            QTest::mouseClick(Bar(), Qt::LeftButton, {}, QPoint(5, 100));
        else if (command == QLatin1String("Shift+F7"))
            w.key(Qt::Key_F7, Qt::ShiftModifier);
        else
            w.action(("mnuFileShow" + command.left(1).toUpper() + command.mid(1) + "Diff").toUtf8())->trigger();
    }

    // Grid one shows the marker on a row: an arrow drawn for the colour
    // its kind stands for (changed, orphan, none), a bookmark for the row's.
    bool Shows(int row, Marker marker) const
    {
        const std::uint32_t colour = marker == Marker::DifferArrow   ? Alignment::kChangedColor
                                     : marker == Marker::OrphanArrow ? Alignment::kOrphanColor
                                     : marker == Marker::Arrow       ? Grid::kNoCellColor
                                                                     : w.grid(1)->CellBackColor(row);
        const RowMarkers::Pictures pictures(w.form->palette().color(QPalette::Base));
        return w.grid(1)->CellPicture(row).toImage() == pictures.Get(marker, colour).toImage();
    }
    // Next, Previous and Clear All share one enabled state (their buttons
    // follow the items: checked with the other commands in tst_frmFileDiffs).
    bool BookmarkNavigationEnabled() const
    {
        return w.action("mnuFileNextBookmark")->isEnabled() && w.action("mnuFilePreviousBookmark")->isEnabled()
               && w.action("mnuFileClearAllBookmarks")->isEnabled();
    }
    int Row() const { return w.Model().CurrentRow(); }
    // The current row, each grid's row and the marked row.
    auto Selection() const { return std::tuple(Row(), w.grid(1)->Row(), w.grid(2)->Row(), w.Model().MarkedRow()); }
    static auto All(int row) { return std::tuple(row, row, row, row); }
    // A pane's text and the look of each of its characters.
    QString Detail(int side) const { return w.pane(side)->toPlainText() + u'|' + Looks(*w.pane(side)); }

private slots:
    // Every test but the first starts from the comparison of Show.
    void init()
    {
        WindowTest::init();
        if (QTest::currentTestFunction() != QByteArrayView("beforeAComparison"))
            ShownComparison::Show(w);
    }

    // Before any comparison a click, double click, right click or the menu
    // key on a grid does nothing, and a click on the bar says why.
    void beforeAComparison()
    {
        VGrid* grid = w.grid(2);
        ClickRow(grid, 1);
        QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, QPoint(30, RowY(grid, 1)));
        ClickRow(grid, 1, Qt::RightButton);
        QContextMenuEvent request(QContextMenuEvent::Keyboard, QPoint(), QPoint());  // what the menu key sends
        QCoreApplication::sendEvent(grid->viewport(), &request);
        RunCommand(QStringLiteral("bar"));  // the one message shown
        QCOMPARE(w.told(), QStringLiteral("Navigate Differences: This feature only works when two files have been "
                                          "compared and there are differences."));
        QCOMPARE(w.prompts->lastMessage().icon, PromptIcon::Information);
        QVERIFY(w.Model().MarkedRow() == 0 && w.grid(1)->Row() == 1);
        QVERIFY(w.grid(1)->CellPicture(1).isNull() && !MarkY());
        QVERIFY(!w.child<QMenu>(QStringLiteral("mnuFile"))->isVisible());
        const QString hint = QStringLiteral(
            "Click on a line in either file to see how it differs from its counterpart in the other file.");
        QCOMPARE(Detail(1), hint + u'|' + QString(hint.size(), u'k'));
    }

    // A right click or the menu key on a grid shows the File menu once files
    // are compared, the key's below the current row.
    void popupMenu()
    {
        VGrid* grid = w.grid(2);
        QMenu* menu = w.child<QMenu>(QStringLiteral("mnuFile"));
        ClickRow(grid, 1, Qt::RightButton);
        QVERIFY(menu->isVisible());
        menu->hide();
        QContextMenuEvent request(QContextMenuEvent::Keyboard, QPoint(), QPoint());
        QCoreApplication::sendEvent(grid->viewport(), &request);
        QVERIFY(menu->isVisible());
        QCOMPARE(menu->pos(), grid->viewport()->mapToGlobal(grid->RowRect(grid->Row()).bottomLeft()));
        menu->hide();
    }

    void tooltips_data()
    {
        QTest::addColumn<QString>("rowText");
        QTest::addColumn<QString>("expected");
        const QString x255(255, u'x');
        QTest::newRow("256 characters cut, ellipsis added") << x255 + u'y' << x255 + QChar(0x2026);
        QTest::newRow("255 characters whole") << x255 << x255;
        QTest::newRow("markup shown as text") << QStringLiteral(" 2.<b>a</b>  b") << QStringLiteral(" 2.<b>a</b>  b");
    }

    void tooltips()
    {
        QFETCH(QString, rowText);
        QFETCH(QString, expected);
        VGrid* grid = w.grid(2);
        grid->SetTextMatrix(3, rowText);
        const QPoint at(30, RowY(grid, 3));
        QMouseEvent move(QEvent::MouseMove, at, grid->viewport()->mapToGlobal(at), Qt::NoButton, Qt::NoButton, {});
        QCoreApplication::sendEvent(grid->viewport(), &move);
        QCOMPARE(grid->ToolTipText(), expected);
        // What the tooltip shows, read back as plain text.
        const QString shown = grid->viewport()->toolTip();
        QTextDocument document;
        document.setHtml(shown);
        QCOMPARE(Qt::mightBeRichText(shown) ? document.toPlainText() : shown, expected);
        // Switched off, a tip showing hides and both grids' texts clear; on
        // again, none is set until the pointer moves.
        QToolTip::showText(grid->viewport()->mapToGlobal(at), grid->ToolTipText(), grid->viewport());
        QTRY_VERIFY(QToolTip::isVisible());
        w.grid(1)->SetToolTipText(QStringLiteral("one"));
        QCheckBox* tooltips = w.child<QCheckBox>(QStringLiteral("chkTooltip"));
        tooltips->setChecked(false);  // not by a click or key, which would hide the tip by themselves
        QVERIFY(w.grid(1)->ToolTipText().isEmpty() && grid->ToolTipText().isEmpty());
        QTRY_VERIFY(!QToolTip::isVisible());
        tooltips->setChecked(true);
        QVERIFY(grid->ToolTipText().isEmpty());
        // Off, a move leaves a text set afterwards alone.
        tooltips->setChecked(false);
        grid->SetToolTipText(QStringLiteral("before"));
        QCoreApplication::sendEvent(grid->viewport(), &move);
        QCOMPARE(grid->ToolTipText(), QStringLiteral("before"));
    }

    void clickSelectsTheRowInBothGrids_data()
    {
        QTest::addColumn<Click>("c");
        // Bar mark: [S x (row - 1)] with S = single(191 / 152) = 1.2565789.
        QTest::newRow("unchanged") << Click{false, 1, 0, Marker::Arrow, "", "same 1|kkkkkk", "same 1|kkkkkk"};
        QTest::newRow("changed") << Click{true, 2, 1, Marker::DifferArrow, "", "abc|kkr", "abd|kkr"};
        QTest::newRow("orphan in one") << Click{true, 4, 4, Marker::OrphanArrow, "", "only one|rrrrrrrr", "|"};
        QTest::newRow("letter case") << Click{
            false, 6, 6, Marker::DifferArrow, "space", "Hello World|rkkkkkrkkkk", "hello world|rkkkkkrkkkk"};
        QTest::newRow("letter case ignored")
            << Click{true, 6, 6, Marker::DifferArrow, "case", "Hello World|kkkkkkkkkkk", "hello world|kkkkkkkkkkk"};
        QTest::newRow("white space ignored: no marker")
            << Click{false, 7, 8, Marker::DifferArrow, "space", "a b|kkk", "a  b|krkk"};
        QTest::newRow("filler in a changed block") << Click{true, 9, 10, Marker::DifferArrow, "", "|", "extra|rrrrr"};
        // Grid one's cell has no colour of its own here: the plain arrow.
        QTest::newRow("orphan in two") << Click{true, 151, 188, Marker::Arrow, "", "|", "tail|rrrr"};
        QTest::newRow("trailing row") << Click{false, 152, 190, Marker::Arrow, "", "|", "|"};
    }

    void clickSelectsTheRowInBothGrids()
    {
        QFETCH(Click, c);
        const QString ignore = QString::fromUtf8(c.ignore);
        gOptions->IgnoreCase = ignore.contains(QLatin1String("case"));
        gOptions->IgnoreWhiteSpace = ignore.contains(QLatin1String("space"));
        VGrid* clicked = w.grid(c.inGridTwo ? 2 : 1);
        clicked->SetTopRow(c.row);
        ClickRow(clicked, c.row);
        QCOMPARE(Selection(), All(c.row));
        QVERIFY(Shows(c.row, c.marker));
        QVERIFY(w.grid(2)->CellPicture(c.row).isNull() && w.grid(1)->CellPicture(c.row == 2 ? 3 : 2).isNull());
        QCOMPARE(MarkY(), std::optional<double>(c.markY));
        for (int pane = 1; pane <= 2; ++pane) {
            const LineDiffView* box = w.pane(pane);
            QCOMPARE(Detail(pane), QString::fromUtf8(pane == 1 ? c.one : c.two));
            QVERIFY(!box->hasSelectedText() && box->cursorPosition() == 0 && box->updatesEnabled());
        }
        QVERIFY(!w.hourglass() && w.prompts->messages.isEmpty());
    }

    // Either grid scrolled, in code or by its scroll bar, scrolls the
    // other: one exchange, each grid scrolled once, and no selection moved.
    void scrollingFollowsBothWays()
    {
        for (const bool fromGridTwo : {false, true}) {
            VGrid* from = w.grid(fromGridTwo ? 2 : 1);
            VGrid* to = w.grid(fromGridTwo ? 1 : 2);
            QSignalSpy fromScrolls(from, &VGrid::Scroll);
            QSignalSpy toScrolls(to, &VGrid::Scroll);
            QScrollBar* bar = from->verticalScrollBar();
            const int before = from->TopRow();
            if (fromGridTwo)
                QTest::mouseClick(bar, Qt::LeftButton, {}, QPoint(bar->width() / 2, bar->height() - 30));
            else
                from->SetTopRow(40);
            QVERIFY(from->TopRow() > before);
            QCOMPARE(std::tuple(to->TopRow(), fromScrolls.size(), toScrolls.size()),
                     std::tuple(from->TopRow(), qsizetype(1), qsizetype(1)));
        }
        QCOMPARE(Selection(), All(2));
    }

    // Every block painted on the bar (N = 152, H = 191: tops [191 (row - 1)
    // / 152], heights [S count]); the mark of the selected row, red beside
    // the bar; bar clicks selecting row [y / S] (row 1 for 0), the mark
    // staying where the click was.
    void bar()
    {
        DiffBarWidget* bar = Bar();
        auto* container = w.child<DiffBarFrame>(QStringLiteral("pctContainer"));
        const QColor window = w.form->palette().color(QPalette::Base);
        const QColor changed(221, 221, 255);
        const QColor orphan(255, 225, 196);
        const std::pair<int, QColor> pixels[] = {{0, window},  {1, changed},  {2, window},   {3, window},
                                                 {4, orphan},  {5, window},   {6, changed},  {10, changed},
                                                 {11, window}, {187, window}, {188, orphan}, {189, window}};
        const QImage painted = bar->grab().toImage();
        for (const auto& [y, colour] : pixels)
            QCOMPARE(painted.pixelColor(painted.width() - 1, y), colour);
        w.action("mnuFileShowLastDiff")->trigger();
        QCOMPARE(MarkY(), std::optional<double>(188));
        const QImage beside = container->grab().toImage();
        const QColor mark = WindowColors::BarMark(container->palette());
        QString column;  // from y 180 on: the mark three pixels thick, centred on 188
        for (int y = 180; y < 196; ++y)
            column += beside.pixelColor(1, y) == mark ? u'm' : u'.';
        QCOMPARE(column, QStringLiteral(".......mmm......"));
        QCOMPARE(beside.pixelColor(1, 100), container->palette().color(QPalette::Window));
        int previous = 151;
        for (const auto& [y, row] : {std::pair{100, 80}, {0, 1}, {190, 151}}) {
            QTest::mouseClick(bar, Qt::LeftButton, {}, QPoint(5, y));
            QCOMPARE(Selection(), All(row));
            QVERIFY(w.grid(1)->RowIsVisible(row) && w.grid(1)->CellPicture(previous).isNull());
            QCOMPARE(w.pane(2)->toPlainText(), w.grid(2)->TextMatrix(row).section(u'.', 1));
            QCOMPARE(MarkY(), std::optional<double>(y));
            previous = row;
        }
        // The pointer over the bar points with the middle of its red crossbar.
        const QCursor pointer = bar->cursor();
        const QImage arrow = pointer.pixmap().toImage();
        int left = arrow.width(), right = -1;
        for (int x = 0; x < arrow.width(); ++x)
            if (arrow.pixelColor(x, pointer.hotSpot().y()) == QColor(Qt::red)) {
                left = std::min(left, x);
                right = x;
            }
        QVERIFY(right - left > 8);
        QCOMPARE(pointer.hotSpot().x(), (left + right) / 2);
    }

    void navigation_data()
    {
        QTest::addColumn<Move>("m");
        QTest::newRow("previous from row 1") << Move{1, 1, 0, "previous", "Previous Difference", false};
        QTest::newRow("previous inside a block") << Move{7, 7, 6, "previous", "", true};
        QTest::newRow("next inside a block") << Move{7, 1, 151, "next", "", true};
        QTest::newRow("next on last block") << Move{151, 145, 0, "next", "Next Difference", false};
        QTest::newRow("previous after last block") << Move{152, 145, 151, "previous", "", false};
        QTest::newRow("first, in view") << Move{4, 1, 2, "first", "", false};
        QTest::newRow("first, out of view") << Move{130, 120, 2, "first", "", true};
        QTest::newRow("last") << Move{1, 1, 151, "last", "", true};
        QTest::newRow("Shift+F7") << Move{4, 4, 2, "Shift+F7", "", true};
    }

    void navigation()
    {
        QFETCH(Move, m);
        const auto [from, top, to, command, title, scrolls] = m;
        VGrid* one = w.grid(1);
        one->SetTopRow(top);
        w.selectRow(from);
        const int before = one->TopRow();
        w.prompts->messages.clear();
        RunCommand(QString::fromUtf8(command));
        const int expected = to == 0 ? from : to;
        QCOMPARE(Selection(), All(expected));
        QVERIFY(one->RowIsVisible(expected) && !one->CellPicture(expected).isNull());
        QCOMPARE(w.pane(2)->toPlainText(), w.grid(2)->TextMatrix(expected).section(u'.', 1));
        // Scrolled only when out of view, to show the row first as far as
        // the grid can go.
        QCOMPARE(one->TopRow() != before, scrolls);
        if (scrolls)
            QCOMPARE(one->TopRow(), std::min(expected, one->Rows() - one->VisibleRowCount()));
        QVERIFY(!w.hourglass());
        QCOMPARE(w.told(), to == 0 ? QString::fromUtf8(title) + ": No more differences" : QString());
    }

    // A busy window ignores Next and Previous; a hidden one moves but says
    // nothing. A row moved to by the keyboard alone is where they start.
    void busyHiddenOrMovedByKeys()
    {
        w.selectRow(4);
        // Each is checked alone: Next and Previous run both would cancel out.
        QGuiApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
        for (const char* command : {"next", "previous"}) {
            RunCommand(QString::fromLatin1(command));
            QCOMPARE(Row(), 4);
        }
        QGuiApplication::restoreOverrideCursor();
        QTest::keyClick(w.grid(1), Qt::Key_Down);  // row 5: the marker stays on row 4
        QCOMPARE(Selection(), std::tuple(5, 5, 4, 4));
        RunCommand(QStringLiteral("previous"));
        QCOMPARE(Row(), 4);
        w.selectRow(151);
        w.form->hide();
        RunCommand(QStringLiteral("next"));
        QVERIFY(w.prompts->messages.isEmpty());
        RunCommand(QStringLiteral("previous"));
        QCOMPARE(Row(), 6);
    }

    // Bookmarks toggled by Ctrl+F2 (k), toolbar button 12 (b) or a double click (d).
    void bookmarks()
    {
        VGrid* one = w.grid(1);
        const auto toggleRow = [&](int row, char route) {
            w.selectRow(row);
            if (route == 'k')
                w.key(Qt::Key_F2, Qt::ControlModifier);
            else if (route == 'b')
                QTest::mouseClick(w.button(12), Qt::LeftButton);
            else
                QTest::mouseDClick(w.grid(2)->viewport(), Qt::LeftButton, {}, QPoint(30, RowY(one, row)));
        };
        toggleRow(140, 'k');
        toggleRow(7, 'b');
        toggleRow(19, 'd');
        QCOMPARE(w.Model().Bookmarks(), (std::vector<std::int32_t>{7, 19, 140}));
        // A bookmark left keeps its picture; the current row's shows the arrow.
        QCOMPARE(std::pair(Shows(7, Marker::Bookmark), Shows(19, Marker::BookmarkArrow)), std::pair(true, true));
        // Row 9 is a filler in grid one's changed block: bookmarked like any
        // other (the bookmark wins over the colour), and toggled twice it
        // is left with the arrow of its kind.
        toggleRow(9, 'b');
        QVERIFY(Shows(9, Marker::BookmarkArrow));
        toggleRow(9, 'd');
        QVERIFY(Shows(9, Marker::DifferArrow));
        QCOMPARE(w.Model().Bookmarks(), (std::vector<std::int32_t>{7, 19, 140}));
        // F2 from row 10 (in view); the far one scrolls into view at the top.
        one->SetTopRow(1);
        w.selectRow(10);
        w.key(Qt::Key_F2);
        QVERIFY(Row() == 19 && w.grid(2)->Row() == 19 && one->TopRow() == 1);
        w.key(Qt::Key_F2);
        QVERIFY(Row() == 140 && one->TopRow() == std::min(140, one->Rows() - one->VisibleRowCount()));
        // No wrap-around either way; every message since the start is below.
        w.key(Qt::Key_F2);
        QCOMPARE(Row(), 140);
        w.selectRow(3);
        w.action("mnuFilePreviousBookmark")->trigger();
        w.key(Qt::Key_F2, Qt::ShiftModifier);
        QCOMPARE(w.told(), QStringLiteral("Next Bookmark: No more bookmarks\nPrevious Bookmark: No more bookmarks\n"
                                          "Previous Bookmark: No more bookmarks"));
        // Clear All on a bookmarked current row: its plain arrow, no picture elsewhere.
        w.selectRow(140);
        w.action("mnuFileClearAllBookmarks")->trigger();
        QVERIFY(w.Model().Bookmarks().empty() && Row() == 140);
        QVERIFY(Shows(140, Marker::Arrow));
        QVERIFY(one->CellPicture(7).isNull() && one->CellPicture(19).isNull());
        QVERIFY(!BookmarkNavigationEnabled() && w.action("mnuFileToggleBookmark")->isEnabled());
        // One bookmark, on the grid's last row, is enough to enable them.
        const int last = one->Rows() - 1;
        toggleRow(last, 'k');
        QCOMPARE(w.Model().Bookmarks(), std::vector<std::int32_t>{last});
        QVERIFY(BookmarkNavigationEnabled());
    }

    void find_data()
    {
        QTest::addColumn<int>("from");
        QTest::addColumn<QString>("answer");  // "<cancel>" cancels the box
        QTest::addColumn<int>("found");       // 0: not found
        QTest::addColumn<QString>("message");
        QTest::addColumn<QStringList>("marked");  // the text selected in each box of the detail pane
        const QStringList none{"", ""};
        QTest::newRow("only above") << 100 << "same 3" << 3 << "" << QStringList{"same 3", "same 3"};
        QTest::newRow("in File Two only") << 1 << "EXTRA" << 9 << "" << QStringList{"", "extra"};
        QTest::newRow("not found from row 1") << 1 << "zzz" << 0 << "Search text was not found." << none;
        QTest::newRow("not found from below")
            << 5 << "zzz" << 0 << "Search text was not found.  Try searching from the beginning of the file." << none;
        QTest::newRow("cancelled") << 5 << "<cancel>" << 0 << "" << none;
        QTest::newRow("empty text") << 5 << "" << 0 << "" << none;
    }

    void find()
    {
        QFETCH(int, from);
        QFETCH(QString, answer);
        QFETCH(int, found);
        QFETCH(QString, message);
        // An earlier successful search, F3 and Shift+F3 repeating it to the
        // first row above that has none: its text is proposed, F3 enabled.
        const QString earlier = QStringLiteral("LINE 1");
        w.prompts->textAnswers = {earlier};
        w.selectRow(2);
        w.key(Qt::Key_F, Qt::ControlModifier);
        QCOMPARE(Row(), 10);  // " 9.line 10"; rows 1..9 hold no "line 1"
        QVERIFY(w.action("mnuFileFindNext")->isEnabled() && w.button(10)->isEnabled());
        w.key(Qt::Key_F3);
        QCOMPARE(std::pair(Row(), w.pane(2)->selectedText()), std::pair(11, QStringLiteral("line 1")));
        w.key(Qt::Key_F3, Qt::ShiftModifier);
        QCOMPARE(Row(), 10);
        w.key(Qt::Key_F3, Qt::ShiftModifier);
        QCOMPARE(w.told(), QStringLiteral("Find: Search text not found"));
        // A repeat leaves the texts alone, and the repeat commands' state (read last).
        QCOMPARE(w.Model().SearchTexts(), QStringList{earlier});
        w.prompts->messages.clear();
        w.selectRow(from);
        w.prompts->textAnswers = {answer == QLatin1String("<cancel>") ? std::optional<QString>() : answer};
        QTest::mouseClick(w.button(8), Qt::LeftButton);
        const InputPrompt& asked = w.prompts->inputs.last();
        QCOMPARE(asked.title + u'|' + asked.text + u'|' + asked.defaultText,
                 "Find|Enter search text.\r\n\r\nPress OK to begin searching from the current line.|" + earlier);
        QCOMPARE(Row(), found ? found : from);
        QCOMPARE(w.prompts->messages.isEmpty() ? QString() : w.prompts->lastMessage().text, message);
        // Only a search that ran changes the repeat commands' state.
        QCOMPARE(w.action("mnuFileFindPrevious")->isEnabled(), found || message.isEmpty());
        QCOMPARE(w.Model().SearchTexts().last(), found ? answer : earlier);
        QTEST(QStringList({w.pane(1)->selectedText(), w.pane(2)->selectedText()}), "marked");
    }
};

QTEST_MAIN(tst_SelectionNavigation)
#include "tst_SelectionNavigation.moc"
#include "moc_WindowFixture.cpp"
