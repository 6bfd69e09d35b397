// The Compare command through the real engine and the real window: every
// message path, the save commands, line endings and odd file names.

#include "WindowFixture.h"

#include "app/ChosenFileName.h"
#include "mainwindow/CompareMessages.h"
#include "support/TextBytes.h"

#include <fcntl.h>
#include <unistd.h>

using namespace modVantrel;

namespace {

struct Message {
    QString one, two, title, text;
    modVantrel::PromptIcon icon;
    int enterIn = 0;  // Compare by Enter in this path box; 0: by the menu
};

// File Two, the command, the file chosen (empty: the dialog cancelled), the
// message, and how the saved file starts.
struct Save {
    QByteArray two;
    QString command, answer, message;
    QByteArray start;
};

struct Endings {
    QByteArray one, two;
    bool ignoreWhiteSpace;
    QString message;
    int row;
    QString paneOne, paneTwo, tipOne;
    bool ignoreLineEndings = false;
    QString filter = {};      // a line filter on
    bool ignoreCase = false;  // for the comparison, off again before the row is read
};

}  // namespace

class tst_Compare : public WindowTest {
    Q_OBJECT

    // What every failed Compare leaves: the view reset (prompts, empty
    // cells on row 1, the hint, no result commands), no hourglass, redrawing.
    void verifyWithoutResults()
    {
        for (const VGrid* grid : {w.grid(1), w.grid(2)}) {
            QCOMPARE(grid->TextMatrix(0), QStringLiteral("Select two files then press the Compare button"));
            QVERIFY(grid->Row() == 1 && grid->TopRow() == 1 && grid->Redraw());
            for (int row = 1; row < grid->Rows(); ++row)
                QVERIFY(grid->TextMatrix(row).isEmpty() && !grid->CellBackColor(row)
                        && grid->CellPicture(row).isNull());
        }
        QVERIFY(w.pane(1)->toPlainText().startsWith(QStringLiteral("Click on a line in either file")));
        QVERIFY(!w.Model().Shown() && w.Model().CurrentRow() == 1);
        QVERIFY(!w.action("mnuFilePrint")->isEnabled() && !w.action("mnuFileShowNextDiff")->isEnabled());
        QVERIFY(!w.hourglass());
    }

private slots:

