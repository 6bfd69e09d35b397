// Selecting rows in the result grids: clicks in either grid, the row marker,
// the detail pane with its character differences, tooltips, the pop-up menu
// and the scroll synchronisation of the two grids.

#include "ShownComparison.h"

#include "app/CommandLine.h"
#include "app/Globals.h"
#include "engine/cDiffEngine.h"
#include "support/ScriptedPrompts.h"

#include <QCheckBox>
#include <QMenu>
#include <QMouseEvent>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QTextEdit>

using namespace modVantrel;

namespace {

// One letter per character of a detail box: k black, r red, u red with the
// blank marker, ? anything else.
QString Colours(const QTextEdit* box)
{
    QString letters;
    for (QTextBlock block = box->document()->begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            const QTextCharFormat format = fragment.charFormat();
            const QColor colour = format.foreground().color();
            QChar letter = QLatin1Char('?');
            if (colour == QColor(0, 0, 0) && !format.fontUnderline())
                letter = QLatin1Char('k');
            else if (colour == QColor(255, 0, 0))
                letter = format.fontUnderline() ? QLatin1Char('u') : QLatin1Char('r');
            letters += QString(fragment.length(), letter);
        }
    }
    return letters;
}

void ClickRow(VGrid* grid, int row)
{
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, QPoint(30, ShownComparison::RowY(grid, row)));
}

void MoveOver(VGrid* grid, int y)
{
    QMouseEvent move(QEvent::MouseMove, QPointF(30, y), grid->viewport()->mapToGlobal(QPointF(30, y)), Qt::NoButton,
                     Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(grid->viewport(), &move);
}

}  // namespace

class tst_Selection : public QObject {
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> m_folder;
    std::unique_ptr<ScriptedPrompts> m_prompts;
    std::unique_ptr<frmFileDiffs> m_form;

