// Character comparison of two counterpart lines.
#include "compare/CharacterDiff.h"

#include <QRandomGenerator>
#include <QTest>

using namespace modVantrel;

namespace {

QString bits(const std::vector<bool>& marks)
{
    QString s;
    for (bool m : marks) s += m ? u'1' : u'0';
    return s;
}

// LCS length by the textbook recurrence, on UTF-16 units (the strings used
// with it hold no surrogates).
int bruteForceLength(const QString& a, const QString& b)
{
    std::vector<int> prev(b.size() + 1, 0), cur(b.size() + 1, 0);
    for (qsizetype i = 1; i <= a.size(); ++i) {
        for (qsizetype j = 1; j <= b.size(); ++j)
            cur[j] = a[i - 1] == b[j - 1] ? prev[j - 1] + 1 : std::max(prev[j], cur[j - 1]);
        std::swap(prev, cur);
    }
    return prev[b.size()];
}

// The table rule exactly as described: a full table of lengths and
// directions, then the walk back from the far corner.
std::pair<QString, QString> literalMarks(const QString& a, const QString& b)
{
    const qsizetype n = a.size(), m = b.size();
    std::vector<std::vector<int>> len(n + 1, std::vector<int>(m + 1, 0)), dir = len;
    for (qsizetype i = 1; i <= n; ++i)
        for (qsizetype j = 1; j <= m; ++j) {
            if (a[i - 1] == b[j - 1]) { len[i][j] = len[i - 1][j - 1] + 1; dir[i][j] = 3; }
            else if (len[i - 1][j] < len[i][j - 1]) { len[i][j] = len[i][j - 1]; dir[i][j] = 2; }
            else { len[i][j] = len[i - 1][j]; dir[i][j] = 1; }
        }
    QString m1(n, u'0'), m2(m, u'0');
    for (qsizetype i = n, j = m; i > 0 && j > 0;) {
        if (dir[i][j] == 3) { m1[i - 1] = u'1'; m2[j - 1] = u'1'; --i; --j; }
        else if (dir[i][j] == 1) --i;
        else --j;
    }
    return {m1, m2};
}

// The marked characters of both lines, read in order, must be the same
// sequence, and as many as the reported length.
void verifyCommonSubsequence(const QString& a, const QString& b, const CharacterDiffResult& r)
{
    QCOMPARE(r.marks1.size(), std::size_t(a.size()));
    QCOMPARE(r.marks2.size(), std::size_t(b.size()));
    QString kept1, kept2;
    for (qsizetype i = 0; i < a.size(); ++i) if (r.marks1[i]) kept1 += a[i];
    for (qsizetype j = 0; j < b.size(); ++j) if (r.marks2[j]) kept2 += b[j];
    QCOMPARE(kept1, kept2);
    QCOMPARE(kept1.size(), qsizetype(r.length));
}

QString randomText(QRandomGenerator& rng, int maxLen, int alphabet)
{
    QString s;
    const int len = int(rng.bounded(maxLen + 1));
    for (int i = 0; i < len; ++i) s += QChar(u'a' + int(rng.bounded(alphabet)));
    return s;
}

}  // namespace

class tst_CharacterDiff : public QObject {
    Q_OBJECT
private slots:
    void examples_data();
    void examples();
    void fillAndWalkBackDirectly();
    void tableRuleMatchesLiteralModel();
    void linearSpaceFindsLongestOnSmallInputs();
    void exhaustedBudgetStillGivesCommonSubsequence();
    void beyondTableBudgetIsStillLongest();
    void megabyteLinesWithFewChanges();
    void megabyteLinesWithNothingInCommon();
    void megabyteRandomLines();
};

