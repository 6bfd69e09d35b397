// The Compare command through the real engine and the real window: every
// message path, the aligned grids it leaves, random file pairs.

#include "WindowFixture.h"

#include "support/TestEnvironment.h"

#include <QAction>
#include <QFile>
#include <QKeyEvent>
#include <QLineEdit>
#include <QRandomGenerator>
#include <QTextEdit>

using namespace modVantrel;

Q_DECLARE_METATYPE(modVantrel::PromptIcon)

namespace {

// A prompt seam that notes the window's state at each message and can run
// a step while the message is up (as a user acting behind it would).
class ObservingPrompts final : public PromptSeam {
public:
    explicit ObservingPrompts(ScriptedPrompts& inner) : m_inner(inner) { m_previous = SetPrompts(this); }
    ~ObservingPrompts() override { SetPrompts(m_previous); }
    PromptAnswer message(const MessagePrompt& p) override
    {
        // The step may replace itself, so it runs from a copy.
        if (const std::function<void()> step = whileShown)
            step();
        return m_inner.message(p);
    }
    std::optional<QString> input(const InputPrompt& p) override { return m_inner.input(p); }
    std::optional<QString> openFile(const FilePrompt& p) override { return m_inner.openFile(p); }
    std::optional<QString> saveFile(const FilePrompt& p) override { return m_inner.saveFile(p); }
    std::optional<QFont> font(const FontPrompt& p) override { return m_inner.font(p); }
    void showModal(QWidget* w) override { m_inner.showModal(w); }
    std::function<void()> whileShown;

private:
    ScriptedPrompts& m_inner;
    PromptSeam* m_previous;
};

// "k|text" per row below the header: k is '-' (no colour), 'o' (orphan), 'c' (changed).
QStringList Describe(const VGrid& grid)
{
    QStringList rows;
    for (int row = 1; row < grid.Rows(); ++row) {
        const std::uint32_t color = grid.CellBackColor(row);
        const QChar kind = color == Alignment::kOrphanColor ? u'o' : color == Alignment::kChangedColor ? u'c' : color == 0 ? u'-' : u'?';
        rows << kind + QStringLiteral("|") + grid.TextMatrix(row);
    }
    return rows;
}

}  // namespace

class tst_Compare : public QObject {
    Q_OBJECT

    WindowFixture w;
    frmFileDiffs* m_form = nullptr;

    QString write(const QString& name, const QByteArray& bytes)
    {
        const QString path = w.folder->filePath(name);
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size())
            qFatal("cannot write %s", qPrintable(path));
        return path;
    }

    void compare(const QString& one, const QString& two)
    {
        m_form->txtFileOne->setText(one);
        m_form->txtFileTwo->setText(two);
        m_form->mnuFileCompare_Click();
    }

    // The state every end of the command must leave.
    void verifyRestored()
    {
        QVERIFY(!m_form->HourglassShown() && !m_form->CompareRunning());
        QVERIFY(m_form->grdFileOne->Redraw() && m_form->grdFileTwo->Redraw());
    }

    // The view reset: prompts, empty cells on row 1, hint, no result commands.
    void verifyWithoutResults()
    {
        for (const VGrid* grid : {m_form->grdFileOne, m_form->grdFileTwo}) {
            QCOMPARE(grid->TextMatrix(0), frmFileDiffs::kSelectFilesPrompt);
            QCOMPARE(grid->Row(), 1);
            for (int row = 1; row < grid->Rows(); ++row)
                QVERIFY(grid->TextMatrix(row).isEmpty() && !grid->CellBackColor(row) && grid->CellPicture(row).isNull());
        }
        QCOMPARE(m_form->grdFileOne->TopRow(), 1);
        QCOMPARE(m_form->rtfLineDiff[0]->toPlainText(), frmFileDiffs::kDetailPaneHint);
        QVERIFY(!m_form->mnuFilePrint->isEnabled() && !m_form->mnuFileShowNextDiff->isEnabled());
    }