    // File names, or texts typed into the boxes; the message's text, which
    // when it ends in CR LF CR LF is followed by the engine's first line.
    // Return or the keypad's Enter in a path box compares as the menu does.
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
        QTest::newRow("File Two missing")
            << Message{"a.txt", "nope.txt", missing, "File Two is not an existing file.", excl, 1};
        QTest::newRow("identical") << Message{
            "a.txt", "a-copy.txt", compareTitle, "The files are identical", PromptIcon::Information, 2};
        QTest::newRow("binary") << Message{"bin1", "bin2", compareTitle,
                                           "The files differ but the differences are not viewable.\r\n"
                                           "Only differences between text files can be viewed. \r\n\r\n"
                                           "See the View File Differences topic in the Help file for details.",
                                           PromptIcon::Information};
        // Reading this regular file fails at its first byte.
        QTest::newRow("engine error") << Message{"/proc/self/mem", "a.txt", compareTitle,
                                                 "Errors encountered comparing the files\r\n\r\n", excl};
    }

    void messages()
    {
        QFETCH(Message, m);
        auto [one, two, title, text, icon, enterIn] = m;
        if (one.startsWith(QLatin1String("/proc")) && !QFile::exists(one))
            QSKIP("needs /proc/self/mem");
        w.write(QStringLiteral("a.txt"), "x\ny\n");
        w.write(QStringLiteral("a-copy.txt"), "x\ny\n");
        w.write(QStringLiteral("bin1"), QByteArray("ab\0cd\n", 6));
        w.write(QStringLiteral("bin2"), QByteArray("ab\0ce\n", 6));
        // Paths in the folder come padded with spaces, which the command trims.
        const auto path = [this](const QString& name) {
            if (name.trimmed().isEmpty() || name.startsWith(u'/'))
                return name;
            return QStringLiteral("  ") + (name == u'.' ? w.folder->path() : w.folder->filePath(name)) + u' ';
        };
        // A comparison shown before must be gone afterwards.
        w.compare(w.folder->filePath(QStringLiteral("a.txt")), w.write(QStringLiteral("c.txt"), "x\nz\n"));
        QVERIFY(w.Model().Shown() && w.grid(1)->TextMatrix(0).isEmpty());
        w.prompts->messages.clear();
        gOptions->FileTwo = QStringLiteral("before");
        if (enterIn == 0) {
            w.compare(path(one), path(two));
        } else {
            w.box(1)->setText(path(one));
            w.box(2)->setText(path(two));
            QTest::keyClick(w.box(enterIn), enterIn == 1 ? Qt::Key_Return : Qt::Key_Enter);
        }
        if (text.endsWith(QLatin1String("\r\n\r\n"))) {
            QVERIFY(!gDiffEngine->ResultLine(0).isEmpty());
            text += gDiffEngine->ResultLine(0);
        }
        QCOMPARE(std::tuple(w.told(), w.prompts->lastMessage().icon, w.prompts->lastMessage().buttons),
                 std::tuple(title + ": " + text, icon, PromptButtons::Ok));
        // The paths are stored, trimmed, only when both name existing files.
        QCOMPARE(gOptions->FileTwo,
                 title == QStringLiteral("File Does Not Exist") ? QStringLiteral("before") : path(two).trimmed());
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
        bool hourglass = false;
        w.prompts->whileMessageShown = [&] {
            w.prompts->whileMessageShown = nullptr;
            hourglass = w.hourglass();
            w.action("mnuFileCompare")->trigger();  // refused: no second message
            QKeyEvent key(QEvent::KeyPress, Qt::Key_Z, Qt::NoModifier, QStringLiteral("z"));
            QCoreApplication::sendEvent(w.box(1), &key);
            QVERIFY(!w.form->close());
        };
        w.compare(a, a);
        QVERIFY(hourglass);
        QCOMPARE(w.box(1)->text(), a);
        QVERIFY(w.form->isVisible() && !w.hourglass());
        QVERIFY(w.grid(1)->Redraw() && w.grid(2)->Redraw());
        // The command runs again once it has ended, its message the second.
        w.action("mnuFileCompare")->trigger();
        QCOMPARE(w.prompts->messages.size(), 2);
    }

    // Blocks that cannot be placed in the grids (tst_ComparisonModel) are
    // told thus; forcing a text compare is then the likely cause.
    void markingFailedMessage()
    {
        const QString first = QStringLiteral("Not able to compute the file differences.");
        const QString forcing = QStringLiteral("\r\n\r\nThis can happen if the files are not ASCII-based and\r\n"
                                               "you are forcing a text compare.");
        for (const bool forceText : {false, true}) {
            const MessagePrompt shown = CompareMessages::MarkingFailed(forceText);
            QVERIFY(shown.title == "Show File Differences" && shown.icon == PromptIcon::Critical);
            QCOMPARE(shown.text, forceText ? first + forcing : first);
        }
    }

    // The save commands ask for a file only when there is something to
    // save, and write what they name; a cancelled dialog writes nothing.
    void saveCommands_data()
    {
        QTest::addColumn<Save>("s");
        QTest::newRow("patch") << Save{"a\nc\n", "mnuFileSavePatch", "out.patch", "", "--- "};
        QTest::newRow("report") << Save{"a\nc\n", "mnuFileSaveReport", "out.html", "", "<!DOCTYPE html>"};
        QTest::newRow("cancelled") << Save{"a\nc\n", "mnuFileSavePatch", "", "", ""};
        QTest::newRow("binary files") << Save{QByteArray("a\0c\n", 4), "mnuFileSavePatch", "out.patch",
                                              "The files are binary", ""};
    }
    void saveCommands()
    {
        QFETCH(Save, s);
        const auto& [two, command, answer, message, start] = s;
        w.compare(w.write(QStringLiteral("one.txt"), "a\nb\n"), w.write(QStringLiteral("two.txt"), two));
        w.prompts->messages.clear();
        const QString path = w.folder->filePath(answer);
        w.prompts->textAnswers = {answer.isEmpty() ? std::optional<QString>() : path};
        w.action(qPrintable(command))->trigger();
        QCOMPARE(w.prompts->files.size(), message.isEmpty() ? 1 : 0);
        QCOMPARE(w.prompts->messages.isEmpty(), message.isEmpty());
        if (!message.isEmpty())
            QVERIFY2(w.prompts->lastMessage().text.startsWith(message), qPrintable(w.prompts->lastMessage().text));
        QCOMPARE(!answer.isEmpty() && QFile::exists(path) && FileBytes::Read(path).startsWith(start), !start.isEmpty());
    }

    // Files that differ in how their lines end or in a byte-order mark: the
    // message naming each file's style (none when any text differs), the
    // detail pane at a row as text|looks (row 0: no comparison shown), and
    // File One's tooltip.
    void lineEndings_data()
    {
        QTest::addColumn<Endings>("e");
        const QString o = QStringLiteral("The files differ only in ");
        const QString crlfLf = o + "their line endings: File One uses CR LF (Windows), File Two uses LF (Unix).";
        const QString cr = QStringLiteral(u"\u2039CR\u203A"), bom = QStringLiteral(u"\u2039BOM\u203A");
        const QString eol = QStringLiteral(u"\u2039no\u00A0newline\u00A0at\u00A0end\u203A");
        const QString utf8 = QStringLiteral("Encoding: UTF-8\nLine endings: "),
                      crlf2 = utf8 + "CR LF (Windows)\n2 lines";
        const QString cafe = QStringLiteral(u"caf\u00e9");
        const QByteArray utf16 = Wide(u"\uFEFFa\r\nb\r\n", 2, false);
        // clang-format off
        QTest::newRow("CR LF against LF")
            << Endings{"a\r\nb\r\n", "a\nb\n", false, crlfLf, 1, "a" + cr + "|krrrr", "a|k", crlf2};
        QTest::newRow("empty lines, CR LF against LF")
            << Endings{"\r\n", "\n", false, crlfLf, 1, cr + "|rrrr", "|", utf8 + "CR LF (Windows)\n1 line"};
        QTest::newRow("mixed against LF") << Endings{"a\r\nb\n", "a\nb\n", false,
            o + "their line endings: File One uses mixed line endings (1 CR LF, 1 LF), File Two uses LF (Unix).",
            1, "a" + cr + "|krrrr", "a|k", utf8 + "mixed (1 CR LF, 1 LF)\n2 lines"};
        // Lines end at LF only: the CR file is one line, its CRs in view.
        QTest::newRow("CR alone against LF") << Endings{"a\rb\r", "a\nb\n", false,
            o + "their line endings: File One uses CR (classic Mac), File Two uses LF (Unix).",
            1, "a\rb\r|krrr", "a|k", utf8 + "CR (classic Mac)\n1 line"};
        QTest::newRow("no newline at the end") << Endings{"a\nb", "a\nb\n", false,
            o + "the newline at the end: File One has no newline at the end, File Two ends with a newline.",
            2, "b" + eol + "|k" + QString(eol.size(), u'r'), "b|k", utf8 + "LF (Unix)\n2 lines, no newline at the end"};
        QTest::newRow("byte-order mark") << Endings{"\xef\xbb\xbf" "a\nb\n", "a\nb\n", false,
            o + "their byte-order marks: File One starts with a byte-order mark, File Two has no byte-order mark.",
            1, bom + "a|rrrrrk", "a|k", "Encoding: UTF-8 with BOM\nLine endings: LF (Unix)\n2 lines"};
        QTest::newRow("UTF-16 against UTF-8") << Endings{utf16, "\xef\xbb\xbf" "a\nb\n", false,
            o + "their line endings and their encodings: File One uses CR LF (Windows) and is UTF-16 LE, "
                "File Two uses LF (Unix) and is UTF-8 with BOM.",
            1, "a" + cr + "|krrrr", "a|k", "Encoding: UTF-16 LE\nLine endings: CR LF (Windows)\n2 lines"};
        QTest::newRow("Windows-1252") << Endings{"caf\xe9\r\n", "caf\xe9\n", false, crlfLf, 1, cafe + cr + "|kkkkrrrr",
            cafe + "|kkkk", "Encoding: Windows-1252\nLine endings: CR LF (Windows)\n1 line"};
        QTest::newRow("text differs as well")
            << Endings{"a\r\nb\r\n", "a\nc\n", false, {}, 2, "b" + cr + "|rrrrr", "c|r", crlf2};
        QTest::newRow("white space ignored, text differs")
            << Endings{"a\r\nb\r\n", "a\nc\n", true, {}, 2, "b|r", "c|r", crlf2 + "\nCompared ignoring white space"};
        QTest::newRow("white space ignored, mark only")
            << Endings{"\xef\xbb\xbf" "a\n", "a\n", true, "The files are identical", 0, {}, {}, {}};
        // Files of the same bytes are plainly identical with line endings
        // ignored (more than a first block: the engine reads them whole).
        QTest::newRow("line endings ignored, the same bytes")
            << Endings{QByteArray("a\r\n").repeated(99999), QByteArray("a\r\n").repeated(99999), false,
                       "The files are identical", 0, {}, {}, {}, true};
        QTest::newRow("three things ignored, text differs") << Endings{"a\r\nb\r\n", "a\nc\n", true, {}, 0, {}, {},
            crlf2 + "\nCompared ignoring white space, line endings and lines that match the line filter", true, "^#"};
        // A line left out is never compared with the one beside it.
        QTest::newRow("line left out") << Endings{"#a\r\nb\n", "#b\nc\n", false, {}, 1, "#a|kk", "#b|kk",
            utf8 + "mixed (1 CR LF, 1 LF)\n2 lines\nCompared ignoring lines that match the line filter", false, "^#"};
        // A row compared as unchanged is shown plainly, even when the rule
        // that made it so has been switched off since.
        QTest::newRow("case ignored, off since") << Endings{"Same\nx\n", "same\ny\n", false, {}, 1, "Same|kkkk",
            "same|kkkk", utf8 + "LF (Unix)\n2 lines\nCompared ignoring case", false, {}, true};
        // clang-format on
    }

    void lineEndings()
    {
        QFETCH(Endings, e);
        gOptions->IgnoreWhiteSpace = e.ignoreWhiteSpace;
        gOptions->IgnoreLineEndings = e.ignoreLineEndings;
        gOptions->IgnoreCase = e.ignoreCase;
        if (!e.filter.isEmpty())
            gOptions->LineFilters = {{e.filter, true}};
        // The message speaks of rows that must already be drawn.
        bool drawnUnderMessage = true;
        w.prompts->whileMessageShown = [&] { drawnUnderMessage = w.grid(1)->Redraw() && w.grid(2)->Redraw(); };
        w.compare(w.write(QStringLiteral("one"), e.one), w.write(QStringLiteral("two"), e.two));
        QCOMPARE(w.told(), e.message.isEmpty() ? QString() : "Compare Files: " + e.message);
        if (!e.message.isEmpty()) {
            QCOMPARE(w.prompts->lastMessage().icon, PromptIcon::Information);
            QVERIFY(drawnUnderMessage || e.message.startsWith(QLatin1String("The files are identical")));
        }
        w.prompts->whileMessageShown = nullptr;
        gOptions->IgnoreCase = false;
        QCOMPARE(w.box(1)->toolTip(), e.tipOne);
        if (e.row == 0)
            return;
        w.selectRow(e.row);
        QCOMPARE(w.pane(1)->toPlainText() + u'|' + Looks(*w.pane(1)), e.paneOne);
        QCOMPARE(w.pane(2)->toPlainText() + u'|' + Looks(*w.pane(2)), e.paneTwo);
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
        w.restart(fromDialog ? QStringList() : ArgumentTexts(3, argv));
        if (fromDialog) {
            w.prompts->textAnswers.push_back(ChosenFileName(QString::fromUtf8(bad)));
            w.action("mnuFileSelectFileOne")->trigger();
            w.box(2)->setText(two);
        }
        for (int start = 0; start < 2; ++start) {
            QCOMPARE(w.box(1)->text(), shown);
            w.action("mnuFileCompare")->trigger();
            QVERIFY2(w.prompts->messages.isEmpty(), qPrintable(w.prompts->messages.value(0).text));
            QCOMPARE(w.grid(1)->TextMatrix(2), QStringLiteral(" 2.b"));
            w.restart();  // the options file names it now
        }
    }
};

QTEST_MAIN(tst_Compare)
#include "tst_Compare.moc"
#include "moc_WindowFixture.cpp"
