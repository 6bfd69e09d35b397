// cDiffEngine: result lines applied to File One give File Two, and the edit
// is as small as a brute-force longest common subsequence allows.

#include "ResultChecker.h"
#include "engine/cDiffEngine.h"
#include "support/TextBytes.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <cerrno>
#include <cstring>

using namespace ResultChecker;

namespace {
struct Mix {
    int seed, maxLines, alphabet;
    QByteArray ending;
    bool minimal;
};
// A pair of files, the code, the first result lines, and the settings.
enum Flags { kCase = 1, kSpace = 2, kForce = 4, kBinary = 8 /* found binary */ };
struct Pair {
    QByteArray one, two;
    int code;
    QList<QByteArray> lines = {};
    int flags = 0;
};
}  // namespace

class tst_DiffEngine : public QObject {
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    QString Write(const QString& name, const QByteArray& bytes)
    {
        return ResultChecker::Write(m_dir.filePath(name), bytes);
    }

    static QList<QByteArray> Result(const cDiffEngine& engine)
    {
        QList<QByteArray> lines;
        for (int i = 0; i < engine.ResultLineCount(); ++i)
            lines << engine.ResultLineBytes(i);
        return lines;
    }

private slots:
    void roundTripAndMinimality_data()
    {
        QTest::addColumn<Mix>("c");
        QTest::newRow("few distinct lines") << Mix{1, 25, 3, "\n", true};
        QTest::newRow("some repeats") << Mix{2, 40, 12, "\n", true};
        QTest::newRow("mostly unique") << Mix{3, 60, 1000, "\n", true};
        QTest::newRow("CRLF") << Mix{4, 30, 5, "\r\n", true};
        QTest::newRow("default mode, repeats") << Mix{5, 40, 4, "\n", false};
        QTest::newRow("default mode, unique") << Mix{6, 60, 500, "\n", false};
    }

    void roundTripAndMinimality()
    {
        QFETCH(Mix, c);
        const auto& [seed, maxLines, alphabet, ending, minimal] = c;
        QRandomGenerator rng(static_cast<quint32>(seed));
        cDiffEngine engine;
        engine.Minimal(minimal);
        for (int round = 0; round < 300; ++round) {
            const QList<QByteArray> a = RandomLines(rng, rng.bounded(maxLines + 1), alphabet);
            // Half the pairs are edits of each other, half unrelated.
            const QList<QByteArray> b = rng.bounded(2) ? Edited(rng, a, rng.bounded(8), alphabet)
                                                       : RandomLines(rng, rng.bounded(maxLines + 1), alphabet);
            const QByteArray one = Join(a, ending, rng.bounded(4) != 0);
            const QByteArray two = Join(b, ending, rng.bounded(4) != 0);
            QCOMPARE(engine.CompareFiles(Write("one", one), Write("two", two)), one == two ? 0 : 1);
            QByteArray applied;
            QCOMPARE(Apply(one, Result(engine), applied), QString());
            QCOMPARE(applied, two);
            // Lines compared with their endings. The default mode leaves the
            // exact search only on far larger regions, so it agrees here too.
            const QList<QByteArray> la = SplitKeepingEnds(one), lb = SplitKeepingEnds(two);
            QCOMPARE(ChangedLines(engine.Hunks()), la.size() + lb.size() - 2 * LcsLength(la, lb));
        }
    }

    // The search is exact up to its cut-off and guesses beyond it (split at
    // unique lines, at the furthest point, then polished): the result is
    // still a valid script and near the smallest.
    void cutoff_data()
    {
        QTest::addColumn<QList<QByteArray>>("a");
        QTest::addColumn<QList<QByteArray>>("b");
        QTest::addColumn<int>("cutoff");
        QTest::addColumn<int>("excess");  // changed lines allowed beyond the smallest, per mille; -1: some needed
        // A pair whose smallest script takes three rounds of the search, with
        // the cut-off at 3 and at 2. A guess splits at the furthest point
        // reached, which may be File One's end: there after one round, a
        // smallest split.
        const QList<QByteArray> one = QByteArray("b c a d a c a b c c a d").split(' ');
        const QList<QByteArray> two = QByteArray("d b b d c a c b b b d d b c").split(' ');
        QTest::newRow("at the cut-off") << one << two << 3 << 0;
        QTest::newRow("one round beyond") << one << two << 2 << -1;
        QTest::newRow("a guess at File One's end")
            << QByteArray("a b b").split(' ') << QByteArray("b b a a").split(' ') << 1 << 0;
        // Guesses on large unrelated or heavily edited pairs.
        const auto guessed = [](const char* name, quint32 seed, int lines, int alphabet, bool edited) {
            QRandomGenerator rng(seed);
            const QList<QByteArray> a = RandomLines(rng, lines, alphabet);
            const QList<QByteArray> b = edited ? Edited(rng, a, lines, alphabet) : RandomLines(rng, lines, alphabet);
            QTest::newRow(name) << a << b << 200 << 20;
        };
        guessed("unrelated, few classes", 11, 3000, 20, false);
        guessed("unrelated, two classes", 14, 3000, 2, false);
        guessed("unrelated, many classes", 12, 3000, 3000, false);
        guessed("heavily edited", 13, 4000, 200, true);
    }

