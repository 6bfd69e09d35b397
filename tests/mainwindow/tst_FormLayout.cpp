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
        QTest::addColumn<Place>("detailOne");
        // Worked out by hand: grid height CH - 1590, grid two from L1 + W1 + 25
        // to 60 inside the right edge, detail lines CW - 200 wide below the grids.
        QTest::newRow("designed size") << 10305 << 6630 << Place{510, 840, 4845, 5040} << Place{5380, 840, 4865, 5040}
                                       << Place{30, 5880, 10105, 375};
        QTest::newRow("exactly the bands") << 10305 << 1590 << Place{510, 840, 4845, 0} << Place{5380, 840, 4865, 0}
                                           << Place{30, 840, 10105, 375};
        // Below 1590 the grids keep their height; the detail lines follow
        // the negative grid height upwards.
        QTest::newRow("too short") << 10305 << 1200 << Place{510, 840, 4845, 5025} << Place{5380, 840, 4865, 5025}
                                   << Place{30, 450, 10105, 375};
        // Narrower than grid one: it shrinks so that the splitter and grid
        // two's margin stay inside; grid two is 0 wide.
        QTest::newRow("narrow") << 3000 << 6630 << Place{510, 840, 2405, 5040} << Place{2940, 840, 0, 5040}
                                << Place{30, 5880, 2800, 375};
        QTest::newRow("narrower than the left band") << 300 << 6630 << Place{510, 840, 0, 5040}
                                                     << Place{535, 840, 0, 5040} << Place{30, 5880, 100, 375};
    }

    void layOut()
    {
        QFETCH(int, cw);
        QFETCH(int, ch);
        Places places = LaidOut(cw, ch);
        for (int pass = 0; pass < 2; ++pass) {  // a second pass changes nothing
            QTEST(places.grdFileOne, "gridOne");
            QTEST(places.grdFileTwo, "gridTwo");
            QTEST(places.rtfLineDiff0, "detailOne");
            const Place& one = places.grdFileOne;
            const Place& detail = places.rtfLineDiff0;
            QCOMPARE(places.Splitter, (Place{one.Left + one.Width, one.Top, 25, one.Height}));
            QCOMPARE(places.rtfLineDiff1, (Place{detail.Left, detail.Top + 375, detail.Width, 375}));
            // The path boxes follow their grids horizontally and keep their row.
            QCOMPARE(places.txtFileOne, (Place{one.Left, 480, one.Width, 315}));
            QCOMPARE(places.txtFileTwo, (Place{places.grdFileTwo.Left, 480, places.grdFileTwo.Width, 315}));
            FormLayout::LayOut(places, cw, ch, kMargin);
        }
    }

    void splitterDrag_data()
    {
        QTest::addColumn<bool>("pressed");
        QTest::addColumn<QList<double>>("moves");
        QTest::addColumn<double>("upX");
        QTest::addColumn<int>("leftWhileDragging");
        QTest::addColumn<int>("leftAtDrop");
        QTest::addColumn<int>("gridOneWidth");
        QTest::addColumn<int>("gridOneWidthAfterLayout");
        // Laid out at 10305 x 6630 first (splitter Left 5355, grid one 4845
        // wide), pressed at 15.
        QTest::newRow("right by 1500") << true << QList<double>{1515.0} << 1515.0 << 6870 << 6870 << 6360 << 6360;
        QTest::newRow("pointer back to the bar") << true << QList<double>{1515.0} << 0.0 << 6870 << 6870 << 6360 << 6360;
        QTest::newRow("never pressed: nothing moves") << false << QList<double>{900.0} << 900.0 << 5355 << 5355
                                                      << 4845 << 4845;
        // The splitter stops before grid one's left edge while dragging;
        // released on or beyond it, grid one keeps its width.
        QTest::newRow("onto grid one's edge") << true << QList<double>{-4845.0} << -4845.0 << 5355 << 510 << 4845
                                              << 4845;
        QTest::newRow("a twip right of it") << true << QList<double>{-4844.0} << -4844.0 << 511 << 511 << 1 << 1;
        // Far right: grid one is clamped by the layout pass.
        QTest::newRow("far right") << true << QList<double>{30000.0} << 30000.0 << 35355 << 35355 << 34845 << 9710;
    }

    void splitterDrag()
    {
        QFETCH(bool, pressed);
        QFETCH(QList<double>, moves);
        QFETCH(double, upX);
        Places places = LaidOut(10305, 6630);
        FormLayout::SplitterDrag drag;
        if (pressed)
            FormLayout::SplitterMouseDown(drag, 15.0);
        QCOMPARE(drag.Dragging(), pressed);
        for (double x : moves)
            FormLayout::SplitterMouseMove(places, drag, x);
        QTEST(places.Splitter.Left, "leftWhileDragging");
        QCOMPARE(places.grdFileOne.Width, 4845);  // widths change only at the drop
        QCOMPARE(FormLayout::SplitterMouseUp(places, drag, upX), pressed);
        QVERIFY(!drag.Dragging());
        QTEST(places.Splitter.Left, "leftAtDrop");
        QTEST(places.grdFileOne.Width, "gridOneWidth");
        QCOMPARE(places.txtFileOne.Width, places.grdFileOne.Width);
        FormLayout::LayOut(places, 10305, 6630, kMargin);
        QTEST(places.grdFileOne.Width, "gridOneWidthAfterLayout");
    }
};

QTEST_GUILESS_MAIN(tst_FormLayout)
#include "tst_FormLayout.moc"
