// Difference bar geometry and half-to-even rounding.
#include "compare/AlignedRows.h"
#include "compare/DiffBarGeometry.h"
#include "compare/Rounding.h"

#include <QTest>

using namespace DiffBar;

namespace {
struct BandCase {
    std::int32_t row, count;
    int gridRows, barHeight, top, height;
};
struct MarkCase {
    int row;
    float y;
    int gridRows, barHeight, markY, clickRow;
};  // -1: not checked
}  // namespace

class tst_DiffBarGeometry : public QObject {
    Q_OBJECT
private slots:
    void roundHalfEven()
    {
        const std::pair<double, qint64> cases[] = {
            {0.5, 0}, {1.5, 2}, {2.5, 2}, {-1.5, -2}, {-2.6, -3}, {2.51, 3}, {95.4999983310699462890625, 95}};
        for (const auto& [x, rounded] : cases)
            QVERIFY2(Rounding::RoundHalfEven(x) == rounded, qPrintable(QString::number(x, 'g', 17)));
    }

    // Band of a block of `count` rows from `row` on a bar of H units for N rows.
    void bands_data()
    {
        QTest::addColumn<BandCase>("c");
        // S = single(1.91); [95.5] is the even 96; [S x 2] = [3.82] = 4.
        QTest::newRow("N 100, H 191") << BandCase{51, 2, 100, 191, 96, 4};
        QTest::newRow("half rounds down to even") << BandCase{2, 1, 4, 10, 2, 2};
        QTest::newRow("two rows of 2.5") << BandCase{1, 2, 4, 10, 0, 5};
        QTest::newRow("top from H, not S") << BandCase{2, 1, 3, 100, 33, 33};
        QTest::newRow("at least one unit high") << BandCase{500, 1, 1000, 191, 95, 1};
        QTest::newRow("last rows stay on the bar") << BandCase{999, 1, 1000, 191, 190, 1};
        QTest::newRow("block without rows") << BandCase{5, 0, 10, 100, 0, 0};
        QTest::newRow("one grid row: the whole bar") << BandCase{1, 1, 1, 10, 0, 10};
        QTest::newRow("no grid rows: no band") << BandCase{1, 1, 0, 10, 0, 0};
        QTest::newRow("bar one unit high") << BandCase{3, 1, 4, 1, 0, 1};
        QTest::newRow("bar of no height: no band") << BandCase{3, 1, 4, 0, 0, 0};
    }

    void bands()
    {
        QFETCH(BandCase, c);
        const Band band = BandForBlock(c.row, c.count, 0x123456u, c.gridRows, c.barHeight);
        QVERIFY(band.top == c.top && band.height == c.height && band.color == 0x123456u);
        // Blocks of rows: the same band, in the colour of their kind.
        const std::vector<Band> both = BandsForBlocks(
            {Alignment::DiffBlock{c.row, c.count, 0, c.count, 0, 0}, Alignment::DiffBlock{c.row, c.count, 0, 1, 0, 1}},
            c.gridRows, c.barHeight);
        QVERIFY(both.size() == 2 && both[0].top == c.top && both[1].height == c.height);
        QVERIFY(both[0].color == Alignment::kOrphanColor && both[1].color == Alignment::kChangedColor);
    }

    // Current-row mark (row -> y) and a click on the bar (y -> row).
    void markAndClick_data()
    {
        QTest::addColumn<MarkCase>("c");
        // S x 50 is just below 95.5 in double precision from single S.
        QTest::newRow("N 100, H 191") << MarkCase{51, 95.5f, 100, 191, 95, 50};
        QTest::newRow("first row") << MarkCase{1, 0.0f, 100, 191, 0, 1};
        QTest::newRow("half to even, down") << MarkCase{2, 6.25f, 4, 10, 2, 2};
        QTest::newRow("trailing row") << MarkCase{1000, -1.0f, 1000, 191, 191, -1};
        QTest::newRow("off the bar") << MarkCase{-1, 12.0f, 4, 10, -1, 4};
        QTest::newRow("no rows") << MarkCase{-1, 5.0f, 0, 10, -1, 1};
    }

    void markAndClick()
    {
        QFETCH(MarkCase, c);
        if (c.markY >= 0)
            QCOMPARE(CurrentRowMarkY(c.row, c.gridRows, c.barHeight), c.markY);
        if (c.clickRow >= 0)
            QCOMPARE(RowAtBarY(c.y, c.gridRows, c.barHeight), c.clickRow);
    }
};

QTEST_GUILESS_MAIN(tst_DiffBarGeometry)
#include "tst_DiffBarGeometry.moc"
