// Selecting rows in the result grids: clicks in either grid, the row marker,
// the detail pane with its character differences, tooltips, the pop-up menu
// and the scroll synchronisation of the two grids.

#include "WindowFixture.h"

#include <QCheckBox>
#include <QMenu>
#include <QMouseEvent>
#include <QScrollBar>
#include <QSignalSpy>

using namespace modVantrel;
using namespace ShownComparison;

namespace {

void MoveOver(VGrid* grid, int y)
{
    QMouseEvent move(QEvent::MouseMove, QPointF(30, y), grid->viewport()->mapToGlobal(QPointF(30, y)), Qt::NoButton,
                     Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(grid->viewport(), &move);
}

}  // namespace

class tst_Selection : public QObject {
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

private slots:
    void init()
    {
        w.setUp();
        m_form = &w.load(true);
    }
    void cleanup() { w.tearDown(); }

    void beforeAComparisonClicksDoNothing()
    {
        VGrid* grid = m_form->grdFileTwo;
        ClickRow(grid, 1);
        QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, QPoint(30, RowY(grid, 1)));
        ClickRow(grid, 1, Qt::RightButton);
        QCOMPARE(m_form->MarkedRow, 0);
        QVERIFY(m_form->grdFileOne->CellPicture(1).isNull());
        QVERIFY(!m_form->pctContainer->MarkY());
        QVERIFY(!m_form->mnuFile->isVisible());
        QCOMPARE(m_form->rtfLineDiff[0]->toPlainText(), frmFileDiffs::kDetailPaneHint);
        QCOMPARE(Looks(*m_form->rtfLineDiff[0]), QString(frmFileDiffs::kDetailPaneHint.size(), u'k'));
        QVERIFY(w.prompts->messages.isEmpty());
        // Tooltips have no such test: over the header they show its text.
        m_form->chkTooltip->setChecked(true);
        MoveOver(grid, 2);
        QCOMPARE(grid->ToolTipText(), frmFileDiffs::kSelectFilesPrompt);
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
        QCOMPARE(m_form->MarkedRow, row);
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
        one->SetCellPicture(5, m_form->pctBookmark);
        QVERIFY(m_form->IsRowBookmarked(5));
        QVERIFY(!m_form->IsRowBookmarked(2));
        ClickRow(one, 2);
        ClickRow(m_form->grdFileTwo, 5);
        // Leaving an unbookmarked row takes its picture away; a bookmark
        // wins over the changed colour of its row.
        QVERIFY(one->CellPicture(2).isNull());
        QCOMPARE(one->CellPicture(5).cacheKey(), m_form->pctBookmarkArrow.cacheKey());
        ClickRow(one, 1);
        QCOMPARE(one->CellPicture(5).cacheKey(), m_form->pctBookmark.cacheKey());
        QCOMPARE(one->CellPicture(1).cacheKey(), m_form->pctArrow.cacheKey());
        // A picture that merely looks like the bookmark is not one.
        one->SetCellPicture(9, m_form->pctBookmark.copy());
        QVERIFY(!m_form->IsRowBookmarked(9));
    }

    void keyboardMovesOnlyItsOwnGrid()
    {
        Show(*m_form);
        ClickRow(m_form->grdFileOne, 2);
        m_form->grdFileOne->setFocus();
        QTest::keyClick(m_form->grdFileOne, Qt::Key_Down);
        QCOMPARE(m_form->grdFileOne->Row(), 3);
        QCOMPARE(m_form->grdFileTwo->Row(), 2);
        QCOMPARE(m_form->MarkedRow, 2);
        QCOMPARE(m_form->rtfLineDiff[0]->toPlainText(), QStringLiteral("abc"));
    }

    void scrollingFollowsBothWays_data()
    {
        QTest::addColumn<bool>("fromGridTwo");
        QTest::addColumn<bool>("byScrollBar");
        QTest::newRow("grid one, in code") << false << false;
        QTest::newRow("grid two, in code") << true << false;
        QTest::newRow("grid one, scroll bar") << false << true;
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
        QCOMPARE(m_form->MarkedRow, 0);
    }

    void tooltipsShowTheRowUnderThePointer_data()
    {
        QTest::addColumn<bool>("ticked");
        QTest::addColumn<int>("length");
        QTest::addColumn<int>("shown");
        QTest::newRow("short") << true << 20 << 24;
        QTest::newRow("exactly 255") << true << 251 << 255;
        QTest::newRow("cut to 255") << true << 400 << 255;
        QTest::newRow("switched off") << false << 20 << 0;
    }

    void tooltipsShowTheRowUnderThePointer()
    {
        QFETCH(bool, ticked);
        QFETCH(int, length);
        QFETCH(int, shown);
        Pane one;
        Pane two;
        one.add(QString(length, QLatin1Char('x')));
        two.add(QString(length, QLatin1Char('y')));
        one.filler();
        two.filler();
        Fill(*m_form, std::move(one), std::move(two), {});
        m_form->chkTooltip->setChecked(ticked);
        VGrid* grid = m_form->grdFileTwo;
        grid->SetToolTipText(QString());
        MoveOver(grid, RowY(grid, 1));
        QCOMPARE(grid->ToolTipText(), (QStringLiteral(" 1.") + QString(length, QLatin1Char('y'))).left(shown));
        // Below the last row no row is under the pointer.
        MoveOver(grid, grid->viewport()->height() - 2);
        QCOMPARE(grid->ToolTipText(), QString());
    }

    void rightClickPopsUpTheFileMenu()
    {
        Show(*m_form);
        VGrid* grid = m_form->grdFileTwo;
        const QPoint at(30, RowY(grid, 4));
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, at);
        QVERIFY(!m_form->mnuFile->isVisible());
        QTest::mousePress(grid->viewport(), Qt::RightButton, {}, at);
        QTRY_VERIFY(m_form->mnuFile->isVisible());
        m_form->mnuFile->hide();
        QTest::mouseRelease(grid->viewport(), Qt::RightButton, {}, at);
    }

    void longLinesAreFormattedWhole()
    {
        // Every other character differs: the most runs a line can have.
        QString a;
        QString b;
        for (int i = 0; i < 2000; ++i) {
            a += i % 2 ? QStringLiteral("a ") : QStringLiteral("ax");
            b += QStringLiteral("ay");
        }
        Pane one;
        Pane two;
        one.add(a, Alignment::kChangedColor);
        two.add(b, Alignment::kChangedColor);
        one.filler();
        two.filler();
        Fill(*m_form, std::move(one), std::move(two), {QStringLiteral("1-1-16768477")});
        ClickRow(m_form->grdFileOne, 1);
        QCOMPARE(m_form->rtfLineDiff[0]->toPlainText(), a);
        QCOMPARE(Looks(*m_form->rtfLineDiff[0]), QStringLiteral("krku").repeated(1000));
        QCOMPARE(Looks(*m_form->rtfLineDiff[1]), QStringLiteral("kr").repeated(2000));
    }
};

QTEST_MAIN(tst_Selection)
#include "tst_Selection.moc"
