// The Compare command through the real engine and the real window: every
// message path, and the grids it leaves for random file pairs.

#include "WindowFixture.h"

#include "app/ChosenFileName.h"
#include "support/TestEnvironment.h"

#include <QRandomGenerator>

#include <fcntl.h>
#include <sys/resource.h>
#include <unistd.h>

using namespace modVantrel;

namespace {

struct Message {
    QString one, two, title, text; modVantrel::PromptIcon icon;
};

struct Endings {
    QByteArray one, two; bool ignoreWhiteSpace; QString message;
    int row; QString paneOne, looksOne, paneTwo, looksTwo, tipOne;
};

}  // namespace

Q_DECLARE_METATYPE(Message)
Q_DECLARE_METATYPE(Endings)

class tst_Compare : public QObject {
    Q_OBJECT

    WindowFixture w;
    frmFileDiffs* m_form = nullptr;

    // What every failed Compare leaves: the view reset (prompts, empty
    // cells on row 1, the hint, no result commands), no hourglass, redrawing.
    void verifyWithoutResults()
    {
        for (const VGrid* grid : {m_form->grdFileOne, m_form->grdFileTwo}) {
            QCOMPARE(grid->TextMatrix(0), frmFileDiffs::kSelectFilesPrompt);
            QVERIFY(grid->Row() == 1 && grid->TopRow() == 1 && grid->Redraw());
            for (int row = 1; row < grid->Rows(); ++row)
                QVERIFY(grid->TextMatrix(row).isEmpty() && !grid->CellBackColor(row) && grid->CellPicture(row).isNull());
        }
        QCOMPARE(m_form->rtfLineDiff[0]->toPlainText(), frmFileDiffs::kDetailPaneHint);
        QVERIFY(!m_form->mnuFilePrint->isEnabled() && !m_form->mnuFileShowNextDiff->isEnabled());
        QVERIFY(!m_form->HourglassShown() && !m_form->CompareRunning());
    }

private slots:
    void initTestCase() { QVERIFY(TestEnvironment::LoadPathLibrary()); }
    void init()
    {
        w.setUp();
        m_form = &w.load();
    }
    void cleanup() { w.tearDown(); }

    // File names, or texts typed into the boxes; the message's text, which
    // when it ends in CR LF CR LF is followed by the engine's first line.
    void messages_data()
    {
        QTest::addColumn<Message>("m");
        const QString missing = QStringLiteral("File Does Not Exist");
        const QString one = QStringLiteral("File One is not an existing file.");
        const QString compareTitle = QStringLiteral("Compare Files");
        const PromptIcon excl = PromptIcon::Exclamation;
        QTest::newRow("File One only spaces") << Message{"   ", "a.txt", missing, one, excl};
        QTest::newRow("File One missing, File Two too") << Message{"nope.txt", "nope2.txt", missing, one, excl};
        QTest::newRow("File One a folder") << Message{".", "a.txt", missing, one, excl};
        QTest::newRow("File Two missing") << Message{"a.txt", "nope.txt", missing, "File Two is not an existing file.", excl};
        QTest::newRow("identical")
            << Message{"a.txt", "a-copy.txt", compareTitle, "The files are identical", PromptIcon::Information};
        QTest::newRow("binary") << Message{"bin1", "bin2", compareTitle,
                                           "The files differ but the differences are not viewable.\r\n"
                                           "Only differences between text files can be viewed. \r\n\r\n"
                                           "See the View File Differences topic in the Help file for details.",
                                           PromptIcon::Information};
        // Reading this regular file fails at its first byte.
        QTest::newRow("engine error")
            << Message{"/proc/self/mem", "a.txt", compareTitle, "Errors encountered comparing the files\r\n\r\n", excl};
    }

