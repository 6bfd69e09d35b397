// Moved lines: which runs File One lost and File Two gained count as moved,
// between the blocks the comparison itself finds.

#include "ResultChecker.h"
#include "engine/MovedLines.h"

#include <QTest>
#include <random>
#include <set>

class tst_MovedLines : public QObject {
    Q_OBJECT

private slots:
    void pairing_data()
    {
        QTest::addColumn<QByteArray>("one");  // "|" separates the lines
        QTest::addColumn<QByteArray>("two");
        QTest::addColumn<QString>("moves");  // "lineOne>lineTwo+count" per move, 1-based
        QTest::addColumn<bool>("ignoreCase");
        QTest::addColumn<int>("filtered");  // a line of File One the comparison filters out, or -1
        const auto row = [](const char* name, const char* one, const char* two, const char* moves,
                            bool ignoreCase = false, int filtered = -1) {
            QTest::newRow(name) << QByteArray(one) << QByteArray(two) << moves << ignoreCase << filtered;
        };
        row("edit inside: two moves", "m1|m2|m3|X|m5|m6|m7|a|b|c|d|e|f|g", "a|b|c|d|e|f|g|m1|m2|m3|Y|m5|m6|m7",
            "1>8+3,5>12+3");
        row("part of a larger change moved", "a|old1|old2|f1|f2|f3|b|c|d|e", "a|new1|b|c|d|e|f1|f2|f3", "4>7+3");
        row("two blocks swapped: one moves", "p1|p2|p3|q1|q2|q3", "q1|q2|q3|p1|p2|p3", "1>4+3");
        row("copied, not moved", "a|c1|c2|c3|b", "a|c1|c2|c3|b|c1|c2|c3", "");
        row("moved and copied: one move", "c1|c2|c3|a|b|d|e", "a|b|d|e|c1|c2|c3|x|c1|c2|c3", "1>5+3");
        row("no line in two moves", "x1|x2|x3|a|b|c|d|e|f|g|h|i|j|y|x1|x2|x3", "a|b|c|d|y|x1|x2|x3|e|f|g|h|i|j",
            "1>6+3");
        row("a block cut where a brace matched elsewhere", "x1|x2|}|x3|x4|a|b|c|d|e|f|g|}",
            "a|b|c|d|e|f|g|x1|x2|}|x3|x4", "1>8+2,4>11+2");
        row("pieces 3 lines apart: one block", "x1|x2|p|q|r|x3|x4|a|b|c|d|e|f|g|h|i|j",
            "a|b|c|d|e|f|g|h|i|j|x1|x2|P|Q|R|x3|x4", "1>11+2,6>16+2");
        row("pieces 4 lines apart: two", "x1|x2|p|q|r|s|x3|x4|a|b|c|d|e|f|g|h|i|j",
            "a|b|c|d|e|f|g|h|i|j|x1|x2|P|Q|R|S|x3|x4", "");
        row("three blank lines", "|||a|b|c|d", "a|b|c|d|||", "");
        row("two short lines", "ab|cd|a|b|c", "a|b|c|ab|cd", "");
        row("one line of 19 letters", "abcdefghijklmnopqrs|a|b", "a|b|abcdefghijklmnopqrs", "");
        row("one line of 20 letters", "abcdefghij 0123456789|a|b", "a|b|abcdefghij 0123456789", "1>3+1");
        row("three short lines", "x1|x2|x3|a|b|c|d", "a|b|c|d|x1|x2|x3", "1>5+3");
        row("nothing gained", "a|b|c|d", "a|d", "");
        // Lines are paired under the comparison's rules (here letter case);
        // a line it filters out breaks a run.
        row("case differs", "F1|F2|F3|a|b|c|d", "a|b|c|d|f1|f2|f3", "");
        row("case ignored", "F1|F2|F3|a|b|c|d", "a|b|c|d|f1|f2|f3", "1>5+3", true);
        row("a filtered line inside", "m1|m2|m3|m4|m5|m6|m7|a|b|c|d|e|f|g|h", "a|b|c|d|e|f|g|h|m1|m2|m3|m4|m5|m6|m7",
            "1>9+3,5>13+3", false, 3);
    }

