// The character marks the comparison model keeps for its changed rows:
// which rows have them, what they hold, and when they are dropped.

#include "compare/Alignment.h"
#include "compare/ComparisonModel.h"
#include "engine/LineFile.h"

#include <QRandomGenerator>
#include <QTest>

namespace {

ComparisonModel Shown(const QByteArray& one, const QByteArray& two, const std::vector<LineDiff::Hunk>& hunks)
{
    ComparisonModel model;
    auto a = LineFile::FromBytes(one), b = LineFile::FromBytes(two);
    Alignment::AlignOutcome aligned =
        Alignment::alignHunks(hunks, std::int32_t(a->LineCount()), std::int32_t(b->LineCount()));
    if (!aligned.ok())
        qFatal("test comparison does not align");
    model.Show(a, b, std::move(aligned.rows));
    return model;
}

// Rows: 1 same|same  2 x abc|x ABD  3 only|(filler), a changed block of
// two lines against one; 4 the trailing row.
ComparisonModel Example()
{
    return Shown("same\nx abc\nonly\n", "same\nx ABD\n", {{1, 2, 1, 1}});
}

// 'x' for each false mark.
QString Letters(const std::vector<bool>& marks)
{
    QString letters;
    for (const bool common : marks)
        letters += common ? u'.' : u'x';
    return letters;
}

}  // namespace

class tst_RowMarks : public QObject {
    Q_OBJECT

private slots:
    void onlyChangedLinePairsHaveMarks_data()
    {
        QTest::addColumn<int>("row");
        QTest::addColumn<bool>("ignoreCase");
        QTest::addColumn<QString>("one");  // null: the row has no marks
        QTest::addColumn<QString>("two");
        QTest::newRow("unchanged") << 1 << false << QString() << QString();
        QTest::newRow("changed") << 2 << false << "..xxx" << "..xxx";
        QTest::newRow("changed, case ignored") << 2 << true << "....x" << "....x";
        QTest::newRow("changed line opposite a filler") << 3 << false << QString() << QString();
        QTest::newRow("trailing row") << 4 << false << QString() << QString();
        QTest::newRow("beyond the rows") << 9 << false << QString() << QString();
    }

    void onlyChangedLinePairsHaveMarks()
    {
        QFETCH(int, row);
        QFETCH(bool, ignoreCase);
        QFETCH(QString, one);
        QFETCH(QString, two);
        ComparisonModel model = Example();
        QCOMPARE(model.KnownRowMarkCount(), std::size_t{0});
        const auto* marks = model.RowMarks(row, ignoreCase);
        QCOMPARE(marks != nullptr, !one.isNull());
        if (!marks)
            return;
        QCOMPARE(Letters(marks->marks1), one);
        QCOMPARE(Letters(marks->marks2), two);
    }

    // Marks are worked out once and kept; another case rule, another
    // comparison shown or none shown drops them.
    void keptUntilTheComparisonChanges()
    {
        ComparisonModel model = Example();
        QVERIFY(!model.KnownRowMarks(2, false));
        const auto* first = model.RowMarks(2, false);
        QCOMPARE(model.RowMarks(2, false), first);
        QCOMPARE(model.KnownRowMarks(2, false), first);
        QVERIFY(!model.KnownRowMarks(2, true));
        QCOMPARE(Letters(model.RowMarks(2, true)->marks1), QStringLiteral("....x"));
        QVERIFY(!model.KnownRowMarks(2, false));
        // Row 2 of the next comparison is another pair of lines.
        model.Show(LineFile::FromBytes("a\nbc\n"), LineFile::FromBytes("a\nbd\n"), [] {
            return Alignment::alignHunks({{1, 1, 1, 1}}, 2, 2).rows;
        }());
        QCOMPARE(model.KnownRowMarkCount(), std::size_t{0});
        QCOMPARE(Letters(model.RowMarks(2, true)->marks2), QStringLiteral(".x"));
        model.Clear();
        QCOMPARE(model.KnownRowMarkCount(), std::size_t{0});
        QVERIFY(!model.RowMarks(2, true));
    }

    // Lines too long for the full table are compared within the detail
    // pane's budgets and still find a lone change and a lone deletion.
    void linesBeyondTheTable()
    {
        QByteArray one(100'000, 'a');
        QRandomGenerator random(17);
        for (char& c : one)
            c = static_cast<char>('a' + random.bounded(26));
        QByteArray two = one;
        two[10] = two[10] == '#' ? '$' : '#';
        two.remove(50'000, 1);
        ComparisonModel model = Shown("x\n" + one + '\n', "x\n" + two + '\n', {{1, 1, 1, 1}});
        const auto* marks = model.RowMarks(2, false);
        QVERIFY(marks && marks->method != modVantrel::LcsMethod::Table);
        QString expectedOne(one.size(), u'.'), expectedTwo(two.size(), u'.');
        expectedOne[10] = expectedOne[50'000] = expectedTwo[10] = u'x';
        QCOMPARE(Letters(marks->marks1), expectedOne);
        QCOMPARE(Letters(marks->marks2), expectedTwo);
    }
};

QTEST_GUILESS_MAIN(tst_RowMarks)
#include "tst_RowMarks.moc"