    void messages()
    {
        QFETCH(Message, m);
        auto [one, two, title, text, icon] = m;
        if (one.startsWith(QLatin1String("/proc")) && !QFile::exists(one))
            QSKIP("needs /proc/self/mem");
        for (const auto& [name, bytes] : {std::pair{"a.txt", QByteArray("x\ny\n")}, {"a-copy.txt", QByteArray("x\ny\n")},
                                          {"bin1", QByteArray("ab\0cd\n", 6)}, {"bin2", QByteArray("ab\0ce\n", 6)}})
            w.write(QString::fromUtf8(name), bytes);
        // Paths in the folder come padded with spaces, which the command trims.
        const auto path = [this](const QString& name) {
            if (name.trimmed().isEmpty() || name.startsWith(u'/'))
                return name;
            return QStringLiteral("  ") + (name == u'.' ? w.folder->path() : w.folder->filePath(name)) + u' ';
        };
        // A comparison shown before must be gone afterwards.
        w.compare(w.folder->filePath(QStringLiteral("a.txt")), w.write(QStringLiteral("c.txt"), "x\nz\n"));
        QCOMPARE(m_form->grdFileOne->TextMatrix(0), QString());
        w.prompts->messages.clear();
        gOptions->FileTwo = QStringLiteral("before");
        w.compare(path(one), path(two));
        QCOMPARE(w.prompts->messages.size(), 1);
        const MessagePrompt& shown = w.prompts->lastMessage();
        QCOMPARE(shown.title, title);
        if (text.endsWith(QLatin1String("\r\n\r\n"))) {
            QVERIFY(!gDiffEngine->ResultLine(0).isEmpty());
            text += gDiffEngine->ResultLine(0);
        }
        QCOMPARE(shown.text, text);
        QCOMPARE(shown.icon, icon);
        QCOMPARE(shown.buttons, PromptButtons::Ok);
        // The paths are stored, trimmed, only when both name existing files.
        QCOMPARE(gOptions->FileTwo, title == QStringLiteral("File Does Not Exist") ? QStringLiteral("before")
                                                                                     : path(two).trimmed());
        verifyWithoutResults();
    }

    void failureInsideTheCommandIsReportedAndResets()
    {
        const QString a = w.write(QStringLiteral("a.txt"), "1\n");
        gOptions.reset();  // the command cannot store the paths
        w.compare(a, w.write(QStringLiteral("b.txt"), "2\n"));
        QCOMPARE(w.prompts->messages.size(), 1);
        QVERIFY(w.prompts->lastMessage().text.contains(QStringLiteral("frmFileDiffs.mnuFileCompare_Click")));
        verifyWithoutResults();
    }

    // Pending events run during a Compare; what they carry must not touch
    // the grids or end the window under it.
    void commandsRefusedWhileComparing()
    {
        const QString a = w.write(QStringLiteral("a.txt"), "x\n");
        bool running = false;
        bool hourglass = false;
        w.prompts->whileMessageShown = [&] {
            w.prompts->whileMessageShown = nullptr;
            running = m_form->CompareRunning();
            hourglass = m_form->HourglassShown();
            m_form->mnuFileCompare_Click();  // refused: no second message
            QKeyEvent key(QEvent::KeyPress, Qt::Key_Z, Qt::NoModifier, QStringLiteral("z"));
            QCoreApplication::sendEvent(m_form->txtFileOne, &key);
            QVERIFY(!m_form->close());
        };
        w.compare(a, a);
        QVERIFY(running && hourglass);
        QCOMPARE(w.prompts->messages.size(), 1);
        QCOMPARE(m_form->txtFileOne->text(), a);
        QVERIFY(m_form->isVisible() && !m_form->HourglassShown() && !m_form->CompareRunning());
        QVERIFY(m_form->grdFileOne->Redraw() && m_form->grdFileTwo->Redraw());
    }

    void markingFailure_data()
    {
        QTest::addColumn<bool>("forceText");
        QTest::addColumn<QString>("more");  // said after the first line
        QTest::newRow("plain") << false << QString();
        QTest::newRow("forcing text") << true << QStringLiteral("\r\n\r\nThis can happen if the files are not "
                                                                "ASCII-based and\r\nyou are forcing a text compare.");
    }

    void markingFailure()
    {
        QFETCH(bool, forceText);
        QFETCH(QString, more);
        gOptions->ForceTextCompare = forceText;
        // The engine's blocks name lines 6 and 7 of File Two; the grids hold
        // shorter files, so the blocks cannot be placed.
        cDiffEngine engine;
        QCOMPARE(engine.CompareFiles(w.write(QStringLiteral("a"), "a\nb\nc\nd\ne\nf\n"),
                                     w.write(QStringLiteral("b"), "a\nb\nc\nd\ne\nP\nQ\nf\n")),
                 1);
        QVERIFY(m_form->LoadFilesIntoGrids(w.write(QStringLiteral("c"), "1\n2\n3\n4\n5\n"),
                                           w.write(QStringLiteral("d"), "1\n2\n")));
        QVERIFY(!m_form->MarkDifferencesInGrids(engine));
        QCOMPARE(w.prompts->messages.size(), 1);
        QCOMPARE(w.prompts->lastMessage().title, QStringLiteral("Show File Differences"));
        QCOMPARE(w.prompts->lastMessage().icon, PromptIcon::Critical);
        QCOMPARE(w.prompts->lastMessage().text, QStringLiteral("Not able to compute the file differences.") + more);
        QCOMPARE(m_form->grdFileTwo->Rows(), m_form->grdFileOne->Rows());
        QCOMPARE(m_form->grdFileOne->TextMatrix(5), QStringLiteral(" 5.5"));
    }

