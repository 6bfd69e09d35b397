// Panes printed through the print options dialog's handlers into real PDF
// files, read back with poppler's tools: header on every page, rows in
// order across page breaks, coloured rows bold, the path in italic, the
// date fixed per job, and failures that leave no file behind; the header's
// rule drawn on an image, and the progress a job shows.

#include "PdfReadBack.h"
#include "print/PrintJob.h"
#include "print/frmPrintOptions.h"
#include "support/FileBytes.h"
#include "support/ScriptedPrompts.h"

#include <QCheckBox>
#include <QDir>
#include <QFontMetricsF>
#include <QImage>
#include <QPainter>
#include <QProgressDialog>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <sys/resource.h>

namespace {

struct ListRows final : PrintRows {
    struct Row {
        QString text;
        std::uint32_t color = 0;
    };
    QList<Row> rows;
    int RowCount() const override { return static_cast<int>(rows.size()); }
    QString RowText(int row, int maxChars) const override { return rows.at(row - 1).text.left(maxChars); }
    std::uint32_t RowColor(int row) const override { return rows.at(row - 1).color; }
};

// count rows " n.<tag> line n"; every seventh coloured, 10 to 12 a block in
// another colour with an empty filler in its middle, row 20 far wider than
// any page, row 5 beyond Latin-1; the last row empty, as in a grid.
ListRows MakeRows(int count, const QString& tag)
{
    ListRows pane;
    for (int n = 1; n < count; ++n) {
        QString text = QStringLiteral(" %1.%2 line %1").arg(n).arg(tag);
        if (n == 20)
            text += QString(300, u'x');
        if (n == 5)
            text += QString::fromUtf8(" ünïcødé ✓ Ωμέγα");
        pane.rows.append({n == 11 ? QString() : text, n >= 10 && n <= 12 ? 0xFFDDDDu : n % 7 == 0 ? 0xC4E1FFu : 0u});
    }
    pane.rows.append({QString(), 0});
    return pane;
}

struct CancelOnPageTwo final : PrintProgress {
    bool Continue(qint64 page, qint64) override { return page < 2; }
};

const QDateTime kStart(QDate(2024, 1, 2), QTime(15, 4, 5));

struct Job {
    int side;  // 0 left, 1 right, 2 both
    bool landscape, pageNumbers, dateTime;
    int leftRows, rightRows;  // for MakeRows
};

}  // namespace

class tst_PrintedPdf : public QObject {
    Q_OBJECT

    std::optional<ScriptedPrompts> m_prompts;
    std::optional<QTemporaryDir> m_dir;
    ListRows m_right = MakeRows(70, QStringLiteral("right"));
    ListRows m_big = MakeRows(3000, QString(60, u'w'));  // some 150 KB of PDF
    // Path box texts as typed: relative, doubled spaces, not Latin-1.
    const QString m_leftPath = QStringLiteral("docs/a  b/naïve one.txt");
    const QString m_rightPath = QStringLiteral("/tmp/two.txt");
    QDateTime m_clock;
    bool m_accepted = false;  // by the last Print

    QString Pdf(const QString& name) const { return m_dir->filePath(name); }

    // Prints side (0 left, 1 right, 2 both) to the PDF files named, in order.
    void Print(const ListRows& left, const ListRows& right, int side, const QStringList& files, QString leftPath = {},
               bool landscape = false, bool pageNumbers = true, bool dateTime = true,
               PrintProgressFactory progress = nullptr)
    {
        const auto pdfOnly = [] { return PrinterChoices{{}, {}, true}; };
        frmPrintOptions dialog(PrintPane{&left, leftPath.isEmpty() ? m_leftPath : leftPath},
                               PrintPane{&right, m_rightPath}, nullptr, pdfOnly);
        QVERIFY(dialog.Form_Load());
        dialog.JobSettings.progress = std::move(progress);
        // An hour passes at every look at the clock.
        m_clock = kStart;
        dialog.JobSettings.clock = [this] { return m_clock = m_clock.addSecs(3600); };
        m_prompts->textAnswers.assign(files.cbegin(), files.cend());
        dialog.optSide[side]->setChecked(true);
        dialog.optOrientation[landscape ? 1 : 0]->setChecked(true);
        dialog.chkPrintPageNumber->setChecked(pageNumbers);
        dialog.chkPrintDateTime->setChecked(dateTime);
        dialog.cmdPrint_Click();
        m_accepted = dialog.result() == QDialog::Accepted;
    }

