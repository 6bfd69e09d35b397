// The result grids after a comparison: selecting rows by click, the row
// marker, the detail pane and scroll synchronisation; the difference bar
// and the difference navigation commands.

#include "WindowFixture.h"
#include "mainwindow/WindowColors.h"

#include <QAction>
#include <QCheckBox>
#include <QMenu>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTextDocument>

using namespace modVantrel;
using namespace ShownComparison;

namespace {

QColor PixelAt(QWidget* widget, int x, int y)
{
    return widget->grab().toImage().pixelColor(x, y);
}

}  // namespace

class tst_SelectionNavigation : public QObject {
    Q_OBJECT

    WindowFixture w;
    frmFileDiffs* m_form = nullptr;

    const QPixmap& Picture(const QString& name) const
    {
        const std::pair<const char*, const QPixmap*> pictures[] = {
            {"pctArrow", &m_form->pctArrow}, {"pctDifferArrow", &m_form->pctDifferArrow},
            {"pctOrphanArrow", &m_form->pctOrphanArrow}, {"pctBookmarkArrow", &m_form->pctBookmarkArrow}};
        for (const auto& [key, picture] : pictures)
            if (name == QLatin1String(key))
                return *picture;
        return m_form->pctBookmark;
    }

    void SelectRow(int row)
    {
        m_form->grdFileOne->SetRow(row);
        m_form->grdFileTwo->SetRow(row);
        m_form->RefreshSelection();
    }

    // A navigation command by its menu handler, a bar click or its key.
    void RunCommand(const QString& command)
    {
        if (command == QLatin1String("next"))
            m_form->mnuFileShowNextDiff_Click();
        else if (command == QLatin1String("previous"))
            m_form->mnuFileShowPreviousDiff_Click();
        else if (command == QLatin1String("first"))
            m_form->mnuFileShowFirstDiff_Click();
        else if (command == QLatin1String("last"))
            m_form->mnuFileShowLastDiff_Click();
        else if (command == QLatin1String("first, not redrawing")) {  // as Compare ends
            m_form->grdFileOne->SetRedraw(false);
            m_form->grdFileTwo->SetRedraw(false);
            m_form->mnuFileShowFirstDiff_Click();
        }
        else if (command == QLatin1String("bar"))
            QTest::mouseClick(m_form->pctDiffsBar, Qt::LeftButton, {}, QPoint(5, 100));
        else {
            m_form->activateWindow();
            m_form->grdFileOne->setFocus();
            QTest::keyClick(m_form, Qt::Key_F7, command == QLatin1String("F7") ? Qt::NoModifier : Qt::ShiftModifier);
        }
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
        QCOMPARE(m_form->Model().MarkedRow(), 0);
        QCOMPARE(m_form->grdFileOne->Row(), 1);
        QVERIFY(m_form->grdFileOne->CellPicture(1).isNull());
        QVERIFY(!m_form->pctContainer->MarkY());
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
        QTest::newRow("markup shown as text") << true << QStringLiteral(" 2.<b>a</b>  b") << QStringLiteral(" 2.<b>a</b>  b");
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
    }

