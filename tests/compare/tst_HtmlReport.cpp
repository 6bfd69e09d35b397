// The HTML report of a shown comparison, read back structurally: one table
// row per shown row with the grids' colours, fillers and bookmarks, the
// differing characters marked, every text escaped, names kept readable.
#include "compare/ComparisonModel.h"
#include "compare/ComparisonSave.h"
#include "engine/Comparison.h"

#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <cstdio>

namespace {

bool WriteFile(const QByteArray& path, const QByteArray& bytes)
{
    std::FILE* f = std::fopen(path.constData(), "wb");
    const bool ok = f && std::fwrite(bytes.constData(), 1, std::size_t(bytes.size()), f) == std::size_t(bytes.size());
    return f && std::fclose(f) == 0 && ok;
}

// Each body row as "xy": the cell classes of File One and File Two ('.'
// plain, 'c' changed, 'o' one-sided, 'f' filler), upper case when
// bookmarked; rows joined by spaces.
QString RowClasses(const QString& html)
{
    static const QRegularExpression row(QStringLiteral("<tr( class=\"bm\")?><td class=\"n\">[^<]*</td><td "
                                                       "class=\"t ?(.?)\">.*</td><td class=\"n\">[^<]*</td><td "
                                                       "class=\"t ?(.?)\">.*</td></tr>"));
    QStringList rows;
    const QString body = html.section(QStringLiteral("<tbody>"), 1);
    for (const QString& line : body.split(u'\n')) {
        const QRegularExpressionMatch m = row.match(line);
        if (!m.hasMatch())
            continue;
        QString pair = (m.captured(2).isEmpty() ? QStringLiteral(".") : m.captured(2))
                       + (m.captured(3).isEmpty() ? QStringLiteral(".") : m.captured(3));
        rows << (m.captured(1).isEmpty() ? pair : pair.toUpper());
    }
    return rows.join(u' ');
}

QString MarkedTexts(const QString& html)
{
    static const QRegularExpression mark(QStringLiteral("<mark>([^<]*)</mark>"));
    QStringList texts;
    for (auto it = mark.globalMatch(html.section(QStringLiteral("<tbody>"), 1)); it.hasNext();)
        texts << it.next().captured(1);
    return texts.join(u'|');
}

}  // namespace

class tst_HtmlReport : public QObject {
    Q_OBJECT

private slots:
    void report_data()
    {
        QTest::addColumn<QByteArray>("one");
        QTest::addColumn<QByteArray>("two");
        QTest::addColumn<int>("bookmark");  // row, 0 for none
        QTest::addColumn<QString>("rows");
        QTest::addColumn<QString>("marked");
        QTest::addColumn<QString>("text");  // a piece the page must hold
        QTest::newRow("changed line, words marked")
            << QByteArray("same\nabc def\nend\n") << QByteArray("same\nabc xyz\nend\n") << 0 << ".. cc .."
            << "def|xyz"
            << "<td class=\"n\">2</td><td class=\"t c\">abc <mark>";
        QTest::newRow("lines on one side, fillers beside them")
            << QByteArray("a\nb\n") << QByteArray("a\nnew 1\nnew 2\nb\n") << 0 << ".. fo fo .."
            << ""
            << "<td class=\"n\"></td><td class=\"t f\"></td><td class=\"n\">2</td>";
        QTest::newRow("markup shown as text")
            << QByteArray("<b>&\n") << QByteArray("<script>alert('x\"')</script>\n") << 0 << "cc"
            << "&lt;b&gt;&amp;|&lt;script&gt;alert(&#39;x&quot;&#39;)&lt;/script&gt;"
            << "<td class=\"t c\"><mark>&lt;b";
        QTest::newRow("bookmarked row") << QByteArray("a\nb\nc\n") << QByteArray("a\nB\nc\n") << 3 << ".. cc .."
                                        << "b|B"
                                        << "<tr class=\"bm\"><td class=\"n\">&#9670;3</td>";
        QTest::newRow("bookmark on the last row") << QByteArray("a\nb\n") << QByteArray("a\nc\n") << 2 << ".. CC"
                                                  << "b|c"
                                                  << "&#9670;2";
        QTest::newRow("name not UTF-8") << QByteArray("x\n") << QByteArray("y\n") << 0 << "cc"
                                        << "x|y"
                                        << "caf\\xE9";
    }
    void report()
    {
        QFETCH(QByteArray, one);
        QFETCH(QByteArray, two);
        QFETCH(int, bookmark);
        QFETCH(QString, rows);
        QFETCH(QString, marked);
        QFETCH(QString, text);
        QTemporaryDir dir;
        const QByteArray pathOne = QFile::encodeName(dir.path()) + "/caf\xe9 one.txt";
        const QByteArray pathTwo = QFile::encodeName(dir.filePath("two.txt"));
        QVERIFY(WriteFile(pathOne, one) && WriteFile(pathTwo, two));
        InputFile inOne(pathOne.toStdString());
        InputFile inTwo(pathTwo.toStdString());
        const Comparison c = CompareInputs(inOne, inTwo, CompareSettings{});
        QCOMPARE(c.outcome, Outcome::Different);
        ComparisonModel model;
        (void)model.Show(c.files[0], c.files[1], c.hunks);
        if (bookmark)
            QVERIFY(model.AddBookmark(bookmark));
        const QString reportPath = dir.filePath("report.html");
        const QString error = ComparisonSave::SaveReport(model, reportPath, false, QStringLiteral("ignoring case"));
        QVERIFY2(error.isEmpty(), qPrintable(error));
        QFile file(reportPath);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QString html = QString::fromUtf8(file.readAll());
        QCOMPARE(RowClasses(html), rows);
        QCOMPARE(MarkedTexts(html), marked);
        QVERIFY2(html.contains(text), qPrintable(html));
        QVERIFY(html.contains(QStringLiteral("Compared ignoring case.")));
        // Nothing runs and nothing is fetched: no script, no outside address.
        QVERIFY(!html.contains(QStringLiteral("<script"), Qt::CaseInsensitive));
        QVERIFY(!html.contains(QStringLiteral("src=")) && !html.contains(QStringLiteral("href=")));
        // QTemporaryDir cannot remove a name that is not UTF-8.
        QVERIFY(std::remove(pathOne.constData()) == 0);
    }
};

QTEST_GUILESS_MAIN(tst_HtmlReport)
#include "tst_HtmlReport.moc"