void tst_CharacterDiff::examples_data()
{
    QTest::addColumn<QString>("one");
    QTest::addColumn<QString>("two");
    QTest::addColumn<bool>("ignoreCase");
    QTest::addColumn<int>("length");
    QTest::addColumn<QString>("marks1");
    QTest::addColumn<QString>("marks2");
    QTest::newRow("abc abd") << "abc" << "abd" << false << 2 << "110" << "110";
    QTest::newRow("ab ba") << "ab" << "ba" << false << 1 << "10" << "01";
    QTest::newRow("abcabc abc") << "abcabc" << "abc" << false << 3 << "000111" << "111";
    QTest::newRow("aab ab") << "aab" << "ab" << false << 2 << "011" << "11";
    QTest::newRow("extra space") << "hello world" << "hello  world" << false << 11
                                 << "11111111111" << "111110111111";
    QTest::newRow("case differs") << "abc" << "ABC" << false << 0 << "000" << "000";
    QTest::newRow("case ignored") << "abc" << "ABC" << true << 3 << "111" << "111";
    QTest::newRow("identical") << "same line" << "same line" << false << 9 << "111111111"
                               << "111111111";
    QTest::newRow("greek letters differ") << "αβ" << "αγ" << false << 1 << "10" << "10";
    QTest::newRow("cjk never equal") << "中" << "国" << false << 0 << "0" << "0";
    QTest::newRow("emoji sharing a high surrogate")
        << QString::fromUcs4(U"\U0001F600a") << QString::fromUcs4(U"\U0001F601a") << false << 1
        << "001" << "001";
    QTest::newRow("same emoji") << QString::fromUcs4(U"x\U0001F600") << QString::fromUcs4(U"\U0001F600")
                                << false << 1 << "011" << "11";
    QTest::newRow("sharp s keeps positions") << "straße" << "STRASSE" << true << 5 << "111101"
                                             << "1111001";
    QTest::newRow("one side empty") << "" << "abc" << false << 0 << "" << "000";
    QTest::newRow("both empty") << "" << "" << false << 0 << "" << "";
    QTest::newRow("tab and spaces") << "a\tb" << "a   b" << false << 2 << "101" << "10001";
}

void tst_CharacterDiff::examples()
{
    QFETCH(QString, one);
    QFETCH(QString, two);
    QFETCH(bool, ignoreCase);
    QFETCH(int, length);
    QFETCH(QString, marks1);
    QFETCH(QString, marks2);
    std::vector<bool> m1, m2;
    QCOMPARE(StringDiffs(one, two, ignoreCase, m1, m2), length);
    QCOMPARE(bits(m1), marks1);
    QCOMPARE(bits(m2), marks2);
}

void tst_CharacterDiff::fillAndWalkBackDirectly()
{
    const std::u32string one = U"abcabc", two = U"cab";
    LCSTable table(6, 3);
    QCOMPARE(FillLCSMatrix(one, two, table), 3);
    QCOMPARE(table.direction(0, 2), LcsDirection::None);
    QCOMPARE(table.direction(3, 1), LcsDirection::Diagonal);  // c meets c
    QCOMPARE(table.direction(1, 1), LcsDirection::Up);        // tie: leave line one's a
    QCOMPARE(table.direction(1, 3), LcsDirection::Left);      // (0,3)=0 < (1,2)=1
    std::vector<bool> m1(6, false), m2(3, false);
    GetLocationOfDiffs(table, m1, m2, 6, 3);
    // Line one's last c is left out on the tie at (6, 3); its second "cab" takes all of two.
    QCOMPARE(bits(m1), QStringLiteral("001110"));
    QCOMPARE(bits(m2), QStringLiteral("111"));
}

void tst_CharacterDiff::tableRuleMatchesLiteralModel()
{
    QRandomGenerator rng(11);
    for (int round = 0; round < 3000; ++round) {
        const QString a = randomText(rng, 14, 3), b = randomText(rng, 14, 3);
        const CharacterDiffResult r = compareCharacters(a, b, false);
        QCOMPARE(r.method, LcsMethod::Table);
        const auto [m1, m2] = literalMarks(a, b);
        QCOMPARE(bits(r.marks1), m1);
        QCOMPARE(bits(r.marks2), m2);
        QCOMPARE(r.length, bruteForceLength(a, b));
    }
}

void tst_CharacterDiff::linearSpaceFindsLongestOnSmallInputs()
{
    QRandomGenerator rng(12);
    for (int round = 0; round < 3000; ++round) {
        const QString a = randomText(rng, 40, 1 + int(rng.bounded(4)));
        const QString b = randomText(rng, 40, 1 + int(rng.bounded(4)));
        // No table at all, so the divide-and-conquer does the work.
        const CharacterDiffResult r = compareCharacters(a, b, false, 0, kLcsWorkBudget);
        if (!a.isEmpty() && !b.isEmpty() && a != b) QCOMPARE(r.method, LcsMethod::LinearSpace);
        QCOMPARE(r.length, bruteForceLength(a, b));
        verifyCommonSubsequence(a, b, r);
    }
}

