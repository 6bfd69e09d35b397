// The page layout as pure functions, and the choice of a PDF file name.
// Expected values are worked out by hand from the page rules: the path at
// 5% of the height, rows from three lines below it, no row starting at or
// below 90% of the height. The header and the page count are read back
// from printed files in tst_PrintedPdf.

#include "print/PageLayout.h"
#include "print/PdfFileChoice.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace PageLayout;

class tst_PageLayout : public QObject {
    Q_OBJECT

private slots:
    void rowsPerPage_data()
    {
        QTest::addColumn<double>("pageHeight");
        QTest::addColumn<double>("lineHeight");
        QTest::addColumn<int>("rows");
        // 1000 high, 10 a line: rows from 80 (50 + 3 lines); 890 is the last
        // top below 900, and a row starting at 90% exactly breaks.
        QTest::newRow("even pitch") << 1000.0 << 10.0 << 82;
        // The page a hair taller: the 83rd row starts a thousandth short of 90%.
        QTest::newRow("a row just above 90%") << 1000.0011765 << 10.0 << 83;
        // Rows from 79.97: the 83rd at 899.15, the 84th past 900.
        QTest::newRow("a hair less a line: one row more") << 1000.0 << 9.99 << 83;
        // Rows from 3.1, 0.85 apart: the ninth at 9.9, which reaches 90% of 11
        // in single precision (9.8999996) though not in double.
        QTest::newRow("a row at the single-precision limit") << 11.0 << 0.85 << 8;
        // The header alone passes 90%: one row a page, never a page without one.
        QTest::newRow("header fills the page") << 100.0 << 30.0 << 1;
        QTest::newRow("no line height") << 1000.0 << 0.0 << 1;
    }

    void rowsPerPage()
    {
        QFETCH(double, pageHeight);
        QFETCH(double, lineHeight);
        QTEST(RowsPerPage({500, pageHeight, lineHeight, 6}), "rows");
    }

    // Every page holds a row: nothing to print is still one page.
    void pageCount_data()
    {
        QTest::addColumn<qint64>("rows");
        QTest::addColumn<int>("rowsPerPage");
        QTest::addColumn<qint64>("pages");
        QTest::newRow("no rows") << qint64(0) << 5 << qint64(1);
        QTest::newRow("a full page") << qint64(5) << 5 << qint64(1);
        QTest::newRow("one row more") << qint64(6) << 5 << qint64(2);
        QTest::newRow("no rows a page") << qint64(6) << 0 << qint64(1);
    }

    void pageCount()
    {
        QFETCH(qint64, rows);
        QFETCH(int, rowsPerPage);
        QTEST(PageCount(rows, rowsPerPage), "pages");
    }

    void cutToWidth_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<double>("pageWidth");
        QTest::addColumn<QString>("printed");
        // 6 units a character: 30 holds exactly 5, however the division rounds.
        QTest::newRow("fills the width") << "abcde" << 30.0 << "abcde";
        QTest::newRow("exactly five") << "abcdefgh" << 30.0 << "abcde";
        QTest::newRow("a hair short of five") << "abcdefgh" << 29.99 << "abcd";
        QTest::newRow("pair kept whole") << QString::fromUtf8("abcd\U0001F600") << 36.0
                                         << QString::fromUtf8("abcd\U0001F600");
        QTest::newRow("pair not split") << QString::fromUtf8("abcd\U0001F600") << 30.0 << "abcd";
        QTest::newRow("exactly one") << "abc" << 6.0 << "a";
        QTest::newRow("a hair short of one") << "abc" << 5.99 << "";
    }

    void cutToWidth()
    {
        QFETCH(QString, text);
        QFETCH(double, pageWidth);
        QTEST(CutToWidth(text, CharsThatFit({pageWidth, 1000, 10, 6})), "printed");
    }

    void pdfFileRefused_data()
    {
        QTest::addColumn<QString>("pdf");  // relative to a folder holding one.txt and link.txt -> one.txt
        QTest::newRow("the compared file spelt otherwise") << "sub/../one.txt";
        QTest::newRow("a link to it") << "link.txt";
        // A new file, the file itself, and one file for both panes: tst_PrintedPdf.
    }

    void pdfFileRefused()
    {
        QFETCH(QString, pdf);
        QTemporaryDir dir;
        const QString one = dir.filePath(QStringLiteral("one.txt"));
        QVERIFY(QFile(one).open(QIODevice::WriteOnly));
        QVERIFY(QFile::link(one, dir.filePath(QStringLiteral("link.txt"))));
        QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("sub")));
        const QString answer = PdfFileChoice::Refusal(dir.filePath(pdf), {one, QString()}, {});
        QVERIFY2(answer.startsWith("The PDF file would replace"), qPrintable(answer));
    }

    void pdfFileSuggested()
    {
        const QString home = QStringLiteral("/home/user");
        QCOMPARE(PdfFileChoice::SuggestedPath(QStringLiteral("/data/report.old.txt"), home, {}),
                 QStringLiteral("/home/user/report.old.pdf"));
        // Both panes show files of the same name: the second gets another.
        QCOMPARE(PdfFileChoice::SuggestedPath(QStringLiteral("b/report.txt"), home, {"/home/user/report.pdf"}),
                 QStringLiteral("/home/user/report-2.pdf"));
        QCOMPARE(PdfFileChoice::SuggestedPath(QString(), home, {}), QStringLiteral("/home/user/Vantrel.pdf"));
    }
};

QTEST_GUILESS_MAIN(tst_PageLayout)
#include "tst_PageLayout.moc"
