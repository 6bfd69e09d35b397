// The View menu (a file opened in its associated program or in the
// plain-text editor) and the Help menu of the main window. Nothing is
// really started: the platform's opener and the program launcher are
// replaced by recorders.

#include "WindowFixture.h"

#include "about/ProductInfo.h"
#include "about/ShellOpen.h"
#include "app/TextEditor.h"
#include "help/HelpWindow.h"
#include "support/FileBytes.h"
#include "support/TestEnvironment.h"

using namespace modVantrel;

namespace {

// A View command (its action's name after "mnuView"), what the path box
// holds (%1: the file), whether the platform opens the file, the answer to
// the question asked when it cannot, whether the editor is on PATH; the
// messages shown as "title: text" lines, and whether the file was opened or
// the editor started.
struct View {
    const char *command, *boxText;
    bool openSucceeds, answerYes, editorOnPath;
    QString message;
    bool opened, launched;
};

}  // namespace

class tst_ViewHelpCommands : public WindowTest {
    Q_OBJECT
    QTemporaryDir m_machine;  // files to view, and a bin/ folder with one editor
    QList<QUrl> m_opened;
    bool m_openSucceeds = true;
    QList<TextEditor::Command> m_launched;
    QByteArray m_path;

    QString file() const { return m_machine.path() + QStringLiteral("/two words.txt"); }
    QString editor() const { return m_machine.path() + QStringLiteral("/bin/gedit"); }

private slots:
    void initTestCase()
    {
        QVERIFY(QDir(m_machine.path()).mkdir(QStringLiteral("bin")));
        for (const QString& path : {file(), editor()})
            QVERIFY(FileBytes::Write(path, {})
                    && QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
        // The editor is found on PATH alone: no xdg-mime there, no desktop entries.
        m_path = qgetenv("PATH");
        qputenv("PATH", QFile::encodeName(m_machine.path() + QStringLiteral("/bin")));
        qputenv("XDG_DATA_DIRS", QFile::encodeName(m_machine.path()));
        qputenv("XDG_DATA_HOME", QFile::encodeName(m_machine.path()));
        ShellOpen::SetOpener([this](const QUrl& address) {
            m_opened << address;
            return m_openSucceeds;
        });
        TextEditor::SetLauncher([this](const QString& program, const QStringList& arguments) {
            m_launched << TextEditor::Command{program, arguments};
            return true;
        });
    }
    void cleanupTestCase()
    {
        qputenv("PATH", m_path);
        ShellOpen::SetOpener({});
        TextEditor::SetLauncher({});
    }
    void init()
    {
        WindowTest::init();
        m_opened.clear();
        m_launched.clear();
        m_openSucceeds = true;
    }

    void viewCommands_data()
    {
        QTest::addColumn<View>("v");
        const char* const question =
            "View File in Associated Program: Unable to show the file in the associated program.\r\n"
            "Make sure that a program has been associated with files of this type.\r\n\r\n"
            "Would you like to view the file in Notepad?";
        const QString missing = QStringLiteral(": File %1 does not exist.");
        const QString notepadTwo = "View File in Notepad" + missing.arg("Two");
        const QString associatedOne = "View File in Associated Program" + missing.arg("One");
        const QString noEditor = QStringLiteral("View File in Notepad: Unable to show the file in the Notepad.");
        const auto row = [](const char* name, const View& v) { QTest::newRow(name) << v; };
        // Command, box, open, yes, editor on PATH; message, opened, launched.
        row("Notepad, spaces around the path", {"FileOneUseNotepad", "  %1  ", true, true, true, "", false, true});
        row("Notepad, File Two missing", {"FileTwoUseNotepad", "%1.gone", true, true, true, notepadTwo, false, false});
        row("Notepad, no editor", {"FileOneUseNotepad", "%1", true, true, false, noEditor, false, false});
        row("associated program", {"FileTwoUseAssociated", " %1", true, true, true, "", true, false});
        row("associated, blank box", {"FileOneUseAssociated", "   ", true, true, true, associatedOne, false, false});
        row("no associated program, Yes", {"FileOneUseAssociated", "%1", false, true, true, question, true, true});
        row("no associated program, No", {"FileTwoUseAssociated", "%1", false, false, true, question, true, false});
    }

    void viewCommands()
    {
        QFETCH(View, v);
        m_openSucceeds = v.openSucceeds;
        w.prompts->messageAnswers.push_back(v.answerYes ? PromptAnswer::Yes : PromptAnswer::No);
        const QString command = QString::fromUtf8(v.command);
        const bool one = command.startsWith(QLatin1String("FileOne"));
        w.box(one ? 2 : 1)->setText(file());
        w.box(one ? 1 : 2)->setText(QString::fromUtf8(v.boxText).replace(QLatin1String("%1"), file()));
        if (!v.editorOnPath)
            qputenv("PATH", QFile::encodeName(m_machine.path() + QStringLiteral("/nowhere")));
        w.child<QAction>(QStringLiteral("mnuView") + command)->trigger();
        qputenv("PATH", QFile::encodeName(m_machine.path() + QStringLiteral("/bin")));
        QCOMPARE(w.told(), v.message);
        QCOMPARE(m_opened, v.opened ? QList<QUrl>{QUrl::fromLocalFile(file())} : QList<QUrl>());
        // The file is one argument, the path without the spaces around it.
        const QList<TextEditor::Command> expected{{editor(), {file()}}};
        QCOMPARE(m_launched, v.launched ? expected : QList<TextEditor::Command>());
    }

    // The site, a mail to the support address, and the About box. The
    // manual opens in one help window, at its contents; without the manual
    // the user is told and no window opens.
    void helpMenu()
    {
        w.action("mnuHelpVisitQuellanWeb")->trigger();
        w.action("mnuHelpContactUs")->trigger();
        QCOMPARE(m_opened, (QList<QUrl>{QUrl(QStringLiteral("https://quellan.example.org/")),
                                        QUrl(QStringLiteral("mailto:support@quellan.example.org"))}));
        w.action("mnuHelpAbout")->trigger();
        QCOMPARE(w.prompts->messages.size(), 1);
        const MessagePrompt& box = w.prompts->lastMessage();
        QVERIFY(box.title == QStringLiteral("Vantrel") && box.text.startsWith(QStringLiteral("Vantrel v")));
        QVERIFY(box.icon == PromptIcon::Information && box.buttons == PromptButtons::Ok);
        gAppFolder = TestEnvironment::BinDir();
        w.action("mnuHelpContent")->trigger();
        w.action("mnuHelpContent")->trigger();
        const QList<HelpWindow*> windows = w.form->findChildren<HelpWindow*>();
        QCOMPARE(windows.size(), 1);
        QVERIFY(windows[0]->isVisible());
        QVERIFY(windows[0]->Source().toLocalFile().endsWith(QStringLiteral("/share/vantrel/help/index.html")));
        QCOMPARE(w.prompts->messages.size(), 1);  // the About box's alone
        delete windows[0];
        gAppFolder = m_machine.path() + u'/';
        w.action("mnuHelpContent")->trigger();
        QCOMPARE((std::pair{w.form->findChildren<HelpWindow*>().size(), w.prompts->messages.size()}),
                 (std::pair{qsizetype{0}, qsizetype{2}}));
        QVERIFY(w.prompts->lastMessage().text.startsWith(QStringLiteral("The help was not found.")));
    }
};

QTEST_MAIN(tst_ViewHelpCommands)
#include "moc_WindowFixture.cpp"
#include "tst_ViewHelpCommands.moc"
