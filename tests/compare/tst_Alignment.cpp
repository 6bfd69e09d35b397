// Result lines -> aligned rows and DiffList.
#include "compare/Alignment.h"

#include <QRandomGenerator>
#include <QTest>

using namespace Alignment;

namespace {

// A pane in a compact notation: one token per row, the 1-based line number or
// "-" for a row without a line, followed by "o" for the orphan colour or "c"
// for the changed colour. Example: "1 2c -c 3 -".
QString render(const PaneRows& pane)
{
    QStringList tokens;
    for (std::size_t i = 0; i < pane.size(); ++i) {
        QString t = pane.line[i] == kNoLine ? QStringLiteral("-") : QString::number(pane.line[i] + 1);
        if (pane.color[i] == kOrphanColor) {
            t += u'o';
        } else if (pane.color[i] == kChangedColor) {
            t += u'c';
        } else if (pane.color[i] != kDefaultColor) {
            t += u'?';
        }
        tokens << t;
    }
    return tokens.join(u' ');
}

QStringList split(const char* lines)
{
    return QString::fromUtf8(lines).split(u'|', Qt::SkipEmptyParts);
}

// ---- A literal model of the row-at-a-time insertion, kept deliberately naive. ----

struct SimRow {
    int line;  // 1-based, 0 for a row without a line
    std::uint32_t color;
};

struct Sim {
    QList<SimRow> one, two;  // index 0 is grid row 1
    QStringList diffs;
};

void parseSide(const QString& part, int& first, int& last)
{
    const QStringList nums = part.split(u',');
    first = nums.first().toInt();
    last = nums.last().toInt();
}

void colour(QList<SimRow>& grid, int from, int to, std::uint32_t color)
{
    for (int r = from; r <= to; ++r) {
        grid[r - 1].color = color;
    }
}

void insertFillers(QList<SimRow>& grid, int count, int row)
{
    for (int i = 0; i < count; ++i) {
        grid.insert(row - 1, SimRow{0, kDefaultColor});
    }
}

Sim simulate(const QStringList& result, int n1, int n2)
{
    Sim s;
    for (int i = 1; i <= n1; ++i) s.one.append({i, kDefaultColor});
    for (int i = 1; i <= n2; ++i) s.two.append({i, kDefaultColor});
    s.one.append({0, kDefaultColor});
    s.two.append({0, kDefaultColor});
    int o1 = 0, o2 = 0;
    for (const QString& line : result) {
        if (line.isEmpty() || !line[0].isDigit()) continue;
        const QChar letter = line.contains(u'a') ? u'a' : line.contains(u'd') ? u'd' : u'c';
        const QStringList parts = line.split(letter);
        int f1, t1, f2, t2;
        parseSide(parts[0], f1, t1);
        parseSide(parts[1], f2, t2);
        if (letter == u'a') {
            const int k = t2 - f2 + 1;
            insertFillers(s.one, k, o1 + f1 + 1);
            o1 += k;
            colour(s.two, f2 + o2, t2 + o2, kOrphanColor);
            s.diffs << QStringLiteral("%1-%2-%3").arg(f2 + o2).arg(k).arg(kOrphanColor);
        } else if (letter == u'd') {
            const int k = t1 - f1 + 1;
            colour(s.one, f1 + o1, t1 + o1, kOrphanColor);
            insertFillers(s.two, k, o2 + f2 + 1);
            o2 += k;
            s.diffs << QStringLiteral("%1-%2-%3").arg(f1 + o1).arg(k).arg(kOrphanColor);
        } else {
            const int k1 = t1 - f1 + 1, k2 = t2 - f2 + 1, b2 = o2;
            if (k2 > k1) { insertFillers(s.one, k2 - k1, t1 + o1 + 1); o1 += k2 - k1; }
            if (k1 > k2) { insertFillers(s.two, k1 - k2, t2 + o2 + 1); o2 += k1 - k2; }
            colour(s.one, f2 + b2, t2 + o2, kChangedColor);
            colour(s.two, f2 + b2, t2 + o2, kChangedColor);
            s.diffs << QStringLiteral("%1-%2-%3").arg(f2 + b2).arg(std::max(k1, k2)).arg(kChangedColor);
        }
    }
    return s;
}

PaneRows toPane(const QList<SimRow>& grid)
{
    PaneRows pane;
    for (const SimRow& r : grid) {
        pane.line.push_back(r.line == 0 ? kNoLine : r.line - 1);
        pane.color.push_back(r.color);
    }
    return pane;
}

// ---- A small, slow but plainly correct line diff to feed both. ----

QString range(int first, int last)
{
    return first == last ? QString::number(first) : QStringLiteral("%1,%2").arg(first).arg(last);
}

QStringList bruteForceDiff(const QStringList& a, const QStringList& b)
{
    const int n = int(a.size()), m = int(b.size());
    std::vector<std::vector<int>> lcs(n + 1, std::vector<int>(m + 1, 0));
    for (int i = n - 1; i >= 0; --i)
        for (int j = m - 1; j >= 0; --j)
            lcs[i][j] = a[i] == b[j] ? lcs[i + 1][j + 1] + 1 : std::max(lcs[i + 1][j], lcs[i][j + 1]);
    QStringList out;
    int i = 0, j = 0;
    while (i < n || j < m) {
        if (i < n && j < m && a[i] == b[j] && lcs[i][j] == lcs[i + 1][j + 1] + 1) { ++i; ++j; continue; }
        const int si = i, sj = j;  // a hunk: skip until the next matched pair
        while ((i < n || j < m) && !(i < n && j < m && a[i] == b[j] && lcs[i][j] == lcs[i + 1][j + 1] + 1)) {
            if (i < n && (j >= m || lcs[i + 1][j] >= lcs[i][j + 1])) ++i; else ++j;
        }
        if (i == si) out << QStringLiteral("%1a%2").arg(si).arg(range(sj + 1, j));
        else if (j == sj) out << QStringLiteral("%1d%2").arg(range(si + 1, i)).arg(sj);
        else out << QStringLiteral("%1c%2").arg(range(si + 1, i), range(sj + 1, j));
        out << QStringLiteral("< text that is ignored") << QStringLiteral("---");
    }
    return out;
}

QStringList randomFile(QRandomGenerator& rng, int maxLines)
{
    QStringList lines;
    const int n = int(rng.bounded(maxLines + 1));
    for (int i = 0; i < n; ++i) lines << QString(QChar(u'a' + int(rng.bounded(4))));
    return lines;
}

}  // namespace

