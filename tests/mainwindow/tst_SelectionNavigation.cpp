// The result grids after a comparison: selecting rows by click, the row
// marker, the detail pane and scroll synchronisation; the difference bar,
// the difference navigation commands, bookmarks and Find.

#include "WindowFixture.h"
#include "mainwindow/WindowColors.h"

#include <QScrollBar>
#include <QSignalSpy>
#include <QTextDocument>
#include <QToolTip>

using namespace modVantrel;
using namespace ShownComparison;

namespace {

enum Picture { Arrow, DifferArrow, OrphanArrow };

// A row clicked in the comparison of Show: grid one's picture, the bar mark,
// each detail line as "text|looks", u when the row is unchanged, e when the
// selected line is empty.
struct Click {
    bool inGridTwo;
    int row;
    const char* ignore;
    Picture picture;
    int markY;
    const char* one;
    const char* two;
    const char* unchangedEmpty;
};

// A navigation command run from a selected row with the grids scrolled to
// `top`; `to` 0: the selection stays, with a message of that title.
struct Move {
    int from;
    int top;
    const char* command;
    int to;
    const char* title;
    bool scrolls;
};

QColor PixelAt(QWidget* widget, int x, int y)
{
    return widget->grab().toImage().pixelColor(x, y);
}

}  // namespace

Q_DECLARE_METATYPE(Click)
Q_DECLARE_METATYPE(Move)

class tst_SelectionNavigation : public QObject {
    Q_OBJECT

    WindowFixture w;
    frmFileDiffs* m_form = nullptr;

    // A navigation command by its menu handler, a bar click or its key.
    void RunCommand(const QString& command)
    {
        if (command == QLatin1String("next"))
            m_form->mnuFileShowNextDiff_Click();
        else if (command == QLatin1String("previous"))
            m_form->mnuFileShowPreviousDiff_Click();
        else if (command == QLatin1String("last"))
            m_form->mnuFileShowLastDiff_Click();
        else if (command.startsWith(QLatin1String("first"))) {
            if (command.contains(QLatin1String("not redrawing"))) {  // as Compare ends
                m_form->grdFileOne->SetRedraw(false);
                m_form->grdFileTwo->SetRedraw(false);
            }
            m_form->mnuFileShowFirstDiff_Click();
        } else if (command == QLatin1String("bar"))
            QTest::mouseClick(m_form->pctDiffsBar, Qt::LeftButton, {}, QPoint(5, 100));
        else
            w.key(Qt::Key_F7, command == QLatin1String("F7") ? Qt::NoModifier : Qt::ShiftModifier);
    }

    qint64 PictureKey(int row) const { return m_form->grdFileOne->CellPicture(row).cacheKey(); }
    // Next, Previous and Clear All share one enabled state (their buttons
    // follow the items: checked with the other commands in tst_frmFileDiffs).
    bool BookmarkNavigationEnabled() const
    {
        return m_form->mnuFileNextBookmark->isEnabled() && m_form->mnuFilePreviousBookmark->isEnabled()
               && m_form->mnuFileClearAllBookmarks->isEnabled();
    }

private slots:
    void init()
    {
        w.setUp();
        m_form = &w.load(true);
        QCOMPARE(m_form->pctDiffsBar->height(), 191);
    }
    void cleanup() { w.tearDown(); }

