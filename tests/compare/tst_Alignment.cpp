// Result lines -> aligned rows and DiffList; random pairs through the real engine.
#include "compare/Alignment.h"
#include "compare/DiffListEntry.h"
#include "engine/cDiffEngine.h"

#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

using namespace Alignment;

namespace {

// One token per row: 1-based line number or "-", then "o" (orphan) or "c" (changed).
QString render(const PaneRows& pane)
{
    QStringList tokens;
    for (std::size_t i = 0; i < pane.size(); ++i) {
        const std::uint32_t c = pane.color[i];
        tokens << (pane.line[i] == kNoLine ? QStringLiteral("-") : QString::number(pane.line[i] + 1))
                      + (c == kOrphanColor ? "o" : c == kChangedColor ? "c" : c == kDefaultColor ? "" : "?");
    }
    return tokens.join(u' ');
}

QStringList split(const char* lines) { return QString::fromUtf8(lines).split(u'|', Qt::SkipEmptyParts); }

// "2-3-c 6-2-o": DiffList entries with the colour as a letter.
QStringList entries(const char* text)
{
    QStringList list = QString::fromUtf8(text).split(u' ', Qt::SkipEmptyParts);
    for (QString& e : list)
        e = e.chopped(1) + QString::number(e.endsWith(u'o') ? kOrphanColor : kChangedColor);
    return list;
}

// Each line once, in order, then one empty default row.
void verifyPane(const PaneRows& pane, qsizetype lines)
{
    std::int32_t expected = 0;
    for (std::int32_t line : pane.line)
        if (line != kNoLine) QCOMPARE(line, expected++);
    QCOMPARE(qsizetype(expected), lines);
    QCOMPARE(pane.line.back(), kNoLine);
    QCOMPARE(pane.color.back(), kDefaultColor);
}

// Panes rendered as above, DiffList as in entries(); panes unchecked when null.
struct Script {
    const char* result;
    int n1, n2;
    AlignStatus status;
    int failedLine;
    const char *one, *two, *diffs;
};

}  // namespace

class tst_Alignment : public QObject {
    Q_OBJECT
private slots:
    // Panes and DiffList are compared when given; a rejected script leaves
    // what was accepted and each file still whole and in order.
    void scripts_data()
    {
        QTest::addColumn<Script>("s");
        auto ok = [](const char* name, const char* result, int n1, int n2, const char* one, const char* two, const char* diffs) {
            QTest::newRow(name) << Script{result, n1, n2, AlignStatus::Ok, -1, one, two, diffs};
        };
        ok("empty file one", "0a1,3", 0, 3, "- - - -", "1o 2o 3o -", "1-3-o");
        ok("only line 3 differs", "3c3", 4, 4, "1 2 3c 4 -", "1 2 3c 4 -", "3-1-c");
        ok("two lines added after 5", "5a6,7", 6, 8, "1 2 3 4 5 - - 6 -", "1 2 3 4 5 6o 7o 8 -", "6-2-o");
        ok("three lines replaced by one", "2,4c2", 5, 3, "1 2c 3c 4c 5 -", "1 2c -c -c 3 -", "2-3-c");
        ok("both empty", "", 0, 0, "-", "-", "");
        ok("adjacent blocks", "1d0|1a1", 1, 1, "1o - -", "- 1o -", "1-1-o 2-1-o");
        ok("non-command lines ignored", "Only in x|< 3|---|> three| 3c3|3c3|x3c3", 3, 3, "1 2 3c -", "1 2 3c -", "3-1-c");
        ok("trailing blanks allowed", "2c2 \r", 2, 2, "1 2c -", "1 2c -", "2-1-c");
        auto bad = [](const char* name, const char* result, int n1, int n2, AlignStatus status, int line) {
            QTest::newRow(name) << Script{result, n1, n2, status, line, nullptr, nullptr, nullptr};
        };
        using S = AlignStatus;
        bad("unknown letter", "3x3", 4, 4, S::MalformedCommand, 0);
        bad("missing right side", "3a", 4, 5, S::MalformedCommand, 0);
        bad("range before a", "1,2a3", 4, 5, S::MalformedCommand, 0);
        bad("range after d", "3d4,5", 4, 5, S::MalformedCommand, 0);
        bad("text after command", "3c3 x", 4, 4, S::MalformedCommand, 0);
        bad("empty second number", "3,c3", 4, 4, S::MalformedCommand, 0);
        bad("number too large", "99999999999c1", 4, 4, S::MalformedCommand, 0);
        bad("after ignored lines", "< a|3c3|--|3q3", 4, 4, S::MalformedCommand, 3);
        bad("beyond file one", "5c5", 4, 5, S::OutOfRange, 0);
        bad("beyond file two", "1a6", 5, 5, S::OutOfRange, 0);
        bad("add after missing line", "6a6", 5, 6, S::OutOfRange, 0);
        bad("delete past file two", "1d5", 4, 4, S::OutOfRange, 0);
        bad("line zero changed", "0c1", 4, 4, S::OutOfRange, 0);
        bad("backwards range", "3,2c2", 4, 4, S::OutOfRange, 0);
        bad("unequal stretch before", "2c3", 4, 5, S::OutOfOrder, 0);
        bad("no commands, lengths differ", "", 3, 4, S::CountMismatch, -1);
        bad("tail not accounted for", "2c2", 4, 5, S::CountMismatch, -1);
        bad("negative line count", "", -1, 0, S::OutOfRange, -1);
        QTest::newRow("overlap keeps the first block")
            << Script{"1a2,3|1c1", 3, 5, S::OutOfOrder, 1, "1 - - 2 3 -", "1 2o 3o 4 5 -", "2-2-o"};
    }

