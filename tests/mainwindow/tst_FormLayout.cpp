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
        QTest::newRow("large") << 18000 << 12000 << Place{510, 840, 4845, 10410} << Place{5380, 840, 12560, 10410}
                               << Place{30, 11250, 17800, 375};
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

    void layOutKeepsEverythingReachable()
    {
        // For any client width wide enough for the left band, grid one never
        // grows, the splitter and grid two end inside the client area, and
        // the column gap is exactly the splitter.
        for (int cw = 600; cw <= 30000; cw += 135) {
            for (int width : {0, 100, 4845, 20000, 40000}) {
                Places places = FormLayout::DesignedPlaces();
                places.grdFileOne.Width = width;
                FormLayout::LayOut(places, cw, 6630, kMargin);
                const Place& one = places.grdFileOne;
                const Place& two = places.grdFileTwo;
                QVERIFY2(one.Width <= width, qPrintable(QString::number(cw)));
                QCOMPARE(places.Splitter.Left, one.Left + one.Width);
                QCOMPARE(two.Left, places.Splitter.Left + FormLayout::kSplitterWidth);
                QVERIFY(two.Width >= 0 && two.Left + two.Width <= cw - FormLayout::kGridTwoRightMargin);
            }
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
        QTest::newRow("same X twice is one move") << true << QList<double>{300.0, 300.0} << 300.0 << 5655 << 5655
                                                  << 5145 << 5145;
        QTest::newRow("left by 1500") << true << QList<double>{-1500.0} << 0.0 << 3855 << 3855 << 3345 << 3345;
        QTest::newRow("no move, release where pressed") << true << QList<double>{} << 15.0 << 5355 << 5355 << 4845
                                                        << 4845;
        QTest::newRow("never pressed: nothing moves") << false << QList<double>{900.0} << 900.0 << 5355 << 5355
                                                      << 4845 << 4845;
        // The splitter stops before grid one's left edge while dragging;
        // released on or beyond it, grid one keeps its width.
        QTest::newRow("onto grid one's edge") << true << QList<double>{-4845.0} << -4845.0 << 5355 << 510 << 4845
                                              << 4845;
        QTest::newRow("a twip right of it") << true << QList<double>{-4844.0} << -4844.0 << 511 << 511 << 1 << 1;
        QTest::newRow("left of grid one") << true << QList<double>{-6000.0} << -6000.0 << 5355 << -645 << 4845 << 4845;
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

    void wholeTwipsRoundsTiesToEven_data()
    {
        QTest::addColumn<double>("x");
        QTest::addColumn<int>("rounded");
        for (auto [name, x, rounded] : {std::tuple{"down", 14.4, 14}, {"tie below", 14.5, 14}, {"tie above", 15.5, 16},
                                        {"negative", -7.6, -8}})
            QTest::newRow(name) << x << rounded;
    }

    void wholeTwipsRoundsTiesToEven()
    {
        QFETCH(double, x);
        QTEST(FormLayout::WholeTwips(x), "rounded");
    }
};

QTEST_GUILESS_MAIN(tst_FormLayout)
#include "tst_FormLayout.moc"
