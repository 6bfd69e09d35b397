// The layout pass and the splitter drag on the places in twips; where the
// window opens and where the pane-tooltip box goes, in pixels.

#include "mainwindow/FormLayout.h"

#include <QTest>

using FormLayout::Place;
using FormLayout::Places;

namespace {

constexpr std::int16_t kMargin = 200;

struct Layout {
    int cw, ch;
    Place gridOne, gridTwo, detailOne;
};

// Laid out at 10305 x 6630 first (splitter Left 5355, grid one 4845 wide),
// pressed at 15 unless not pressed, moved to `x` and released there.
struct Drag {
    bool pressed;
    double x;
    int leftWhileDragging, leftAtDrop, gridOneWidth, gridOneWidthAfterLayout;
};

}  // namespace

class tst_FormLayout : public QObject {
    Q_OBJECT

private slots:
    void layOut_data()
    {
        QTest::addColumn<Layout>("l");
        const auto row = [](const char* name, const Layout& l) { QTest::newRow(name) << l; };
        // Worked out by hand: grid height CH - 1590, grid two from L1 + W1 + 25
        // to 60 inside the right edge, detail lines CW - 200 wide below the grids.
        row("designed size", {10305, 6630, {510, 840, 4845, 5040}, {5380, 840, 4865, 5040}, {30, 5880, 10105, 375}});
        row("exactly the bands", {10305, 1590, {510, 840, 4845, 0}, {5380, 840, 4865, 0}, {30, 840, 10105, 375}});
        // Below 1590 the grids keep their height; the detail lines follow
        // the negative grid height upwards.
        row("too short", {10305, 1200, {510, 840, 4845, 5025}, {5380, 840, 4865, 5025}, {30, 450, 10105, 375}});
        // Narrower than grid one: it shrinks so that the splitter and grid
        // two's margin stay inside; grid two is 0 wide.
        row("narrow", {3000, 6630, {510, 840, 2405, 5040}, {2940, 840, 0, 5040}, {30, 5880, 2800, 375}});
        row("narrower than the left band", {300, 6630, {510, 840, 0, 5040}, {535, 840, 0, 5040}, {30, 5880, 100, 375}});
    }

    void layOut()
    {
        QFETCH(Layout, l);
        Places places = FormLayout::DesignedPlaces();
        for (int pass = 0; pass < 2; ++pass) {  // a second pass changes nothing
            FormLayout::LayOut(places, l.cw, l.ch, kMargin);
            QCOMPARE(places.grdFileOne, l.gridOne);
            QCOMPARE(places.grdFileTwo, l.gridTwo);
            QCOMPARE(places.rtfLineDiff0, l.detailOne);
            const Place& one = places.grdFileOne;
            const Place& detail = places.rtfLineDiff0;
            QCOMPARE(places.Splitter, (Place{one.Left + one.Width, one.Top, 25, one.Height}));
            QCOMPARE(places.rtfLineDiff1, (Place{detail.Left, detail.Top + 375, detail.Width, 375}));
            // The path boxes follow their grids horizontally and keep their row.
            QCOMPARE(places.txtFileOne, (Place{one.Left, 480, one.Width, 315}));
            QCOMPARE(places.txtFileTwo, (Place{places.grdFileTwo.Left, 480, places.grdFileTwo.Width, 315}));
        }
    }

    // The designed 600 x 400 window with a frame of 5 around and a title
    // bar of 20, opened on the available area of a screen.
    void openingGeometry_data()
    {
        QTest::addColumn<QRect>("available");
        QTest::addColumn<QRect>("opened");
        QTest::newRow("room to spare: centred") << QRect(0, 0, 1000, 800) << QRect(200, 207, 600, 400);
        QTest::newRow("a pixel short each way") << QRect(0, 0, 609, 424) << QRect(5, 20, 599, 399);
        QTest::newRow("exactly the room, beside a panel") << QRect(100, 30, 610, 425) << QRect(105, 50, 600, 400);
        QTest::newRow("smaller than the frame") << QRect(0, 0, 8, 8) << QRect(5, 20, 0, 0);
    }

    void openingGeometry()
    {
        QFETCH(QRect, available);
        QTEST(FormLayout::OpeningGeometry(QSize(600, 400), available, QMargins(5, 20, 5, 5)), "opened");
    }

    // The box designed at 580, 100 wide, in a client area; the toolbar ends at 400.
    void checkBoxLeft_data()
    {
        QTest::addColumn<int>("clientWidth");
        QTest::addColumn<int>("left");
        QTest::newRow("room to spare") << 700 << 580;
        QTest::newRow("ends at the edge") << 680 << 580;
        QTest::newRow("a pixel short") << 679 << 579;
        QTest::newRow("down to the toolbar") << 500 << 400;
        QTest::newRow("never onto the toolbar") << 499 << 400;
    }

    void checkBoxLeft()
    {
        QFETCH(int, clientWidth);
        QTEST(FormLayout::CheckBoxLeft(580, 100, clientWidth, 400), "left");
    }

    void splitterDrag_data()
    {
        QTest::addColumn<Drag>("d");
        QTest::newRow("never pressed: nothing moves") << Drag{false, 900.0, 5355, 5355, 4845, 4845};
        // The splitter stops before grid one's left edge while dragging;
        // released on or beyond it, grid one keeps its width.
        QTest::newRow("onto grid one's edge") << Drag{true, -4845.0, 5355, 510, 4845, 4845};
        QTest::newRow("a twip right of it") << Drag{true, -4844.0, 511, 511, 1, 1};
        // Far right: grid one is clamped by the layout pass.
        QTest::newRow("far right") << Drag{true, 30000.0, 35355, 35355, 34845, 9710};
    }

    void splitterDrag()
    {
        QFETCH(Drag, d);
        Places places = FormLayout::DesignedPlaces();
        FormLayout::LayOut(places, 10305, 6630, kMargin);
        FormLayout::SplitterDrag drag;
        if (d.pressed)
            FormLayout::SplitterMouseDown(drag, 15.0);
        FormLayout::SplitterMouseMove(places, drag, d.x);
        const int leftWhileDragging = places.Splitter.Left;
        QCOMPARE((std::tuple{leftWhileDragging, FormLayout::SplitterMouseUp(places, drag, d.x), places.Splitter.Left,
                             places.grdFileOne.Width, places.txtFileOne.Width}),
                 (std::tuple{d.leftWhileDragging, d.pressed, d.leftAtDrop, d.gridOneWidth, d.gridOneWidth}));
        FormLayout::LayOut(places, 10305, 6630, kMargin);
        QCOMPARE(places.grdFileOne.Width, d.gridOneWidthAfterLayout);
    }
};

QTEST_GUILESS_MAIN(tst_FormLayout)
#include "tst_FormLayout.moc"
