// Line reading shared by the engine and the grids.

#include "ResultChecker.h"
#include "engine/EndingsOnly.h"
#include "engine/InputFile.h"
#include "engine/LineFile.h"
#include "support/TextBytes.h"

#include <QRandomGenerator>
#include <QTest>

namespace {
struct Split {
    QByteArray bytes;
    QList<QByteArray> lines, rawLines;
    bool lacksNewline;
};  // raw: CR before LF kept
// What reading finds: encoding, LF, CR LF and lone CR endings, final newline,
// byte-order mark, undecodable; `text` is what the lines are split from.
struct Facts {
    QByteArray bytes;
    bool decode;
    TextEncoding encoding;
    int lf, crlf, cr;
    bool finalNewline, mark, undecodable;
    QByteArray text;
};
}  // namespace

class tst_LineFile : public QObject, ResultChecker::Folder {
    Q_OBJECT

private slots:
    void split_data()
    {
        QTest::addColumn<Split>("c");
        using L = QList<QByteArray>;
        QTest::newRow("empty") << Split{{}, L{}, L{}, false};
        QTest::newRow("no final newline") << Split{"a\nb", L{"a", "b"}, L{"a", "b"}, true};
        QTest::newRow("CRLF") << Split{"a\r\nb\r\n", L{"a", "b"}, L{"a\r", "b\r"}, false};
        QTest::newRow("CR without LF stays text") << Split{"a\rb\nc\r", L{"a\rb", "c\r"}, L{"a\rb", "c\r"}, true};
        QTest::newRow("blank lines") << Split{"\n\n\r\n", L{"", "", ""}, L{"", "", "\r"}, false};
        const QByteArray nul("a\0b", 3);
        QTest::newRow("NUL bytes kept") << Split{nul + "\n", L{nul}, L{nul}, false};
        // Larger than the first block read from disk.
        Split big{{}, {}, {}, false};
        for (int i = 0; i < 50000; ++i) {
            big.lines << "line " + QByteArray::number(i);
            big.rawLines << big.lines.last() + (i % 3 ? "" : "\r");
            big.bytes += big.rawLines.last() + '\n';
        }
        QTest::newRow("large file") << big;
    }

    void split()
    {
        QFETCH(Split, c);
        const auto& [bytes, lines, rawLines, lacksNewline] = c;
        // The same answers from memory, from a file on disk, and from a file
        // that grew from half its bytes to all of them after it was opened
        // (the size it reported then is too small).
        const QString path = Write("f", bytes);
        const LineFile::LoadResult loaded = LineFile::Load(QFile::encodeName(path).toStdString());
        QVERIFY2(loaded.file, loaded.error.Reason().c_str());
        const QString grownPath = Write("g", bytes.left(bytes.size() / 2));
        InputFile grown(QFile::encodeName(grownPath).toStdString());
        QFile rest(grownPath);
        QVERIFY(rest.open(QIODevice::Append) && rest.write(bytes.mid(bytes.size() / 2)) >= 0 && rest.flush());
        QVERIFY(grown.ReadFirstBlock());
        for (const auto& file :
             {loaded.file, LineFile::FromOpened(grown).file, LineFile::FromBytes(bytes.toStdString())}) {
            QVERIFY(file);
            QCOMPARE(file->LineCount(), lines.size());
            for (qsizetype i = 0; i < lines.size(); ++i) {
                QCOMPARE(Bytes(file->Line(i)), lines[i]);
                QCOMPARE(Bytes(file->RawLine(i)), rawLines[i]);
            }
            QCOMPARE(file->LastLineLacksNewline(), lacksNewline);
            QCOMPARE(Bytes(file->Bytes()), bytes);
        }
        QCOMPARE(loaded.file->Path(), QFile::encodeName(path).toStdString());
    }

    void facts_data()
    {
        QTest::addColumn<Facts>("c");
        using E = TextEncoding;
        const QStringView text = u"\uFEFFa\r\n\u00e9\U0001F600\n";
        const QByteArray utf8 = text.toUtf8();
        const auto decoded = [&](QByteArray b, E e) { return Facts{b, true, e, 1, 1, 0, true, true, false, utf8}; };
        QTest::newRow("UTF-16 LE") << decoded(Wide(text, 2, false), E::Utf16LE);
        QTest::newRow("UTF-16 BE") << decoded(Wide(text, 2, true), E::Utf16BE);
        QTest::newRow("UTF-32 LE") << decoded(Wide(text, 4, false), E::Utf32LE);
        QTest::newRow("UTF-32 BE") << decoded(Wide(text, 4, true), E::Utf32BE);
        QTest::newRow("UTF-16 left as bytes")
            << Facts{Wide(text, 2, false), false, E::Windows1252, 2, 0, 1, false, false, false, Wide(text, 2, false)};
        // Not valid after the mark: kept as bytes, and said so.
        const auto undecodable = [](QByteArray b, bool final) {
            return Facts{b, true, E::Windows1252, 1, 0, 0, final, false, true, b};
        };
        QTest::newRow("UTF-16, odd length") << undecodable(Wide(u"\uFEFFab\n", 2, false) + "x", false);
        QTest::newRow("UTF-16, lone high surrogate") << undecodable(Wide(u"\uFEFF\xd83dz\n", 2, true), true);
        QTest::newRow("UTF-16, lone low surrogate") << undecodable(Wide(u"\uFEFF\xde00\n", 2, false), false);
        QTest::newRow("UTF-16, NUL character") << undecodable(QByteArray("\xff\xfez\0\0\0\n\0", 8), false);
        QTest::newRow("UTF-32 beyond U+10FFFF") << undecodable(QByteArray("\0\0\xfe\xff\0\x11\0\0\0\0\0\n", 12), true);
    }

