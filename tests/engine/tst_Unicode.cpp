// The engine's Unicode facts against Qt's Unicode database and decoder.

#include "engine/Unicode.h"

#include <QRandomGenerator>
#include <QStringDecoder>
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
            QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
            const QString decoded = decoder.decode(bytes);  // decoding happens on conversion
            QVERIFY2(Unicode::IsValidUtf8(std::string_view(bytes.data(), size_t(bytes.size()))) == !decoder.hasError(),
                     bytes.toHex(' ').constData());
        }
    }
};

QTEST_GUILESS_MAIN(tst_Unicode)
#include "tst_Unicode.moc"
