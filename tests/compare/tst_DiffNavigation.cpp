// Searches of the difference navigation commands.
#include "compare/DiffNavigation.h"

#include <QTest>

using namespace DiffNavigation;

class tst_DiffNavigation : public QObject {
    Q_OBJECT
private slots:
    void searches_data();
    void searches();
    void missingListOrBusyWindow();
    void firstAndLast();
};

void tst_DiffNavigation::searches_data()
{
    QTest::addColumn<QStringList>("list");
    QTest::addColumn<int>("current");
    QTest::addColumn<int>("next");
    QTest::addColumn<int>("previous");
    const QStringList two{"5-3-12902911", "20-1-16768477"};
    QTest::newRow("inside first block") << two << 7 << 20 << 5;
    QTest::newRow("between blocks") << two << 12 << 20 << 5;
    QTest::newRow("on first block") << two << 5 << 20 << -1;
    QTest::newRow("before all") << two << 1 << 5 << -1;
    QTest::newRow("on last block") << two << 20 << -1 << 5;
    QTest::newRow("after all") << two << 40 << -1 << 20;
    const QStringList fromRowOne{"1-2-12902911", "8-1-12902911", "9-4-16768477"};
    QTest::newRow("row 1 with a block at row 1") << fromRowOne << 1 << 8 << -1;
    QTest::newRow("adjacent blocks") << fromRowOne << 8 << 9 << 1;
    QTest::newRow("inside the last block") << fromRowOne << 11 << -1 << 9;
    QTest::newRow("empty list") << QStringList{} << 3 << -1 << -1;
    QTest::newRow("unreadable entry passed over") << QStringList{"5-1-1", "junk", "30-1-1"} << 6
                                                  << 30 << 5;
}

void tst_DiffNavigation::searches()
{
    QFETCH(QStringList, list);
    QFETCH(int, current);
    QFETCH(int, next);
    QFETCH(int, previous);
    QCOMPARE(GetNextDiff(&list, current, false), next);
    QCOMPARE(GetPreviousDiff(&list, current, false), previous);
}

void tst_DiffNavigation::missingListOrBusyWindow()
{
    const QStringList list{"5-3-12902911"};
    QCOMPARE(GetNextDiff(nullptr, 1, false), kSearchNotRun);
    QCOMPARE(GetPreviousDiff(nullptr, 9, false), kSearchNotRun);
    QCOMPARE(GetNextDiff(&list, 1, true), kSearchNotRun);
    QCOMPARE(GetPreviousDiff(&list, 9, true), kSearchNotRun);
    QCOMPARE(kSearchNotRun, -999);
    QCOMPARE(kNoMoreDiffs, -1);
}

void tst_DiffNavigation::firstAndLast()
{
    const QStringList list{"3-1-1", "10-2-1", "44-7-1"};
    QCOMPARE(firstDiffRow(&list), std::optional<std::int32_t>(3));
    QCOMPARE(lastDiffRow(&list), std::optional<std::int32_t>(44));
    const QStringList empty;
    QVERIFY(!firstDiffRow(&empty));
    QVERIFY(!lastDiffRow(&empty));
    QVERIFY(!firstDiffRow(nullptr));
    QVERIFY(!lastDiffRow(nullptr));
}

QTEST_GUILESS_MAIN(tst_DiffNavigation)
#include "tst_DiffNavigation.moc"
