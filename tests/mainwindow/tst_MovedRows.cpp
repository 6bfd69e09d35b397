// Moved lines in the window: both ends coloured in the grids and on the bar,
// their markers and texts, Go to Other End of Move and its double click, and
// View > Show Moved Lines.

#include "WindowFixture.h"

#include "mainwindow/DiffBarWidget.h"

namespace {

// File One: a function of three lines at the top, then 20 lines; File Two
// has the function after the 20 lines: rows 1-3 show it leaving, rows 24-26
// arriving.
void ShowMovedFunction(const WindowFixture& w)
{
    QStringList body;
    for (int n = 1; n <= 20; ++n)
        body << QStringLiteral("unchanged line %1").arg(n);
    const QStringList function{"int answer()", "{ return 42; }", "// the answer"};
    ShownComparison::Fill(w, function + body, body + function);
}

int MovedBands(const WindowFixture& w)
{
    const auto& bands = w.child<DiffBarWidget>(QStringLiteral("pctDiffsBar"))->Bands();
    return static_cast<int>(
        std::count_if(bands.begin(), bands.end(), [](const auto& b) { return b.color == Alignment::kMovedColor; }));
}

}  // namespace

class tst_MovedRows : public WindowTest {
    Q_OBJECT

private slots:
    void bothEndsShownLinkedAndSwitchedOff()
    {
        ShowMovedFunction(w);
        const ComparisonModel& model = w.Model();
        using namespace Alignment;
        QCOMPARE((std::tuple{model.RowColor(0, 1), model.RowColor(0, 3), model.RowColor(1, 26), model.RowColor(1, 27)}),
                 (std::tuple{kMovedColor, kMovedColor, kMovedColor, kDefaultColor}));
        QCOMPARE(MovedBands(w), 2);
        QCOMPARE(model.MoveText(2), QStringLiteral("Moved to line 22 of File Two"));
        QCOMPARE(model.MoveText(25), QStringLiteral("Moved from line 2 of File One"));
        QVERIFY(!w.grid(1)->CellPicture(25).isNull() && w.grid(1)->CellPicture(10).isNull());
        // Compare ends on row 1; the command goes to the other end and back.
        for (const int to : {24, 1}) {
            w.action("mnuFileGoToOtherEndOfMove")->trigger();
            QCOMPARE((std::pair{model.CurrentRow(), w.grid(1)->RowIsVisible(to)}), (std::pair{to, true}));
        }
        w.selectRow(10);
        w.action("mnuFileGoToOtherEndOfMove")->trigger();
        QCOMPARE(model.CurrentRow(), 10);
        QCOMPARE(w.told(), QStringLiteral("Go to Other End of Move: The selected line was not moved."));
        // A double click on a moved row's marker follows the move; elsewhere
        // on the row it bookmarks.
        VGrid* one = w.grid(1);
        one->SetTopRow(1);
        ClickRow(one, 3);
        QTest::mouseDClick(one->viewport(), Qt::LeftButton, {}, QPoint(3, RowY(one, 3)));
        QCOMPARE((std::pair{model.CurrentRow(), model.Bookmarks().size()}), (std::pair{26, std::size_t{0}}));
        QTest::mouseDClick(one->viewport(), Qt::LeftButton, {}, QPoint(60, RowY(one, 26)));
        QCOMPARE(model.Bookmarks(), std::vector<std::int32_t>{26});
        // Switched off, the rows take their blocks' colours again and the
        // selection stays; the choice outlives the window.
        w.selectRow(20);
        w.action("mnuViewShowMovedLines")->trigger();
        QCOMPARE((std::pair{model.RowColor(0, 2), MovedBands(w)}), (std::pair{kOrphanColor, 0}));
        QVERIFY(model.CurrentRow() == 20 && w.grid(2)->Row() == 20);
        w.restart();
        QVERIFY(!w.action("mnuViewShowMovedLines")->isChecked());
        w.action("mnuViewShowMovedLines")->trigger();
        ShowMovedFunction(w);
        QCOMPARE(w.Model().RowColor(1, 25), kMovedColor);
    }
};

QTEST_MAIN(tst_MovedRows)
#include "tst_MovedRows.moc"
#include "moc_WindowFixture.cpp"