class tst_Alignment : public QObject {
    Q_OBJECT
private slots:
    void wellFormed_data();
    void wellFormed();
    void rejected_data();
    void rejected();
    void failureKeepsAcceptedBlocksAndPads();
    void callableSourceReadsEachLineOnceInOrder();
    void matchesRowAtATimeInsertion();
    void millionLines();
};

void tst_Alignment::wellFormed_data()
{
    QTest::addColumn<QStringList>("result");
    QTest::addColumn<int>("n1");
    QTest::addColumn<int>("n2");
    QTest::addColumn<QString>("one");
    QTest::addColumn<QString>("two");
    QTest::addColumn<QStringList>("diffs");
    const QString o = QString::number(kOrphanColor), c = QString::number(kChangedColor);

    QTest::newRow("empty file one") << split("0a1,3") << 0 << 3 << "- - - -" << "1o 2o 3o -"
                                    << QStringList{"1-3-" + o};
    QTest::newRow("only line 3 differs") << split("3c3") << 4 << 4 << "1 2 3c 4 -" << "1 2 3c 4 -"
                                         << QStringList{"3-1-" + c};
    QTest::newRow("two lines added after 5") << split("5a6,7") << 6 << 8 << "1 2 3 4 5 - - 6 -"
                                             << "1 2 3 4 5 6o 7o 8 -" << QStringList{"6-2-" + o};
    QTest::newRow("three lines replaced by one") << split("2,4c2") << 5 << 3 << "1 2c 3c 4c 5 -"
                                                 << "1 2c -c -c 3 -" << QStringList{"2-3-" + c};
    QTest::newRow("one line replaced by three") << split("2c2,4") << 3 << 5 << "1 2c -c -c 3 -"
                                                << "1 2c 3c 4c 5 -" << QStringList{"2-3-" + c};
    QTest::newRow("add at start") << split("0a1") << 2 << 3 << "- 1 2 -" << "1o 2 3 -"
                                  << QStringList{"1-1-" + o};
    QTest::newRow("add at end") << split("2a3,4") << 2 << 4 << "1 2 - - -" << "1 2 3o 4o -"
                                << QStringList{"3-2-" + o};
    QTest::newRow("delete at start") << split("1,2d0") << 3 << 1 << "1o 2o 3 -" << "- - 1 -"
                                     << QStringList{"1-2-" + o};
    QTest::newRow("delete in middle") << split("2d1") << 3 << 2 << "1 2o 3 -" << "1 - 2 -"
                                      << QStringList{"2-1-" + o};
    QTest::newRow("delete at end") << split("3d2") << 3 << 2 << "1 2 3o -" << "1 2 - -"
                                   << QStringList{"3-1-" + o};
    QTest::newRow("all of file one deleted") << split("1,2d0") << 2 << 0 << "1o 2o -" << "- - -"
                                             << QStringList{"1-2-" + o};
    QTest::newRow("change at start") << split("1c1,2") << 2 << 3 << "1c -c 2 -" << "1c 2c 3 -"
                                     << QStringList{"1-2-" + c};
    QTest::newRow("change at end") << split("3,4c3") << 4 << 3 << "1 2 3c 4c -" << "1 2 3c -c -"
                                   << QStringList{"3-2-" + c};
    QTest::newRow("no commands") << QStringList{} << 2 << 2 << "1 2 -" << "1 2 -" << QStringList{};
    QTest::newRow("both empty") << QStringList{} << 0 << 0 << "-" << "-" << QStringList{};
    QTest::newRow("offsets carry over") << split("1a2|3d3|5c5,6") << 5 << 6
                                        << "1 - 2 3o 4 5c -c -" << "1 2o 3 - 4 5c 6c -"
                                        << QStringList{"2-1-" + o, "4-1-" + o, "6-2-" + c};
    QTest::newRow("adjacent blocks") << split("1d0|1a1") << 1 << 1 << "1o - -" << "- 1o -"
                                     << QStringList{"1-1-" + o, "2-1-" + o};
    QTest::newRow("non-command lines ignored")
        << split("Only in x|< 3|---|> three| 3c3|3c3|x3c3") << 3 << 3 << "1 2 3c -" << "1 2 3c -"
        << QStringList{"3-1-" + c};
    QTest::newRow("trailing blanks allowed") << QStringList{"2c2 \r"} << 2 << 2 << "1 2c -"
                                             << "1 2c -" << QStringList{"2-1-" + c};
}

