// Searches of the difference navigation commands.
#include "compare/DiffNavigation.h"

#include <QTest>

using namespace DiffNavigation;

namespace {
struct Search { QStringList list; int current, next, previous; };
}  // namespace

class tst_DiffNavigation : public QObject {
    Q_OBJECT
private slots:
    void searches_data()
    {
        QTest::addColumn<Search>("c");
        const QStringList two{"5-3-12902911", "20-1-16768477"};
        QTest::newRow("between blocks 5 and 20") << Search{two, 12, 20, 5};
        QTest::newRow("on first block") << Search{two, 5, 20, -1};
        QTest::newRow("on last block") << Search{two, 20, -1, 5};
        QTest::newRow("empty list") << Search{QStringList{}, 3, -1, -1};
        QTest::newRow("unreadable entry passed over") << Search{QStringList{"5-1-1", "junk", "30-1-1"}, 6, 30, 5};
    }

    void searches()
    {
        QFETCH(Search, c);
        auto [list, current, next, previous] = c;
        QCOMPARE(GetNextDiff(&list, current, false), next);
        QCOMPARE(GetPreviousDiff(&list, current, false), previous);
        // No list, or a busy window: no search at all.
        QVERIFY(GetNextDiff(&list, current, true) == kSearchNotRun && GetPreviousDiff(&list, current, true) == kSearchNotRun);
        QVERIFY(GetNextDiff(nullptr, current, false) == kSearchNotRun && GetPreviousDiff(nullptr, current, false) == kSearchNotRun);
    }

    void firstAndLast()
    {
        const QStringList list{"3-1-1", "10-2-1", "44-7-1"}, empty;
        QCOMPARE(firstDiffRow(&list), std::optional<std::int32_t>(3));
        QCOMPARE(lastDiffRow(&list), std::optional<std::int32_t>(44));
        QVERIFY(!firstDiffRow(&empty) && !lastDiffRow(&empty) && !firstDiffRow(nullptr) && !lastDiffRow(nullptr));
    }
};

QTEST_GUILESS_MAIN(tst_DiffNavigation)
#include "tst_DiffNavigation.moc"