    void beforeAComparison()
    {
        VGrid* grid = m_form->grdFileTwo;
        ClickRow(grid, 1);
        QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, QPoint(30, RowY(grid, 1)));
        ClickRow(grid, 1, Qt::RightButton);
        RunCommand(QStringLiteral("first"));
        RunCommand(QStringLiteral("last"));
        QVERIFY(w.prompts->messages.isEmpty());
        RunCommand(QStringLiteral("bar"));
        QCOMPARE(w.prompts->messages.size(), 1);
        QCOMPARE(w.prompts->lastMessage().title, QStringLiteral("Navigate Differences"));
        QCOMPARE(w.prompts->lastMessage().text, QStringLiteral("This feature only works when two files have been "
                                                               "compared and there are differences."));
        QCOMPARE(w.prompts->lastMessage().icon, PromptIcon::Information);
        QVERIFY(m_form->Model().MarkedRow() == 0 && m_form->grdFileOne->Row() == 1);
        QVERIFY(m_form->grdFileOne->CellPicture(1).isNull() && !m_form->pctContainer->MarkY());
        QVERIFY(!m_form->mnuFile->isVisible());
        QCOMPARE(m_form->rtfLineDiff[0]->toPlainText(), frmFileDiffs::kDetailPaneHint);
        QCOMPARE(Looks(*m_form->rtfLineDiff[0]), QString(frmFileDiffs::kDetailPaneHint.size(), u'k'));
    }

    void tooltips_data()
    {
        QTest::addColumn<bool>("on");
        QTest::addColumn<QString>("rowText");
        QTest::addColumn<QString>("expected");  // null: left as it was
        const QString x255(255, u'x');
        QTest::newRow("long row cut, ellipsis added") << true << QString(300, u'x') << x255 + QChar(0x2026);
        QTest::newRow("255 characters whole") << true << x255 << x255;
        QTest::newRow("markup shown as text")
            << true << QStringLiteral(" 2.<b>a</b>  b") << QStringLiteral(" 2.<b>a</b>  b");
        QTest::newRow("switched off") << false << QString(300, u'x') << QString();
    }

    void tooltips()
    {
        QFETCH(bool, on);
        QFETCH(QString, rowText);
        QFETCH(QString, expected);
        Show(*m_form);
        VGrid* grid = m_form->grdFileTwo;
        grid->SetTextMatrix(3, rowText);
        // Switching tooltips off clears them; a text set afterwards stays.
        m_form->chkTooltip->setChecked(on);
        grid->SetToolTipText(QStringLiteral("before"));
        const QPoint at(30, RowY(grid, 3));
        QMouseEvent move(QEvent::MouseMove, at, grid->viewport()->mapToGlobal(at), Qt::NoButton, Qt::NoButton, {});
        QCoreApplication::sendEvent(grid->viewport(), &move);
        QCOMPARE(grid->MouseRow(), 3);
        const QString tip = expected.isNull() ? QStringLiteral("before") : expected;
        QCOMPARE(grid->ToolTipText(), tip);
        // What the tooltip shows, read back as plain text.
        const QString shown = grid->viewport()->toolTip();
        QTextDocument document;
        document.setHtml(shown);
        QCOMPARE(Qt::mightBeRichText(shown) ? document.toPlainText() : shown, tip);
        if (!on)
            return;
        // Switched off, a tip showing hides and both grids' texts clear; on
        // again, none is set until the pointer moves.
        QToolTip::showText(grid->viewport()->mapToGlobal(at), grid->ToolTipText(), grid->viewport());
        QTRY_VERIFY(QToolTip::isVisible());
        m_form->grdFileOne->SetToolTipText(QStringLiteral("one"));
        m_form->chkTooltip->setChecked(false);  // not by a click or key, which would hide the tip by themselves
        QVERIFY(m_form->grdFileOne->ToolTipText().isEmpty() && grid->ToolTipText().isEmpty());
        QTRY_VERIFY(!QToolTip::isVisible());
        m_form->chkTooltip->setChecked(true);
        QVERIFY(grid->ToolTipText().isEmpty());
    }

    void clickSelectsTheRowInBothGrids_data()
    {
        QTest::addColumn<Click>("c");
        // Bar mark: [S x (row - 1)] with S = single(191 / 152) = 1.2565789.
        QTest::newRow("unchanged") << Click{false, 1, "", Arrow, 0, "same 1|kkkkkk", "same 1|kkkkkk", "u"};
        QTest::newRow("changed") << Click{true, 2, "", DifferArrow, 1, "abc|kkr", "abd|kkr", ""};
        QTest::newRow("orphan in one") << Click{true, 3, "", OrphanArrow, 3, "only one|rrrrrrrr", "|", "e"};
        QTest::newRow("letter case") << Click{
            false, 5, "space", DifferArrow, 5, "Hello World|rkkkkkrkkkk", "hello world|rkkkkkrkkkk", ""};
        QTest::newRow("letter case ignored")
            << Click{true, 5, "case", DifferArrow, 5, "Hello World|kkkkkkkkkkk", "hello world|kkkkkkkkkkk", ""};
        QTest::newRow("one more space") << Click{true, 6, "case", DifferArrow, 6, "a b|kkk", "a  b|kukk", ""};
        QTest::newRow("white space ignored: no marker")
            << Click{false, 6, "space", DifferArrow, 6, "a b|kkk", "a  b|krkk", ""};
        QTest::newRow("opposite an empty line") << Click{false, 7, "", DifferArrow, 8, "keep|rrrr", "|", "e"};
        QTest::newRow("filler in a changed block") << Click{true, 8, "", DifferArrow, 9, "|", "extra|rrrrr", "e"};
        // Grid one's cell has no colour of its own here: the plain arrow.
        QTest::newRow("orphan in two") << Click{true, 151, "", Arrow, 188, "|", "tail|rrrr", "e"};
        QTest::newRow("trailing row") << Click{false, 152, "", Arrow, 190, "|", "|", "ue"};
    }

    void clickSelectsTheRowInBothGrids()
    {
        QFETCH(Click, c);
        Show(*m_form);
        const QString ignore = QString::fromUtf8(c.ignore);
        gOptions->IgnoreCase = ignore.contains(QLatin1String("case"));
        gOptions->IgnoreWhiteSpace = ignore.contains(QLatin1String("space"));
        VGrid* clicked = c.inGridTwo ? m_form->grdFileTwo : m_form->grdFileOne;
        clicked->SetTopRow(c.row);
        ClickRow(clicked, c.row);
        QCOMPARE(m_form->grdFileOne->Row(), c.row);
        QCOMPARE(m_form->grdFileTwo->Row(), c.row);
        QCOMPARE(m_form->Model().MarkedRow(), c.row);
        const QPixmap* pictures[] = {&m_form->pctArrow, &m_form->pctDifferArrow, &m_form->pctOrphanArrow};
        QCOMPARE(m_form->grdFileOne->CellPicture(c.row).cacheKey(), pictures[c.picture]->cacheKey());
        QVERIFY(m_form->grdFileTwo->CellPicture(c.row).isNull());
        QCOMPARE(m_form->pctContainer->MarkY(), std::optional<double>(c.markY));
        for (int pane = 0; pane < 2; ++pane) {
            const LineDiffView* box = m_form->rtfLineDiff[pane];
            QCOMPARE(box->toPlainText() + u'|' + Looks(*box), QString::fromUtf8(pane == 0 ? c.one : c.two));
            QVERIFY(!box->hasSelectedText() && box->cursorPosition() == 0 && box->updatesEnabled());
        }
        QCOMPARE(m_form->SelectedRowIsUnchanged(), QByteArray(c.unchangedEmpty).contains('u'));
        QCOMPARE(m_form->SelectedLineIsEmpty(), QByteArray(c.unchangedEmpty).contains('e'));
        QVERIFY(!m_form->HourglassShown() && w.prompts->messages.isEmpty());
    }

    // Either grid scrolled, in code or by its scroll bar, scrolls the
    // other: one exchange, each grid scrolled once, and no selection moved.
    void scrollingFollowsBothWays()
    {
        Show(*m_form);
        for (const bool fromGridTwo : {false, true}) {
            VGrid* from = fromGridTwo ? m_form->grdFileTwo : m_form->grdFileOne;
            VGrid* to = fromGridTwo ? m_form->grdFileOne : m_form->grdFileTwo;
            QSignalSpy fromScrolls(from, &VGrid::Scroll);
            QSignalSpy toScrolls(to, &VGrid::Scroll);
            QScrollBar* bar = from->verticalScrollBar();
            const int before = from->TopRow();
            if (fromGridTwo)
                QTest::mouseClick(bar, Qt::LeftButton, {}, QPoint(bar->width() / 2, bar->height() - 30));
            else
                from->SetTopRow(40);
            QVERIFY(from->TopRow() > before);
            QCOMPARE(to->TopRow(), from->TopRow());
            QCOMPARE(fromScrolls.size(), 1);
            QCOMPARE(toScrolls.size(), 1);
        }
        QCOMPARE(m_form->Model().MarkedRow(), 0);
    }

    // Every block painted on the bar (N = 152, H = 191: tops [191 (row - 1)
    // / 152], heights [S count]); the mark of the selected row, red beside
    // the bar; bar clicks selecting row [y / S] (row 1 for 0), the mark
    // staying where the click was.
    void bar()
    {
        Show(*m_form);
        const QColor window = m_form->palette().color(QPalette::Base);
        const QColor changed(221, 221, 255);
        const QColor orphan(255, 225, 196);
        const std::pair<int, QColor> pixels[] = {{0, window},   {1, changed},  {2, window},  {3, orphan},
                                                 {4, window},   {5, changed},  {9, changed}, {10, window},
                                                 {187, window}, {188, orphan}, {189, window}};
        for (const auto& [y, colour] : pixels)
            QCOMPARE(PixelAt(m_form->pctDiffsBar, m_form->pctDiffsBar->width() - 1, y), colour);
        m_form->mnuFileShowLastDiff_Click();
        QCOMPARE(m_form->pctContainer->MarkY(), std::optional<double>(188));
        QCOMPARE(PixelAt(m_form->pctContainer, 1, 188), WindowColors::BarMark(m_form->pctContainer->palette()));
        QCOMPARE(PixelAt(m_form->pctContainer, 1, 100), m_form->pctContainer->palette().color(QPalette::Window));
        int previous = 151;
        for (const auto& [y, row] : {std::pair{100, 80}, {0, 1}, {190, 151}}) {
            QTest::mouseClick(m_form->pctDiffsBar, Qt::LeftButton, {}, QPoint(5, y));
            QCOMPARE(m_form->grdFileOne->Row(), row);
            QCOMPARE(m_form->grdFileTwo->Row(), row);
            QCOMPARE(m_form->Model().MarkedRow(), row);
            QVERIFY(m_form->grdFileOne->RowIsVisible(row) && m_form->grdFileOne->CellPicture(previous).isNull());
            QCOMPARE(m_form->grdFileTwo->TopRow(), m_form->grdFileOne->TopRow());
            QCOMPARE(m_form->rtfLineDiff[1]->toPlainText(), m_form->grdFileTwo->TextMatrix(row).section(u'.', 1));
            QCOMPARE(m_form->pctContainer->MarkY(), std::optional<double>(y));
            previous = row;
        }
        QVERIFY(w.prompts->messages.isEmpty());
    }

    void navigation_data()
    {
        QTest::addColumn<Move>("m");
        QTest::newRow("next from row 1") << Move{1, 1, "next", 2, "", false};
        QTest::newRow("previous from row 1") << Move{1, 1, "previous", 0, "Previous Difference", false};
        QTest::newRow("previous inside a block") << Move{7, 7, "previous", 5, "", true};
        QTest::newRow("next inside a block") << Move{7, 1, "next", 151, "", true};
        QTest::newRow("next on last block") << Move{151, 145, "next", 0, "Next Difference", false};
        QTest::newRow("previous after last block") << Move{152, 145, "previous", 151, "", false};
        QTest::newRow("first, in view") << Move{4, 1, "first", 2, "", false};
        QTest::newRow("first, out of view") << Move{130, 120, "first", 2, "", true};
        QTest::newRow("last") << Move{1, 1, "last", 151, "", true};
        QTest::newRow("first, not redrawing") << Move{130, 120, "first, not redrawing", 2, "", true};
        QTest::newRow("F7") << Move{4, 4, "F7", 5, "", false};
        QTest::newRow("Shift+F7") << Move{4, 4, "Shift+F7", 3, "", true};
    }

    void navigation()
    {
        QFETCH(Move, m);
        const auto [from, top, command, to, title, scrolls] = m;
        Show(*m_form);
        VGrid* one = m_form->grdFileOne;
        one->SetTopRow(top);
        w.selectRow(from);
        const int before = one->TopRow();
        RunCommand(QString::fromUtf8(command));
        const int expected = to == 0 ? from : to;
        QCOMPARE(one->Row(), expected);
        QCOMPARE(m_form->grdFileTwo->Row(), expected);
        QCOMPARE(m_form->Model().MarkedRow(), expected);
        QVERIFY(one->RowIsVisible(expected) && !one->CellPicture(expected).isNull());
        QCOMPARE(m_form->rtfLineDiff[1]->toPlainText(), m_form->grdFileTwo->TextMatrix(expected).section(u'.', 1));
        // Scrolled only when out of view, to show the row first as far as
        // the grid can go.
        QCOMPARE(one->TopRow() != before, scrolls);
        if (scrolls)
            QCOMPARE(one->TopRow(), std::min(expected, one->Rows() - one->VisibleRowCount()));
        QCOMPARE(m_form->grdFileTwo->TopRow(), one->TopRow());
        QVERIFY(!m_form->HourglassShown());
        QCOMPARE(w.prompts->messages.size(), to == 0 ? 1 : 0);
        if (to == 0) {
            QCOMPARE(w.prompts->lastMessage().title, QString::fromUtf8(title));
            QCOMPARE(w.prompts->lastMessage().text, QStringLiteral("No more differences"));
        }
    }

    // A busy window ignores Next and Previous; a hidden one moves but says nothing.
    void busyOrHiddenWindow()
    {
        Show(*m_form);
        w.selectRow(4);
        QGuiApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
        RunCommand(QStringLiteral("next"));
        RunCommand(QStringLiteral("previous"));
        QGuiApplication::restoreOverrideCursor();
        QCOMPARE(m_form->grdFileOne->Row(), 4);
        w.selectRow(151);
        m_form->hide();
        RunCommand(QStringLiteral("next"));
        QVERIFY(w.prompts->messages.isEmpty());
        RunCommand(QStringLiteral("previous"));
        QCOMPARE(m_form->grdFileOne->Row(), 5);
    }

    // Bookmarks toggled by Ctrl+F2 (k), toolbar button 12 (b) or a double click (d).
    void bookmarks()
    {
        Show(*m_form);
        VGrid* one = m_form->grdFileOne;
        const auto toggleRow = [&](int row, char route) {
            one->SetTopRow(row);
            w.selectRow(row);
            if (route == 'k')
                w.key(Qt::Key_F2, Qt::ControlModifier);
            else if (route == 'b')
                QTest::mouseClick(m_form->ToolbarButton(12), Qt::LeftButton);
            else
                QTest::mouseDClick(m_form->grdFileTwo->viewport(), Qt::LeftButton, {}, QPoint(30, RowY(one, row)));
        };
        toggleRow(140, 'k');
        toggleRow(7, 'b');
        toggleRow(19, 'd');
        QCOMPARE(m_form->Model().Bookmarks(), (std::vector<std::int32_t>{7, 19, 140}));
        QVERIFY(BookmarkNavigationEnabled());
        // A bookmark left keeps its picture; the current row's shows the arrow.
        QCOMPARE(PictureKey(7), m_form->pctBookmark.cacheKey());
        QCOMPARE(PictureKey(19), m_form->pctBookmarkArrow.cacheKey());
        // Row 8 is a filler in grid one's changed block: bookmarked like any
        // other (the bookmark wins over the colour), and toggled twice it
        // is left with the arrow of its kind.
        toggleRow(8, 'b');
        QCOMPARE(PictureKey(8), m_form->pctBookmarkArrow.cacheKey());
        toggleRow(8, 'd');
        QCOMPARE(PictureKey(8), m_form->pctDifferArrow.cacheKey());
        QCOMPARE(m_form->Model().Bookmarks(), (std::vector<std::int32_t>{7, 19, 140}));
        // F2 from row 10 (in view); the far one scrolls into view at the top.
        one->SetTopRow(1);
        w.selectRow(10);
        w.key(Qt::Key_F2);
        QVERIFY(one->Row() == 19 && m_form->grdFileTwo->Row() == 19 && one->TopRow() == 1);
        w.key(Qt::Key_F2);
        QVERIFY(one->Row() == 140 && one->TopRow() == std::min(140, one->Rows() - one->VisibleRowCount()));
        QCOMPARE(m_form->grdFileTwo->TopRow(), one->TopRow());
        QCOMPARE(m_form->rtfLineDiff[0]->toPlainText(), QStringLiteral("line 140"));
        QVERIFY(w.prompts->messages.isEmpty());
        // No wrap-around either way.
        w.key(Qt::Key_F2);
        QCOMPARE(w.prompts->lastMessage().title, QStringLiteral("Next Bookmark"));
        QCOMPARE(w.prompts->lastMessage().text, QStringLiteral("No more bookmarks"));
        QCOMPARE(one->Row(), 140);
        w.selectRow(3);
        m_form->mnuFilePreviousBookmark_Click();
        QCOMPARE(w.prompts->lastMessage().title, QStringLiteral("Previous Bookmark"));
        w.key(Qt::Key_F2, Qt::ShiftModifier);
        QCOMPARE(w.prompts->messages.size(), 3);
        // Clear All on a bookmarked current row: its plain arrow, no picture elsewhere.
        w.selectRow(140);
        m_form->mnuFileClearAllBookmarks_Click();
        QVERIFY(m_form->Model().Bookmarks().empty() && one->Row() == 140);
        QCOMPARE(PictureKey(140), m_form->pctArrow.cacheKey());
        QVERIFY(one->CellPicture(7).isNull() && one->CellPicture(19).isNull());
        QVERIFY(!BookmarkNavigationEnabled() && m_form->mnuFileToggleBookmark->isEnabled());
    }

    void find_data()
    {
        QTest::addColumn<int>("from");
        QTest::addColumn<QString>("answer");  // "<cancel>" cancels the box
        QTest::addColumn<int>("found");       // 0: not found
        QTest::addColumn<QString>("message");
        QTest::newRow("below, case ignored") << 1 << "LINE 20" << 20 << "";
        QTest::newRow("only above") << 100 << "same 4" << 4 << "";
        QTest::newRow("not found from row 1") << 1 << "zzz" << 0 << "Search text was not found.";
        QTest::newRow("not found from below")
            << 5 << "zzz" << 0 << "Search text was not found.  Try searching from the beginning of the file.";
        QTest::newRow("cancelled") << 5 << "<cancel>" << 0 << "";
        QTest::newRow("empty text") << 5 << "" << 0 << "";
    }

    void find()
    {
        QFETCH(int, from);
        QFETCH(QString, answer);
        QFETCH(int, found);
        QFETCH(QString, message);
        Show(*m_form);
        // An earlier successful search: its text is proposed, F3 enabled.
        w.selectRow(1);
        w.prompts->textAnswers = {QStringLiteral("line 150")};
        w.key(Qt::Key_F, Qt::ControlModifier);
        QCOMPARE(m_form->grdFileOne->Row(), 150);
        QVERIFY(m_form->mnuFileFindNext->isEnabled() && m_form->ToolbarButton(10)->isEnabled());
        w.selectRow(from);
        w.prompts->textAnswers = {answer == QLatin1String("<cancel>") ? std::optional<QString>() : answer};
        QTest::mouseClick(m_form->ToolbarButton(8), Qt::LeftButton);
        const InputPrompt& asked = w.prompts->inputs.last();
        QCOMPARE(asked.title, QStringLiteral("Find"));
        QCOMPARE(asked.text,
                 QStringLiteral("Enter search text.\r\n\r\nPress OK to begin searching from the current line."));
        QCOMPARE(asked.defaultText, QStringLiteral("line 150"));
        QCOMPARE(m_form->grdFileOne->Row(), found ? found : from);
        QCOMPARE(m_form->grdFileTwo->Row(), m_form->grdFileOne->Row());
        QCOMPARE(m_form->Model().MarkedRow(), m_form->grdFileOne->Row());
        QCOMPARE(w.prompts->messages.isEmpty() ? QString() : w.prompts->lastMessage().text, message);
        // Only a search that ran changes the repeat commands' state.
        QCOMPARE(m_form->mnuFileFindPrevious->isEnabled(), found || message.isEmpty());
        QCOMPARE(m_form->Model().SearchTexts().last(), found ? answer : QStringLiteral("line 150"));
    }

    void findNextAndPrevious()
    {
        Show(*m_form);
        w.prompts->textAnswers = {QStringLiteral("LINE 1")};
        w.selectRow(2);
        m_form->mnuFileFind_Click();
        QCOMPARE(m_form->grdFileOne->Row(), 10);  // " 9.line 10"; rows 1..9 hold no "line 1"
        w.key(Qt::Key_F3);
        QCOMPARE(m_form->grdFileOne->Row(), 11);
        w.key(Qt::Key_F3, Qt::ShiftModifier);
        QCOMPARE(m_form->grdFileOne->Row(), 10);
        w.key(Qt::Key_F3, Qt::ShiftModifier);
        QCOMPARE(w.prompts->lastMessage().text, QStringLiteral("Search text not found"));
        QCOMPARE(w.prompts->lastMessage().title, QStringLiteral("Find"));
        QVERIFY(m_form->mnuFileFindPrevious->isEnabled());  // a repeat leaves the state alone
        QCOMPARE(m_form->Model().SearchTexts(), QStringList{QStringLiteral("LINE 1")});
    }

    // After the view was reset, the commands find and bookmark nothing.
    void nothingShown()
    {
        Show(*m_form);
        m_form->ResetComparisonView();
        m_form->ToggleBookmark();
        QVERIFY(m_form->Model().Bookmarks().empty());
        w.prompts->textAnswers = {QStringLiteral("line")};
        m_form->mnuFileFind_Click();
        QCOMPARE(w.prompts->lastMessage().text, QStringLiteral("Search text was not found."));
        QCOMPARE(m_form->grdFileOne->Row(), 1);
    }
};

QTEST_MAIN(tst_SelectionNavigation)
#include "tst_SelectionNavigation.moc"
