// Character comparison of two counterpart lines: worked examples, the table's
// tie rule against a literal table, and long lines held as bytes.
#include "MarkedText.h"
#include "compare/CharacterDiff.h"
#include "engine/CharacterMarks.h"

#include <QRandomGenerator>
#include <QTest>
#include <array>
#include <memory>

using namespace modVantrel;

namespace {

// The line as the pane holds it: one byte per character in Windows-1252;
// empty when a character has no such byte.
LineText Bytes(const QString& text)
{
    static const QHash<QChar, char> high{{u'€', '\x80'}, {u'Œ', '\x8c'}, {u'œ', '\x9c'}, {u'Ÿ', '\x9f'}};
    auto bytes = std::make_shared<QByteArray>();
    for (const QChar c : text)
        bytes->append(c.unicode() > 0xff || (c.unicode() >= 0x80 && c.unicode() < 0xa0) ? high.value(c, '\0')
                                                                                        : char(c.unicode()));
    return bytes->contains('\0') ? LineText() : LineText::FromBytes(*bytes, bytes);
}

// The line with [ and ] around each run of differing characters.
QString Bracketed(const QString& text, const std::vector<bool>& marks)
{
    QString out;
    for (qsizetype k = 0; k < text.size(); ++k) {
        const bool differs = !marks[static_cast<std::size_t>(k)];
        out += differs && (k == 0 || marks[static_cast<std::size_t>(k - 1)]) ? "[" : "";
        out += text[k];
        out += differs && (k + 1 == text.size() || marks[static_cast<std::size_t>(k + 1)]) ? "]" : "";
    }
    return out;
}

}  // namespace

class tst_CharacterDiff : public QObject {
    Q_OBJECT
private slots:
    // The characters that differ, between [ and ]: as the plain comparison
    // marks them (with its length in characters), or as the grids and the
    // detail pane show them, the edit as a reader sees it. Each row also held
    // as bytes, where it can be, with the same outcome. (Plain letters
    // without case folding are left to the literal table, but for a tie.)
    void marks_data()
    {
        QTest::addColumn<QString>("one");
        QTest::addColumn<QString>("two");
        QTest::addColumn<bool>("ignoreCase");
        QTest::addColumn<bool>("shown");
        const auto row = [](const char* name, const QString& one, const QString& two, bool ignoreCase = false,
                            bool shown = true) { QTest::newRow(name) << one << two << ignoreCase << shown; };
        row("tie leaves line one's character", "a[b]", "[b]a", false, false);
        row("sharp s keeps positions", "stra[ß]e", "STRA[SS]E", true, false);
        row("1252 case ignored", "ÿé€œ[x]", "ŸÉ€Œ", true, false);
        row("1252 case kept", "[ÿé]€[œx]", "[ŸÉ]€[Œ]", false, false);
        row("emoji sharing a high surrogate", "[\U0001F600]a", "[\U0001F601]a", false, false);
        row("same emoji", "[x]\U0001F600", "\U0001F600", false, false);
        row("changed number", "timeout = [30];", "timeout = [45];");
        row("renamed word", "int [count] = 0;", "int [itemCount] = 0;");
        row("word changed in three places", "a [version] number", "a [certain] number");
        // The blank between two changed words is taken into one change; the
        // blanks at its ends stay common.
        row("two words changed", "x = [old value] + 1;", "x = [new total] + 1;");
        row("word of line one half new", "[xyab] = 1", "[ab] = 1");
        row("inserted argument", "Write(limit, result);", "Write(limit,[ startOffset,] result);");
        row("unrelated sentence", "[The quick brown fox jumps]", "[A lazy dog sleeps here now]");
        row("run of 3 between changes of 4", "[wxyz-a-wxyz]", "[qrst-a-qrst]");
        row("run of 3 between changes of 3", "[xyz]-a-[xyz]", "[qrs]-a-[qrs]");
        row("run of 4 between changes of 5", "[wxyzv]-ab-[wxyzv]", "[qrstu]-ab-[qrstu]");
        row("half in common", "colo[u]r [wxyzab]", "color [qhjkm]");
        row("just under half in common", "[colour wxyzab]", "[color qhjkmn]");
        row("combining mark", QString::fromUtf8("caf[e\u0301] x"), QString::fromUtf8("caf[e\u0300] x"));
        row("surrogate pair", QString::fromUtf8("a[\U0001F600]b"), QString::fromUtf8("a[\U0001F601]b"));
        // A line cut inside a pair keeps its lone half, at the end too.
        row("lone high surrogate at the end", QStringLiteral("ab[") + QChar(0xD83D) + u']', QStringLiteral("ab"));
        row("lone high surrogate, plain", QStringLiteral("ab[") + QChar(0xD83D) + u']', QStringLiteral("ab"), false,
            false);
        // Pairs up to kLongestTidiedPair characters long together are cleaned
        // up; longer ones keep the plain comparison's marks.
        const auto longest = static_cast<qsizetype>(CharacterMarks::kLongestTidiedPair);
        const QString xs(longest / 2 - 3, u'x');
        row("longest pair tidied", "[ab] " + xs, "[ba] " + xs);
        row("one more: marked as compared", "a[b] " + xs, "[b]a [x]" + xs);
    }