    const QPixmap& Picture(const QString& name) const
    {
        if (name == QLatin1String("pctArrow"))
            return m_form->pctArrow;
        if (name == QLatin1String("pctDifferArrow"))
            return m_form->pctDifferArrow;
        if (name == QLatin1String("pctOrphanArrow"))
            return m_form->pctOrphanArrow;
        if (name == QLatin1String("pctBookmarkArrow"))
            return m_form->pctBookmarkArrow;
        return m_form->pctBookmark;
    }

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
        m_form = std::make_unique<frmFileDiffs>();
        m_form->Form_Load();
        QVERIFY(QTest::qWaitForWindowExposed(m_form.get()));
    }

    void cleanup()
    {
        m_form->hide();
        m_form.reset();
        m_prompts.reset();
        gOptions.reset();
        gDiffEngine.reset();
    }

    void beforeAComparisonClicksDoNothing()
    {
        VGrid* grid = m_form->grdFileTwo;
        ClickRow(grid, 1);
        QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, QPoint(30, ShownComparison::RowY(grid, 1)));
        QTest::mouseClick(grid->viewport(), Qt::RightButton, {}, QPoint(30, ShownComparison::RowY(grid, 1)));
        QCOMPARE(m_form->MarkedRow, 0);
        QVERIFY(m_form->grdFileOne->CellPicture(1).isNull());
        QVERIFY(!m_form->pctContainer->MarkY());
        QVERIFY(!m_form->mnuFile->isVisible());
        QCOMPARE(m_form->rtfLineDiff[0]->toPlainText(), frmFileDiffs::kDetailPaneHint);
        QVERIFY(m_prompts->messages.isEmpty());
        // Tooltips have no such test: over the header they show its text.
        m_form->chkTooltip->setChecked(true);
        MoveOver(grid, 2);
        QCOMPARE(grid->ToolTipText(), frmFileDiffs::kSelectFilesPrompt);
    }

    void clickSelectsTheRowInBothGrids_data()
    {
        QTest::addColumn<bool>("inGridTwo");
        QTest::addColumn<int>("row");
        QTest::addColumn<QString>("picture");
        QTest::addColumn<int>("markY");
        QTest::addColumn<QString>("textOne");
        QTest::addColumn<QString>("coloursOne");
        QTest::addColumn<QString>("textTwo");
        QTest::addColumn<QString>("coloursTwo");
        // Bar mark: [S x (row - 1)] with S = single(191 / 152) = 1.2565789.
        QTest::newRow("unchanged, grid one") << false << 1 << "pctArrow" << 0 << "same 1" << "kkkkkk"
                                             << "same 1" << "kkkkkk";
        QTest::newRow("changed, grid two") << true << 2 << "pctDifferArrow" << 1 << "abc" << "kkr" << "abd" << "kkr";
        QTest::newRow("changed, grid one") << false << 2 << "pctDifferArrow" << 1 << "abc" << "kkr" << "abd"
                                           << "kkr";
        QTest::newRow("orphan in one, grid two") << true << 3 << "pctOrphanArrow" << 3 << "only one"
                                                 << "rrrrrrrr" << "" << "";
        QTest::newRow("letter case differs") << false << 5 << "pctDifferArrow" << 5 << "Hello World"
                                             << "rkkkkkrkkkk" << "hello world" << "rkkkkkrkkkk";
        QTest::newRow("one more space") << true << 6 << "pctDifferArrow" << 6 << "a b" << "kkk" << "a  b" << "kukk";
        QTest::newRow("counterpart is an empty line") << false << 7 << "pctDifferArrow" << 8 << "keep" << "rrrr"
                                                      << "" << "";
        QTest::newRow("filler in a changed block") << true << 8 << "pctDifferArrow" << 9 << "" << "" << "extra"
                                                   << "rrrrr";
        // Grid one's cell has no colour of its own here: the plain arrow.
        QTest::newRow("orphan in two, grid two") << true << 151 << "pctArrow" << 188 << "" << "" << "tail"
                                                 << "rrrr";
        QTest::newRow("trailing row") << false << 152 << "pctArrow" << 190 << "" << "" << "" << "";
    }

    void clickSelectsTheRowInBothGrids()
    {
        QFETCH(bool, inGridTwo);
        QFETCH(int, row);
        QFETCH(QString, picture);
        QFETCH(int, markY);
        QFETCH(QString, textOne);
        QFETCH(QString, coloursOne);
        QFETCH(QString, textTwo);
        QFETCH(QString, coloursTwo);
        ShownComparison::Show(*m_form);
        VGrid* clicked = inGridTwo ? m_form->grdFileTwo : m_form->grdFileOne;
        clicked->SetTopRow(row);
        ClickRow(clicked, row);
        QCOMPARE(m_form->grdFileOne->Row(), row);
        QCOMPARE(m_form->grdFileTwo->Row(), row);
        QCOMPARE(m_form->MarkedRow, row);
        QCOMPARE(m_form->grdFileOne->CellPicture(row).cacheKey(), Picture(picture).cacheKey());
        QVERIFY(m_form->grdFileTwo->CellPicture(row).isNull());
        QCOMPARE(m_form->pctContainer->MarkY(), std::optional<double>(markY));
        QCOMPARE(m_form->rtfLineDiff[0]->toPlainText(), textOne);
        QCOMPARE(Colours(m_form->rtfLineDiff[0]), coloursOne);
        QCOMPARE(m_form->rtfLineDiff[1]->toPlainText(), textTwo);
        QCOMPARE(Colours(m_form->rtfLineDiff[1]), coloursTwo);
        for (QTextEdit* box : m_form->rtfLineDiff) {
            QVERIFY(!box->textCursor().hasSelection());
            QCOMPARE(box->textCursor().position(), 0);
            QVERIFY(box->updatesEnabled());
        }
        QVERIFY(!m_form->HourglassShown());
        QVERIFY(m_prompts->messages.isEmpty());
    }

    void optionsInForceDecideTheDisplay_data()
    {
        QTest::addColumn<int>("row");
        QTest::addColumn<bool>("ignoreCase");
        QTest::addColumn<bool>("ignoreWhiteSpace");
        QTest::addColumn<QString>("coloursOne");
        QTest::addColumn<QString>("coloursTwo");
        QTest::newRow("case ignored") << 5 << true << false << "kkkkkkkkkkk" << "kkkkkkkkkkk";
        QTest::newRow("case counts") << 5 << false << true << "rkkkkkrkkkk" << "rkkkkkrkkkk";
        QTest::newRow("white space ignored: no marker") << 6 << false << true << "kkk" << "krkk";
        QTest::newRow("white space counts: marker") << 6 << true << false << "kkk" << "kukk";
        QTest::newRow("only differing letters") << 2 << true << true << "kkr" << "kkr";
    }

    void optionsInForceDecideTheDisplay()
    {
        QFETCH(int, row);
        QFETCH(bool, ignoreCase);
        QFETCH(bool, ignoreWhiteSpace);
        QFETCH(QString, coloursOne);
        QFETCH(QString, coloursTwo);
        ShownComparison::Show(*m_form);
        // Changed after the comparison was shown: the values at selection count.
        gOptions->IgnoreCase = ignoreCase;
        gOptions->IgnoreWhiteSpace = ignoreWhiteSpace;
        ClickRow(m_form->grdFileOne, row);
        QCOMPARE(Colours(m_form->rtfLineDiff[0]), coloursOne);
        QCOMPARE(Colours(m_form->rtfLineDiff[1]), coloursTwo);
        // Each box keeps its own letter case.
        QCOMPARE(m_form->rtfLineDiff[0]->toPlainText(), m_form->grdFileOne->TextMatrix(row).section('.', 1));
        QCOMPARE(m_form->rtfLineDiff[1]->toPlainText(), m_form->grdFileTwo->TextMatrix(row).section('.', 1));
    }

    void markerMovesAndBookmarksStay()
    {
        ShownComparison::Show(*m_form);
        VGrid* one = m_form->grdFileOne;
        one->SetCellPicture(4, m_form->pctBookmark);
        QVERIFY(m_form->IsRowBookmarked(4));
        QVERIFY(!m_form->IsRowBookmarked(2));
        ClickRow(one, 2);
        ClickRow(m_form->grdFileTwo, 4);
        // Leaving an unbookmarked row takes its picture away.
        QVERIFY(one->CellPicture(2).isNull());
        QCOMPARE(one->CellPicture(4).cacheKey(), m_form->pctBookmarkArrow.cacheKey());
        QVERIFY(m_form->IsRowBookmarked(4));
        ClickRow(one, 1);
        QCOMPARE(one->CellPicture(4).cacheKey(), m_form->pctBookmark.cacheKey());
        QCOMPARE(one->CellPicture(1).cacheKey(), m_form->pctArrow.cacheKey());
        // A picture that merely looks like the bookmark is not one.
        one->SetCellPicture(9, m_form->pctBookmark.copy());
        QVERIFY(!m_form->IsRowBookmarked(9));
    }

    void selectedRowTests_data()
    {
        QTest::addColumn<int>("row");
        QTest::addColumn<bool>("unchanged");
        QTest::addColumn<bool>("empty");
        QTest::newRow("same") << 1 << true << false;
        QTest::newRow("changed") << 2 << false << false;
        QTest::newRow("orphan opposite filler") << 3 << false << true;
        QTest::newRow("empty line") << 7 << false << true;
        QTest::newRow("filler opposite orphan") << 151 << false << true;
        QTest::newRow("trailing") << 152 << true << true;
    }

    void selectedRowTests()
    {
        QFETCH(int, row);
        QFETCH(bool, unchanged);
        QFETCH(bool, empty);
        ShownComparison::Show(*m_form);
        m_form->grdFileOne->SetRow(row);
        m_form->grdFileTwo->SetRow(row);
        QCOMPARE(m_form->SelectedRowIsUnchanged(), unchanged);
        QCOMPARE(m_form->SelectedLineIsEmpty(), empty);
    }

    void keyboardMovesOnlyItsOwnGrid()
    {
        ShownComparison::Show(*m_form);
        ClickRow(m_form->grdFileOne, 2);
        const QString shown = m_form->rtfLineDiff[0]->toPlainText();
        m_form->grdFileOne->setFocus();
        QTest::keyClick(m_form->grdFileOne, Qt::Key_Down);
        QCOMPARE(m_form->grdFileOne->Row(), 3);
        QCOMPARE(m_form->grdFileTwo->Row(), 2);
        QCOMPARE(m_form->MarkedRow, 2);
        QCOMPARE(m_form->rtfLineDiff[0]->toPlainText(), shown);
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
        ShownComparison::Show(*m_form);
        VGrid* from = fromGridTwo ? m_form->grdFileTwo : m_form->grdFileOne;
        VGrid* to = fromGridTwo ? m_form->grdFileOne : m_form->grdFileTwo;
        QSignalSpy fromScrolls(from, &VGrid::Scroll);
        QSignalSpy toScrolls(to, &VGrid::Scroll);
        if (byScrollBar)
            QTest::mouseClick(from->verticalScrollBar(), Qt::LeftButton, {},
                              QPoint(from->verticalScrollBar()->width() / 2, from->verticalScrollBar()->height() - 30));
        else
            from->SetTopRow(40);
        QVERIFY(from->TopRow() > 1);
        QCOMPARE(to->TopRow(), from->TopRow());
        // One exchange: each grid scrolled once.
        QCOMPARE(fromScrolls.size(), 1);
        QCOMPARE(toScrolls.size(), 1);
        // Scrolling moves no selection.
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
        ShownComparison::Pane one;
        ShownComparison::Pane two;
        one.add(QString(length, QLatin1Char('x')), Alignment::kDefaultColor);
        two.add(QString(length, QLatin1Char('y')), Alignment::kDefaultColor);
        one.filler(Alignment::kDefaultColor);
        two.filler(Alignment::kDefaultColor);
        ShownComparison::Fill(*m_form, std::move(one), std::move(two), {});
        m_form->chkTooltip->setChecked(ticked);
        VGrid* grid = m_form->grdFileTwo;
        grid->SetToolTipText(QString());
        MoveOver(grid, ShownComparison::RowY(grid, 1));
        // The row text with its prefix " 1.".
        QCOMPARE(grid->ToolTipText(), (QStringLiteral(" 1.") + QString(length, QLatin1Char('y'))).left(shown));
        // Below the last row no row is under the pointer.
        if (ticked) {
            MoveOver(grid, grid->viewport()->height() - 2);
            QCOMPARE(grid->ToolTipText(), QString());
        }
    }

    void rightClickPopsUpTheFileMenu()
    {
        ShownComparison::Show(*m_form);
        VGrid* grid = m_form->grdFileTwo;
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, QPoint(30, ShownComparison::RowY(grid, 4)));
        QVERIFY(!m_form->mnuFile->isVisible());
        QTest::mousePress(grid->viewport(), Qt::RightButton, {}, QPoint(30, ShownComparison::RowY(grid, 4)));
        QTRY_VERIFY(m_form->mnuFile->isVisible());
        m_form->mnuFile->hide();
        QTest::mouseRelease(grid->viewport(), Qt::RightButton, {}, QPoint(30, ShownComparison::RowY(grid, 4)));
    }

    void longLinesAreFormattedWhole()
    {
        // Every other character differs: the worst case for formatting runs.
        // 4000 characters a line keep the comparison within its full table.
        QString a;
        QString b;
        for (int i = 0; i < 2000; ++i) {
            a += QLatin1Char('a');
            a += QLatin1Char(i % 2 ? ' ' : 'x');
            b += QLatin1Char('a');
            b += QLatin1Char('y');
        }
        ShownComparison::Pane one;
        ShownComparison::Pane two;
        one.add(a, Alignment::kChangedColor);
        two.add(b, Alignment::kChangedColor);
        one.filler(Alignment::kDefaultColor);
        two.filler(Alignment::kDefaultColor);
        ShownComparison::Fill(*m_form, std::move(one), std::move(two), {QStringLiteral("1-1-16768477")});
        ClickRow(m_form->grdFileOne, 1);
        QCOMPARE(m_form->rtfLineDiff[0]->toPlainText(), a);
        const QString colours = Colours(m_form->rtfLineDiff[0]);
        QCOMPARE(colours.size(), a.size());
        QCOMPARE(colours.left(8), QStringLiteral("krkukrku"));
        QCOMPARE(colours.count(QLatin1Char('k')), 2000);
        QCOMPARE(colours.count(QLatin1Char('u')), 1000);
        QCOMPARE(Colours(m_form->rtfLineDiff[1]), QStringLiteral("kr").repeated(2000));
    }
};

QTEST_MAIN(tst_Selection)
#include "tst_Selection.moc"
