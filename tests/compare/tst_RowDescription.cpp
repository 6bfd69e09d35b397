// The comparison in words: each row's state in a pane and what a move of
// the current row announces, read off a small comparison laid out by hand.
#include "ShownModel.h"
#include "compare/ComparisonModel.h"
#include "compare/RowDescription.h"
#include "engine/LineFile.h"

#include <QTest>

namespace {

// Rows (File One | File Two):
//   1 keep|keep  2 old|new  3 (filler)|new b  4 keep 2|keep 2  5 moved|(filler)
//   6 keep 3|keep 3  7 (filler)|moved  8..27 same|same  28 trailing row
// File One's line 4 "moved" moved to File Two's line 6; row 2 bookmarked
// and marked.
ComparisonModel Example(std::optional<std::int32_t> context = std::nullopt)
{
    const QByteArray same = QByteArray("same\n").repeated(20);
    ComparisonModel model =
        Shown("keep\nold\nkeep 2\nmoved\nkeep 3\n" + same, "keep\nnew\nnew b\nkeep 2\nkeep 3\nmoved\n" + same,
              {{1, 1, 1, 2}, {3, 1, 4, 0}, {5, 0, 5, 1}});
    model.SetFolding(context);
    model.ShowMoves({{3, 5, 1}});
    model.AddBookmark(2);
    model.SetMarkedRow(2);
    return model;
}

// One changed line and two changed lines, each at the same place in both files.
ComparisonModel SamePlaces()
{
    return Shown("a\nb\nc\nd\ne\n", "a\nB\nc\nD\nE\n", {{1, 1, 1, 1}, {3, 2, 3, 2}});
}

}  // namespace

class tst_RowDescription : public QObject {
    Q_OBJECT

private slots:
    // Both panes' state of a row and what moving to it announces.
    void rows_data()
    {
        QTest::addColumn<QString>("model");  // example, folded (context 2), same places
        QTest::addColumn<int>("row");
        QTest::addColumn<QString>("one");  // the row's state in File One's pane
        QTest::addColumn<QString>("two");
        QTest::addColumn<QString>("announcement");
        const auto row = [](const char* name, const char* model, int at, const char* one, const char* two,
                            const char* announcement) {
            QTest::newRow(name) << QString(model) << at << QString(one) << QString(two)
                                << QString::fromUtf8(announcement);
        };
        const char* const firstBlock = "Difference 1 of 3: line 2 of File One and lines 2\u20133 of File Two changed";
        row("row 0", "example", 0, "", "", "");
        row("unchanged at the same line", "example", 1, "unchanged", "unchanged", "Unchanged: line 1");
        row("changed, bookmarked and marked", "example", 2, "changed, bookmarked, marked",
            "changed, bookmarked, marked", firstBlock);
        row("filler in a changed block", "example", 3, "filler, changed", "changed", firstBlock);
        row("unchanged at different lines", "example", 4, "unchanged", "unchanged",
            "Unchanged: line 3 of File One, line 4 of File Two");
        row("only in File One, moved", "example", 5, "moved to line 6 of File Two", "filler, only in File One",
            "Difference 2 of 3: line 4 only in File One; File One's line 4 moved to line 6 of File Two");
        row("only in File Two, moved", "example", 7, "filler, only in File Two", "moved from line 4 of File One",
            "Difference 3 of 3: line 6 only in File Two; File Two's line 6 moved from line 4 of File One");
        row("last line", "example", 27, "unchanged", "unchanged",
            "Unchanged: line 25 of File One, line 26 of File Two");
        row("trailing row", "example", 28, "end", "end", "End of the files");
        row("after the trailing row", "example", 29, "", "", "");
        // Rows farther than the context from every difference read as
        // folded, the context rows as themselves.
        row("context row", "folded", 9, "unchanged", "unchanged", "Unchanged: line 7 of File One, line 8 of File Two");
        row("folded", "folded", 10, "folded", "folded", "Folded: \u22EF 18 unchanged lines \u22EF");
        row("two lines changed in place", "same places", 5, "changed", "changed",
            "Difference 2 of 2: lines 4\u20135 changed");
    }

    void rows()
    {
        QFETCH(QString, model);
        QFETCH(int, row);
        const ComparisonModel shown = model == "folded"        ? Example(2)
                                      : model == "same places" ? SamePlaces()
                                                               : Example();
        QTEST(RowDescription::RowState(shown, 0, row), "one");
        QTEST(RowDescription::RowState(shown, 1, row), "two");
        QTEST(RowDescription::Announcement(shown, row), "announcement");
    }

    // No line at all and the last line a 32-bit count reaches; one line and
    // several are read in the rows above.
    void lineRange()
    {
        QCOMPARE(RowDescription::LineRange(4, 0), QStringLiteral("no line"));
        QCOMPARE(RowDescription::LineRange(2147483647, 1), QStringLiteral("line 2147483648"));
    }
};

QTEST_GUILESS_MAIN(tst_RowDescription)
#include "tst_RowDescription.moc"
