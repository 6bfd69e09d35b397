// Character comparison of two counterpart lines, against brute force.
#include "compare/CharacterDiff.h"

#include <QRandomGenerator>
#include <memory>
#include <QTest>

using namespace modVantrel;

namespace {

QString bits(const std::vector<bool>& marks)
{
    QString s;
    for (bool m : marks) s += m ? u'1' : u'0';
    return s;
}

// Full table of lengths, then the walk back: a match goes diagonally, else
// to the larger neighbour, a tie going up. Length and both marks.
std::tuple<int, QString, QString> literalTable(const QString& a, const QString& b)
{
    const qsizetype n = a.size(), m = b.size();
    std::vector<std::vector<int>> len(n + 1, std::vector<int>(m + 1, 0));
    for (qsizetype i = 1; i <= n; ++i)
        for (qsizetype j = 1; j <= m; ++j)
            len[i][j] = a[i - 1] == b[j - 1] ? len[i - 1][j - 1] + 1 : std::max(len[i - 1][j], len[i][j - 1]);
    QString m1(n, u'0'), m2(m, u'0');
    for (qsizetype i = n, j = m; i > 0 && j > 0;) {
        if (a[i - 1] == b[j - 1]) { m1[--i] = u'1'; m2[--j] = u'1'; }
        else if (len[i - 1][j] >= len[i][j - 1]) --i;
        else --j;
    }
    return {len[n][m], m1, m2};
}

QString kept(const QString& s, const std::vector<bool>& marks)
{
    QString k;
    for (qsizetype i = 0; i < s.size(); ++i) if (marks.at(i)) k += s[i];
    return k;
}

// The marked characters of both lines are one sequence of the reported length.
void verifyCommonSubsequence(const QString& a, const QString& b, const CharacterDiffResult& r)
{
    QVERIFY(r.marks1.size() == std::size_t(a.size()) && r.marks2.size() == std::size_t(b.size()));
    QCOMPARE(kept(a, r.marks1), kept(b, r.marks2));
    QCOMPARE(kept(a, r.marks1).size(), qsizetype(r.length));
}

QString randomText(QRandomGenerator& rng, int len, int alphabet)
{
    QString s;
    for (int i = 0; i < len; ++i) s += QChar(u'a' + int(rng.bounded(alphabet)));
    return s;
}

struct Example { QString one, two; bool ignoreCase; int length; QString marks1, marks2; };

}  // namespace

class tst_CharacterDiff : public QObject {
    Q_OBJECT
private slots:
    void examples_data()
    {
        QTest::addColumn<Example>("e");
        QTest::newRow("abc abd") << Example{"abc", "abd", false, 2, "110", "110"};
        QTest::newRow("ab ba") << Example{"ab", "ba", false, 1, "10", "01"};
        QTest::newRow("abcabc abc") << Example{"abcabc", "abc", false, 3, "000111", "111"};
        QTest::newRow("aab ab") << Example{"aab", "ab", false, 2, "011", "11"};
        QTest::newRow("two spaces") << Example{"hello world", "hello  world", false, 11, "11111111111", "111110111111"};
        QTest::newRow("case differs") << Example{"abc", "ABC", false, 0, "000", "000"};
        QTest::newRow("case ignored") << Example{"abc", "ABC", true, 3, "111", "111"};
        QTest::newRow("sharp s keeps positions") << Example{"straße", "STRASSE", true, 5, "111101", "1111001"};
        QTest::newRow("emoji sharing a high surrogate") << Example{QString::fromUcs4(U"\U0001F600a"), QString::fromUcs4(U"\U0001F601a"),
                                                                           false, 1, "001", "001"};
        QTest::newRow("same emoji") << Example{QString::fromUcs4(U"x\U0001F600"), QString::fromUcs4(U"\U0001F600"), false, 1, "011", "11"};
    }

    void examples()
    {
        QFETCH(Example, e);
        std::vector<bool> m1, m2;
        QCOMPARE(StringDiffs(e.one, e.two, e.ignoreCase, m1, m2), e.length);
        QCOMPARE(bits(m1), e.marks1);
        QCOMPARE(bits(m2), e.marks2);
    }

    // Within the table budget: exactly the table rule. Linear space alone, or
    // with small stretches left to the table: a longest common subsequence.
    void againstLiteralTable_data()
    {
        QTest::addColumn<qint64>("cellBudget");
        QTest::newRow("table") << qint64(kLcsTableCellBudget);
        QTest::newRow("no table") << qint64(0);
        QTest::newRow("small tables") << qint64(60);
    }

    void againstLiteralTable()
    {
        QFETCH(qint64, cellBudget);
        QRandomGenerator rng(12);
        for (int round = 0; round < 3000; ++round) {
            const int alphabet = 1 + int(rng.bounded(4));
            const QString a = randomText(rng, int(rng.bounded(41)), alphabet), b = randomText(rng, int(rng.bounded(41)), alphabet);
            const CharacterDiffResult r = compareCharacters(a, b, false, cellBudget, kLcsWorkBudget);
            const auto [length, m1, m2] = literalTable(a, b);
            QCOMPARE(r.length, length);
            verifyCommonSubsequence(a, b, r);
            if (cellBudget == kLcsTableCellBudget)
                QVERIFY(r.method == LcsMethod::Table && bits(r.marks1) == m1 && bits(r.marks2) == m2);
        }
    }

