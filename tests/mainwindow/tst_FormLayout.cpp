// The layout pass and the splitter drag on the places in twips.

#include "mainwindow/FormLayout.h"

#include <QTest>

using FormLayout::Place;
using FormLayout::Places;

Q_DECLARE_METATYPE(FormLayout::Place)

namespace {

constexpr std::int16_t kMargin = 200;

Places LaidOut(int clientWidth, int clientHeight)
{
    Places places = FormLayout::DesignedPlaces();
    FormLayout::LayOut(places, clientWidth, clientHeight, kMargin);
    return places;
}

}  // namespace

class tst_FormLayout : public QObject {
    Q_OBJECT

private slots:
    void layOut_data()
    {
        QTest::addColumn<int>("cw");
        QTest::addColumn<int>("ch");
        QTest::addColumn<Place>("gridOne");
        QTest::addColumn<Place>("gridTwo");
        QTest::addColumn<Place>("splitter");
        QTest::addColumn<Place>("detailOne");
        QTest::addColumn<Place>("detailTwo");
        // Values worked out by hand from the rules: grid height CH - 1590,
        // grid two from L1 + W1 + 25 to 60 inside the right edge, detail
        // lines CW - 200 wide at the bottom.
        QTest::newRow("designed size") << 10305 << 6630 << Place{510, 840, 4845, 5040} << Place{5380, 840, 4865, 5040}
                                       << Place{5355, 840, 25, 5040} << Place{30, 5880, 10105, 375}
                                       << Place{30, 6255, 10105, 375};
        QTest::newRow("large") << 18000 << 12000 << Place{510, 840, 4845, 10410} << Place{5380, 840, 12560, 10410}
                               << Place{5355, 840, 25, 10410} << Place{30, 11250, 17800, 375}
                               << Place{30, 11625, 17800, 375};
        QTest::newRow("exactly the bands") << 10305 << 1590 << Place{510, 840, 4845, 0} << Place{5380, 840, 4865, 0}
                                           << Place{5355, 840, 25, 0} << Place{30, 840, 10105, 375}
                                           << Place{30, 1215, 10105, 375};
        // Below 1590 the grids keep their height; the detail lines follow
        // the negative grid height upwards.
        QTest::newRow("too short") << 10305 << 1200 << Place{510, 840, 4845, 5025} << Place{5380, 840, 4865, 5025}
                                   << Place{5355, 840, 25, 5025} << Place{30, 450, 10105, 375}
                                   << Place{30, 825, 10105, 375};
        // Narrower than grid one: it shrinks so that the splitter and grid
        // two's margin stay inside; grid two is 0 wide.
        QTest::newRow("narrow") << 3000 << 6630 << Place{510, 840, 2405, 5040} << Place{2940, 840, 0, 5040}
                                << Place{2915, 840, 25, 5040} << Place{30, 5880, 2800, 375}
                                << Place{30, 6255, 2800, 375};
        QTest::newRow("narrower than the left band") << 300 << 6630 << Place{510, 840, 0, 5040}
                                                     << Place{535, 840, 0, 5040} << Place{510, 840, 25, 5040}
                                                     << Place{30, 5880, 100, 375} << Place{30, 6255, 100, 375};
    }

    void layOut()
    {
        QFETCH(int, cw);
        QFETCH(int, ch);
        const Places places = LaidOut(cw, ch);
        QTEST(places.grdFileOne, "gridOne");
        QTEST(places.grdFileTwo, "gridTwo");
        QTEST(places.Splitter, "splitter");
        QTEST(places.rtfLineDiff0, "detailOne");
        QTEST(places.rtfLineDiff1, "detailTwo");
        // The path boxes follow their grids horizontally and keep their row.
        QCOMPARE(places.txtFileOne.Left, places.grdFileOne.Left);
        QCOMPARE(places.txtFileOne.Width, places.grdFileOne.Width);
        QCOMPARE(places.txtFileTwo.Left, places.grdFileTwo.Left);
        QCOMPARE(places.txtFileTwo.Width, places.grdFileTwo.Width);
        QCOMPARE(places.txtFileOne.Top, 480);
        QCOMPARE(places.txtFileTwo.Top, 480);
    }

    void layOutKeepsEverythingReachable()
    {
        // For any client width wide enough for the left band, the splitter
        // and grid two end inside the client area, and the column gap is
        // exactly the splitter.
        for (int cw = 600; cw <= 30000; cw += 135) {
            for (int width : {0, 100, 4845, 20000, 40000}) {
                Places places = FormLayout::DesignedPlaces();
                places.grdFileOne.Width = width;
                FormLayout::LayOut(places, cw, 6630, kMargin);
                const Place& one = places.grdFileOne;
                const Place& two = places.grdFileTwo;
                QVERIFY2(one.Width <= width, qPrintable(QString::number(cw)));
                QVERIFY(places.Splitter.Left + places.Splitter.Width <= cw - FormLayout::kGridTwoRightMargin);
                QVERIFY(two.Left + two.Width <= cw - FormLayout::kGridTwoRightMargin);
                QCOMPARE(places.Splitter.Left, one.Left + one.Width);
                QCOMPARE(two.Left, places.Splitter.Left + FormLayout::kSplitterWidth);
                QVERIFY(two.Width >= 0);
            }
        }
    }

