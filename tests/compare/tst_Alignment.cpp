// Difference blocks -> aligned rows: worked examples and the refusals, with
// what a refused list leaves shown once the shorter pane is padded.
#include "compare/Alignment.h"

#include <QTest>
#include <limits>

using namespace Alignment;

namespace {

// One token per row: 1-based line number or "-", then "o" (orphan) or "c" (changed).
QString Render(const PaneRows& pane)
{
    const QHash<std::uint32_t, QString> kind{{kOrphanColor, "o"}, {kChangedColor, "c"}, {kDefaultColor, ""}};
    QStringList tokens;
    for (std::size_t i = 0; i < pane.size(); ++i)
        tokens << (pane.line[i] == kNoLine ? QStringLiteral("-") : QString::number(pane.line[i] + 1))
                      + kind.value(pane.color[i], "?");
    return tokens.join(u' ');
}

// "2-3-c 6-2-o": blocks as first row, row count and kind.
QString Render(const std::vector<DiffBlock>& blocks)
{
    QStringList tokens;
    for (const DiffBlock& b : blocks)
        tokens << QStringLiteral("%1-%2-%3").arg(b.firstRow).arg(b.rowCount).arg(QChar(b.Orphan() ? u'o' : u'c'));
    return tokens.join(u' ');
}

struct Script {
    std::vector<LineDiff::Hunk> hunks;  // first1, count1, first2, count2 (0-based)
    int n1, n2;
    AlignStatus status;
    int failedBlock;
    const char *one, *two, *blocks;  // unchecked when null
};

}  // namespace

class tst_Alignment : public QObject {
    Q_OBJECT
private slots:
    // Which block a list is refused at, and why; a refused list keeps the
    // blocks accepted before it.
    void blocks_data()
    {
        QTest::addColumn<Script>("s");
        auto ok = [](const char* name, std::vector<LineDiff::Hunk> h, int n1, int n2, const char* one, const char* two,
                     const char* blocks) {
            QTest::newRow(name) << Script{std::move(h), n1, n2, AlignStatus::Ok, -1, one, two, blocks};
        };
        ok("empty file one", {{0, 0, 0, 3}}, 0, 3, "- - - -", "1o 2o 3o -", "1-3-o");
        ok("only line 3 differs", {{2, 1, 2, 1}}, 4, 4, "1 2 3c 4 -", "1 2 3c 4 -", "3-1-c");
        ok("two lines added after 5", {{5, 0, 5, 2}}, 6, 8, "1 2 3 4 5 - - 6 -", "1 2 3 4 5 6o 7o 8 -", "6-2-o");
        ok("three lines replaced by one", {{1, 3, 1, 1}}, 5, 3, "1 2c 3c 4c 5 -", "1 2c -c -c 3 -", "2-3-c");
        ok("one line replaced by three", {{1, 1, 1, 3}}, 3, 5, "1 2c -c -c 3 -", "1 2c 3c 4c 5 -", "2-3-c");
        ok("both empty", {}, 0, 0, "-", "-", "");
        ok("adjacent blocks", {{0, 1, 0, 0}, {1, 0, 0, 1}}, 1, 1, "1o - -", "- 1o -", "1-1-o 2-1-o");
        ok("blocks at both ends", {{0, 1, 0, 0}, {3, 0, 2, 1}}, 3, 3, "1o 2 3 - -", "- 1 2 3o -", "1-1-o 4-1-o");
        auto bad = [](const char* name, std::vector<LineDiff::Hunk> h, int n1, int n2, AlignStatus status, int block) {
            QTest::newRow(name) << Script{std::move(h), n1, n2, status, block, nullptr, nullptr, nullptr};
        };
        using S = AlignStatus;
        constexpr std::int64_t huge = std::numeric_limits<std::int64_t>::max() - 1;
        bad("no line on either side", {{1, 0, 1, 0}}, 4, 4, S::EmptyBlock, 0);
        bad("negative position", {{-1, 1, 0, 1}}, 4, 4, S::EmptyBlock, 0);
        bad("beyond file one", {{4, 1, 4, 1}}, 4, 5, S::OutOfRange, 0);
        bad("beyond file two", {{1, 0, 5, 1}}, 5, 5, S::OutOfRange, 0);
        bad("far beyond, no overflow", {{huge, huge, 0, 1}}, 4, 4, S::OutOfRange, 0);
        bad("unequal stretch before", {{1, 1, 2, 1}}, 4, 5, S::OutOfOrder, 0);
        QTest::newRow("no blocks, lengths differ")
            << Script{{}, 1, 4, S::CountMismatch, -1, "1 - - - -", "1 2 3 4 -", ""};
        bad("tail not accounted for", {{1, 1, 1, 1}}, 4, 5, S::CountMismatch, -1);
        bad("negative line count", {}, -1, 0, S::OutOfRange, -1);
        QTest::newRow("overlap keeps the first block")
            << Script{{{1, 0, 1, 2}, {0, 1, 0, 1}}, 3, 5, S::OutOfOrder, 1, "1 - - 2 3 -", "1 2o 3o 4 5 -", "2-2-o"};
    }

    void blocks()
    {
        QFETCH(Script, s);
        AlignOutcome out = AlignHunks(s.hunks, s.n1, s.n2);
        QCOMPARE(out.status, s.status);
        QCOMPARE(out.failedBlock, std::int64_t(s.failedBlock));
        QVERIFY(!DescribeAlignStatus(out.status).isEmpty());
        if (s.one) {
            PadShorterPane(out.rows);  // no change when aligned
            QCOMPARE(Render(out.rows.one), QString(s.one));
            QCOMPARE(Render(out.rows.two), QString(s.two));
            QCOMPARE(Render(out.rows.blocks), QString(s.blocks));
        }
        if (out.ok())
            QCOMPARE(RowsNeeded(s.hunks, s.n1), std::int64_t(out.rows.one.size()));
        // RowOfLine finds each shown line's row.
        for (int side = 0; side < 2 && out.ok(); ++side) {
            const PaneRows& pane = side == 0 ? out.rows.one : out.rows.two;
            for (std::size_t i = 0; i < pane.size(); ++i)
                if (pane.line[i] != kNoLine)
                    QCOMPARE(RowOfLine(out.rows.blocks, side, pane.line[i]), std::int32_t(i + 1));
        }
    }
};

QTEST_GUILESS_MAIN(tst_Alignment)
#include "tst_Alignment.moc"
