// Row text and line decoding. Whether bytes are UTF-8 is the engine's test,
// checked against Qt's decoder in tst_Unicode.
#include "compare/LineText.h"
#include "compare/RowText.h"

#include <QTest>
#include <memory>

using namespace RowText;
using namespace Qt::StringLiterals;

class tst_RowText : public QObject {
    Q_OBJECT
private slots:
    // The row text, the line alone, and the detail pane's line: kept as its
    // bytes only where each byte is one character, always with the
    // characters the grid shows.
    void rowText_data()
    {
        QTest::addColumn<qint64>("number");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("expected");
        QTest::addColumn<bool>("asBytes");
        const auto row = [](const char* name, qint64 number, const QByteArray& bytes, const QString& expected,
                            bool asBytes) { QTest::newRow(name) << number << bytes << expected << asBytes; };
        row("empty line", 1, {}, u" 1."_s, true);
        row("tabs, spaces kept", 7, "\t x\t\t", u" 7.    x      "_s, false);
        row("utf-8", 5, "\xF0\x9F\x98\x80!\xC3\xA9", u" 5.\U0001F600!é"_s, false);
        // 0x81 has no character in Windows-1252 and keeps its value.
        row("cp1252", 8, "\x93hi\x94 \x80\x81\x9f caf\xE9", u" 8.“hi” €\u0081Ÿ café"_s, true);
        row("nul and CR kept", 9, QByteArray("a\0b\r", 4), u" 9.a\0b\r"_s, true);
        row("large number", 2147483647, "z", u" 2147483647.z"_s, true);
    }

    void rowText()
    {
        QFETCH(qint64, number);
        QFETCH(QByteArray, bytes);
        QFETCH(QString, expected);
        QCOMPARE(RowText::Format(number, bytes), expected);
        const QString line = expected.mid(expected.indexOf(u'.') + 1);
        QCOMPARE(ShownLine(bytes), line);
        const auto owner = std::make_shared<QByteArray>(bytes);
        const LineText held = LineText::FromBytes(*owner, owner);
        QTEST(held.isBytes(), "asBytes");
        QCOMPARE(held.toString(), line);
        QCOMPARE(held.size(), line.size());
        for (qsizetype k = 0; k < line.size(); ++k)
            QVERIFY(held.at(k) == line[k] && held.mid(k, 2) == line.mid(k, 2));
    }

    // The column rule of the grid's row parts.
    void leadingColumns_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("columns");
        QTest::addColumn<Part>("part");
        const QString acute(QChar(0x301));
        const QString grin = QString::fromUcs4(U"\U0001F600");
        QTest::newRow("fits whole") << u"abc"_s << 3 << Part{u"abc"_s, false};
        QTest::newRow("cut") << u"abcd"_s << 3 << Part{u"abc"_s, true};
        QTest::newRow("marks ride on their column") << u"e\u0301\u0301x"_s << 1 << Part{u"e\u0301\u0301"_s, true};
        QTest::newRow("mark after the last column") << u"ab\u0301"_s << 2 << Part{u"ab\u0301"_s, false};
        QTest::newRow("format characters") << u"a\u200D\u202Eb"_s << 2 << Part{u"a\u200D\u202Eb"_s, false};
        QTest::newRow("pair never split") << grin + grin << 1 << Part{grin, true};
        QTest::newRow("control characters") << u"\u0001\u0002\u2028"_s << 2 << Part{u"\u0001\u0002"_s, true};
        QTest::newRow("run of marks capped")
            << u"a"_s + acute.repeated(100) << 1 << Part{u"a"_s + acute.repeated(2 * kUnitsPerColumnLimit - 1), true};
        QTest::newRow("no columns") << u"abc"_s << 0 << Part{QString(), true};
    }

    void leadingColumns()
    {
        QFETCH(QString, text);
        QFETCH(int, columns);
        QTEST(RowText::LeadingColumns(text, columns), "part");
    }

    // A row's part formed from a bounded prefix of the line's bytes is the
    // part of the whole row text, whatever the line holds and wherever the
    // cut falls.
    void rowTextPartOfLongLines_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("ascii") << QByteArray(100000, 'a');
        QTest::newRow("tabs") << QByteArray("a\tb\t\tc").repeated(5000);
        QTest::newRow("utf-8, four bytes") << QByteArray("\xF0\x9F\x98\x80").repeated(20000);
        QTest::newRow("marks") << QByteArray("e").append(QByteArray("\xCC\x81").repeated(50000));
        QTest::newRow("invalid byte at the very end") << QByteArray("\xC3\xA9").repeated(50000).append('\xFF');
        QTest::newRow("empty") << QByteArray();
    }

    void rowTextPartOfLongLines()
    {
        QFETCH(QByteArray, bytes);
        const QString whole = RowText::Format(123, bytes);
        for (const qsizetype columns : {0, 1, 4, 5, 6, 37, 300})
            QCOMPARE(FormatPart(123, bytes, IsValidUtf8(bytes), columns), LeadingColumns(whole, columns));
    }
};

QTEST_GUILESS_MAIN(tst_RowText)
#include "tst_RowText.moc"