    // Memory that runs out for the rows is named as such, with what they need.
    void markingOutOfMemory()
    {
#if defined(__SANITIZE_ADDRESS__)
        QSKIP("the address sanitizer ends the program where an allocation would fail");
#endif
        cDiffEngine engine;
        const QString one = w.write(QStringLiteral("one"), QByteArray(4'000'000, '\n'));
        const QString two = w.write(QStringLiteral("two"), QByteArray());
        QCOMPARE(engine.CompareFiles(one, two), 1);
        QVERIFY(m_form->LoadFilesIntoGrids(one, two));
        // Room for small allocations, not for the rows' 61 MB.
        QFile statm(QStringLiteral("/proc/self/statm"));
        QVERIFY(statm.open(QIODevice::ReadOnly));
        const rlim_t used = statm.readAll().split(' ').value(0).toULongLong() * rlim_t(sysconf(_SC_PAGESIZE));
        rlimit old{};
        getrlimit(RLIMIT_AS, &old);
        const rlimit tight{used + (8 << 20), old.rlim_max};
        setrlimit(RLIMIT_AS, &tight);
        const bool shown = m_form->MarkDifferencesInGrids(engine);
        setrlimit(RLIMIT_AS, &old);
        QVERIFY(!shown);
        QCOMPARE(w.prompts->messages.size(), 1);
        QCOMPARE(w.prompts->lastMessage().title, QStringLiteral("Show File Differences"));
        QCOMPARE(w.prompts->lastMessage().text, QStringLiteral("Not enough memory to show the differences.\r\n\r\nThe files "
                                                               "(3.8 MB and 0 bytes) make 4000001 rows side by side, "
                                                               "which need 61.0 MB more."));
    }