    void marks()
    {
        QFETCH(QString, one);
        QFETCH(QString, two);
        QFETCH(bool, ignoreCase);
        QFETCH(bool, shown);
        const QString plain[2] = {QString(one).remove('[').remove(']'), QString(two).remove('[').remove(']')};
        const auto check = [&](const CharacterDiffResult& r) {
            QCOMPARE(Bracketed(plain[0], r.marks1), one);
            QCOMPARE(Bracketed(plain[1], r.marks2), two);
            // The plain length counts the common characters; shown marks keep it.
            QVERIFY(shown || r.length == qsizetype(Marked(plain[0], r.marks1, false).value_or(U"").size()));
        };
        std::vector<bool> m1, m2;
        const std::int32_t length = StringDiffs(plain[0], plain[1], ignoreCase, m1, m2);
        check(shown ? ShownCharacterDiffs(LineText(plain[0]), LineText(plain[1]), ignoreCase)
                    : CharacterDiffResult{m1, m2, length});
        if (const LineText b1 = Bytes(plain[0]), b2 = Bytes(plain[1]); b1.isBytes() && b2.isBytes())
            check(shown ? ShownCharacterDiffs(b1, b2, ignoreCase) : CompareCharacters(b1, b2, ignoreCase));
    }

    // Within the table budget the marks are exactly those of the full table
    // walked back from the end: a match goes diagonally, else to the larger
    // neighbour, a tie going up (leaving line one's character).
    void tieRuleAgainstLiteralTable()
    {
        QRandomGenerator rng(12);
        for (int round = 0; round < 2000; ++round) {
            QString a, b;
            const int alphabet = 1 + int(rng.bounded(4));
            for (QString* s : {&a, &b})
                for (int i = int(rng.bounded(41)); i > 0; --i)
                    *s += QChar(u'a' + int(rng.bounded(alphabet)));
            const qsizetype n = a.size(), m = b.size();
            std::vector<std::vector<int>> len(n + 1, std::vector<int>(m + 1, 0));
            for (qsizetype i = 1; i <= n; ++i)
                for (qsizetype j = 1; j <= m; ++j)
                    len[i][j] = a[i - 1] == b[j - 1] ? len[i - 1][j - 1] + 1 : std::max(len[i - 1][j], len[i][j - 1]);
            std::vector<bool> m1(std::size_t(n), false), m2(std::size_t(m), false);
            for (qsizetype i = n, j = m; i > 0 && j > 0;) {
                if (a[i - 1] == b[j - 1])
                    m1[std::size_t(--i)] = m2[std::size_t(--j)] = true;
                else if (len[i - 1][j] >= len[i][j - 1])
                    --i;
                else
                    --j;
            }
            const CharacterDiffResult r = CompareCharacters(a, b, false);
            QVERIFY2(r.method == LcsMethod::Table && r.length == len[n][m] && r.marks1 == m1 && r.marks2 == m2,
                     qPrintable(a + u' ' + b));
        }
    }