void tst_Alignment::wellFormed()
{
    QFETCH(QStringList, result);
    QFETCH(int, n1);
    QFETCH(int, n2);
    const AlignOutcome out = alignResultLines(result, n1, n2);
    QCOMPARE(out.status, AlignStatus::Ok);
    QCOMPARE(out.failedResultLine, -1);
    QFETCH(QString, one);
    QFETCH(QString, two);
    QFETCH(QStringList, diffs);
    QCOMPARE(render(out.rows.one), one);
    QCOMPARE(render(out.rows.two), two);
    QCOMPARE(out.rows.DiffList, diffs);
}

void tst_Alignment::rejected_data()
{
    QTest::addColumn<QStringList>("result");
    QTest::addColumn<int>("n1");
    QTest::addColumn<int>("n2");
    QTest::addColumn<AlignStatus>("status");
    QTest::addColumn<int>("failedLine");

    QTest::newRow("unknown letter") << split("3x3") << 4 << 4 << AlignStatus::MalformedCommand << 0;
    QTest::newRow("two letters") << split("3a4d5") << 9 << 9 << AlignStatus::MalformedCommand << 0;
    QTest::newRow("letters a and c") << split("3ac4") << 9 << 9 << AlignStatus::MalformedCommand << 0;
    QTest::newRow("missing right side") << split("3a") << 4 << 5 << AlignStatus::MalformedCommand << 0;
    QTest::newRow("range before a") << split("1,2a3") << 4 << 5 << AlignStatus::MalformedCommand << 0;
    QTest::newRow("range after d") << split("3d4,5") << 4 << 5 << AlignStatus::MalformedCommand << 0;
    QTest::newRow("text after command") << split("3c3 x") << 4 << 4 << AlignStatus::MalformedCommand << 0;
    QTest::newRow("empty second number") << split("3,c3") << 4 << 4 << AlignStatus::MalformedCommand << 0;
    QTest::newRow("number too large") << split("99999999999c1") << 4 << 4
                                      << AlignStatus::MalformedCommand << 0;
    QTest::newRow("after ignored lines") << split("< a|3c3|--|3q3") << 4 << 4
                                         << AlignStatus::MalformedCommand << 3;
    QTest::newRow("beyond file one") << split("5c5") << 4 << 5 << AlignStatus::OutOfRange << 0;
    QTest::newRow("beyond file two") << split("1a6") << 5 << 5 << AlignStatus::OutOfRange << 0;
    QTest::newRow("add after missing line") << split("6a6") << 5 << 6 << AlignStatus::OutOfRange << 0;
    QTest::newRow("line zero changed") << split("0c1") << 4 << 4 << AlignStatus::OutOfRange << 0;
    QTest::newRow("backwards range") << split("3,2c2") << 4 << 4 << AlignStatus::OutOfRange << 0;
    QTest::newRow("delete past file two") << split("1d5") << 4 << 4 << AlignStatus::OutOfRange << 0;
    QTest::newRow("descending") << split("3c3|2c2") << 4 << 4 << AlignStatus::OutOfOrder << 1;
    QTest::newRow("overlapping") << split("2,3c2,3|3c3") << 4 << 4 << AlignStatus::OutOfOrder << 1;
    QTest::newRow("repeated") << split("2c2|2c2") << 4 << 4 << AlignStatus::OutOfOrder << 1;
    QTest::newRow("unequal stretch before") << split("2c3") << 4 << 5 << AlignStatus::OutOfOrder << 0;
    QTest::newRow("unequal stretch after add") << split("1a2|3c3") << 4 << 5
                                               << AlignStatus::OutOfOrder << 1;
    QTest::newRow("no commands, lengths differ") << QStringList{} << 3 << 4
                                                 << AlignStatus::CountMismatch << -1;
    QTest::newRow("tail not accounted for") << split("2c2") << 4 << 5 << AlignStatus::CountMismatch << -1;
    QTest::newRow("negative line count") << QStringList{} << -1 << 0 << AlignStatus::OutOfRange << -1;
}

