// Line reading shared by the engine and the grids.

#include "ResultChecker.h"
#include "engine/LineFile.h"

#include <QTemporaryDir>
#include <QTest>

namespace {
QByteArray Bytes(std::string_view v) { return QByteArray(v.data(), qsizetype(v.size())); }
std::string PathOf(const QString& path) { return QFile::encodeName(path).toStdString(); }
struct Split { QByteArray bytes; QList<QByteArray> lines, rawLines; bool lacksNewline; };  // raw: CR before LF kept
}  // namespace

class tst_LineFile : public QObject {
    Q_OBJECT

private slots:
    void split_data()
    {
        QTest::addColumn<Split>("c");
        using L = QList<QByteArray>;
        QTest::newRow("empty") << Split{{}, L{}, L{}, false};
        QTest::newRow("one newline") << Split{"\n", L{""}, L{""}, false};
        QTest::newRow("no final newline") << Split{"a\nb", L{"a", "b"}, L{"a", "b"}, true};
        QTest::newRow("final newline") << Split{"a\nb\n", L{"a", "b"}, L{"a", "b"}, false};
        QTest::newRow("CRLF") << Split{"a\r\nb\r\n", L{"a", "b"}, L{"a\r", "b\r"}, false};
        QTest::newRow("CR without LF stays text") << Split{"a\rb\nc\r", L{"a\rb", "c\r"}, L{"a\rb", "c\r"}, true};
        QTest::newRow("blank lines") << Split{"\n\n\r\n", L{"", "", ""}, L{"", "", "\r"}, false};
        const QByteArray nul("a\0b", 3);
        QTest::newRow("NUL bytes kept") << Split{nul + "\n", L{nul}, L{nul}, false};
    }

    void split()
    {
        QFETCH(Split, c);
        const auto& [bytes, lines, rawLines, lacksNewline] = c;
        // The same answers from memory and from a file on disk.
        QTemporaryDir dir;
        const QString path = ResultChecker::Write(dir.filePath("f"), bytes);
        const LineFile::LoadResult loaded = LineFile::Load(PathOf(path));
        QVERIFY2(loaded.file, loaded.error.Reason().c_str());
        for (const auto& file : {loaded.file, LineFile::FromBytes(std::string_view(bytes.data(), size_t(bytes.size())))}) {
            QCOMPARE(file->LineCount(), lines.size());
            for (qsizetype i = 0; i < lines.size(); ++i) {
                QCOMPARE(Bytes(file->Line(i)), lines[i]);
                QCOMPARE(Bytes(file->RawLine(i)), rawLines[i]);
            }
            QCOMPARE(file->LastLineLacksNewline(), lacksNewline);
            QCOMPARE(Bytes(file->Bytes()), bytes);
        }
        QCOMPARE(loaded.file->Path(), PathOf(path));
    }

    // Larger than one read block, so the rest is read after the first block.
    void largeFile()
    {
        QByteArray bytes;
        for (int i = 0; i < 50000; ++i)
            bytes += "line " + QByteArray::number(i) + (i % 3 ? "\n" : "\r\n");
        QTemporaryDir dir;
        const LineFile::LoadResult loaded = LineFile::Load(PathOf(ResultChecker::Write(dir.filePath("big"), bytes)));
        QVERIFY(loaded.file);
        QCOMPARE(loaded.file->LineCount(), 50000);
        QCOMPARE(Bytes(loaded.file->Line(49999)), QByteArray("line 49999"));
        QCOMPARE(Bytes(loaded.file->RawLine(3)), QByteArray("line 3\r"));
        QCOMPARE(Bytes(loaded.file->Bytes()), bytes);
    }
};

QTEST_GUILESS_MAIN(tst_LineFile)
#include "tst_LineFile.moc"
