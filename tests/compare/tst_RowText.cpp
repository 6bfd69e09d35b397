// Row text and line decoding.
#include "compare/RowText.h"

#include <QRandomGenerator>
#include <QTest>

using namespace RowText;

namespace {

// Windows-1252 as published, written out per byte for the bytes that differ
// from Latin-1; the five unassigned bytes are expected to keep their value.
char16_t cp1252(unsigned char b)
{
    switch (b) {
    case 0x80: return u'€'; case 0x82: return u'‚'; case 0x83: return u'ƒ'; case 0x84: return u'„';
    case 0x85: return u'…'; case 0x86: return u'†'; case 0x87: return u'‡'; case 0x88: return u'ˆ';
    case 0x89: return u'‰'; case 0x8A: return u'Š'; case 0x8B: return u'‹'; case 0x8C: return u'Œ';
    case 0x8E: return u'Ž'; case 0x91: return u'‘'; case 0x92: return u'’'; case 0x93: return u'“';
    case 0x94: return u'”'; case 0x95: return u'•'; case 0x96: return u'–'; case 0x97: return u'—';
    case 0x98: return u'˜'; case 0x99: return u'™'; case 0x9A: return u'š'; case 0x9B: return u'›';
    case 0x9C: return u'œ'; case 0x9E: return u'ž'; case 0x9F: return u'Ÿ';
    default: return char16_t(b);
    }
}

}  // namespace

class tst_RowText : public QObject {
    Q_OBJECT
private slots:
    void rowText_data();
    void rowText();
    void utf8Validity_data();
    void utf8Validity();
    void everyHighByteDecodesAsCp1252();
    void decodingNeverMergesByteStrings();
    void lineTextWidensTabs();
};

void tst_RowText::rowText_data()
{
    QTest::addColumn<qint64>("number");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("expected");
    QTest::newRow("plain") << qint64(12) << QByteArray("abc") << QStringLiteral(" 12.abc");
    QTest::newRow("empty line") << qint64(1) << QByteArray() << QStringLiteral(" 1.");
    QTest::newRow("one tab") << qint64(3) << QByteArray("a\tb") << QStringLiteral(" 3.a   b");
    QTest::newRow("tabs at both ends") << qint64(7) << QByteArray("\tx\t\t")
                                       << QStringLiteral(" 7.   x      ");
    QTest::newRow("leading spaces kept") << qint64(100000) << QByteArray("  x ")
                                         << QStringLiteral(" 100000.  x ");
    QTest::newRow("period in text") << qint64(2) << QByteArray("a.b") << QStringLiteral(" 2.a.b");
    QTest::newRow("utf-8") << qint64(4) << QByteArray("gr\xC3\xBC\xC3\x9F") << QStringLiteral(" 4.grüß");
    QTest::newRow("utf-8 four bytes") << qint64(5) << QByteArray("\xF0\x9F\x98\x80!")
                                      << (QStringLiteral(" 5.") + QString::fromUcs4(U"\U0001F600!"));
    QTest::newRow("latin-1 e acute") << qint64(6) << QByteArray("caf\xE9") << QStringLiteral(" 6.café");
    QTest::newRow("cp1252 quotes") << qint64(8) << QByteArray("\x93hi\x94 \x80")
                                   << QStringLiteral(" 8.“hi” €");
    QTest::newRow("nul byte kept") << qint64(9) << QByteArray("a\0b", 3)
                                   << (QStringLiteral(" 9.a") + QChar(0) + u'b');
    QTest::newRow("carriage return kept") << qint64(10) << QByteArray("a\rb")
                                          << QStringLiteral(" 10.a\rb");
    QTest::newRow("large number") << qint64(2147483647) << QByteArray("z")
                                  << QStringLiteral(" 2147483647.z");
}

void tst_RowText::rowText()
{
    QFETCH(qint64, number);
    QFETCH(QByteArray, bytes);
    QFETCH(QString, expected);
    QCOMPARE(RowText::rowText(number, bytes), expected);
}

void tst_RowText::utf8Validity_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<bool>("valid");
    QTest::newRow("ascii") << QByteArray("plain") << true;
    QTest::newRow("two bytes") << QByteArray("\xC3\xA9") << true;
    QTest::newRow("three bytes") << QByteArray("\xE2\x82\xAC") << true;
    QTest::newRow("four bytes") << QByteArray("\xF0\x9F\x98\x80") << true;
    QTest::newRow("largest scalar") << QByteArray("\xF4\x8F\xBF\xBF") << true;
    QTest::newRow("lone continuation") << QByteArray("\x80") << false;
    QTest::newRow("overlong slash") << QByteArray("\xC0\xAF") << false;
    QTest::newRow("overlong C1") << QByteArray("\xC1\xBF") << false;
    QTest::newRow("overlong three") << QByteArray("\xE0\x80\xAF") << false;
    QTest::newRow("overlong four") << QByteArray("\xF0\x80\x80\xAF") << false;
    QTest::newRow("surrogate") << QByteArray("\xED\xA0\x80") << false;
    QTest::newRow("above U+10FFFF") << QByteArray("\xF4\x90\x80\x80") << false;
    QTest::newRow("F5 lead") << QByteArray("\xF5\x80\x80\x80") << false;
    QTest::newRow("truncated at end") << QByteArray("ab\xE2\x82") << false;
    QTest::newRow("bad third byte") << QByteArray("\xE2\x82\x41") << false;
    QTest::newRow("latin-1 word") << QByteArray("caf\xE9") << false;
}

void tst_RowText::utf8Validity()
{
    QFETCH(QByteArray, bytes);
    QFETCH(bool, valid);
    QCOMPARE(isValidUtf8(bytes), valid);
    if (valid) {
        QCOMPARE(decodeLine(bytes), QString::fromUtf8(bytes));
    } else {
        QCOMPARE(decodeLine(bytes).size(), bytes.size());  // one character per byte
    }
}

void tst_RowText::everyHighByteDecodesAsCp1252()
{
    for (int b = 0; b < 256; ++b) {
        // A trailing 0xFF is never valid UTF-8, so each line below decodes
        // byte by byte.
        const char bytes[2] = {char(b), char(0xFF)};
        const QString text = decodeLine(QByteArrayView(bytes, 2));
        QCOMPARE(text.size(), qsizetype(2));
        QCOMPARE(text[0].unicode(), cp1252(static_cast<unsigned char>(b)));
        QCOMPARE(text[1].unicode(), char16_t(0xFF));
    }
}

void tst_RowText::decodingNeverMergesByteStrings()
{
    // A line that is not UTF-8 decodes byte by byte; no two bytes may give
    // the same character, or lines the engine told apart would look alike.
    QSet<char16_t> seen;
    for (int b = 0; b < 256; ++b) {
        const char bytes[2] = {char(b), char(0xFF)};
        seen.insert(decodeLine(QByteArrayView(bytes, 2)).at(0).unicode());
    }
    QCOMPARE(seen.size(), qsizetype(256));
}

void tst_RowText::lineTextWidensTabs()
{
    QCOMPARE(lineText("\t"), QStringLiteral("   "));
    QCOMPARE(lineText("a\t\tb"), QStringLiteral("a      b"));
    QCOMPARE(widenTabs(u"no tabs"), QStringLiteral("no tabs"));
    QCOMPARE(lineText("\xE9\t"), QStringLiteral("é   "));
}

QTEST_GUILESS_MAIN(tst_RowText)
#include "tst_RowText.moc"
