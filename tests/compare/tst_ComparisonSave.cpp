// Saving the shown comparison. GNU patch applies the saved patch to File
// One and must rebuild File Two; the report is read back structurally and
// rendered by headless chromium, on the screen and printed; a refused
// save leaves no file behind.
#include "compare/ComparisonModel.h"
#include "compare/ComparisonSave.h"
#include "engine/Comparison.h"
#include "engine/FileText.h"
#include "engine/HtmlReport.h"
#include "engine/MovedLines.h"
#include "support/Chromium.h"
#include "support/FileBytes.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>
#include <csignal>
#include <cstdio>
#include <filesystem>
#include <sys/resource.h>

namespace {

bool WriteFile(const QByteArray& path, const QByteArray& bytes)
{
    std::FILE* f = std::fopen(path.constData(), "wb");
    const bool ok = f && std::fwrite(bytes.constData(), 1, std::size_t(bytes.size()), f) == std::size_t(bytes.size());
    return f && std::fclose(f) == 0 && ok;
}

// Two files in a folder of their own, compared as the window compares them.
// File One's name is not UTF-8 (QTemporaryDir cannot remove such a name).
struct Pair {
    QTemporaryDir dir;
    QByteArray pathOne = QFile::encodeName(dir.path()) + "/caf\xe9 one.txt";
    QByteArray pathTwo = QFile::encodeName(dir.filePath("two.txt"));
    ComparisonModel model;

    Pair(const QByteArray& one, const QByteArray& two)
    {
        if (!WriteFile(pathOne, one) || !WriteFile(pathTwo, two))
            qFatal("cannot write the test files");
        InputFile inOne(pathOne.toStdString());
        InputFile inTwo(pathTwo.toStdString());
        const Comparison c = CompareInputs(inOne, inTwo, CompareSettings{});
        if (c.outcome == Outcome::Different)
            (void)model.Show(c.files[0], c.files[1], c.hunks);
    }
    ~Pair() { std::remove(pathOne.constData()); }
};

// A report's body rows as two letters, File One's cell then File Two's:
// '.' plain, 'c' changed, 'o' one-sided, 'f' filler; upper case when
// bookmarked. A row that stands for rows left out as "(N unchanged lines)".
QString Rows(const QString& html)
{
    static const QRegularExpression cell(QStringLiteral("<td class=\"t ?(\\w?)\">"));
    static const QRegularExpression gap(QStringLiteral("^<tr class=\"gap\"><td colspan=\"4\">\u22EF (.*) \u22EF<"));
    QStringList rows;
    for (const QString& line : html.section(QStringLiteral("<tbody>"), 1).split(u'\n')) {
        if (const QRegularExpressionMatch m = gap.match(line); m.hasMatch())
            rows << '(' + m.captured(1) + ')';
        QString letters;
        for (auto it = cell.globalMatch(line); it.hasNext();) {
            const QString c = it.next().captured(1);
            letters += c.isEmpty() ? QStringLiteral(".") : c;
        }
        if (!letters.isEmpty())
            rows << (line.startsWith(QStringLiteral("<tr class=\"bm\">")) ? letters.toUpper() : letters);
    }
    return rows.join(u' ');
}

QString Marked(const QString& html)
{
    static const QRegularExpression mark(QStringLiteral("<mark>([^<]*)</mark>"));
    QStringList marks;
    for (auto it = mark.globalMatch(html.section(QStringLiteral("<tbody>"), 1)); it.hasNext();)
        marks << it.next().captured(1);
    return marks.join(u'|');
}

}  // namespace