    void cutoff()
    {
        QFETCH(QList<QByteArray>, a);
        QFETCH(QList<QByteArray>, b);
        QFETCH(int, cutoff);
        QFETCH(int, excess);
        const QByteArray one = Join(a, "\n", true), two = Join(b, "\n", true);
        const auto fileOne = LineFile::FromBytes(one.toStdString());
        const auto fileTwo = LineFile::FromBytes(two.toStdString());
        LineDiff::Settings settings;
        settings.cutoff = cutoff;
        const std::vector<LineDiff::Hunk> hunks = LineDiff::FindHunks(*fileOne, *fileTwo, settings);
        QList<QByteArray> result;
        const Emit::NormalLines lines(*fileOne, *fileTwo, hunks);
        std::string scratch;
        for (qint64 i = 0; i < lines.Count(); ++i) {
            const Emit::NormalLines::Line line = lines.At(i, scratch);
            result << Bytes(line.head) + Bytes(line.text);
        }
        QByteArray applied;
        QCOMPARE(Apply(one, result, applied), QString());
        QCOMPARE(applied, two);
        const qint64 changed = ChangedLines(hunks);
        const qint64 least = a.size() + b.size() - 2 * LcsLength(a, b);
        QVERIFY2(excess < 0 ? changed > least : changed <= least + least * excess / 1000,
                 qPrintable(QStringLiteral("%1 changed lines, smallest %2").arg(changed).arg(least)));
    }

