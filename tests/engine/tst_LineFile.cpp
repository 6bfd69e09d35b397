// Line reading shared by the engine and the grids.

#include "engine/LineFile.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <cerrno>
#include <cstring>

class tst_LineFile : public QObject {
    Q_OBJECT

private slots:
    void split_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QList<QByteArray>>("lines");     // text without endings
        QTest::addColumn<QList<QByteArray>>("rawLines");  // CR before LF kept
        QTest::addColumn<bool>("lacksNewline");
        using L = QList<QByteArray>;
        QTest::newRow("empty") << QByteArray() << L{} << L{} << false;
        QTest::newRow("one newline") << QByteArray("\n") << L{""} << L{""} << false;
        QTest::newRow("no final newline") << QByteArray("a\nb") << L{"a", "b"} << L{"a", "b"} << true;
        QTest::newRow("final newline") << QByteArray("a\nb\n") << L{"a", "b"} << L{"a", "b"} << false;
        QTest::newRow("CRLF") << QByteArray("a\r\nb\r\n") << L{"a", "b"} << L{"a\r", "b\r"} << false;
        QTest::newRow("CR without LF stays text") << QByteArray("a\rb\nc\r") << L{"a\rb", "c\r"} << L{"a\rb", "c\r"} << true;
        QTest::newRow("blank lines") << QByteArray("\n\n\r\n") << L{"", "", ""} << L{"", "", "\r"} << false;
        QTest::newRow("NUL bytes kept") << QByteArray("a\0b\n", 4) << L{QByteArray("a\0b", 3)} << L{QByteArray("a\0b", 3)}
                                        << false;
    }

    void split()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QList<QByteArray>, lines);
        QFETCH(QList<QByteArray>, rawLines);
        QFETCH(bool, lacksNewline);
        // The same answers from memory and from a file on disk.
        QTemporaryDir dir;
        const QString path = dir.filePath("f");
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        QCOMPARE(f.write(bytes), bytes.size());
        f.close();
        const LineFile::LoadResult loaded = LineFile::Load(path);
        QVERIFY2(loaded.file, qPrintable(loaded.error));
        for (const auto& file : {loaded.file, LineFile::FromBytes(bytes)}) {
            QCOMPARE(file->LineCount(), lines.size());
            for (qsizetype i = 0; i < lines.size(); ++i) {
                QCOMPARE(file->Line(i).toByteArray(), lines[i]);
                QCOMPARE(file->RawLine(i).toByteArray(), rawLines[i]);
            }
            QCOMPARE(file->LastLineLacksNewline(), lacksNewline);
            QCOMPARE(file->Bytes().toByteArray(), bytes);
        }
        QCOMPARE(loaded.file->Path(), path);
    }

    // Larger than one read block, so the rest is read after the first block.
    void largeFile()
    {
        QByteArray bytes;
        for (int i = 0; i < 50000; ++i)
            bytes += "line " + QByteArray::number(i) + (i % 3 ? "\n" : "\r\n");
        QTemporaryDir dir;
        QFile f(dir.filePath("big"));
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(bytes);
        f.close();
        const LineFile::LoadResult loaded = LineFile::Load(f.fileName());
        QVERIFY(loaded.file);
        QCOMPARE(loaded.file->LineCount(), 50000);
        QCOMPARE(loaded.file->Line(49999).toByteArray(), QByteArray("line 49999"));
        QCOMPARE(loaded.file->Line(3).toByteArray(), QByteArray("line 3"));
        QCOMPARE(loaded.file->RawLine(3).toByteArray(), QByteArray("line 3\r"));
        QCOMPARE(loaded.file->Bytes().size(), bytes.size());
    }

    void errors()
    {
        QTemporaryDir dir;
        const QString missing = dir.filePath("missing");
        LineFile::LoadResult r = LineFile::Load(missing);
        QVERIFY(!r.file);
        QVERIFY(r.error.contains(missing));
        QVERIFY(r.error.contains(QString::fromLocal8Bit(std::strerror(ENOENT))));
        r = LineFile::Load(dir.path());
        QVERIFY(!r.file);
        QVERIFY(r.error.contains(QString::fromLocal8Bit(std::strerror(EISDIR))));
    }

    void decode_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("text");
        QTest::newRow("ASCII") << QByteArray("abc") << QStringLiteral("abc");
        QTest::newRow("UTF-8") << QByteArray("\xc3\xa9\xe2\x82\xac") << QStringLiteral("\u00e9\u20ac");
        QTest::newRow("Windows-1252 fallback") << QByteArray("\xe9t\xe9") << QStringLiteral("\u00e9t\u00e9");
        QTest::newRow("Windows-1252 euro and quotes") << QByteArray("\x80 \x93q\x94") << QStringLiteral("\u20ac \u201cq\u201d");
        QTest::newRow("unassigned bytes keep their value") << QByteArray("\x81\x8d\x8f\x90\x9d")
                                                            << QStringLiteral("\u0081\u008d\u008f\u0090\u009d");
        QTest::newRow("overlong form is not UTF-8") << QByteArray("\xc0\xaf") << QStringLiteral("\u00c0\u00af");
        QTest::newRow("surrogate is not UTF-8") << QByteArray("\xed\xa0\x80") << QStringLiteral("\u00ed\u00a0\u20ac");
        QTest::newRow("truncated sequence") << QByteArray("a\xe2\x82") << QStringLiteral("a\u00e2\u201a");
    }

    void decode()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, text);
        QCOMPARE(LineFile::DecodeLine(bytes), text);
    }
};

QTEST_GUILESS_MAIN(tst_LineFile)
#include "tst_LineFile.moc"