    void layOutTwiceIsStable()
    {
        Places once = LaidOut(9000, 7000);
        Places twice = once;
        FormLayout::LayOut(twice, 9000, 7000, kMargin);
        QCOMPARE(twice.grdFileOne, once.grdFileOne);
        QCOMPARE(twice.grdFileTwo, once.grdFileTwo);
        QCOMPARE(twice.rtfLineDiff1, once.rtfLineDiff1);
    }

    void splitterDrag_data()
    {
        QTest::addColumn<double>("downX");
        QTest::addColumn<QList<double>>("moves");
        QTest::addColumn<double>("upX");
        QTest::addColumn<int>("splitterLeftBeforeLayout");
        QTest::addColumn<int>("gridOneWidth");
        QTest::addColumn<int>("gridOneWidthAfterLayout");
        // Laid out at 10305 x 6630 first: splitter Left 5355.
        QTest::newRow("right by 1500") << 15.0 << QList<double>{1515.0} << 1515.0 << 6870 << 6360 << 6360;
        QTest::newRow("pointer back to the bar after the move") << 15.0 << QList<double>{1515.0} << 0.0 << 6870 << 6360
                                                                << 6360;
        QTest::newRow("left by 1500") << 15.0 << QList<double>{-1500.0} << 0.0 << 3855 << 3345 << 3345;
        QTest::newRow("no move, release where pressed") << 15.0 << QList<double>{} << 15.0 << 5355 << 4845 << 4845;
        // The splitter stops before grid one's left edge while dragging;
        // released beyond it, grid one keeps its width.
        QTest::newRow("left of grid one") << 15.0 << QList<double>{-6000.0} << -6000.0 << -645 << 4845 << 4845;
        QTest::newRow("onto grid one's edge") << 15.0 << QList<double>{-4845.0} << -4845.0 << 510 << 4845 << 4845;
        // Far right: grid one is clamped by the layout pass.
        QTest::newRow("far right") << 15.0 << QList<double>{30000.0} << 30000.0 << 35355 << 34845 << 9710;
    }

    void splitterDrag()
    {
        QFETCH(double, downX);
        QFETCH(QList<double>, moves);
        QFETCH(double, upX);
        Places places = LaidOut(10305, 6630);
        FormLayout::SplitterDrag drag;
        FormLayout::SplitterMouseDown(drag, downX);
        QVERIFY(drag.Dragging());
        for (double x : moves)
            FormLayout::SplitterMouseMove(places, drag, x);
        QCOMPARE(places.grdFileOne.Width, 4845);  // widths change only at the drop
        QVERIFY(FormLayout::SplitterMouseUp(places, drag, upX));
        QVERIFY(!drag.Dragging());
        QTEST(places.Splitter.Left, "splitterLeftBeforeLayout");
        QTEST(places.grdFileOne.Width, "gridOneWidth");
        QCOMPARE(places.txtFileOne.Width, places.grdFileOne.Width);
        FormLayout::LayOut(places, 10305, 6630, kMargin);
        QTEST(places.grdFileOne.Width, "gridOneWidthAfterLayout");
        QCOMPARE(places.Splitter.Left, places.grdFileOne.Left + places.grdFileOne.Width);
    }

    void splitterMoveFollowsPointerButNeverPastGridOne()
    {
        Places places = LaidOut(10305, 6630);
        FormLayout::SplitterDrag drag;
        FormLayout::SplitterMouseDown(drag, 15);
        FormLayout::SplitterMouseMove(places, drag, 300);
        QCOMPARE(places.Splitter.Left, 5655);
        QCOMPARE(drag.SplitterDragX, 300);
        // The same X again is no move.
        FormLayout::SplitterMouseMove(places, drag, 300);
        QCOMPARE(places.Splitter.Left, 5655);
        FormLayout::SplitterMouseMove(places, drag, -5145);  // would land on grid one's left edge
        QCOMPARE(places.Splitter.Left, 5655);
        QCOMPARE(drag.SplitterDragX, 300);
        FormLayout::SplitterMouseMove(places, drag, -5130);
        QCOMPARE(places.Splitter.Left, 525);
        QCOMPARE(places.Splitter.Top, places.grdFileOne.Top);
        QCOMPARE(places.Splitter.Height, places.grdFileOne.Height);
        QCOMPARE(places.Splitter.Width, 25);
    }

    void noDragNoChange()
    {
        const Places before = LaidOut(10305, 6630);
        Places places = before;
        FormLayout::SplitterDrag drag;
        FormLayout::SplitterMouseMove(places, drag, 900);
        QVERIFY(!FormLayout::SplitterMouseUp(places, drag, 900));
        QCOMPARE(places.Splitter, before.Splitter);
        QCOMPARE(places.grdFileOne, before.grdFileOne);
        QCOMPARE(drag.SplitterDragX, FormLayout::kNoDrag);
    }

    void wholeTwips_data()
    {
        QTest::addColumn<double>("x");
        QTest::addColumn<int>("rounded");
        QTest::newRow("down") << 14.4 << 14;
        QTest::newRow("up") << 14.6 << 15;
        QTest::newRow("tie to even below") << 14.5 << 14;
        QTest::newRow("tie to even above") << 15.5 << 16;
        QTest::newRow("negative") << -7.6 << -8;
    }

    void wholeTwips()
    {
        QFETCH(double, x);
        QTEST(FormLayout::WholeTwips(x), "rounded");
    }
};

QTEST_GUILESS_MAIN(tst_FormLayout)
#include "tst_FormLayout.moc"