    // Files that differ in how their lines end or in a byte-order mark: the
    // message naming each file's style (none when any text differs), the
    // markers in the detail pane at a row (0: no comparison shown), and File
    // One's tooltip.
    void lineEndings_data()
    {
        QTest::addColumn<Endings>("e");
        const QString only = QStringLiteral("The files differ only in ");
        const QString crlfLf = only + "their line endings: File One uses CR LF (Windows), File Two uses LF (Unix).";
        const QString cr = QStringLiteral(u"\u2039CR\u203A");
        const QString noNewline = QStringLiteral(u"\u2039no\u00A0newline\u00A0at\u00A0end\u203A");
        const QString bom = QStringLiteral(u"\u2039BOM\u203A");
        const QString utf8Crlf2 = QStringLiteral("Encoding: UTF-8\nLine endings: CR LF (Windows)\n2 lines");
        QTest::newRow("CR LF against LF") << Endings{"a\r\nb\r\n", "a\nb\n", false, crlfLf, 1, "a" + cr, "krrrr", "a", "k", utf8Crlf2};
        QTest::newRow("empty lines, CR LF against LF")
            << Endings{"\r\n", "\n", false, crlfLf, 1, cr, "rrrr", "", "", "Encoding: UTF-8\nLine endings: CR LF (Windows)\n1 line"};
        QTest::newRow("mixed against LF")
            << Endings{"a\r\nb\n", "a\nb\n", false,
                       only + "their line endings: File One uses mixed line endings (1 CR LF, 1 LF), File Two uses LF (Unix).",
                       1, "a" + cr, "krrrr", "a", "k", "Encoding: UTF-8\nLine endings: mixed (1 CR LF, 1 LF)\n2 lines"};
        // Lines end at LF only: the CR file is one line, its CRs in view.
        QTest::newRow("CR alone against LF")
            << Endings{"a\rb\r", "a\nb\n", false,
                       only + "their line endings: File One uses CR (classic Mac), File Two uses LF (Unix).", 1,
                       "a\rb\r", "krrr", "a", "k", "Encoding: UTF-8\nLine endings: CR (classic Mac)\n1 line"};
        QTest::newRow("no newline at the end")
            << Endings{"a\nb", "a\nb\n", false,
                       only + "the newline at the end: File One has no newline at the end, File Two ends with a newline.",
                       2, "b" + noNewline, "k" + QString(noNewline.size(), u'r'), "b", "k",
                       "Encoding: UTF-8\nLine endings: LF (Unix)\n2 lines, no newline at the end"};
        QTest::newRow("byte-order mark")
            << Endings{"\xef\xbb\xbf" "a\nb\n", "a\nb\n", false,
                       only + "their byte-order marks: File One starts with a byte-order mark, File Two has no byte-order mark.",
                       1, bom + "a", "rrrrrk", "a", "k", "Encoding: UTF-8 with BOM\nLine endings: LF (Unix)\n2 lines"};
        QByteArray utf16;
        for (const QChar c : QStringLiteral(u"\uFEFFa\r\nb\r\n"))
            utf16 += char(c.unicode() & 0xFF) + QByteArray(1, char(c.unicode() >> 8));
        QTest::newRow("UTF-16 against UTF-8")
            << Endings{utf16, "\xef\xbb\xbf" "a\nb\n", false,
                       only + "their line endings and their encodings: File One uses CR LF (Windows) and is UTF-16 LE, "
                              "File Two uses LF (Unix) and is UTF-8 with BOM.",
                       1, "a" + cr, "krrrr", "a", "k", "Encoding: UTF-16 LE\nLine endings: CR LF (Windows)\n2 lines"};
        QTest::newRow("Windows-1252") << Endings{"caf\xe9\r\n", "caf\xe9\n", false, crlfLf, 1, QStringLiteral(u"caf\u00e9") + cr,
                                                 "kkkkrrrr", QStringLiteral(u"caf\u00e9"), "kkkk",
                                                 "Encoding: Windows-1252\nLine endings: CR LF (Windows)\n1 line"};
        QTest::newRow("text differs as well")
            << Endings{"a\r\nb\r\n", "a\nc\n", false, QString(), 2, "b" + cr, "rrrrr", "c", "r", utf8Crlf2};
        QTest::newRow("white space ignored, text differs")
            << Endings{"a\r\nb\r\n", "a\nc\n", true, QString(), 2, "b", "r", "c", "r", utf8Crlf2};
        QTest::newRow("white space ignored, mark only")
            << Endings{"\xef\xbb\xbf" "a\n", "a\n", true, QStringLiteral("The files are identical"), 0, {}, {}, {}, {}, {}};
    }

    void lineEndings()
    {
        QFETCH(Endings, e);
        gOptions->IgnoreWhiteSpace = e.ignoreWhiteSpace;
        // The message speaks of rows that must already be drawn.
        bool drawnUnderMessage = true;
        w.prompts->whileMessageShown = [&] {
            drawnUnderMessage = m_form->grdFileOne->Redraw() && m_form->grdFileTwo->Redraw();
        };
        w.compare(w.write(QStringLiteral("one"), e.one), w.write(QStringLiteral("two"), e.two));
        QCOMPARE(w.prompts->messages.size(), e.message.isEmpty() ? 0 : 1);
        if (!e.message.isEmpty()) {
            QCOMPARE(w.prompts->lastMessage().text, e.message);
            QCOMPARE(w.prompts->lastMessage().title, QStringLiteral("Compare Files"));
            QCOMPARE(w.prompts->lastMessage().icon, PromptIcon::Information);
            QVERIFY(drawnUnderMessage || e.message.startsWith(QLatin1String("The files are identical")));
        }
        w.prompts->whileMessageShown = nullptr;
        QCOMPARE(m_form->txtFileOne->toolTip(), e.tipOne);
        if (e.row == 0)
            return;
        w.selectRow(e.row);
        QCOMPARE(m_form->rtfLineDiff[0]->toPlainText() + u'|' + Looks(*m_form->rtfLineDiff[0]), e.paneOne + u'|' + e.looksOne);
        QCOMPARE(m_form->rtfLineDiff[1]->toPlainText() + u'|' + Looks(*m_form->rtfLineDiff[1]), e.paneTwo + u'|' + e.looksTwo);
    }

    // A file whose name is not valid UTF-8, named on the command line or
    // chosen in the file dialog (which decodes it with replacement marks),
    // shows its odd bytes, is compared, and is named again by the options
    // file at the next start.
    void nameNotUtf8_data()
    {
        QTest::addColumn<bool>("fromDialog");
        QTest::newRow("command line") << false;
        QTest::newRow("file dialog") << true;
    }