    // The code, the first result lines as given, the outcome, and the
    // result applied to File One giving File Two (File Two is taken as it
    // is when settings relax the comparison).
    void pairs_data()
    {
        QTest::addColumn<Pair>("c");
        using L = QList<QByteArray>;
        QTest::newRow("both empty") << Pair{{}, {}, 0, L{}};
        QTest::newRow("File One empty") << Pair{{}, "x\ny\nz\n", 1, L{"0a1,3", "> x"}};
        QTest::newRow("one line changed") << Pair{"a\nb\nc\n", "a\nB\nc\n", 1, L{"2c2", "< b", "---", "> B"}};
        QTest::newRow("three replaced by one") << Pair{"a\nb\nc\nd\ne\n", "a\nX\ne\n", 1, L{"2,4c2"}};
        QTest::newRow("two added after 5") << Pair{"1\n2\n3\n4\n5\n6\n", "1\n2\n3\n4\n5\nx\ny\n6\n", 1, L{"5a6,7"}};
        const QByteArray noNewline = "\\ No newline at end of file";
        QTest::newRow("no newline in File One") << Pair{"a\nb", "a\nc\n", 1, L{"2c2", "< b", noNewline, "---", "> c"}};
        QTest::newRow("no newline in File Two") << Pair{"a\nb\n", "a\nb", 1, L{"2c2", "< b", "---", "> b", noNewline}};
        QTest::newRow("no newline on both, same") << Pair{"a\nb", "a\nb", 0, L{}};
        QTest::newRow("CRLF against LF") << Pair{"a\r\nb\r\n", "a\nb\n", 1, L{"1,2c1,2", "< a\r"}};
        QTest::newRow("invalid UTF-8") << Pair{"ok\n\xff\xfe bad\n", "ok\n\xc3\x28\n", 1, L{"2c2"}};
        // Not UTF-16 after all (odd length), and no NUL byte: text, as before.
        QTest::newRow("UTF-16 mark on text") << Pair{"\xff\xfezy\n", "\xff\xfezx\n", 1, L{"1c1"}};
        const QByteArray xs(100000, 'x');
        QTest::newRow("NUL after the first block is text")
            << Pair{xs + "\n", xs + QByteArray(1, '\0') + "\n", 1, L{"1c1"}};
        const QByteArray longLine(1 << 20, 'q');
        QByteArray otherLong = longLine;
        otherLong[500000] = 'r';
        QTest::newRow("1 MB line") << Pair{"a\n" + longLine + "\nz\n", "a\n" + otherLong + "\nz\n", 1, L{"2c2"}};
        // Ambiguous blocks: where the block goes among the equally small choices.
        QTest::newRow("function added after a blank line")
            << Pair{"a() {\n}\n\nc() {\n}\n", "a() {\n}\n\nb() {\n}\n\nc() {\n}\n", 1, L{"3a4,6"}};
        QTest::newRow("block does not start with a blank line")
            << Pair{"foo\nbar\n", "foo\n\nfoo\nbar\n", 1, L{"0a1,2"}};
        QTest::newRow("block goes as far down as it can")
            << Pair{"if (a) {\n  x;\n}\ny;\n", "if (a) {\n  x;\n}\nif (b) {\n  x;\n}\ny;\n", 1, L{"3a4,6"}};
        QTest::newRow("block does not start with a closing brace")
            << Pair{"  x;\ny;\n", "  x;\n}\n  x;\ny;\n", 1, L{"0a1,2"}};
        QTest::newRow("deletion joins a change") << Pair{"z\nk\nk\n", "z\nq\nk\n", 1, L{"2c2"}};
        // The settings relax case and white space, never the encoding.
        QTest::newRow("ASCII case") << Pair{"Hello\n", "hELLO\n", 0, {}, kCase};
        QTest::newRow("German umlauts") << Pair{"\xc3\x84rger\n", "\xc3\xa4RGER\n", 0, {}, kCase};
        QTest::newRow("different letters stay different") << Pair{"\xc3\xa4\n", "a\n", 1, {}, kCase | kSpace};
        QTest::newRow("single-byte line folds too") << Pair{"\xc4\n", "\xe4\n", 0, {}, kCase};
        QTest::newRow("Windows-1252 letters fold") << Pair{"\x8a\x8c\n", "\x9a\x9c\n", 0, {}, kCase};
        QTest::newRow("Windows-1252 ellipsis is not space") << Pair{"a\x85\n", "a\n", 1, {}, kSpace};
        QTest::newRow("white space inside") << Pair{"a b\tc\n", "abc\n", 0, {}, kSpace};
        QTest::newRow("CRLF with white space ignored") << Pair{"a\r\nb\r\n", "a\nb\n", 0, {}, kSpace};
        QTest::newRow("byte-order mark") << Pair{"\xef\xbb\xbfz\n", "z\n", 1};
        QTest::newRow("byte-order mark with white space ignored") << Pair{"\xef\xbb\xbfz\n", "z\n", 0, {}, kSpace};
        QTest::newRow("no final newline, white space ignored") << Pair{"a\nb", "a\nb\n", 0, {}, kSpace};
        QTest::newRow("blank lines are not dropped") << Pair{"a\n\nb\n", "a\nb\n", 1, {}, kSpace};
        QTest::newRow("Windows-1252 against UTF-8, -i -w") << Pair{"caf\xe9\n", "caf\xc3\xa9\n", 1, {}, kCase | kSpace};
        QTest::newRow("Windows-1252 capital against UTF-8, -i")
            << Pair{"\xc9t\xe9\n", "\xc3\xa9t\xc3\xa9\n", 1, {}, kCase};
        QTest::newRow("invalid UTF-8 against what it shows as")
            << Pair{"\xc3\xa9 \xff\n", "\xc3\x83\xc2\xa9 \xc3\xbf\n", 1, {}, kCase | kSpace};
        QTest::newRow("ASCII folds in a Windows-1252 line") << Pair{"ABC \xe9\n", "abc \xe9\n", 0, {}, kCase};
        const QByteArray nul("a\0b\n", 4), nul2("a\0c\n", 4);
        QTest::newRow("same binary") << Pair{nul, nul, 0, {}, kBinary};
        QTest::newRow("different binary, same size") << Pair{nul, nul2, 1, {}, kBinary};
        QTest::newRow("binary against text") << Pair{nul, "abc\n", 1, {}, kBinary};
        QTest::newRow("forced text") << Pair{nul, nul2, 1, {}, kForce};
        const QByteArray zeros(300000, '\0');
        QTest::newRow("large, differ at the end") << Pair{zeros + "x", zeros + "y", 1, {}, kBinary};
        QTest::newRow("large, same") << Pair{zeros + "x", zeros + "x", 0, {}, kBinary};
        // A UTF-16 mark followed by what is not UTF-16: binary, as before.
        const QByteArray junk("\xff\xfe\x01\0\0\xd8\n\0", 8), junk2("\xff\xfe\x02\0\0\xd8\n\0", 8);
        QTest::newRow("UTF-16 mark, then junk") << Pair{junk, junk2, 1, {}, kBinary};
    }