void tst_Alignment::rejected()
{
    QFETCH(QStringList, result);
    QFETCH(int, n1);
    QFETCH(int, n2);
    const AlignOutcome out = alignResultLines(result, n1, n2);
    QFETCH(AlignStatus, status);
    QFETCH(int, failedLine);
    QCOMPARE(out.status, status);
    QCOMPARE(out.failedResultLine, failedLine);
    QVERIFY(!out.ok());
    QVERIFY(!describeAlignStatus(out.status).isEmpty());
    // Whatever was accepted, every line of each file is still shown once, in
    // order, and each pane ends with an empty row.
    for (const auto& [pane, n] : {std::pair{&out.rows.one, n1}, std::pair{&out.rows.two, n2}}) {
        std::int32_t expected = 0;
        for (std::int32_t line : pane->line) {
            if (line != kNoLine) QCOMPARE(line, expected++);
        }
        QCOMPARE(expected, std::max(n, 0));
        QVERIFY(pane->size() >= 1);
        QCOMPARE(pane->line.back(), kNoLine);
    }
}

void tst_Alignment::failureKeepsAcceptedBlocksAndPads()
{
    // The first command fits; the second overlaps it. The first block stays
    // aligned and coloured, the rest of each file follows unaligned.
    AlignOutcome out = alignResultLines(split("1a2,3|1c1"), 3, 5);
    QCOMPARE(out.status, AlignStatus::OutOfOrder);
    QCOMPARE(out.failedResultLine, 1);
    QCOMPARE(render(out.rows.one), QStringLiteral("1 - - 2 3 -"));
    QCOMPARE(render(out.rows.two), QStringLiteral("1 2o 3o 4 5 -"));
    QCOMPARE(out.rows.DiffList, QStringList{QStringLiteral("2-2-12902911")});

    AlignOutcome uneven = alignResultLines(QStringList{}, 1, 4);
    QCOMPARE(render(uneven.rows.one), QStringLiteral("1 -"));
    padShorterPane(uneven.rows);
    QCOMPARE(render(uneven.rows.one), QStringLiteral("1 - - - -"));
    QCOMPARE(render(uneven.rows.two), QStringLiteral("1 2 3 4 -"));

    padShorterPane(uneven.rows);  // already even: nothing changes
    QCOMPARE(uneven.rows.one.size(), std::size_t(5));
    QCOMPARE(uneven.rows.two.size(), std::size_t(5));
}