    void clickSelectsTheRowInBothGrids_data()
    {
        QTest::addColumn<bool>("inGridTwo");
        QTest::addColumn<int>("row");
        QTest::addColumn<QString>("ignore");  // options set after the comparison was shown
        QTest::addColumn<QString>("picture");
        QTest::addColumn<int>("markY");
        QTest::addColumn<QString>("one");  // detail line: text|looks
        QTest::addColumn<QString>("two");
        QTest::addColumn<QString>("unchangedEmpty");
        // Bar mark: [S x (row - 1)] with S = single(191 / 152) = 1.2565789.
        QTest::newRow("unchanged") << false << 1 << "" << "pctArrow" << 0 << "same 1|kkkkkk" << "same 1|kkkkkk" << "u";
        QTest::newRow("changed") << true << 2 << "" << "pctDifferArrow" << 1 << "abc|kkr" << "abd|kkr" << "";
        QTest::newRow("changed, both ignored") << false << 2 << "case space" << "pctDifferArrow" << 1 << "abc|kkr"
                                               << "abd|kkr" << "";
        QTest::newRow("orphan in one") << true << 3 << "" << "pctOrphanArrow" << 3 << "only one|rrrrrrrr" << "|" << "e";
        QTest::newRow("letter case") << false << 5 << "space" << "pctDifferArrow" << 5 << "Hello World|rkkkkkrkkkk"
                                     << "hello world|rkkkkkrkkkk" << "";
        QTest::newRow("letter case ignored") << true << 5 << "case" << "pctDifferArrow" << 5
                                             << "Hello World|kkkkkkkkkkk" << "hello world|kkkkkkkkkkk" << "";
        QTest::newRow("one more space") << true << 6 << "case" << "pctDifferArrow" << 6 << "a b|kkk" << "a  b|kukk" << "";
        QTest::newRow("white space ignored: no marker") << false << 6 << "space" << "pctDifferArrow" << 6 << "a b|kkk"
                                                        << "a  b|krkk" << "";
        QTest::newRow("opposite an empty line") << false << 7 << "" << "pctDifferArrow" << 8 << "keep|rrrr" << "|" << "e";
        QTest::newRow("filler in a changed block") << true << 8 << "" << "pctDifferArrow" << 9 << "|" << "extra|rrrrr"
                                                   << "e";
        // Grid one's cell has no colour of its own here: the plain arrow.
        QTest::newRow("orphan in two") << true << 151 << "" << "pctArrow" << 188 << "|" << "tail|rrrr" << "e";
        QTest::newRow("trailing row") << false << 152 << "" << "pctArrow" << 190 << "|" << "|" << "ue";
    }

    void clickSelectsTheRowInBothGrids()
    {
        QFETCH(bool, inGridTwo);
        QFETCH(int, row);
        QFETCH(QString, ignore);
        QFETCH(QString, picture);
        QFETCH(int, markY);
        QFETCH(QString, one);
        QFETCH(QString, two);
        QFETCH(QString, unchangedEmpty);
        Show(*m_form);
        gOptions->IgnoreCase = ignore.contains(QLatin1String("case"));
        gOptions->IgnoreWhiteSpace = ignore.contains(QLatin1String("space"));
        VGrid* clicked = inGridTwo ? m_form->grdFileTwo : m_form->grdFileOne;
        clicked->SetTopRow(row);
        ClickRow(clicked, row);
        QCOMPARE(m_form->grdFileOne->Row(), row);
        QCOMPARE(m_form->grdFileTwo->Row(), row);
        QCOMPARE(m_form->Model().MarkedRow(), row);
        QCOMPARE(m_form->grdFileOne->CellPicture(row).cacheKey(), Picture(picture).cacheKey());
        QVERIFY(m_form->grdFileTwo->CellPicture(row).isNull());
        QCOMPARE(m_form->pctContainer->MarkY(), std::optional<double>(markY));
        for (int pane = 0; pane < 2; ++pane) {
            const LineDiffView* box = m_form->rtfLineDiff[pane];
            QCOMPARE(box->toPlainText() + u'|' + Looks(*box), pane == 0 ? one : two);
            QVERIFY(!box->hasSelectedText() && box->cursorPosition() == 0 && box->updatesEnabled());
        }
        QCOMPARE(m_form->SelectedRowIsUnchanged(), unchangedEmpty.contains(u'u'));
        QCOMPARE(m_form->SelectedLineIsEmpty(), unchangedEmpty.contains(u'e'));
        QVERIFY(!m_form->HourglassShown());
        QVERIFY(w.prompts->messages.isEmpty());
    }

    void markerMovesAndBookmarksStay()
    {
        Show(*m_form);
        VGrid* one = m_form->grdFileOne;
        ClickRow(m_form->grdFileTwo, 5);
        m_form->mnuFileToggleBookmark_Click();
        QVERIFY(m_form->IsRowBookmarked(5));
        QVERIFY(!m_form->IsRowBookmarked(2));
        ClickRow(one, 2);
        // Leaving a bookmarked row leaves the bookmark picture.
        QCOMPARE(one->CellPicture(5).cacheKey(), m_form->pctBookmark.cacheKey());
        QCOMPARE(one->CellPicture(2).cacheKey(), m_form->pctDifferArrow.cacheKey());
        ClickRow(m_form->grdFileTwo, 5);
        // Leaving an unbookmarked row takes its picture away; a bookmark
        // wins over the changed colour of its row.
        QVERIFY(one->CellPicture(2).isNull());
        QCOMPARE(one->CellPicture(5).cacheKey(), m_form->pctBookmarkArrow.cacheKey());
    }