    void nameNotUtf8()
    {
        QFETCH(bool, fromDialog);
        const QByteArray bad = QFile::encodeName(w.folder->path()) + "/bad\xff\xfe\\x41.txt";
        const int fd = ::open(bad.constData(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        QVERIFY(fd >= 0 && ::write(fd, "a\nb\n", 4) == 4 && ::close(fd) == 0);
        const QString two = w.write(QStringLiteral("two.txt"), "a\nc\n");
        const QString shown = w.folder->path() + QStringLiteral("/bad\\xFF\\xFE\\\\x41.txt");
        const QByteArray twoBytes = QFile::encodeName(two);
        const char* argv[] = {"vantrel", bad.constData(), twoBytes.constData()};
        gArguments = fromDialog ? QStringList() : ArgumentTexts(3, argv);
        m_form = &w.load();
        if (fromDialog) {
            w.prompts->textAnswers.push_back(ChosenFileName(QString::fromUtf8(bad)));
            m_form->mnuFileSelectFileOne_Click();
            m_form->txtFileTwo->setText(two);
        }
        for (int start = 0; start < 2; ++start) {
            QCOMPARE(m_form->txtFileOne->text(), shown);
            m_form->mnuFileCompare_Click();
            QVERIFY2(w.prompts->messages.isEmpty(), qPrintable(w.prompts->messages.value(0).text));
            QCOMPARE(m_form->grdFileOne->TextMatrix(2), QStringLiteral(" 2.b"));
            m_form->close();  // saves the options; lets them, the engine and the path library go
            gOptions = std::make_unique<cViewFileDiffsOptions>();
            gDiffEngine = std::make_unique<cDiffEngine>();
            QVERIFY(TestEnvironment::LoadPathLibrary());
            gArguments.clear();
            m_form = &w.load();
        }
    }

    // Random file pairs: every line of each file appears exactly once, in
    // order, with its number and TABs as three spaces; uncoloured rows face
    // the same line text; Compare ends on the first block with the result
    // commands on; bookmarks do not survive.
    void randomPairsShowEveryLineOnce()
    {
        QRandomGenerator rng(20240605);
        const QByteArray words[] = {"alpha", "beta", "gamma", "", "\tdelta", "alpha "};
        for (int round = 0; round < 60; ++round) {
            QByteArray bytes[2];
            QStringList expected[2];
            for (int f = 0; f < 2; ++f) {
                for (int i = 0, count = int(rng.bounded(30)); i < count; ++i) {
                    const QByteArray& word = words[rng.bounded(6)];
                    bytes[f] += word + '\n';
                    expected[f] << QStringLiteral(" %1.%2").arg(i + 1).arg(QString::fromUtf8(word).replace(u'\t', "   "));
                }
            }
            m_form->ToggleBookmark();
            w.compare(w.write(QStringLiteral("one"), bytes[0]), w.write(QStringLiteral("two"), bytes[1]));
            if (bytes[0] == bytes[1]) {
                QCOMPARE(w.prompts->lastMessage().text, QStringLiteral("The files are identical"));
                continue;
            }
            const VGrid* grids[2] = {m_form->grdFileOne, m_form->grdFileTwo};
            const int rows = grids[0]->Rows();
            QCOMPARE(grids[1]->Rows(), rows);
            QVERIFY(grids[0]->TextMatrix(0).isEmpty() && m_form->Model().Bookmarks().empty());
            QVERIFY(m_form->mnuFilePrint->isEnabled());
            QCOMPARE(grids[0]->Row(), m_form->Model().Blocks().at(0).firstRow);
            QCOMPARE(grids[1]->Row(), grids[0]->Row());
            QStringList shown[2];
            for (int row = 1; row < rows; ++row) {
                if (!grids[0]->CellBackColor(row) && !grids[1]->CellBackColor(row))
                    QCOMPARE(grids[0]->TextMatrix(row).section(u'.', 1), grids[1]->TextMatrix(row).section(u'.', 1));
                for (int g = 0; g < 2; ++g)
                    if (!grids[g]->TextMatrix(row).isEmpty())
                        shown[g] << grids[g]->TextMatrix(row);
            }
            QCOMPARE(shown[0], expected[0]);
            QCOMPARE(shown[1], expected[1]);
        }
    }
};

QTEST_MAIN(tst_Compare)
#include "tst_Compare.moc"