    static void CheckJob(const QString& pdf, const ListRows& pane, const QString& path, bool landscape,
                         bool pageNumbers, const QString& date)
    {
        QStringList fonts;
        const QList<PdfReadBack::Page> pages = PdfReadBack::Pages(pdf, &fonts), boxes = PdfReadBack::Words(pdf);
        QVERIFY(pane.rows.size() > 1 ? !pages.isEmpty() : pages.size() == 1);  // a page even for no row
        QCOMPARE(boxes.size(), pages.size());
        // Courier New resolves to its metric twin at 10 points: a face for the
        // title, one for the path and one for the rows, if any (a row beyond
        // the face's glyphs may add a fallback, of the same size).
        QCOMPARE(fonts.filter("LiberationMono"), QStringList(pane.rows.size() > 1 ? 3 : 2, "LiberationMono 15"));
        for (const QString& font : fonts)
            QVERIFY2(font.endsWith(" 15"), qPrintable(font));
        QStringList printed, expected;  // "b" for bold or "r", then the text
        for (qsizetype p = 0; p < pages.size(); ++p) {
            const PdfReadBack::Page& page = pages[p];
            QVERIFY2(page.lines.size() >= 2, "a page without its header");
            QCOMPARE(page.width > page.height, landscape);
            const QString number = pageNumbers ? QStringLiteral("Page %1").arg(p + 1) : QString();
            const QString title = QStringLiteral("Vantrel - ") + number + (date.isEmpty() ? "" : "  [" + date + u']');
            QCOMPARE(page.lines[0].text.trimmed(), title.trimmed());
            QVERIFY(page.lines[0].bold && !page.lines[0].italic);
            QCOMPARE(page.lines[1].text, path);
            QVERIFY(page.lines[1].italic && !page.lines[1].bold);
            // Half an inch of margin all round: the title and the path start
            // at the printable area's left edge, the title at its top, the
            // path 5% of its height lower (to a hundredth of a point).
            const QList<PdfReadBack::Line>& words = boxes[p].lines;
            const auto pathWord = std::find_if(words.cbegin(), words.cend(), [&](const PdfReadBack::Line& word) {
                return word.top > words.first().top && word.text == path.section(u' ', 0, 0);
            });
            QVERIFY(pathWord != words.cend());
            for (const double at : {words.first().left, words.first().top, pathWord->left})
                QVERIFY2(qAbs(at - 36) < 0.01, qPrintable(QString::number(at)));
            QVERIFY2(qAbs(pathWord->top - words.first().top - 0.05 * (boxes[p].height - 72)) < 0.01,
                     qPrintable(QString::number(pathWord->top - words.first().top)));
            // No row starts below 90% of the printable height, and a page
            // ends only when the next row would (in the tool's pixels).
            const double margin = 1.5 * 36;
            const double limit = margin + 0.9 * (page.height - 2 * margin);
            for (qsizetype i = 2; i < page.lines.size(); ++i) {
                QVERIFY(page.lines[i].top < limit && !page.lines[i].italic);
                printed << (page.lines[i].bold ? "b" : "r") + page.lines[i].text;
            }
            if (p + 1 < pages.size())
                QVERIFY(2 * page.lines.last().top - page.lines[page.lines.size() - 2].top >= limit - 2);
        }
        // A row wider than the page is cut at its right edge.
        for (const ListRows::Row& row : pane.rows)
            if (!row.text.isEmpty())
                expected << (row.color ? "b" : "r") + row.text;
        QCOMPARE(printed.size(), expected.size());
        for (qsizetype i = 0; i < expected.size(); ++i)
            QVERIFY2(printed[i] == expected[i] || (expected[i].startsWith(printed[i]) && printed[i].size() >= 80),
                     qPrintable(printed[i]));
    }

private slots:
    void init()
    {
        m_prompts.emplace();
        m_dir.emplace();
    }

