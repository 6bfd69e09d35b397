// The engine's Unicode facts against Qt's Unicode database and decoder,
// and the text form of file names that are not valid UTF-8.

#include "engine/FileNameText.h"
#include "engine/Unicode.h"
#include "support/TextBytes.h"

#include <QRandomGenerator>
#include <QTest>

class tst_Unicode : public QObject {
    Q_OBJECT

private slots:
    void foldingAndSpacesMatchQt()
    {
        for (char32_t c = 0; c <= 0x10FFFF; ++c) {
            if (c >= 0xD800 && c <= 0xDFFF)
                continue;
            if (Unicode::FoldCase(c) != QChar::toCaseFolded(c) || Unicode::IsSpace(c) != QChar::isSpace(c))
                QFAIL(qPrintable(QStringLiteral("U+%1").arg(quint32(c), 4, 16, QLatin1Char('0'))));
        }
    }

    // Short random byte strings, mostly high bytes, and each sequence
    // boundary case: valid exactly when Qt decodes them without error.
    void utf8ValidityMatchesQt()
    {
        QRandomGenerator rng(3);
        static const char kBytes[] = {'a',    '\x80', '\xbf', '\xc0', '\xc2', '\xdf', '\xe0', '\xed',
                                      '\xef', '\xf0', '\xf4', '\xf5', '\xff', '\xa0', '\x9f', '\x90'};
        for (int round = 0; round < 200000; ++round) {
            QByteArray bytes;
            for (int n = rng.bounded(6); n > 0; --n)
                bytes += kBytes[rng.bounded(int(sizeof kBytes))];
            bool valid = false;
            (void)FromUtf8(bytes, &valid);
            QVERIFY2(Unicode::IsValidUtf8(bytes.toStdString()) == valid, bytes.toHex(' ').constData());
        }
    }

    void fileNameText_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("text");
        const auto row = [](const char* name, const QByteArray& bytes, const char* text) {
            QTest::newRow(name) << bytes << QString::fromUtf8(text);
        };
        row("valid UTF-8 as itself", "/a/\xc3\xa4 b.txt", "/a/\xc3\xa4 b.txt");
        row("undecodable bytes visible", "bad\xff\xfename", "bad\\xFF\\xFEname");
        row("truncated, overlong, surrogate", "\xc3-\xc0\xaf-\xed\xa0\x80", "\\xC3-\\xC0\\xAF-\\xED\\xA0\\x80");
        row("lone backslashes kept", "a\\b\\", "a\\b\\");
        row("backslash before xHH doubled", "\\x41", "\\\\x41");
        row("backslash before xH not", "\\x4", "\\x4");
        row("backslash before backslash", "\\\\", "\\\\\\");
        row("backslash before an escape", "\\\xff", "\\\\\\xFF");
    }

    void fileNameText()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, text);
        QCOMPARE(FileNameText::FromBytes(bytes), text);
        QCOMPARE(FileNameText::ToBytes(text), bytes);
    }

    // Every byte string comes back from its text, which never holds a
    // replacement mark; a typed lower-case escape reads too.
    void fileNameTextKeepsEveryByte()
    {
        QRandomGenerator rng(5);
        static const char kBytes[] = {'\\',   'x',    'f',    'F',    '1',    'a', '\xc3',
                                      '\xa4', '\xff', '\x80', '\xed', '\xa0', '/'};
        for (int round = 0; round < 100000; ++round) {
            QByteArray bytes;
            for (int n = rng.bounded(7); n > 0; --n)
                bytes += kBytes[rng.bounded(int(sizeof kBytes))];
            const QString text = FileNameText::FromBytes(bytes);
            QVERIFY2(FileNameText::ToBytes(text) == bytes && !text.contains(QChar::ReplacementCharacter),
                     bytes.toHex(' ').constData());
        }
        QCOMPARE(FileNameText::ToBytes(u"a\\xfe\\xg1"), QByteArray("a\xfe\\xg1"));
    }
};

QTEST_GUILESS_MAIN(tst_Unicode)
#include "tst_Unicode.moc"