    void pairing()
    {
        QFETCH(QByteArray, one);
        QFETCH(QByteArray, two);
        QFETCH(bool, ignoreCase);
        QFETCH(int, filtered);
        const LineDiff::Settings settings{.ignoreCase = ignoreCase};
        LineMask mask(one.count('|') + 1);
        if (filtered >= 0)
            mask[filtered] = 1;
        const auto a = LineFile::FromBytes(one.replace('|', '\n').append('\n').toStdString());
        const auto b = LineFile::FromBytes(two.replace('|', '\n').append('\n').toStdString());
        QStringList found;
        for (const MovedLines::Move& m : MovedLines::Find(*a, *b, LineDiff::FindHunks(*a, *b, settings),
                                                          TextNormalizer(settings), filtered < 0 ? nullptr : &mask))
            found << QStringLiteral("%1>%2+%3").arg(m.lineOne + 1).arg(m.lineTwo + 1).arg(m.count);
        QTEST(found.join(u','), "moves");
    }

    // Random pairs of few distinct lines, a block cut and pasted among other
    // edits: every move pairs lines File One lost with lines File Two gained,
    // equal and consecutive, no line takes part in two moves, and the moves
    // of one block together mean something.
    void randomPairs()
    {
        std::mt19937 random(30);
        const LineDiff::Settings plain;
        const TextNormalizer normalizer(plain);
        for (int round = 0; round < 300; ++round) {
            QList<QByteArray> lines;
            for (int n = 0; n < 40; ++n)
                lines << (random() % 4 ? "line number " + QByteArray::number(random() % 12) : QByteArray("}"));
            QList<QByteArray> edited = lines;
            const qsizetype from = random() % 30, count = 1 + random() % 8;
            const QList<QByteArray> cut = edited.mid(from, count);
            edited.remove(from, count);
            const qsizetype at = random() % edited.size();
            edited = edited.first(at) + cut + edited.sliced(at);
            edited[random() % edited.size()] = "edited";
            const auto a = LineFile::FromBytes(ResultChecker::Join(lines, "\n", true).toStdString());
            const auto b = LineFile::FromBytes(ResultChecker::Join(edited, "\n", true).toStdString());
            const std::vector<LineDiff::Hunk> hunks = LineDiff::FindHunks(*a, *b, plain);
            const auto inHunks = [&](std::int64_t line, bool first) {
                return std::any_of(hunks.begin(), hunks.end(), [&](const LineDiff::Hunk& h) {
                    const std::int64_t start = first ? h.first1 : h.first2;
                    return line >= start && line < start + (first ? h.count1 : h.count2);
                });
            };
            std::set<std::int64_t> lost, gained;
            // Moves of one offset at most 3 lines apart are one block: each
            // such block means something, however short its pieces.
            std::int64_t letters = 0, rows = 0, end = -100, offset = 0;
            const auto meaningful = [&] {
                return rows == 0 || letters >= MovedLines::kMinAlnum || (rows >= MovedLines::kMinLines && letters > 0);
            };
            for (const MovedLines::Move& m : MovedLines::Find(*a, *b, hunks, normalizer)) {
                if (m.lineOne - end > 3 || m.lineTwo - m.lineOne != offset) {
                    QVERIFY(meaningful());
                    letters = rows = 0;
                }
                for (std::int64_t k = 0; k < m.count; ++k) {
                    QVERIFY(lost.insert(m.lineOne + k).second && gained.insert(m.lineTwo + k).second);
                    QVERIFY(inHunks(m.lineOne + k, true) && inHunks(m.lineTwo + k, false));
                    QCOMPARE(a->Line(m.lineOne + k), b->Line(m.lineTwo + k));
                    const QByteArray& line = lines[m.lineOne + k];
                    letters += std::count_if(line.begin(), line.end(),
                                             [](char c) { return std::isalnum(static_cast<unsigned char>(c)); });
                }
                rows += m.count;
                end = m.lineOne + m.count;
                offset = m.lineTwo - m.lineOne;
            }
            QVERIFY(meaningful());
        }
    }
};

QTEST_GUILESS_MAIN(tst_MovedLines)
#include "tst_MovedLines.moc"
