// cDiffEngine: result lines applied to File One give File Two, and the edit
// is as small as a brute-force longest common subsequence allows.

#include "ResultChecker.h"
#include "engine/cDiffEngine.h"
#include "support/TextBytes.h"

#include <QFile>
#include <QTest>

#include <cerrno>
#include <cstring>

using namespace ResultChecker;

namespace {
enum Flags { kCase = 1, kSpace = 2, kForce = 4, kBinary = 8 /* found binary */ };
struct Pair {
    QByteArray one, two;
    int code;
    QList<QByteArray> lines = {};
    int flags = 0;
    QStringList shown = {};
};
}  // namespace

class tst_DiffEngine : public QObject, ResultChecker::Folder {
    Q_OBJECT

    static QList<QByteArray> Result(const cDiffEngine& engine)
    {
        QList<QByteArray> lines;
        for (int i = 0; i < engine.ResultLineCount(); ++i)
            lines << engine.ResultLineBytes(i);
        return lines;
    }

private slots:
    // Random pairs, edits of each other or unrelated, from few distinct
    // lines to mostly unique ones, with LF or CRLF, in minimal and default mode.
    void roundTripAndMinimality()
    {
        QRandomGenerator rng(1);
        cDiffEngine engine;
        for (int round = 0; round < 1800; ++round) {
            const int alphabet = QList{3, 4, 5, 12, 500, 1000}[rng.bounded(6)], maxLines = 25 + rng.bounded(36);
            const QByteArray ending = rng.bounded(4) ? "\n" : "\r\n";
            engine.Minimal(rng.bounded(2));
            const QList<QByteArray> a = RandomLines(rng, rng.bounded(maxLines + 1), alphabet);
            const QList<QByteArray> b = rng.bounded(2) ? Edited(rng, a, rng.bounded(8), alphabet)
                                                       : RandomLines(rng, rng.bounded(maxLines + 1), alphabet);
            const QByteArray one = Join(a, ending, rng.bounded(4) != 0), two = Join(b, ending, rng.bounded(4) != 0);
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
        QTest::addColumn<bool>("smallest");  // or larger than the smallest
        // A pair whose smallest script takes three rounds of the search, with
        // the cut-off at 3 and at 2. A guess splits at the furthest point
        // reached, which may be File One's end: there after one round, a
        // smallest split.
        const QList<QByteArray> one = QByteArray("b c a d a c a b c c a d").split(' ');
        const QList<QByteArray> two = QByteArray("d b b d c a c b b b d d b c").split(' ');
        QTest::newRow("at the cut-off") << one << two << 3 << true;
        QTest::newRow("one round beyond") << one << two << 2 << false;
        QTest::newRow("a guess at File One's end")
            << QByteArray("a b b").split(' ') << QByteArray("b b a a").split(' ') << 1 << true;
    }

    void cutoff()
    {
        QFETCH(QList<QByteArray>, a);
        QFETCH(QList<QByteArray>, b);
        QFETCH(int, cutoff);
        QFETCH(bool, smallest);
        const QByteArray one = Join(a, "\n", true), two = Join(b, "\n", true);
        const auto fileOne = LineFile::FromBytes(one.toStdString()), fileTwo = LineFile::FromBytes(two.toStdString());
        const std::vector<LineDiff::Hunk> hunks = LineDiff::FindHunks(*fileOne, *fileTwo, {.cutoff = cutoff});
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
        const qint64 changed = ChangedLines(hunks), least = a.size() + b.size() - 2 * LcsLength(a, b);
        QVERIFY2(smallest ? changed == least : changed > least,
                 qPrintable(QStringLiteral("%1 changed lines, smallest %2").arg(changed).arg(least)));
    }

    // The code, the first result lines as given (and as text), the outcome,
    // and the result applied to File One giving File Two (File Two is taken
    // as it is when settings relax the comparison).
    void pairs_data()
    {
        QTest::addColumn<Pair>("c");
        using L = QList<QByteArray>;
        const auto row = [](const char* name, const Pair& pair) { QTest::newRow(name) << pair; };
        row("both empty", {{}, {}, 0, L{}});
        row("no final newline", {"b\n", "b", 1, L{"1c1", "< b", "---", "> b", "\\ No newline at end of file"}});
        row("invalid UTF-8", {"ok\n\xff\xfe bad\n", "ok\n\xc3\x28\n", 1, L{"2c2"}});
        // A line not UTF-8 is shown as Windows-1252, and given as it is.
        row("UTF-8 against Windows-1252",
            {"été\n", "\xe9t\xe9\n", 1, L{"1c1", "< été", "---", "> \xe9t\xe9"}, 0, {"1c1", "< été", "---", "> été"}});
        // Not UTF-16 after all (odd length), and no NUL byte: text, as before.
        row("UTF-16 mark on text", {"\xff\xfezy\n", "\xff\xfezx\n", 1, L{"1c1"}});
        const QByteArray xs(100000, 'x');
        row("NUL after the first block is text", {xs + "\n", xs + QByteArray(1, '\0') + "\n", 1, L{"1c1"}});
        const QByteArray longLine(1 << 20, 'q');
        QByteArray otherLong = longLine;
        otherLong[500000] = 'r';
        row("1 MB line", {"a\n" + longLine + "\nz\n", "a\n" + otherLong + "\nz\n", 1, L{"2c2"}});
        // Ambiguous blocks: where the block goes among the equally small choices.
        row("function added after a blank line",
            {"a() {\n}\n\nc() {\n}\n", "a() {\n}\n\nb() {\n}\n\nc() {\n}\n", 1, L{"3a4,6"}});
        row("block does not start with a blank line", {"foo\nbar\n", "foo\n\nfoo\nbar\n", 1, L{"0a1,2"}});
        row("block goes as far down as it can",
            {"if (a) {\n  x;\n}\ny;\n", "if (a) {\n  x;\n}\nif (b) {\n  x;\n}\ny;\n", 1, L{"3a4,6"}});
        row("block does not start with a closing brace", {"  x;\ny;\n", "  x;\n}\n  x;\ny;\n", 1, L{"0a1,2"}});
        row("deletion joins a change", {"z\nk\nk\n", "z\nq\nk\n", 1, L{"2c2"}});
        // The settings relax case and white space, never the encoding.
        row("German umlauts", {"\xc3\x84rger\n", "\xc3\xa4RGER\n", 0, {}, kCase});
        row("different letters stay different", {"\xc3\xa4\n", "a\n", 1, {}, kCase | kSpace});
        row("single-byte line folds too", {"\xc4\n", "\xe4\n", 0, {}, kCase});
        row("Windows-1252 letters fold", {"\x8a\x8c\n", "\x9a\x9c\n", 0, {}, kCase});
        row("Windows-1252 ellipsis is not space", {"a\x85\n", "a\n", 1, {}, kSpace});
        row("white space inside", {"a b\tc\n", "abc\n", 0, {}, kSpace});
        row("byte-order mark", {"\xef\xbb\xbfz\n", "z\n", 1});
        row("byte-order mark with white space ignored", {"\xef\xbb\xbfz\n", "z\n", 0, {}, kSpace});
        row("blank lines are not dropped", {"a\n\nb\n", "a\nb\n", 1, {}, kSpace});
        row("Windows-1252 capital against UTF-8, -i", {"\xc9t\xe9\n", "\xc3\xa9t\xc3\xa9\n", 1, {}, kCase});
        row("invalid UTF-8 against what it shows as",
            {"\xc3\xa9 \xff\n", "\xc3\x83\xc2\xa9 \xc3\xbf\n", 1, {}, kCase | kSpace});
        row("ASCII folds in a Windows-1252 line", {"ABC \xe9\n", "abc \xe9\n", 0, {}, kCase});
        const QByteArray nul("a\0b\n", 4), nul2("a\0c\n", 4);
        row("same binary", {nul, nul, 0, {}, kBinary});
        row("text against binary", {"abc\n", nul, 1, {}, kBinary});
        row("forced text", {nul, nul2, 1, {}, kForce});
        const QByteArray zeros(300000, '\0');
        row("large, differ at the end", {zeros + "x", zeros + "y", 1, {}, kBinary});
        row("large, same", {zeros + "x", zeros + "x", 0, {}, kBinary});
        // A UTF-16 mark followed by what is not UTF-16: binary, as before.
        const QByteArray junk("\xff\xfe\x01\0\0\xd8\n\0", 8), junk2("\xff\xfe\x02\0\0\xd8\n\0", 8);
        row("UTF-16 mark, then junk", {junk, junk2, 1, {}, kBinary});
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
        for (int i = 0; i < c.shown.size(); ++i)
            QCOMPARE(engine.ResultLine(i), c.shown[i]);
        QCOMPARE(engine.ResultLineBytes(engine.ResultLineCount()), QByteArray());
        QCOMPARE(engine.ResultLine(-1), QString());
    }

    // A file that cannot be read fails the comparison: the one result line
    // names it with the system's reason, and nothing is left loaded.
    void failures()
    {
        cDiffEngine engine;
        const auto fails = [&](const QString& one, const QString& two, const QString& named, int error) {
            QCOMPARE(engine.CompareFiles(one, two), 2);
            QCOMPARE(engine.ResultLineCount(), 1);
            QVERIFY(engine.LastOutcome() == Outcome::Failed && engine.FailureText() == engine.ResultLine(0));
            QVERIFY(engine.ResultLine(0).contains(named)
                    && engine.ResultLine(0).contains(QString::fromLocal8Bit(std::strerror(error))));
            QVERIFY(!engine.LoadedFile(0) && !engine.LoadedFile(1) && engine.Hunks().empty());
        };
        const QString good = Write("good", "a\n"), missing = m_dir.filePath("missing");
        fails(good, missing, missing, ENOENT);
        fails(m_dir.path(), good, m_dir.path(), EISDIR);
        const QString doomed = Write("doomed", "b\n");
        QCOMPARE(engine.CompareFiles(good, doomed), 1);
        QVERIFY(engine.LastOutcome() == Outcome::Different && engine.FailureText().isEmpty());
        QVERIFY(QFile::remove(doomed));
        fails(good, doomed, doomed, ENOENT);
    }
};

QTEST_GUILESS_MAIN(tst_DiffEngine)
#include "tst_DiffEngine.moc"
