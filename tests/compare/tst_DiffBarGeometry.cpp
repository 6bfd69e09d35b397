// Difference bar geometry and DiffList entries.
#include "compare/AlignedRows.h"
#include "compare/DiffBarGeometry.h"
#include "compare/DiffListEntry.h"

#include <QTest>

using namespace DiffBar;

class tst_DiffBarGeometry : public QObject {
    Q_OBJECT
private slots:
    void roundHalfEven_data();
    void roundHalfEven();
    void entries();
    void bands_data();
    void bands();
    void bandsForWholeList();
    void markHeights_data();
    void markHeights();
    void clickRows_data();
    void clickRows();
};

void tst_DiffBarGeometry::roundHalfEven_data()
{
    QTest::addColumn<double>("x");
    QTest::addColumn<qint64>("rounded");
    QTest::newRow("0.5") << 0.5 << qint64(0);
    QTest::newRow("1.5") << 1.5 << qint64(2);
    QTest::newRow("2.5") << 2.5 << qint64(2);
    QTest::newRow("95.5") << 95.5 << qint64(96);
    QTest::newRow("just below a half") << 95.4999983310699462890625 << qint64(95);
    QTest::newRow("-0.5") << -0.5 << qint64(0);
    QTest::newRow("-1.5") << -1.5 << qint64(-2);
    QTest::newRow("-2.6") << -2.6 << qint64(-3);
    QTest::newRow("2.51") << 2.51 << qint64(3);
    QTest::newRow("whole") << 7.0 << qint64(7);
}

void tst_DiffBarGeometry::roundHalfEven()
{
    QFETCH(double, x);
    QFETCH(qint64, rounded);
    QCOMPARE(Alignment::roundHalfEven(x), rounded);
}

void tst_DiffBarGeometry::entries()
{
    QCOMPARE(Alignment::formatDiffListEntry(6, 2, Alignment::kOrphanColor), QStringLiteral("6-2-12902911"));
    const auto e = Alignment::parseDiffListEntry(QStringLiteral("3-1-16768477"));
    QVERIFY(e);
    QCOMPARE(e->firstRow, 3);
    QCOMPARE(e->rowCount, 1);
    QCOMPARE(e->color, 16768477);
    QVERIFY(!Alignment::parseDiffListEntry(QStringLiteral("3-1")));
    QVERIFY(!Alignment::parseDiffListEntry(QStringLiteral("x-1-2")));
    QCOMPARE(Alignment::diffListEntryFirstRow(QStringLiteral("20-4-1")), 20);
    QCOMPARE(Alignment::diffListEntryFirstRow(QStringLiteral("20")), 20);
    QCOMPARE(Alignment::diffListEntryFirstRow(QStringLiteral("2.5-1-1")), 2);  // halves to even
    QVERIFY(!Alignment::diffListEntryFirstRow(QStringLiteral("-4-1")));
}

void tst_DiffBarGeometry::bands_data()
{
    QTest::addColumn<qint64>("row");
    QTest::addColumn<qint64>("count");
    QTest::addColumn<int>("gridRows");
    QTest::addColumn<int>("barHeight");
    QTest::addColumn<int>("top");
    QTest::addColumn<int>("height");
    // S = single(1.91); [95.5] is the even 96; [S x 2] = [3.82] = 4.
    QTest::newRow("worked example") << qint64(51) << qint64(2) << 100 << 191 << 96 << 4;
    QTest::newRow("starts at row 1") << qint64(1) << qint64(3) << 100 << 191 << 0 << 6;
    QTest::newRow("half rounds down to even") << qint64(2) << qint64(1) << 4 << 10 << 2 << 2;
    QTest::newRow("exact step") << qint64(3) << qint64(1) << 4 << 10 << 5 << 2;
    QTest::newRow("two rows of 2.5") << qint64(1) << qint64(2) << 4 << 10 << 0 << 5;
    QTest::newRow("top from H, not S") << qint64(2) << qint64(1) << 3 << 100 << 33 << 33;
    QTest::newRow("whole steps") << qint64(7) << qint64(3) << 20 << 100 << 30 << 15;
    // [0.191] is 0: still painted one unit high.
    QTest::newRow("one row in a long comparison") << qint64(500) << qint64(1) << 1000 << 191 << 95 << 1;
    // [191 x 998 / 1000] = 191 is below the bar: moved up onto its last unit.
    QTest::newRow("last rows stay on the bar") << qint64(999) << qint64(1) << 1000 << 191 << 190 << 1;
    QTest::newRow("block without rows") << qint64(5) << qint64(0) << 10 << 100 << 0 << 0;
    QTest::newRow("no rows at all") << qint64(1) << qint64(1) << 0 << 100 << 0 << 0;
}