    void printedPanes_data()
    {
        QTest::addColumn<Job>("job");
        QTest::newRow("both panes, full header") << Job{2, false, true, true, 130, 70};
        QTest::newRow("both panes landscape, page numbers") << Job{2, true, true, false, 130, 70};
        QTest::newRow("left pane landscape, bare title") << Job{0, true, false, false, 130, 70};
        QTest::newRow("empty right pane, date") << Job{1, false, false, true, 130, 1};
        QTest::newRow("more rows than a 16-bit counter holds") << Job{0, false, true, false, 33001, 1};
    }

    void printedPanes()
    {
        QFETCH(Job, job);
        const auto [side, landscape, pageNumbers, dateTime, leftRows, rightRows] = job;
        const ListRows left = MakeRows(leftRows, QStringLiteral("left")),
                       right = MakeRows(rightRows, QStringLiteral("right"));
        Print(left, right, side, {Pdf("one.pdf"), Pdf("two.pdf")}, {}, landscape, pageNumbers, dateTime);
        QCOMPARE(m_prompts->messages.size(), 1);
        QCOMPARE(m_prompts->lastMessage().text, QStringLiteral("Printing is complete."));
        QCOMPARE(m_prompts->lastMessage().title, QStringLiteral("Print"));
        QCOMPARE(m_prompts->lastMessage().icon, modVantrel::PromptIcon::Information);
        QCOMPARE(m_prompts->files.first().title, side == 1 ? "Save Right Pane as PDF" : "Save Left Pane as PDF");
        // Each job takes the date once: the left pane an hour on, the right
        // pane two when it follows the left.
        const QString first = dateTime ? modVantrelPrint::GeneralDate(kStart.addSecs(3600)) : QString();
        const QString second = dateTime ? modVantrelPrint::GeneralDate(kStart.addSecs(7200)) : QString();
        if (side != 1)
            CheckJob(Pdf("one.pdf"), left, m_leftPath, landscape, pageNumbers, first);
        if (side != 0)
            CheckJob(Pdf(side == 1 ? "one.pdf" : "two.pdf"), right, m_rightPath, landscape, pageNumbers,
                     side == 2 ? second : first);
        QCOMPARE(QDir(m_dir->path()).entryList(QDir::Files).size(), side == 2 ? 2 : 1);
    }