    void pairs()
    {
        QFETCH(Pair, c);
        cDiffEngine engine;
        engine.IgnoreCase(c.flags & kCase);
        engine.IgnoreWhiteSpace(c.flags & kSpace);
        engine.ForceTextCompare(c.flags & kForce);
        const bool binary = c.flags & kBinary;
        const QString p1 = Write("one", c.one), p2 = Write("two", c.two);
        QCOMPARE(engine.CompareFiles(p1, p2), c.code);
        QCOMPARE(engine.LastOutcome(), c.code == 0 ? Outcome::Identical
                                       : binary    ? Outcome::BinaryDiffer
                                                   : Outcome::Different);
        QVERIFY(binary ? !engine.LoadedFile(0) : c.code == 0 || engine.LoadedFile(0));
        QByteArray applied = c.two;
        if (!binary && !(c.flags & (kCase | kSpace)))
            QCOMPARE(Apply(c.one, Result(engine), applied), QString());
        QCOMPARE(applied, c.two);
        if (c.code == 0 || binary)
            QCOMPARE(engine.ResultLineCount(), c.code);
        if (binary && c.code == 1)
            QCOMPARE(engine.ResultLine(0), QStringLiteral("Binary files ") + p1 + " " + p2 + " differ");
        QCOMPARE(Result(engine).mid(0, c.lines.size()), c.lines);
        QCOMPARE(engine.ResultLineBytes(engine.ResultLineCount()), QByteArray());
        QCOMPARE(engine.ResultLine(-1), QString());
    }

    void failures()
    {
        cDiffEngine engine;
        const QString good = Write("good", "a\n");
        const QString missing = m_dir.filePath("missing");
        QCOMPARE(engine.CompareFiles(good, missing), 2);
        QCOMPARE(engine.ResultLineCount(), 1);
        QVERIFY(engine.LastOutcome() == Outcome::Failed && engine.FailureText() == engine.ResultLine(0));
        QVERIFY(engine.ResultLine(0).contains(missing)
                && engine.ResultLine(0).contains(QString::fromLocal8Bit(std::strerror(ENOENT))));

        QCOMPARE(engine.CompareFiles(m_dir.path(), good), 2);
        QVERIFY(engine.ResultLine(0).contains(m_dir.path())
                && engine.ResultLine(0).contains(QString::fromLocal8Bit(std::strerror(EISDIR))));
        QVERIFY(!engine.LoadedFile(0) && !engine.LoadedFile(1));

        // A file removed between two comparisons.
        const QString doomed = Write("doomed", "b\n");
        QCOMPARE(engine.CompareFiles(good, doomed), 1);
        QVERIFY(engine.LastOutcome() == Outcome::Different && engine.FailureText().isEmpty());
        QVERIFY(QFile::remove(doomed));
        QCOMPARE(engine.CompareFiles(good, doomed), 2);
        QCOMPARE(engine.ResultLineCount(), 1);
        QVERIFY(engine.ResultLine(0).contains(doomed) && engine.Hunks().empty());
    }

    void resultLineDecoding()
    {
        cDiffEngine engine;
        QCOMPARE(engine.CompareFiles(Write("one", "\xc3\xa9t\xc3\xa9\n"), Write("two", "\xe9t\xe9\n")), 1);
        QCOMPARE(engine.ResultLine(1), QStringLiteral("< \u00e9t\u00e9"));
        QCOMPARE(engine.ResultLine(3), QStringLiteral("> \u00e9t\u00e9"));
        QCOMPARE(engine.ResultLineBytes(3), QByteArray("> \xe9t\xe9"));
    }
};

QTEST_GUILESS_MAIN(tst_DiffEngine)
#include "tst_DiffEngine.moc"