    void exhaustedBudgetStillGivesCommonSubsequence()
    {
        QRandomGenerator rng(13);
        for (int round = 0; round < 300; ++round) {
            const QString a = QString(400, u'q') + randomText(rng, 200, 4);
            const QString b = randomText(rng, 200, 4) + QString(400, u'z');
            const CharacterDiffResult r = compareCharacters(a, b, false, 0, 50);
            QCOMPARE(r.method, LcsMethod::Partial);
            verifyCommonSubsequence(a, b, r);
        }
    }

    // Lines of one byte per character are compared as bytes; the outcome is
    // that of their decoded texts.
    void bytesAsDecodedText_data()
    {
        QTest::addColumn<QByteArray>("one");
        QTest::addColumn<QByteArray>("two");
        QTest::addColumn<bool>("ignoreCase");
        QTest::newRow("ascii") << QByteArray("hello world") << QByteArray("help  word") << false;
        QTest::newRow("ascii, case ignored") << QByteArray("Hello World") << QByteArray("hELLO wORLD!") << true;
        QTest::newRow("cp1252, case ignored") << QByteArray("stra\xdf" "e \xff \xe9t\xe9 \x80") << QByteArray("STRASSE \x9f \xc9T\xc9 \x80") << true;
        QTest::newRow("cp1252, case kept") << QByteArray("\xe9t\xe9 \x9c") << QByteArray("\xc9t\xe9 \x8c") << false;
    }

    void bytesAsDecodedText()
    {
        QFETCH(QByteArray, one);
        QFETCH(QByteArray, two);
        QFETCH(bool, ignoreCase);
        const auto owner = std::make_shared<QByteArray>(one + two);
        const LineText bytes1 = LineText::FromBytes(QByteArrayView(*owner).first(one.size()), owner);
        const LineText bytes2 = LineText::FromBytes(QByteArrayView(*owner).sliced(one.size()), owner);
        QVERIFY(bytes1.isBytes() && bytes2.isBytes());
        const CharacterDiffResult r = compareCharacters(bytes1, bytes2, ignoreCase);
        const CharacterDiffResult expected = compareCharacters(bytes1.toString(), bytes2.toString(), ignoreCase);
        QCOMPARE(r.length, expected.length);
        QCOMPARE(bits(r.marks1), bits(expected.marks1));
        QCOMPARE(bits(r.marks2), bits(expected.marks2));
    }

    // Long lines, default budgets, held as bytes as the pane holds them (up
    // to 1 MB also as text, with the same outcome). Characters of line two
    // replaced by '#' (absent from line one) leave a known longest.
    void longLines_data()
    {
        QTest::addColumn<bool>("related");
        QTest::addColumn<int>("changes");  // -1: every character
        QTest::addColumn<int>("length");
        QTest::newRow("1 MB, few changes") << true << 300 << (1 << 20);
        QTest::newRow("1 MB, nothing in common") << true << -1 << (1 << 20);
        QTest::newRow("1 MB, unrelated random") << false << 0 << (1 << 20);
        QTest::newRow("50 MB, few changes") << true << 300 << 50'000'000;
    }

    void longLines()
    {
        QFETCH(bool, related);
        QFETCH(int, changes);
        QFETCH(int, length);
        QRandomGenerator rng(15);
        const auto randomBytes = [&rng](int size) {
            QByteArray text = QByteArrayLiteral("same start ");
            for (int k = 0; k < size; ++k) text += char('a' + rng.bounded(8));
            return text;
        };
        const QByteArray a = randomBytes(length);
        QByteArray b = related ? a : randomBytes(length);
        std::vector<bool> changed(b.size(), changes < 0);
        for (int i = 0; i < changes; ++i) changed[rng.bounded(b.size())] = true;
        for (qsizetype k = 0; k < b.size(); ++k) if (changed[k]) b[k] = '#';
        const auto ownerA = std::make_shared<QByteArray>(a);
        const auto ownerB = std::make_shared<QByteArray>(b);
        const CharacterDiffResult r = compareCharacters(LineText::FromBytes(*ownerA, ownerA), LineText::FromBytes(*ownerB, ownerB), false);
        if (length <= (1 << 20)) {
            const CharacterDiffResult text = compareCharacters(QString::fromLatin1(a), QString::fromLatin1(b), false);
            QVERIFY(text.length == r.length && text.marks1 == r.marks1 && text.marks2 == r.marks2);
        }
        // The marked characters of both lines are one sequence of the reported length.
        const auto kept = [](const QByteArray& line, const std::vector<bool>& marks) {
            QByteArray out;
            for (qsizetype k = 0; k < line.size(); ++k) if (marks.at(std::size_t(k))) out += line[k];
            return out;
        };
        QVERIFY(r.marks1.size() == std::size_t(a.size()) && r.marks2.size() == std::size_t(b.size()));
        QVERIFY(kept(a, r.marks1) == kept(b, r.marks2));
        QCOMPARE(kept(a, r.marks1).size(), qsizetype(r.length));
        if (related) {
            QCOMPARE(r.length, int(std::count(changed.begin(), changed.end(), false)));
            std::vector<bool> unchanged = changed;
            unchanged.flip();
            QVERIFY(r.marks2 == unchanged);
        } else {
            QVERIFY(r.method != LcsMethod::Table);
            for (int i = 0; i < 11; ++i) QVERIFY(r.marks1[i] && r.marks2[i]);
        }
    }
};

QTEST_GUILESS_MAIN(tst_CharacterDiff)
#include "tst_CharacterDiff.moc"
