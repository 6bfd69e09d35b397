// Character comparison of two counterpart lines: worked examples, the table's
// tie rule against a literal table, and long lines held as bytes.
#include "compare/CharacterDiff.h"

#include <QRandomGenerator>
#include <QTest>
#include <memory>

using namespace modVantrel;

namespace {

QString Bits(const std::vector<bool>& marks)
{
    QString s;
    for (bool m : marks)
        s += m ? u'1' : u'0';
    return s;
}

// The line as the pane holds it: one byte per character in Windows-1252;
// empty when a character has no such byte.
LineText Bytes(const QString& text)
{
    static const QHash<QChar, char> high{{u'€', '\x80'}, {u'Œ', '\x8c'}, {u'œ', '\x9c'}, {u'Ÿ', '\x9f'}};
    auto bytes = std::make_shared<QByteArray>();
    for (const QChar c : text) {
        if (c.unicode() > 0xff || (c.unicode() >= 0x80 && c.unicode() < 0xa0))
            bytes->append(high.value(c, '\0'));
        else
            bytes->append(char(c.unicode()));
    }
    return bytes->contains('\0') ? LineText() : LineText::FromBytes(*bytes, bytes);
}

struct Example {
    QString one, two;
    bool ignoreCase;
    int length;
    QString marks1, marks2;
};

}  // namespace

class tst_CharacterDiff : public QObject {
    Q_OBJECT
private slots:
    // Each example also held as bytes, where it can be, with the same outcome.
    // Plain letters without case folding are covered by the literal table below.
    void examples_data()
    {
        QTest::addColumn<Example>("e");
        QTest::newRow("tie leaves line one's character") << Example{"ab", "ba", false, 1, "10", "01"};
        QTest::newRow("abcabc abc") << Example{"abcabc", "abc", false, 3, "000111", "111"};
        QTest::newRow("case ignored") << Example{"abc", "ABC", true, 3, "111", "111"};
        QTest::newRow("sharp s keeps positions") << Example{"straße", "STRASSE", true, 5, "111101", "1111001"};
        QTest::newRow("1252 case ignored") << Example{"ÿé€œx", "ŸÉ€Œ", true, 4, "11110", "1111"};
        QTest::newRow("1252 case kept") << Example{"ÿé€œx", "ŸÉ€Œ", false, 1, "00100", "0010"};
        QTest::newRow("emoji sharing a high surrogate")
            << Example{QString::fromUcs4(U"\U0001F600a"), QString::fromUcs4(U"\U0001F601a"), false, 1, "001", "001"};
        QTest::newRow("same emoji") << Example{
            QString::fromUcs4(U"x\U0001F600"), QString::fromUcs4(U"\U0001F600"), false, 1, "011", "11"};
    }

    void examples()
    {
        QFETCH(Example, e);
        std::vector<bool> m1, m2;
        QCOMPARE(StringDiffs(e.one, e.two, e.ignoreCase, m1, m2), e.length);
        QCOMPARE(Bits(m1), e.marks1);
        QCOMPARE(Bits(m2), e.marks2);
        const LineText one = Bytes(e.one), two = Bytes(e.two);
        if (one.isBytes() && two.isBytes()) {
            const CharacterDiffResult r = CompareCharacters(one, two, e.ignoreCase);
            QCOMPARE(r.length, e.length);
            QCOMPARE(Bits(r.marks1), e.marks1);
            QCOMPARE(Bits(r.marks2), e.marks2);
        }
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
            QString m1(n, u'0'), m2(m, u'0');
            for (qsizetype i = n, j = m; i > 0 && j > 0;) {
                if (a[i - 1] == b[j - 1])
                    m1[--i] = m2[--j] = u'1';
                else if (len[i - 1][j] >= len[i][j - 1])
                    --i;
                else
                    --j;
            }
            const CharacterDiffResult r = CompareCharacters(a, b, false);
            QVERIFY(r.method == LcsMethod::Table);
            QVERIFY2(r.length == len[n][m] && Bits(r.marks1) == m1 && Bits(r.marks2) == m2, qPrintable(a + u' ' + b));
        }
    }

    // Long lines held as bytes, as the pane holds them, with the default
    // budgets. Characters of line two replaced by '#' (absent from line one)
    // leave a known longest.
    void longLines_data()
    {
        QTest::addColumn<int>("changes");  // -1: every character
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
        QByteArray b = a;
        std::vector<bool> unchanged(b.size(), changes >= 0);
        for (int i = 0; i < changes; ++i)
            unchanged[rng.bounded(b.size())] = false;
        for (qsizetype k = 0; k < b.size(); ++k)
            if (!unchanged[k])
                b[k] = '#';
        const auto ownerA = std::make_shared<QByteArray>(a), ownerB = std::make_shared<QByteArray>(b);
        const CharacterDiffResult r =
            CompareCharacters(LineText::FromBytes(*ownerA, ownerA), LineText::FromBytes(*ownerB, ownerB), false);
        QCOMPARE(r.length, int(std::count(unchanged.begin(), unchanged.end(), true)));
        QVERIFY(r.marks2 == unchanged);
        // The marks of line one pick the same characters.
        QByteArray kept;
        for (qsizetype k = 0; k < a.size(); ++k)
            if (r.marks1.at(std::size_t(k)))
                kept += a[k];
        QVERIFY(r.marks1.size() == std::size_t(a.size()) && kept == QByteArray(b).replace('#', ""));
    }
};

QTEST_GUILESS_MAIN(tst_CharacterDiff)
#include "tst_CharacterDiff.moc"