void tst_CharacterDiff::exhaustedBudgetStillGivesCommonSubsequence()
{
    QRandomGenerator rng(13);
    int partial = 0;
    for (int round = 0; round < 500; ++round) {
        // Long enough that no stretch fits the small table on its own.
        const QString a = QString(400, u'q') + randomText(rng, 200, 4);
        const QString b = randomText(rng, 200, 4) + QString(400, u'z');
        const CharacterDiffResult r = compareCharacters(a, b, false, 0, 50);
        partial += r.method == LcsMethod::Partial;
        QVERIFY(r.length <= bruteForceLength(a, b));
        verifyCommonSubsequence(a, b, r);
    }
    QCOMPARE(partial, 500);
}

void tst_CharacterDiff::beyondTableBudgetIsStillLongest()
{
    // 5000 x 5000 is 25 M cells, beyond the table budget.
    QRandomGenerator rng(14);
    QString a, b;
    for (int i = 0; i < 5000; ++i) a += QChar(u'a' + int(rng.bounded(4)));
    b = a;
    for (int i = 0; i < 400; ++i) b[int(rng.bounded(5000))] = QChar(u'a' + int(rng.bounded(6)));
    const CharacterDiffResult r = compareCharacters(a, b, false);
    QCOMPARE(r.method, LcsMethod::LinearSpace);
    QCOMPARE(r.length, bruteForceLength(a, b));
    verifyCommonSubsequence(a, b, r);
}

void tst_CharacterDiff::megabyteLinesWithFewChanges()
{
    constexpr int kLen = 1 << 20;
    QRandomGenerator rng(15);
    QString a(kLen, Qt::Uninitialized);
    for (int i = 0; i < kLen; ++i) a[i] = QChar(u'a' + int(rng.bounded(26)));
    QString b = a;
    QList<int> changed;
    for (int i = 0; i < 300; ++i) {
        const int pos = int(rng.bounded(kLen));
        if (b[pos] != u'#') changed << pos;
        b[pos] = u'#';  // a character line one does not have
    }
    const CharacterDiffResult r = compareCharacters(a, b, false);
    QCOMPARE(r.length, kLen - int(changed.size()));
    for (int pos : changed) QVERIFY(!r.marks2[pos]);
    QCOMPARE(qsizetype(std::count(r.marks2.begin(), r.marks2.end(), false)), changed.size());
    QCOMPARE(qsizetype(std::count(r.marks1.begin(), r.marks1.end(), false)), changed.size());
}

void tst_CharacterDiff::megabyteLinesWithNothingInCommon()
{
    const QString a(1 << 20, u'x'), b((1 << 20) + 3, u'y');
    const CharacterDiffResult r = compareCharacters(a, b, false);
    QCOMPARE(r.length, 0);
    QCOMPARE(std::count(r.marks1.begin(), r.marks1.end(), true), 0);
    QCOMPARE(std::count(r.marks2.begin(), r.marks2.end(), true), 0);
}

void tst_CharacterDiff::megabyteRandomLines()
{
    // Unrelated random text: the exact answer is out of reach within the
    // budget; what is reported must still be common to both lines.
    QRandomGenerator rng(16);
    QString a, b;
    for (int i = 0; i < (1 << 20); ++i) {
        a += QChar(u'a' + int(rng.bounded(8)));
        b += QChar(u'a' + int(rng.bounded(8)));
    }
    a.prepend(QStringLiteral("same start "));
    b.prepend(QStringLiteral("same start "));
    const CharacterDiffResult r = compareCharacters(a, b, false);
    QVERIFY(r.method != LcsMethod::Table);
    verifyCommonSubsequence(a, b, r);
    for (int i = 0; i < 11; ++i) QVERIFY(r.marks1[i] && r.marks2[i]);
}

QTEST_GUILESS_MAIN(tst_CharacterDiff)
#include "tst_CharacterDiff.moc"