    void scrollingFollowsBothWays_data()
    {
        QTest::addColumn<bool>("fromGridTwo");
        QTest::addColumn<bool>("byScrollBar");
        QTest::newRow("grid one, in code") << false << false;
        QTest::newRow("grid two, scroll bar") << true << true;
    }

    void scrollingFollowsBothWays()
    {
        QFETCH(bool, fromGridTwo);
        QFETCH(bool, byScrollBar);
        Show(*m_form);
        VGrid* from = fromGridTwo ? m_form->grdFileTwo : m_form->grdFileOne;
        VGrid* to = fromGridTwo ? m_form->grdFileOne : m_form->grdFileTwo;
        QSignalSpy fromScrolls(from, &VGrid::Scroll);
        QSignalSpy toScrolls(to, &VGrid::Scroll);
        QScrollBar* bar = from->verticalScrollBar();
        if (byScrollBar)
            QTest::mouseClick(bar, Qt::LeftButton, {}, QPoint(bar->width() / 2, bar->height() - 30));
        else
            from->SetTopRow(40);
        QVERIFY(from->TopRow() > 1);
        QCOMPARE(to->TopRow(), from->TopRow());
        // One exchange: each grid scrolled once, and no selection moved.
        QCOMPARE(fromScrolls.size(), 1);
        QCOMPARE(toScrolls.size(), 1);
        QCOMPARE(m_form->Model().MarkedRow(), 0);
    }

    void barPaintsEveryBlock()
    {
        Show(*m_form);
        // N = 152, H = 191: tops [191 (row - 1) / 152], heights [S count].
        const QColor window = m_form->palette().color(QPalette::Base);
        const QColor changed(221, 221, 255);
        const QColor orphan(255, 225, 196);
        const std::pair<int, QColor> pixels[] = {{0, window},  {1, changed}, {2, window},   {3, orphan},
                                                 {4, window},  {5, changed}, {9, changed},  {10, window},
                                                 {187, window}, {188, orphan}, {189, window}};
        for (const auto& [y, colour] : pixels)
            QCOMPARE(PixelAt(m_form->pctDiffsBar, m_form->pctDiffsBar->width() - 1, y), colour);
    }

    void barOfOneHundredRows()
    {
        QStringList one;
        for (int row = 1; row <= 99; ++row)
            one << QStringLiteral("line %1").arg(row);
        QStringList two = one;
        two.remove(50, 2);
        Fill(*m_form, one, two, {{50, 2, 50, 0}});
        QVERIFY(m_form->DrawDiffBars());
        QCOMPARE(m_form->pctDiffsBar->Bands().at(0).top, 96);
        QCOMPARE(m_form->pctDiffsBar->Bands().at(0).height, 4);
        m_form->mnuFileShowFirstDiff_Click();
        QCOMPARE(m_form->grdFileOne->Row(), 51);
        QCOMPARE(m_form->pctContainer->MarkY(), std::optional<double>(95));
        // The mark is red on the frame's strip beside the bar.
        QCOMPARE(PixelAt(m_form->pctContainer, 1, 95), WindowColors::BarMark(m_form->pctContainer->palette()));
        QCOMPARE(PixelAt(m_form->pctContainer, 1, 100), m_form->pctContainer->palette().color(QPalette::Window));
        // A bar click selects row [y / S], S = 1.91 (row 1 for 0), and the
        // mark stays where the click was, not at the row's height.
        for (const auto& [y, row] : {std::pair{0, 1}, {100, 52}, {190, 99}}) {
            QTest::mouseClick(m_form->pctDiffsBar, Qt::LeftButton, {}, QPoint(5, y));
            QCOMPARE(m_form->grdFileOne->Row(), row);
            QCOMPARE(m_form->grdFileTwo->Row(), row);
            QCOMPARE(m_form->Model().MarkedRow(), row);
            QVERIFY(m_form->grdFileOne->RowIsVisible(row) && m_form->grdFileOne->CellPicture(51).isNull());
            QCOMPARE(m_form->grdFileTwo->TopRow(), m_form->grdFileOne->TopRow());
            QCOMPARE(m_form->rtfLineDiff[0]->toPlainText(), QStringLiteral("line %1").arg(row));
            QCOMPARE(m_form->pctContainer->MarkY(), std::optional<double>(y));
        }
        QVERIFY(w.prompts->messages.isEmpty());
    }

