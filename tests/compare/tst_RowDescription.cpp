// The comparison in words: each row's state in a pane and what a move of
// the current row announces, read off a small comparison laid out by hand.
#include "compare/ComparisonModel.h"
#include "compare/RowDescription.h"
#include "engine/LineFile.h"

#include <QTest>

namespace {

// Rows (File One | File Two):
//   1 keep|keep  2 old|new  3 (filler)|new b  4 keep 2|keep 2  5 moved|(filler)
//   6 keep 3|keep 3  7 (filler)|moved  8..27 same N|same N  28 trailing row
// File One's line 4 "moved" moved to File Two's line 6.
ComparisonModel Example(std::optional<std::int32_t> context = std::nullopt)
{
    QByteArray one = "keep\nold\nkeep 2\nmoved\nkeep 3\n";
    QByteArray two = "keep\nnew\nnew b\nkeep 2\nkeep 3\nmoved\n";
    for (int i = 0; i < 20; ++i) {
        one += "same " + QByteArray::number(i) + '\n';
        two += "same " + QByteArray::number(i) + '\n';
    }
    ComparisonModel model;
    model.SetFolding(context);
    if (model.Show(LineFile::FromBytes(one.toStdString()), LineFile::FromBytes(two.toStdString()),
                   {{1, 1, 1, 2}, {3, 1, 4, 0}, {5, 0, 5, 1}})
        != Alignment::AlignStatus::Ok)
        qFatal("example does not align");
    model.ShowMoves({{3, 5, 1}});
    return model;
}

// One changed line and two changed lines, each at the same place in both files.
ComparisonModel SamePlaces()
{
    ComparisonModel model;
    if (model.Show(LineFile::FromBytes("a\nb\nc\nd\ne\n"), LineFile::FromBytes("a\nB\nc\nD\nE\n"),
                   {{1, 1, 1, 1}, {3, 2, 3, 2}})
        != Alignment::AlignStatus::Ok)
        qFatal("example does not align");
    return model;
}

}  // namespace

class tst_RowDescription : public QObject {
    Q_OBJECT

private slots:
    void rowState_data()
    {
        QTest::addColumn<int>("side");
        QTest::addColumn<int>("row");
        QTest::addColumn<QString>("state");
        QTest::newRow("before the first row") << 0 << 0 << "";
        QTest::newRow("first row") << 0 << 1 << "unchanged";
        QTest::newRow("changed, bookmarked and marked") << 0 << 2 << "changed, bookmarked, marked";
        QTest::newRow("other pane, bookmarked and marked too") << 1 << 2 << "changed, bookmarked, marked";
        QTest::newRow("filler in a changed block") << 0 << 3 << "filler, changed";
        QTest::newRow("line of a changed block") << 1 << 3 << "changed";
        QTest::newRow("moved away") << 0 << 5 << "moved to line 6 of File Two";
        QTest::newRow("filler facing a line only File One has") << 1 << 5 << "filler, only in File One";
        QTest::newRow("moved here") << 1 << 7 << "moved from line 4 of File One";
        QTest::newRow("last line") << 1 << 27 << "unchanged";
        QTest::newRow("trailing row") << 0 << 28 << "end";
        QTest::newRow("after the trailing row") << 0 << 29 << "";
    }

    void rowState()
    {
        QFETCH(int, side);
        QFETCH(int, row);
        QFETCH(QString, state);
        ComparisonModel model = Example();
        model.AddBookmark(2);
        model.SetMarkedRow(2);
        QCOMPARE(RowDescription::RowState(model, side, row), state);
    }

    // Rows farther than the context from every difference read as folded,
    // the context rows as themselves.
    void foldedRows()
    {
        const ComparisonModel model = Example(2);
        QCOMPARE(RowDescription::RowState(model, 0, 9), QStringLiteral("unchanged"));
        QCOMPARE(RowDescription::RowState(model, 1, 10), QStringLiteral("folded"));
        QCOMPARE(RowDescription::Announcement(model, 27), QStringLiteral("Folded: \u22EF 18 unchanged lines \u22EF"));
        QCOMPARE(RowDescription::Announcement(model, 28), QStringLiteral("End of the files"));
    }

    void announcement_data()
    {
        QTest::addColumn<bool>("samePlaces");
        QTest::addColumn<int>("row");
        QTest::addColumn<QString>("text");
        QTest::newRow("row 0") << false << 0 << "";
        QTest::newRow("unchanged at the same line") << false << 1 << "Unchanged: line 1";
        QTest::newRow("changed at different lines")
            << false << 3 << "Difference 1 of 3: line 2 of File One and lines 2\u20133 of File Two changed";
        QTest::newRow("unchanged at different lines")
            << false << 4 << "Unchanged: line 3 of File One, line 4 of File Two";
        QTest::newRow("only in File One, moved")
            << false << 5
            << "Difference 2 of 3: line 4 only in File One; File One's line 4 moved to line 6 of File Two";
        QTest::newRow("only in File Two, moved")
            << false << 7
            << "Difference 3 of 3: line 6 only in File Two; File Two's line 6 moved from line 4 of File One";
        QTest::newRow("trailing row") << false << 28 << "End of the files";
        QTest::newRow("after the trailing row") << false << 29 << "";
        QTest::newRow("one line changed in place") << true << 2 << "Difference 1 of 2: line 2 changed";
        QTest::newRow("two lines changed in place") << true << 5 << "Difference 2 of 2: lines 4\u20135 changed";
    }

    void announcement()
    {
        QFETCH(bool, samePlaces);
        QFETCH(int, row);
        QFETCH(QString, text);
        QCOMPARE(RowDescription::Announcement(samePlaces ? SamePlaces() : Example(), row), text);
    }

    void nothingShown() { QCOMPARE(RowDescription::Announcement(ComparisonModel(), 1), QString()); }

    void lineRange_data()
    {
        QTest::addColumn<int>("first");
        QTest::addColumn<int>("count");
        QTest::addColumn<QString>("text");
        QTest::newRow("none") << 4 << 0 << "no line";
        QTest::newRow("one") << 4 << 1 << "line 5";
        QTest::newRow("two") << 4 << 2 << "lines 5\u20136";
        QTest::newRow("the last 32-bit line") << 2147483647 << 1 << "line 2147483648";
    }

    void lineRange()
    {
        QFETCH(int, first);
        QFETCH(int, count);
        QFETCH(QString, text);
        QCOMPARE(RowDescription::LineRange(first, count), text);
    }
};

QTEST_GUILESS_MAIN(tst_RowDescription)
#include "tst_RowDescription.moc"