private slots:
    void initTestCase() { QVERIFY(TestEnvironment::LoadPathLibrary()); }

    void init()
    {
        w.setUp();
        m_form = &w.load();
    }
    void cleanup() { w.tearDown(); }

    void messages_data()
    {
        QTest::addColumn<QString>("one");  // a file name, or text typed into the box
        QTest::addColumn<QString>("two");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("text");  // ending in CR LF CR LF: the engine's first line follows
        QTest::addColumn<PromptIcon>("icon");
        const QString missing = QStringLiteral("File Does Not Exist");
        const QString one = QStringLiteral("File One is not an existing file.");
        const QString two = QStringLiteral("File Two is not an existing file.");
        const QString compareTitle = QStringLiteral("Compare Files");
        const PromptIcon excl = PromptIcon::Exclamation;
        QTest::newRow("File One empty") << "" << "a.txt" << missing << one << excl;
        QTest::newRow("File One only spaces") << "   " << "a.txt" << missing << one << excl;
        QTest::newRow("File One missing, File Two too") << "nope.txt" << "nope2.txt" << missing << one << excl;
        QTest::newRow("File One a folder") << "." << "a.txt" << missing << one << excl;
        QTest::newRow("File Two only spaces") << "a.txt" << "  " << missing << two << excl;
        QTest::newRow("File Two missing") << "a.txt" << "nope.txt" << missing << two << excl;
        QTest::newRow("identical") << "a.txt" << "a-copy.txt" << compareTitle
                                   << QStringLiteral("The files are identical") << PromptIcon::Information;
        QTest::newRow("binary") << "bin1" << "bin2" << compareTitle
                                << QStringLiteral("The files differ but the differences are not viewable.\r\n"
                                                  "Only differences between text files can be viewed. \r\n\r\n"
                                                  "See the View File Differences topic in the Help file for details.")
                                << PromptIcon::Information;
        // Reading this regular file fails at its first byte.
        QTest::newRow("engine error") << "/proc/self/mem" << "a.txt" << compareTitle
                                      << QStringLiteral("Errors encountered comparing the files\r\n\r\n") << excl;
    }

    void messages()
    {
        QFETCH(QString, one);
        QFETCH(QString, two);
        QFETCH(QString, title);
        QFETCH(QString, text);
        if (one.startsWith(QLatin1String("/proc")) && !QFile::exists(one))
            QSKIP("needs /proc/self/mem");
        write(QStringLiteral("a.txt"), "x\ny\n");
        write(QStringLiteral("a-copy.txt"), "x\ny\n");
        write(QStringLiteral("bin1"), QByteArray("ab\0cd\n", 6));
        write(QStringLiteral("bin2"), QByteArray("ab\0ce\n", 6));
        const auto path = [this](const QString& name) {
            if (name == u'.')
                return w.folder->path();
            return name.trimmed().isEmpty() || name.startsWith(u'/') ? name : w.folder->filePath(name);
        };
        // A comparison shown before must be gone afterwards.
        compare(w.folder->filePath(QStringLiteral("a.txt")), write(QStringLiteral("c.txt"), "x\nz\n"));
        QCOMPARE(m_form->grdFileOne->TextMatrix(0), QString());
        w.prompts->messages.clear();
        bool hourglass = false;
        ObservingPrompts observer(*w.prompts);
        observer.whileShown = [&] { hourglass = m_form->HourglassShown(); };

        compare(path(one), path(two));
        QCOMPARE(w.prompts->messages.size(), 1);
        const MessagePrompt& shown = w.prompts->lastMessage();
        QCOMPARE(shown.title, title);
        if (text.endsWith(QLatin1String("\r\n\r\n"))) {
            QVERIFY(!gDiffEngine->ResultLine(0).isEmpty());
            text += gDiffEngine->ResultLine(0);
        }
        QCOMPARE(shown.text, text);
        QTEST(shown.icon, "icon");
        QCOMPARE(shown.buttons, PromptButtons::Ok);
        // Only the engine's outcomes come while the hourglass shows.
        QCOMPARE(hourglass, title == QStringLiteral("Compare Files"));
        verifyWithoutResults();
        verifyRestored();
    }

    void pathsStoredTrimmedOnlyWhenBothValid()
    {
        const QString a = write(QStringLiteral("a.txt"), "1\n");
        const QString b = write(QStringLiteral("b.txt"), "2\n");
        gOptions->FileOne = QStringLiteral("before1");
        compare(a, w.folder->filePath(QStringLiteral("missing")));
        QCOMPARE(gOptions->FileOne, QStringLiteral("before1"));
        compare(QStringLiteral("  ") + a + QStringLiteral(" "), QStringLiteral(" ") + b + QStringLiteral("   "));
        QCOMPARE(gOptions->FileOne, a);
        QCOMPARE(gOptions->FileTwo, b);
        QCOMPARE(m_form->txtFileOne->text(), QStringLiteral("  ") + a + QStringLiteral(" "));
        QCOMPARE(w.prompts->messages.size(), 1);  // only the missing File Two
        QCOMPARE(m_form->grdFileOne->TextMatrix(1), QStringLiteral(" 1.1"));
    }

    void failureInsideTheCommandIsReportedAndResets()
    {
        const QString a = write(QStringLiteral("a.txt"), "1\n");
        gOptions.reset();  // the command cannot store the paths
        compare(a, write(QStringLiteral("b.txt"), "2\n"));
        QCOMPARE(w.prompts->messages.size(), 1);
        QVERIFY(w.prompts->lastMessage().text.contains(QStringLiteral("frmFileDiffs.mnuFileCompare_Click")));
        verifyWithoutResults();
        verifyRestored();
    }

    void commandsRefusedWhileComparing()
    {
        const QString a = write(QStringLiteral("a.txt"), "x\n");
        const QString b = write(QStringLiteral("b.txt"), "x\n");
        ObservingPrompts observer(*w.prompts);
        bool running = false;
        observer.whileShown = [&] {
            observer.whileShown = nullptr;
            running = m_form->CompareRunning();
            m_form->mnuFileCompare_Click();  // a second Compare: refused, no second message
            QKeyEvent key(QEvent::KeyPress, Qt::Key_Z, Qt::NoModifier, QStringLiteral("z"));
            QCoreApplication::sendEvent(m_form->txtFileOne, &key);
            QVERIFY(!m_form->close());  // closing is refused too
        };
        compare(a, b);
        QVERIFY(running);
        QCOMPARE(w.prompts->messages.size(), 1);
        QCOMPARE(m_form->txtFileOne->text(), a);
        QVERIFY(m_form->isVisible());
        verifyRestored();
    }

    void alignedGrids_data()
    {
        QTest::addColumn<QByteArray>("one");
        QTest::addColumn<QByteArray>("two");
        QTest::addColumn<QStringList>("gridOne");
        QTest::addColumn<QStringList>("gridTwo");
        QTest::addColumn<QStringList>("diffList");
        QTest::newRow("empty File One") << QByteArray() << QByteArray("x\ny\n")
                                        << QStringList{"-|", "-|", "-|"} << QStringList{"o| 1.x", "o| 2.y", "-|"}
                                        << QStringList{"1-2-12902911"};
        QTest::newRow("2,4c2") << QByteArray("a\nb\nc\nd\ne\n") << QByteArray("a\nX\ne\n")
                               << QStringList{"-| 1.a", "c| 2.b", "c| 3.c", "c| 4.d", "-| 5.e", "-|"}
                               << QStringList{"-| 1.a", "c| 2.X", "c|", "c|", "-| 3.e", "-|"}
                               << QStringList{"2-3-16768477"};
        QTest::newRow("1d0 and 4a4") << QByteArray("a\nb\nc\nd\n") << QByteArray("b\nc\nd\nN\n")
                                     << QStringList{"o| 1.a", "-| 2.b", "-| 3.c", "-| 4.d", "-|", "-|"}
                                     << QStringList{"-|", "-| 1.b", "-| 2.c", "-| 3.d", "o| 4.N", "-|"}
                                     << QStringList{"1-1-12902911", "5-1-12902911"};
        QTest::newRow("TAB, CR LF, no final LF, UTF-8 and Windows-1252")
            << QByteArray("a\tb\r\ncaf\xc3\xa9") << QByteArray("a\tb\r\ncaf\xe9 \x80")
            << QStringList{"-| 1.a   b", QStringLiteral("c| 2.caf\u00e9"), "-|"}
            << QStringList{"-| 1.a   b", QStringLiteral("c| 2.caf\u00e9 \u20ac"), "-|"} << QStringList{"2-1-16768477"};
    }

    void alignedGrids()
    {
        QFETCH(QByteArray, one);
        QFETCH(QByteArray, two);
        QFETCH(QStringList, gridOne);
        QFETCH(QStringList, gridTwo);
        QFETCH(QStringList, diffList);
        m_form->BookmarkList = {1};
        compare(write(QStringLiteral("one.txt"), one), write(QStringLiteral("two.txt"), two));
        QVERIFY2(w.prompts->messages.isEmpty(), qPrintable(w.prompts->messages.value(0).text));
        QCOMPARE(Describe(*m_form->grdFileOne), gridOne);
        QCOMPARE(Describe(*m_form->grdFileTwo), gridTwo);
        QCOMPARE(m_form->DiffList, diffList);
        QVERIFY(m_form->BookmarkList.isEmpty());
        QVERIFY(m_form->grdFileOne->TextMatrix(0).isEmpty() && m_form->grdFileTwo->TextMatrix(0).isEmpty());
        QVERIFY(m_form->mnuFilePrint->isEnabled());
        // Compare ends on the first difference.
        QCOMPARE(m_form->grdFileOne->Row(), diffList.first().section(u'-', 0, 0).toInt());
        QCOMPARE(m_form->grdFileTwo->Row(), m_form->grdFileOne->Row());
        verifyRestored();
    }

    void markingFailure_data()
    {
        QTest::addColumn<bool>("forceText");
        QTest::addColumn<QString>("text");
        QTest::newRow("plain") << false << QStringLiteral("Not able to compute the file differences.");
        QTest::newRow("forcing text")
            << true
            << QStringLiteral("Not able to compute the file differences.\r\n\r\nThis can happen if the files are not "
                              "ASCII-based and\r\nyou are forcing a text compare.");
    }

    void markingFailure()
    {
        QFETCH(bool, forceText);
        QFETCH(QString, text);
        gOptions->ForceTextCompare = forceText;
        // The engine's lines name lines 6 and 7 of File Two; the grids hold
        // shorter files, so the result lines cannot be placed.
        cDiffEngine engine;
        QCOMPARE(engine.CompareFiles(write(QStringLiteral("a"), "a\nb\nc\nd\ne\nf\n"),
                                     write(QStringLiteral("b"), "a\nb\nc\nd\ne\nP\nQ\nf\n")),
                 1);
        QVERIFY(m_form->LoadFilesIntoGrids(write(QStringLiteral("c"), "1\n2\n3\n4\n5\n"),
                                           write(QStringLiteral("d"), "1\n2\n")));
        QVERIFY(!m_form->MarkDifferencesInGrids(engine));
        QCOMPARE(w.prompts->messages.size(), 1);
        QCOMPARE(w.prompts->lastMessage().title, QStringLiteral("Show File Differences"));
        QCOMPARE(w.prompts->lastMessage().icon, PromptIcon::Critical);
        QCOMPARE(w.prompts->lastMessage().text, text);
        QCOMPARE(m_form->grdFileTwo->Rows(), m_form->grdFileOne->Rows());
        QCOMPARE(m_form->grdFileOne->TextMatrix(5), QStringLiteral(" 5.5"));
    }

    // Random file pairs: both grids end equally long with one empty row,
    // every line of each file appears exactly once, in order, with its
    // number, uncoloured rows face the same line text, and DiffList covers
    // exactly the coloured rows.
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
            compare(write(QStringLiteral("one"), bytes[0]), write(QStringLiteral("two"), bytes[1]));
            if (bytes[0] == bytes[1]) {
                QCOMPARE(w.prompts->lastMessage().text, QStringLiteral("The files are identical"));
                continue;
            }
            const VGrid* grids[2] = {m_form->grdFileOne, m_form->grdFileTwo};
            const int rows = grids[0]->Rows();
            QCOMPARE(grids[1]->Rows(), rows);
            std::vector<bool> listed(std::size_t(rows), false);
            for (const QString& entry : m_form->DiffList) {
                const int first = entry.section(u'-', 0, 0).toInt();
                for (int r = first; r < first + entry.section(u'-', 1, 1).toInt(); ++r)
                    listed[std::size_t(r)] = true;
            }
            QStringList shown[2];
            for (int row = 1; row < rows; ++row) {
                const bool coloured = grids[0]->CellBackColor(row) || grids[1]->CellBackColor(row);
                QCOMPARE(listed[std::size_t(row)], coloured);
                if (!coloured)
                    QCOMPARE(grids[0]->TextMatrix(row).section(u'.', 1), grids[1]->TextMatrix(row).section(u'.', 1));
                for (int g = 0; g < 2; ++g)
                    if (!grids[g]->TextMatrix(row).isEmpty())
                        shown[g] << grids[g]->TextMatrix(row);
            }
            QCOMPARE(shown[0], expected[0]);
            QCOMPARE(shown[1], expected[1]);
            QVERIFY(grids[0]->TextMatrix(rows - 1).isEmpty() && grids[1]->TextMatrix(rows - 1).isEmpty());
        }
    }
};

QTEST_MAIN(tst_Compare)
#include "tst_Compare.moc"