void tst_DiffBarGeometry::bands()
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

void tst_DiffBarGeometry::bandsForWholeList()
{
    const QStringList list{QStringLiteral("1-3-16768477"), QStringLiteral("unreadable"),
                           QStringLiteral("51-2-12902911")};
    const std::vector<Band> bands = bandsForDiffList(list, 100, 191);
    QCOMPARE(bands.size(), std::size_t(2));
    QCOMPARE(bands[0].color, Alignment::kChangedColor);
    QCOMPARE(bands[1].top, 96);
    QCOMPARE(bands[1].height, 4);
    QCOMPARE(bands[1].color, Alignment::kOrphanColor);
}

void tst_DiffBarGeometry::markHeights_data()
{
    QTest::addColumn<int>("row");
    QTest::addColumn<int>("gridRows");
    QTest::addColumn<int>("barHeight");
    QTest::addColumn<int>("y");
    // S x 50 is just below 95.5 in double precision from single S.
    QTest::newRow("worked example") << 51 << 100 << 191 << 95;
    QTest::newRow("first row") << 1 << 100 << 191 << 0;
    QTest::newRow("half to even down") << 2 << 4 << 10 << 2;
    QTest::newRow("half to even up") << 4 << 4 << 10 << 8;
    QTest::newRow("exact") << 3 << 4 << 10 << 5;
    QTest::newRow("trailing row") << 1000 << 1000 << 191 << 191;
}

void tst_DiffBarGeometry::markHeights()
{
    QFETCH(int, row);
    QFETCH(int, gridRows);
    QFETCH(int, barHeight);
    QFETCH(int, y);
    QCOMPARE(currentRowMarkY(row, gridRows, barHeight), y);
}

void tst_DiffBarGeometry::clickRows_data()
{
    QTest::addColumn<float>("y");
    QTest::addColumn<int>("gridRows");
    QTest::addColumn<int>("barHeight");
    QTest::addColumn<int>("row");
    QTest::newRow("very top") << 0.0f << 100 << 191 << 1;
    QTest::newRow("rounds to zero") << 1.25f << 4 << 10 << 1;
    QTest::newRow("1.5 to 2") << 3.75f << 4 << 10 << 2;
    QTest::newRow("2.5 to 2") << 6.25f << 4 << 10 << 2;
    QTest::newRow("3.5 to 4") << 8.75f << 4 << 10 << 4;
    QTest::newRow("bottom edge") << 10.0f << 4 << 10 << 4;
    QTest::newRow("below the bar") << 12.0f << 4 << 10 << 4;
    QTest::newRow("above the bar") << -3.0f << 4 << 10 << 1;
    QTest::newRow("middle of long bar") << 95.5f << 100 << 191 << 50;
    QTest::newRow("no rows") << 5.0f << 0 << 10 << 1;
}

void tst_DiffBarGeometry::clickRows()
{
    QFETCH(float, y);
    QFETCH(int, gridRows);
    QFETCH(int, barHeight);
    QFETCH(int, row);
    QCOMPARE(rowAtBarY(y, gridRows, barHeight), row);
}

QTEST_GUILESS_MAIN(tst_DiffBarGeometry)
#include "tst_DiffBarGeometry.moc"