    // Long lines held as bytes, as the pane holds them, with the default
    // budgets, beyond the table. Characters of line two replaced by '#'
    // (absent from line one) or left out leave a known longest.
    void longLines_data()
    {
        QTest::addColumn<int>("changes");  // of each kind; -1: every character replaced
        QTest::addColumn<int>("length");
        QTest::newRow("1 MB, few changes") << 300 << (1 << 20);
        QTest::newRow("1 MB, nothing in common") << -1 << (1 << 20);
        QTest::newRow("50 MB, few changes") << 300 << 50'000'000;
    }

    void longLines()
    {
        QFETCH(int, changes);
        QFETCH(int, length);
        QRandomGenerator rng(15);
        QByteArray a(length, Qt::Uninitialized);
        for (char& c : a)
            c = char('a' + rng.bounded(8));
        // What becomes of each character of line one: kept, '#' or '-' (left out).
        QByteArray fate(length, changes < 0 ? '#' : '.');
        for (int i = 0; i < 2 * changes; ++i)
            fate[rng.bounded(length)] = i % 2 ? '#' : '-';
        QByteArray b, kept;
        for (qsizetype k = 0; k < length; ++k) {
            if (fate[k] != '-')
                b += fate[k] == '#' ? '#' : a[k];
            if (fate[k] == '.')
                kept += a[k];
        }
        const auto ownerA = std::make_shared<QByteArray>(a), ownerB = std::make_shared<QByteArray>(b);
        const CharacterDiffResult r =
            CompareCharacters(LineText::FromBytes(*ownerA, ownerA), LineText::FromBytes(*ownerB, ownerB), false);
        QVERIFY(r.method != LcsMethod::Table);
        QCOMPARE(r.length, kept.size());
        // The marks of each line pick the characters kept, so every one of line two but '#'.
        for (const auto& [line, marks] : {std::pair{&a, &r.marks1}, std::pair{&b, &r.marks2}}) {
            QByteArray picked;
            for (qsizetype k = 0; k < line->size(); ++k)
                if (marks->at(std::size_t(k)))
                    picked += line->at(k);
            QVERIFY(marks->size() == std::size_t(line->size()) && picked == kept);
        }
    }

    // On random edits of random lines: what is shown common pairs up, the
    // k-th common character of line one with the k-th of line two (every
    // character that differs is marked), and no mark parts a character from
    // the second half of its surrogate pair or from its combining marks.
    void shownMarksInvariants()
    {
        const QStringList pieces{"a", "b", "E", "e", " ", ".", "\u0301", "\u05B0", "\U0001F600", "\u00DF", "xy"};
        QRandomGenerator random(28);
        const auto line = [&](int length) {
            QStringList parts;
            for (int k = 0; k < length; ++k)
                parts << pieces[random.bounded(pieces.size())];
            return parts;
        };
        for (int n = 0; n < 3000; ++n) {
            const QStringList one = line(random.bounded(25));
            QStringList two = one;
            for (int edits = random.bounded(1, 5); edits > 0; --edits) {
                const int at = random.bounded(two.size() + 1);
                const int what = random.bounded(3);
                if (what == 0 || at == two.size())
                    two.insert(at, line(random.bounded(1, 6)).join(QString()));
                else if (what == 1)
                    two.removeAt(at);
                else
                    two[at] = line(1).front();
            }
            const bool ignoreCase = n % 2 == 1;
            const std::array<QString, 2> text{one.join(QString()), two.join(QString())};
            const CharacterDiffResult r = ShownCharacterDiffs(LineText(text[0]), LineText(text[1]), ignoreCase);
            const std::optional<std::u32string> common = Marked(text[0], r.marks1, ignoreCase, true);
            QVERIFY2(common && common == Marked(text[1], r.marks2, ignoreCase, true),
                     qPrintable(text[0] + " | " + text[1]));
        }
    }
};

QTEST_GUILESS_MAIN(tst_CharacterDiff)
#include "tst_CharacterDiff.moc"