    void scripts()
    {
        QFETCH(Script, s);
        const AlignOutcome out = alignResultLines(split(s.result), s.n1, s.n2);
        QCOMPARE(out.status, s.status);
        QCOMPARE(out.failedResultLine, s.failedLine);
        QVERIFY(!describeAlignStatus(out.status).isEmpty());
        verifyPane(out.rows.one, std::max(s.n1, 0));
        verifyPane(out.rows.two, std::max(s.n2, 0));
        if (s.one) {
            QCOMPARE(render(out.rows.one), QString(s.one));
            QCOMPARE(render(out.rows.two), QString(s.two));
            QCOMPARE(out.rows.DiffList, entries(s.diffs));
        }
    }

    void padsShorterPane()
    {
        AlignOutcome uneven = alignResultLines(QStringList{}, 1, 4);
        padShorterPane(uneven.rows);
        QCOMPARE(render(uneven.rows.one), QStringLiteral("1 - - - -"));
        QCOMPARE(render(uneven.rows.two), QStringLiteral("1 2 3 4 -"));
    }

    // One DiffList entry per engine block: its lines then fillers in each pane;
    // outside the entries, equal lines in the default colour.
    void randomPairsThroughTheEngine()
    {
        static const char* const kLines[] = {"alpha", "beta", "gamma", "", "\tdelta", "alpha "};
        QTemporaryDir dir;
        const QString paths[2] = {dir.filePath("one"), dir.filePath("two")};
        QRandomGenerator rng(424242);
        for (int round = 0; round < 300; ++round) {
            for (const QString& path : paths) {
                QFile f(path);
                QVERIFY(f.open(QIODevice::WriteOnly));
                for (int i = int(rng.bounded(25)); i > 0; --i)
                    f.write(QByteArray(kLines[rng.bounded(6)]) + (i == 1 && rng.bounded(3) == 0 ? "" : "\n"));
            }
            cDiffEngine engine;
            const int code = engine.CompareFiles(paths[0], paths[1]);
            QVERIFY2(code < 2, qPrintable(engine.ResultLine(0)));
            const auto a = engine.LoadedFile(0), b = engine.LoadedFile(1);
            qsizetype asked = 0;  // each result line read once
            const AlignOutcome out = alignResultLines(
                engine.ResultLineCount(), [&](qsizetype i) { return ++asked, engine.ResultLine(int(i)); },
                std::int32_t(a->LineCount()), std::int32_t(b->LineCount()));
            QVERIFY2(out.ok(), qPrintable(describeAlignStatus(out.status)));
            QCOMPARE(asked, qsizetype(engine.ResultLineCount()));
            const PaneRows &p1 = out.rows.one, &p2 = out.rows.two;
            QCOMPARE(p1.size(), p2.size());
            verifyPane(p1, a->LineCount());
            verifyPane(p2, b->LineCount());
            const auto& hunks = engine.Hunks();
            QCOMPARE(std::size_t(out.rows.DiffList.size()), hunks.size());
            std::vector<bool> inBlock(p1.size(), false);
            for (std::size_t k = 0; k < hunks.size(); ++k) {
                const auto e = parseDiffListEntry(out.rows.DiffList[qsizetype(k)]);
                QVERIFY(e);
                const LineDiff::Hunk& h = hunks[k];
                const bool changed = h.count1 > 0 && h.count2 > 0;
                QCOMPARE(e->rowCount, std::max(h.count1, h.count2));
                QCOMPARE(e->color, std::int64_t(changed ? kChangedColor : kOrphanColor));
                for (std::int64_t r = 0; r < e->rowCount; ++r) {
                    const auto row = std::size_t(e->firstRow - 1 + r);
                    QVERIFY(row + 1 < p1.size() && !inBlock[row]);
                    inBlock[row] = true;
                    for (const auto& [pane, first, count] : {std::tuple{&p1, h.first1, h.count1}, std::tuple{&p2, h.first2, h.count2}}) {
                        QCOMPARE(pane->line[row], r < count ? std::int32_t(first + r) : kNoLine);
                        QCOMPARE(pane->color[row], r < count || changed ? std::uint32_t(e->color) : kDefaultColor);
                    }
                }
            }
            for (std::size_t r = 0; r + 1 < p1.size(); ++r) {
                if (inBlock[r]) continue;
                QVERIFY(p1.line[r] != kNoLine && p2.line[r] != kNoLine);
                QVERIFY(p1.color[r] == kDefaultColor && p2.color[r] == kDefaultColor);
                QCOMPARE(QByteArrayView(a->RawLine(p1.line[r])).toByteArray(), QByteArrayView(b->RawLine(p2.line[r])).toByteArray());
            }
        }
    }

    // A million rows with 10,000 blocks: one pass, not row-by-row insertion.
    void millionLines()
    {
        constexpr int kLines = 1'000'000;
        QStringList result;
        for (int line = 50; line <= kLines; line += 100) result << QStringLiteral("%1c%1").arg(line);
        result << QStringLiteral("%1a%2,%3").arg(kLines).arg(kLines + 1).arg(kLines + 2);
        const AlignOutcome out = alignResultLines(result, kLines, kLines + 2);
        QCOMPARE(out.status, AlignStatus::Ok);
        QCOMPARE(out.rows.one.size(), std::size_t(kLines + 3));
        QCOMPARE(out.rows.DiffList.size(), qsizetype(kLines / 100 + 1));
        QCOMPARE(out.rows.DiffList.last(), QStringLiteral("1000001-2-12902911"));
    }
};

QTEST_GUILESS_MAIN(tst_Alignment)
#include "tst_Alignment.moc"