void tst_Alignment::callableSourceReadsEachLineOnceInOrder()
{
    const QStringList result = split("x|1c1|y|3d2");
    QList<qsizetype> asked;
    const AlignOutcome out = alignResultLines(
        result.size(), [&](qsizetype i) { asked << i; return result.at(i); }, 3, 2);
    QCOMPARE(out.status, AlignStatus::Ok);
    QCOMPARE(asked, (QList<qsizetype>{0, 1, 2, 3}));
    QCOMPARE(render(out.rows.one), QStringLiteral("1c 2 3o -"));
}

void tst_Alignment::matchesRowAtATimeInsertion()
{
    QRandomGenerator rng(20240611);
    for (int round = 0; round < 400; ++round) {
        const QStringList a = randomFile(rng, 12), b = randomFile(rng, 12);
        const QStringList result = bruteForceDiff(a, b);
        const AlignOutcome out = alignResultLines(result, int(a.size()), int(b.size()));
        QVERIFY2(out.ok(), qPrintable(result.join(u'|')));
        const Sim sim = simulate(result, int(a.size()), int(b.size()));
        QCOMPARE(render(out.rows.one), render(toPane(sim.one)));
        QCOMPARE(render(out.rows.two), render(toPane(sim.two)));
        QCOMPARE(out.rows.DiffList, sim.diffs);
        // Both panes as long as each other; unchanged rows face equal lines.
        QCOMPARE(out.rows.one.size(), out.rows.two.size());
        for (std::size_t r = 0; r < out.rows.one.size(); ++r) {
            if (out.rows.one.color[r] == kDefaultColor && out.rows.one.line[r] != kNoLine) {
                QVERIFY(out.rows.two.line[r] != kNoLine);
                QCOMPARE(a[out.rows.one.line[r]], b[out.rows.two.line[r]]);
            }
        }
    }
}

void tst_Alignment::millionLines()
{
    // One changed line in every 100, 1,000,000 lines each.
    constexpr int kLines = 1'000'000;
    QStringList result;
    for (int line = 50; line <= kLines; line += 100) {
        result << QStringLiteral("%1c%1").arg(line);
    }
    result << QStringLiteral("%1a%2,%3").arg(kLines).arg(kLines + 1).arg(kLines + 2);
    const AlignOutcome out = alignResultLines(result, kLines, kLines + 2);
    QCOMPARE(out.status, AlignStatus::Ok);
    QCOMPARE(out.rows.one.size(), std::size_t(kLines + 3));
    QCOMPARE(out.rows.two.size(), std::size_t(kLines + 3));
    QCOMPARE(out.rows.DiffList.size(), qsizetype(kLines / 100 + 1));
    QCOMPARE(out.rows.DiffList.last(), QStringLiteral("1000001-2-12902911"));
    QCOMPARE(out.rows.one.line[kLines - 1], kLines - 1);
    QCOMPARE(out.rows.one.line[kLines], kNoLine);
    QCOMPARE(out.rows.one.color[49], kChangedColor);
}

QTEST_GUILESS_MAIN(tst_Alignment)
#include "tst_Alignment.moc"