class tst_ComparisonSave : public QObject {
    Q_OBJECT

private slots:
    void patchAndReport_data()
    {
        QTest::addColumn<QByteArray>("one");
        QTest::addColumn<QByteArray>("two");
        QTest::addColumn<int>("bookmark");   // row, 0 for none
        QTest::addColumn<QString>("shown");  // the rows, " / ", the marked texts, File One's first
        QByteArray many;
        for (int i = 1; i <= 12; ++i)
            many += "line " + QByteArray::number(i) + '\n';
        QByteArray changed = QByteArray(many).replace("line 2\n", "line two\n").replace("line 11\n", "");
        const auto row = [](const char* name, const QByteArray& one, const QByteArray& two, int bookmark,
                            const QString& rows, const char* marked) {
            QTest::newRow(name) << one << two << bookmark << rows + " / " + QString::fromUtf8(marked);
        };
        row("words marked, hunks apart", many, changed, 0, ".. cc " + QString(".. ").repeated(8) + "of ..", "2|two");
        row("lines on one side beside fillers", "a\nb\n", "a\nnew 1\nnew 2\nb\n", 0, ".. fo fo ..", "");
        row("markup, TAB and CR shown as text", "<script>\t\r</script>\n<b>&\n",
            "<script>\t\r</script>\n<script>alert('x\"')</script>\n", 0, ".. cc",
            "&lt;b&gt;&amp;|&lt;script&gt;alert(&#39;x&quot;&#39;)&lt;/script&gt;");
        // The grids mark a TAB's three spaces and a surrogate pair's two halves.
        row("bookmark on the last row, newline lost, after a TAB and U+1F600", "a\n\t\xf0\x9f\x98\x80 b\n",
            "a\n\t\xf0\x9f\x98\x80 c", 2, ".. CC", "b|c");
        row("CR LF, all lines removed", "a\r\nb\r\n", "", 0, "of of", "");
    }
    // GNU patch applies the saved patch to a copy of File One to give File
    // Two; the report shows the rows as the grids do.
    void patchAndReport()
    {
        QFETCH(QByteArray, one);
        QFETCH(QByteArray, two);
        QFETCH(int, bookmark);
        Pair pair(one, two);
        const QString patchPath = pair.dir.filePath("changes.patch");
        QCOMPARE(ComparisonSave::SavePatch(pair.model, patchPath), QString());
        const QString original = pair.dir.filePath("original"), rebuilt = pair.dir.filePath("rebuilt");
        QVERIFY(WriteFile(QFile::encodeName(original), one));
        QProcess patch;
        patch.start("patch", {"--batch", "--quiet", "-o", rebuilt, original, patchPath});
        QVERIFY(patch.waitForFinished());
        QVERIFY2(patch.exitCode() == 0 && QFile::exists(rebuilt),
                 patch.readAllStandardOutput() + patch.readAllStandardError());
        QCOMPARE(FileBytes::Read(rebuilt), two);

        if (bookmark)
            QVERIFY(pair.model.AddBookmark(bookmark));
        const QString reportPath = pair.dir.filePath("report.html");
        QCOMPARE(ComparisonSave::SaveReport(pair.model, reportPath, false, {"case"}), QString());
        const QString html = QString::fromUtf8(FileBytes::Read(reportPath));
        QTEST(Rows(html) + " / " + Marked(html), "shown");
        QVERIFY(html.contains(QString::fromStdString(HtmlReport::Escaped(FileText::Summary(*pair.model.File(0))))));
        QVERIFY(html.contains(QStringLiteral("caf\\xE9 one.txt")) && html.contains("Compared ignoring case."));
        const QDateTime modified = QFileInfo(QFile::decodeName(pair.pathTwo)).lastModified();
        QVERIFY(html.contains("Modified " + modified.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"))));
        QVERIFY(!html.contains(QStringLiteral("<script")) && !html.contains("src=") && !html.contains("href="));
        // A TAB widened to three spaces, a CR as an arrow, as the grids show them.
        QVERIFY(!html.contains(u'\t') && !html.contains(u'\r'));
    }

    // Folded, the report holds what the grids show: the rows around the
    // differences, each fold as one row that counts it, wherever it lies; a
    // line moved from the top to the end in its colour at both ends.
    void folded_data()
    {
        QTest::addColumn<QByteArray>("one");
        QTest::addColumn<QByteArray>("two");
        QTest::addColumn<QString>("rows");
        QByteArray lines;
        for (int i = 1; i <= 9; ++i)
            lines += "line " + QByteArray::number(i) + '\n';
        const QByteArray moved = "a moved line of some 30 letters\n";
        QTest::newRow("a move, folded between") << moved + lines << lines + moved << "mf .. (7 unchanged lines) .. fm";
        QTest::newRow("one row folded at either end")
            << QByteArray("1\n2\n3\n4\n5\n") << QByteArray("1\n2\nthree\n4\n5\n")
            << "(1 unchanged line) .. cc .. (1 unchanged line)";
    }
    void folded()
    {
        QFETCH(QByteArray, one);
        QFETCH(QByteArray, two);
        Pair pair(one, two);
        pair.model.SetFolding(1);
        pair.model.ShowMoves(MovedLines::Find(*pair.model.File(0), *pair.model.File(1), pair.model.Hunks(),
                                              TextNormalizer(LineDiff::Settings{})));
        const QString path = pair.dir.filePath("report.html");
        QVERIFY(ComparisonSave::SaveReport(pair.model, path, false, {}).isEmpty());
        const QString html = QString::fromUtf8(FileBytes::Read(path));
        QTEST(Rows(html), "rows");
        QCOMPARE(html.contains(QStringLiteral("<span class=\"t m\">moved line</span>")), !pair.model.Moves().empty());
    }

    // Each refusal leaves the folder as it was: the two files, unchanged.
    void refusedSaves_data()
    {
        QTest::addColumn<QString>("target");  // in the folder
        QTest::addColumn<QString>("message");
        QTest::addColumn<bool>("report");
        const QString replaces = QStringLiteral("would replace a file being compared");
        QTest::newRow("File Two") << QString("two.txt") << replaces << false;
        QTest::newRow("File Two by another name") << QString("sub/../two.txt") << replaces << true;
        QTest::newRow("a missing folder")
            << QString("missing/changes.patch") << QString("folder does not exist") << false;
        QTest::newRow("a full disk") << QString("changes.patch") << QString("could not be written") << false;
    }
    void refusedSaves()
    {
        QFETCH(QString, target);
        QFETCH(QString, message);
        QFETCH(bool, report);
        const QByteArray two = QByteArray(4096, 'b') + '\n';
        Pair pair(QByteArray(4096, 'a') + '\n', two);
        QVERIFY(QDir(pair.dir.path()).mkdir("sub"));
        // The patch is twice the size of a file: room for less than one.
        std::signal(SIGXFSZ, SIG_IGN);
        rlimit old{};
        getrlimit(RLIMIT_FSIZE, &old);
        const rlimit small{rlim_t(5000), old.rlim_max};
        if (QTest::currentDataTag() == QByteArrayLiteral("a full disk"))
            setrlimit(RLIMIT_FSIZE, &small);
        const QString path = pair.dir.filePath(target);
        const QString error = report ? ComparisonSave::SaveReport(pair.model, path, false, {})
                                     : ComparisonSave::SavePatch(pair.model, path);
        setrlimit(RLIMIT_FSIZE, &old);
        QVERIFY2(error.contains(message), qPrintable(error));
        QCOMPARE(FileBytes::Read(QFile::decodeName(pair.pathTwo)), two);
        const auto entries = std::filesystem::directory_iterator(pair.dir.path().toStdString());
        QCOMPARE(std::count_if(begin(entries), end(entries), [](const auto& e) { return e.is_regular_file(); }), 2);
    }

    // Chromium shows both files' lines and colours the changed rows and the
    // differing characters as the grids do, on the screen and printed (to
    // PDF, its first page drawn by pdftoppm).
    void reportInABrowser_data()
    {
        QTest::addColumn<QString>("arguments");  // %1 the output file
        QTest::addColumn<bool>("printed");
        QTest::newRow("on the screen") << "--window-size=900,600 --screenshot=%1" << false;
        QTest::newRow("printed") << "--no-pdf-header-footer --print-to-pdf=%1" << true;
    }
    void reportInABrowser()
    {
        QFETCH(QString, arguments);
        QFETCH(bool, printed);
        QVERIFY2(!Chromium::Program().isEmpty(), "chromium is missing: scripts/test installs it");
        Pair pair("kept line\nold words here\n", "kept line\nnew words here\nadded\n");
        const QString path = pair.dir.filePath("report.html");
        QVERIFY(ComparisonSave::SaveReport(pair.model, path, false, {}).isEmpty());
        const QString out = pair.dir.filePath(printed ? "out.pdf" : "out.png");
        if (!printed) {
            const QString dom = QString::fromUtf8(Chromium::Run(pair.dir.path(), {"--dump-dom"}, path));
            for (const char* line : {"kept line", "old", "new", "words here", "added"})
                QVERIFY2(dom.contains(QString::fromUtf8(line)), line);
        }
        QByteArray errors;
        (void)Chromium::Run(pair.dir.path(), arguments.arg(out).split(u' '), path, &errors);
        QProcess run;
        if (printed) {
            run.start("pdftoppm", {"-png", "-r", "100", "-f", "1", "-l", "1", "-singlefile", out, out});
            QVERIFY(run.waitForFinished(60000) && run.exitCode() == 0);
        }
        const QImage image(printed ? out + ".png" : out);
        QVERIFY2(!image.isNull(), (errors + run.readAllStandardError()).constData());
        const QImage rgb = image.convertToFormat(QImage::Format_RGB32);  // no padding at the lines' ends
        const auto* pixels = reinterpret_cast<const QRgb*>(rgb.constBits());
        const auto count = [&](QRgb c) { return std::count(pixels, pixels + rgb.width() * rgb.height(), c); };
        const auto changed = count(0xFFDDDDFF), marked = count(0xFFB2B2FF);
        QVERIFY2(changed > 1000 && marked > 100, qPrintable(QStringLiteral("%1 %2").arg(changed).arg(marked)));
    }
};

QTEST_GUILESS_MAIN(tst_ComparisonSave)
#include "tst_ComparisonSave.moc"