    // Both panes printed, the left (large, and printed only where the disk
    // fills or the job is cancelled) to one.pdf unless the row says otherwise.
    void failures_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("message");  // the start of the one message; empty: none
        QTest::addColumn<bool>("dialogOpen");
        QTest::addColumn<QStringList>("files");  // what the folder holds afterwards
        const QString unwritten = QStringLiteral("The PDF file could not be written:\r\n");
        QTest::newRow("left folder missing") << "missing" << unwritten << false << QStringList{"two.pdf"};
        // Writes fail within the last kilobyte: the file's final bytes too
        // must reach the disk before it takes the name.
        QTest::newRow("disk full") << "full" << unwritten << false << QStringList{"two.pdf"};
        QTest::newRow("over a compared file")
            << "compared" << QString("The PDF file would replace a file being compared:") << true
            << QStringList{"one.txt"};
        QTest::newRow("one file for both")
            << "same" << QString("Each pane needs a PDF file of its own:") << true << QStringList{};
        QTest::newRow("file name cancelled") << "noname" << QString("") << true << QStringList{};
        QTest::newRow("cancelled on page 2") << "cancel" << QString("") << false << QStringList{"one.pdf"};
    }

    void failures()
    {
        QFETCH(QString, kind);
        QFETCH(QString, message);
        QFETCH(bool, dialogOpen);
        QFETCH(QStringList, files);
        const QString existing = Pdf(kind == "compared" ? "one.txt" : "one.pdf");
        if (kind == "compared" || kind == "cancel")
            QVERIFY(FileBytes::Write(existing, "before"));  // and stays so
        QStringList answers{existing, Pdf("two.pdf")};
        if (kind == "missing")
            answers[0] = Pdf("no/such/dir/one.pdf");
        if (kind == "same")
            answers[1] = Pdf("./one.pdf");
        if (kind == "noname")
            answers = QStringList{};
        rlimit old{};
        getrlimit(RLIMIT_FSIZE, &old);
        if (kind == "full") {
            Print(m_big, m_right, 0, {Pdf("probe.pdf")});
            const qint64 limit = QFileInfo(Pdf("probe.pdf")).size() - 300;
            QVERIFY(QFile::remove(Pdf("probe.pdf")) && limit > 0);
            m_prompts->messages.clear();
            std::signal(SIGXFSZ, SIG_IGN);
            const rlimit small{rlim_t(limit), old.rlim_max};
            setrlimit(RLIMIT_FSIZE, &small);
        }
        Print(m_big, m_right, 2, answers, kind == "compared" ? existing : QString(), false, true, true,
              [kind](const QString&) { return kind == "cancel" ? std::make_unique<CancelOnPageTwo>() : nullptr; });
        setrlimit(RLIMIT_FSIZE, &old);

        QCOMPARE(m_prompts->messages.size(), message.isEmpty() ? 0 : 1);
        if (!message.isEmpty()) {
            QVERIFY2(m_prompts->lastMessage().text.startsWith(message), qPrintable(m_prompts->lastMessage().text));
            QCOMPARE(m_prompts->lastMessage().title, QStringLiteral("Print"));
        }
        if (kind == "missing" || kind == "full")
            QVERIFY(m_prompts->lastMessage().text.contains(answers.first()));
        QCOMPARE(!m_accepted, dialogOpen);
        QCOMPARE(QDir(m_dir->path()).entryList(QDir::Files | QDir::Hidden), files);
        if (kind == "compared" || kind == "cancel")
            QCOMPARE(FileBytes::Read(existing), QByteArray("before"));
    }

    // The rule under the header, drawn on an image of the page's size: one
    // device dot thick, from edge to edge, one empty line below the path. A
    // page wider than high tells its width from its height.
    void headerRule()
    {
        const QSize page(600, 400);
        QImage image(page, QImage::Format_RGB32);
        image.fill(Qt::white);
        QPainter painter(&image);
        const QFontMetricsF metrics(modVantrelPrint::PrintFont(false, false), &image);
        const PageLayout::Metrics layout{double(page.width()), double(page.height()), metrics.lineSpacing(),
                                         metrics.horizontalAdvance(u'M')};
        modVantrelPrint::PrintGridHeader(painter, layout, m_rightPath, QString(), 1, {});
        painter.end();
        QList<int> ruled;  // the rows dark from edge to edge
        for (int y = 0; y < image.height(); ++y) {
            int x = 0;
            while (x < image.width() && qGray(image.pixel(x, y)) < 128)
                ++x;
            if (x == image.width())
                ruled << y;
        }
        QCOMPARE(ruled, QList<int>{int(0.05 * page.height() + 2 * metrics.lineSpacing())});
    }

    // The progress of a job: the bar at the share of the pages done, which
    // QProgressDialog counts in int: from 2^30 pages on, two pages a step.
    void progress_data()
    {
        QTest::addColumn<qint64>("pages");
        QTest::addColumn<int>("steps");
        QTest::newRow("most pages counted one a step") << (qint64(1) << 30) - 1 << (1 << 30) - 1;
        QTest::newRow("fewest counted two a step") << (qint64(1) << 30) << (1 << 29);
    }

    void progress()
    {
        QFETCH(qint64, pages);
        QFETCH(int, steps);
        DialogPrintProgress progress(nullptr, QStringLiteral("Left Pane"));
        for (const qint64 page : {qint64(1), pages}) {
            QVERIFY(progress.Continue(page, pages));
            QCOMPARE(progress.Dialog()->labelText(), QStringLiteral("Left Pane: page %1 of %2").arg(page).arg(pages));
            QCOMPARE(progress.Dialog()->maximum(), steps);
            QCOMPARE(progress.Dialog()->value(), (page - 1) * steps / pages);
        }
        progress.Dialog()->cancel();
        QVERIFY(!progress.Continue(pages, pages));
    }

    // A printer that is not there is refused when the job opens, in words.
    void missingPrinter()
    {
        try {
            (void)PrintOutput::OpenPrintJob({QStringLiteral("no such printer"), {}}, PrintOutput::Orientation::Portrait,
                                            QStringLiteral("one.txt"));
            QFAIL("the job opened");
        } catch (const PrintOutput::OutputError& e) {
            QCOMPARE(e.Message(), QStringLiteral("The printer could not be opened:\r\nno such printer"));
        }
    }
};

QTEST_MAIN(tst_PrintedPdf)
#include "tst_PrintedPdf.moc"
