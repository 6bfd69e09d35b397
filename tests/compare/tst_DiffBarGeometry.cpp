// Difference bar geometry and DiffList entries.
#include "compare/AlignedRows.h"
#include "compare/DiffBarGeometry.h"
#include "compare/DiffListEntry.h"

#include <QTest>

using namespace DiffBar;

class tst_DiffBarGeometry : public QObject {
    Q_OBJECT
private slots:
    void roundHalfEven_data()
    {
        QTest::addColumn<double>("x");
        QTest::addColumn<qint64>("rounded");
        for (auto [x, r] : {std::pair{0.5, 0}, {1.5, 2}, {2.5, 2}, {-1.5, -2}, {-2.6, -3}, {2.51, 3}, {95.4999983310699462890625, 95}})
            QTest::addRow("%.17g", x) << x << qint64(r);
    }

    void roundHalfEven()
    {
        QFETCH(double, x);
        QFETCH(qint64, rounded);
        QCOMPARE(Alignment::roundHalfEven(x), rounded);
    }

    void entries()
    {
        QCOMPARE(Alignment::formatDiffListEntry(6, 2, Alignment::kOrphanColor), QStringLiteral("6-2-12902911"));
        const auto e = Alignment::parseDiffListEntry(QStringLiteral("3-1-16768477"));
        QVERIFY(e && e->firstRow == 3 && e->rowCount == 1 && e->color == 16768477);
        QVERIFY(!Alignment::parseDiffListEntry(QStringLiteral("3-1")));
        QVERIFY(!Alignment::parseDiffListEntry(QStringLiteral("x-1-2")));
        QCOMPARE(Alignment::diffListEntryFirstRow(QStringLiteral("20")), 20);
        QCOMPARE(Alignment::diffListEntryFirstRow(QStringLiteral("2.5-1-1")), 2);  // halves to even
        QVERIFY(!Alignment::diffListEntryFirstRow(QStringLiteral("-4-1")));
        // N 100, H 191 from a DiffList, the unreadable entry skipped.
        const std::vector<Band> all = bandsForDiffList({"junk", "51-2-12902911"}, 100, 191);
        QVERIFY(all.size() == 1 && all[0].top == 96 && all[0].height == 4 && all[0].color == Alignment::kOrphanColor);
    }

    // Band of a block of `count` rows from `row` on a bar of H units for N rows.
    void bands_data()
    {
        QTest::addColumn<qint64>("row");
        QTest::addColumn<qint64>("count");
        QTest::addColumn<int>("gridRows");
        QTest::addColumn<int>("barHeight");
        QTest::addColumn<int>("top");
        QTest::addColumn<int>("height");
        // S = single(1.91); [95.5] is the even 96; [S x 2] = [3.82] = 4.
        QTest::newRow("N 100, H 191") << qint64(51) << qint64(2) << 100 << 191 << 96 << 4;
        QTest::newRow("half rounds down to even") << qint64(2) << qint64(1) << 4 << 10 << 2 << 2;
        QTest::newRow("two rows of 2.5") << qint64(1) << qint64(2) << 4 << 10 << 0 << 5;
        QTest::newRow("top from H, not S") << qint64(2) << qint64(1) << 3 << 100 << 33 << 33;
        QTest::newRow("at least one unit high") << qint64(500) << qint64(1) << 1000 << 191 << 95 << 1;
        QTest::newRow("last rows stay on the bar") << qint64(999) << qint64(1) << 1000 << 191 << 190 << 1;
        QTest::newRow("block without rows") << qint64(5) << qint64(0) << 10 << 100 << 0 << 0;
    }

    void bands()
    {
        QFETCH(qint64, row);
        QFETCH(qint64, count);
        QFETCH(int, gridRows);
        QFETCH(int, barHeight);
        QFETCH(int, top);
        QFETCH(int, height);
        const Band band = bandForBlock(row, count, 0x123456u, gridRows, barHeight);
        QCOMPARE(band.top, top);
        QCOMPARE(band.height, height);
        QCOMPARE(band.color, 0x123456u);
    }

    // Current-row mark (row -> y) and a click on the bar (y -> row).
    void markAndClick_data()
    {
        QTest::addColumn<int>("row");
        QTest::addColumn<float>("y");
        QTest::addColumn<int>("gridRows");
        QTest::addColumn<int>("barHeight");
        QTest::addColumn<int>("markY");     // -1: not checked
        QTest::addColumn<int>("clickRow");  // -1: not checked
        // S x 50 is just below 95.5 in double precision from single S.
        QTest::newRow("N 100, H 191") << 51 << 95.5f << 100 << 191 << 95 << 50;
        QTest::newRow("first row") << 1 << 0.0f << 100 << 191 << 0 << 1;
        QTest::newRow("half to even, down") << 2 << 6.25f << 4 << 10 << 2 << 2;
        QTest::newRow("trailing row") << 1000 << -1.0f << 1000 << 191 << 191 << -1;
        QTest::newRow("off the bar") << -1 << 12.0f << 4 << 10 << -1 << 4;
        QTest::newRow("no rows") << -1 << 5.0f << 0 << 10 << -1 << 1;
    }

    void markAndClick()
    {
        QFETCH(int, row);
        QFETCH(float, y);
        QFETCH(int, gridRows);
        QFETCH(int, barHeight);
        QFETCH(int, markY);
        QFETCH(int, clickRow);
        if (markY >= 0) QCOMPARE(currentRowMarkY(row, gridRows, barHeight), markY);
        if (clickRow >= 0) QCOMPARE(rowAtBarY(y, gridRows, barHeight), clickRow);
    }
};

QTEST_GUILESS_MAIN(tst_DiffBarGeometry)
#include "tst_DiffBarGeometry.moc"