    void facts()
    {
        QFETCH(Facts, c);
        const auto file =
            LineFile::FromBytes(c.bytes.toStdString(), {}, c.decode ? LineFile::Wide::Decode : LineFile::Wide::Keep);
        const TextFacts& f = file->Facts();
        QCOMPARE((QList<qint64>{qint64(f.encoding), f.lfEndings, f.crlfEndings, f.crEndings, f.finalNewline,
                                f.byteOrderMark, f.undecodable}),
                 (QList<qint64>{qint64(c.encoding), c.lf, c.crlf, c.cr, c.finalNewline, c.mark, c.undecodable}));
        QCOMPARE(Bytes(file->Bytes()), c.text);
    }

    // Random texts read as they are, their facts against FactsProblem's
    // count: every line ending by the run, a form feed beside a CR (one
    // above it in value) and 0x8D (a CR but for its high bit), each limit of
    // well-formed UTF-8 and the value just past it, a mark, runs of ASCII
    // and of two-byte characters at every offset of the words the reader
    // takes at a time, and now and then a start that carries the rest
    // across the 64 KiB blocks the line ends are counted in.
    void factsOfRandomTexts()
    {
        const QList<QByteArray> pieces =
            QByteArray(
                "a|\r|\n|\f|\r\r\r\r\r|\x8d|\xef\xbb\xbf|\xc3\xa9\xc3\xa9|\xd7\x90|\xc1\xa9|\xc2\x80|\xdf\xbf|"
                "\xe0\xa0\x80|\xe0\x9f\xbf|\xed\x9f\xbf|\xed\xa0\x80|\xf0\x90\x80\x80|\xf0\x8f\xbf\xbf|"
                "\xf4\x8f\xbf\xbf|\xf4\x90\x80\x80|\xf5\x80\x80\x80|\xc3|\xff|\x80|abcdefghijklmnopqrstuvwxyz01234")
                .split('|');
        QRandomGenerator rng(9);
        for (int round = 0; round < 20000; ++round) {
            QByteArray bytes(round % 200 ? 0 : 65500 + rng.bounded(64), 'x');
            for (int n = rng.bounded(48); n > 0; --n)
                bytes += pieces[rng.bounded(pieces.size())];
            const auto file = LineFile::FromBytes(bytes.toStdString());
            const QString problem = FactsProblem(*file);
            QVERIFY2(problem.isEmpty() && Bytes(file->Bytes()) == bytes, qPrintable(problem + ": " + bytes.toHex(' ')));
        }
    }

    // Whether the blocks found between two files (four numbers each: first
    // line and count in File One, then in File Two) differ only in how
    // lines end or in a byte-order mark.
    void onlyLineEndsDiffer_data()
    {
        QTest::addColumn<QByteArray>("one");
        QTest::addColumn<QByteArray>("two");
        QTest::addColumn<QList<int>>("blocks");
        QTest::addColumn<bool>("only");
        const auto row = [](const char* name, const QByteArray& one, const QByteArray& two, QList<int> blocks,
                            bool only) { QTest::newRow(name) << one << two << blocks << only; };
        row("CR LF against LF", "a\r\nb\r\n", "a\nb\n", {0, 2, 0, 2}, true);
        row("CR alone against LF", "a\rb\r", "a\nb\n", {0, 1, 0, 2}, true);
        row("no newline at the end", "a\nb", "a\nb\n", {1, 1, 1, 1}, true);
        row("byte-order mark", "\357\273\277a\n", "a\n", {0, 1, 0, 1}, true);
        row("a line more in File One", "a\nb\n", "a\n", {1, 1, 1, 0}, false);
        row("a line more in File Two", "a\n", "a\nb\n", {1, 0, 1, 1}, false);
        row("a longer line in File One", "ab\n", "a\n", {0, 1, 0, 1}, false);
        row("the second block differs", "a\r\nx\nb\r\n", "a\nx\nc\n", {0, 1, 0, 1, 2, 1, 2, 1}, false);
        row("no blocks", "a\n", "a\n", {}, false);
    }

    void onlyLineEndsDiffer()
    {
        QFETCH(QByteArray, one);
        QFETCH(QByteArray, two);
        QFETCH(QList<int>, blocks);
        std::vector<LineDiff::Hunk> hunks;
        for (qsizetype i = 0; i + 3 < blocks.size(); i += 4)
            hunks.push_back({blocks[i], blocks[i + 1], blocks[i + 2], blocks[i + 3]});
        const auto fileOne = LineFile::FromBytes(one.toStdString()), fileTwo = LineFile::FromBytes(two.toStdString());
        QTEST(OnlyLineEndsDiffer(*fileOne, *fileTwo, hunks), "only");
    }
};

QTEST_GUILESS_MAIN(tst_LineFile)
#include "tst_LineFile.moc"