    void navigation_data()
    {
        QTest::addColumn<int>("from");
        QTest::addColumn<int>("top");
        QTest::addColumn<QString>("command");
        QTest::addColumn<int>("to");  // 0: the selection stays, with a message
        QTest::addColumn<QString>("title");
        QTest::addColumn<bool>("scrolls");
        QTest::newRow("next from row 1") << 1 << 1 << "next" << 2 << "" << false;
        QTest::newRow("previous from row 1") << 1 << 1 << "previous" << 0 << "Previous Difference" << false;
        QTest::newRow("previous on first block") << 2 << 2 << "previous" << 0 << "Previous Difference" << false;
        QTest::newRow("previous between blocks") << 4 << 4 << "previous" << 3 << "" << true;
        QTest::newRow("previous inside a block") << 7 << 7 << "previous" << 5 << "" << true;
        QTest::newRow("next inside a block") << 7 << 1 << "next" << 151 << "" << true;
        QTest::newRow("next on last block") << 151 << 145 << "next" << 0 << "Next Difference" << false;
        QTest::newRow("previous on last block") << 151 << 140 << "previous" << 5 << "" << true;
        QTest::newRow("next after last block") << 152 << 145 << "next" << 0 << "Next Difference" << false;
        QTest::newRow("previous after last block") << 152 << 145 << "previous" << 151 << "" << false;
        QTest::newRow("first, in view") << 4 << 1 << "first" << 2 << "" << false;
        QTest::newRow("first, out of view") << 130 << 120 << "first" << 2 << "" << true;
        QTest::newRow("last") << 1 << 1 << "last" << 151 << "" << true;
        QTest::newRow("first, not redrawing") << 4 << 1 << "first, not redrawing" << 2 << "" << false;
        QTest::newRow("F7") << 4 << 4 << "F7" << 5 << "" << false;
        QTest::newRow("Shift+F7") << 4 << 4 << "Shift+F7" << 3 << "" << true;
    }

    void navigation()
    {
        QFETCH(int, from);
        QFETCH(int, top);
        QFETCH(QString, command);
        QFETCH(int, to);
        QFETCH(QString, title);
        QFETCH(bool, scrolls);
        Show(*m_form);
        VGrid* one = m_form->grdFileOne;
        one->SetTopRow(top);
        SelectRow(from);
        const int before = one->TopRow();
        RunCommand(command);
        const int expected = to == 0 ? from : to;
        QCOMPARE(one->Row(), expected);
        QCOMPARE(m_form->grdFileTwo->Row(), expected);
        QCOMPARE(m_form->Model().MarkedRow(), expected);
        QVERIFY(one->RowIsVisible(expected));
        QVERIFY(!one->CellPicture(expected).isNull());
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
            QCOMPARE(w.prompts->lastMessage().title, title);
            QCOMPARE(w.prompts->lastMessage().text, QStringLiteral("No more differences"));
        }
    }

    void busyWindowRefusesNextAndPrevious()
    {
        Show(*m_form);
        SelectRow(4);
        QGuiApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
        QCOMPARE(m_form->GetNextDiff(), -999);
        QCOMPARE(m_form->GetPreviousDiff(), -999);
        RunCommand(QStringLiteral("next"));
        RunCommand(QStringLiteral("previous"));
        QGuiApplication::restoreOverrideCursor();
        QCOMPARE(m_form->grdFileOne->Row(), 4);
        QVERIFY(w.prompts->messages.isEmpty());
    }

    void nextTellsNothingWhileHidden()
    {
        Show(*m_form);
        SelectRow(151);
        m_form->hide();
        m_form->mnuFileShowNextDiff_Click();
        QVERIFY(w.prompts->messages.isEmpty());
        m_form->mnuFileShowPreviousDiff_Click();
        QCOMPARE(m_form->grdFileOne->Row(), 5);
    }
};

QTEST_MAIN(tst_SelectionNavigation)
#include "tst_SelectionNavigation.moc"
