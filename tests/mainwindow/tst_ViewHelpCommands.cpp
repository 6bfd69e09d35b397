// The View menu (a file opened in its associated program or in the
// plain-text editor) and the Help menu of the main window. Nothing is
// really started: the platform's opener and the program launcher are
// replaced by recorders.

#include "WindowFixture.h"

#include "about/ProductInfo.h"
#include "about/ShellOpen.h"
#include "app/TextEditor.h"
#include "help/HelpWindow.h"
#include "support/TestEnvironment.h"

#include <QAction>
#include <QLineEdit>
#include <QTextBrowser>

using namespace modVantrel;

class tst_ViewHelpCommands : public QObject {
    Q_OBJECT
    WindowFixture w;
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
        QVERIFY(TestEnvironment::LoadPathLibrary());
        QVERIFY(QDir(m_machine.path()).mkdir(QStringLiteral("bin")));
        for (const QString& path : {file(), editor()}) {
            QFile created(path);
            QVERIFY(created.open(QIODevice::WriteOnly));
            QVERIFY(created.setPermissions(created.permissions() | QFile::ExeOwner));
        }
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
        w.setUp();
        m_opened.clear();
        m_launched.clear();
        m_openSucceeds = true;
    }
    void cleanup() { w.tearDown(); }

    // The path box's text, the command, whether the platform opens the file
    // and the answer to the question that follows when it cannot.
    void viewCommands_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<QString>("boxText");  // %1: the file
        QTest::addColumn<bool>("openSucceeds");
        QTest::addColumn<bool>("answerYes");
        QTest::addColumn<bool>("editorOnPath");
        QTest::addColumn<QStringList>("messages");  // title|text of each message, in order
        QTest::addColumn<bool>("opened");
        QTest::addColumn<bool>("launched");
        const QString missingOne = QStringLiteral("View File in Notepad|File One does not exist.");
        const QString question = QStringLiteral(
            "View File in Associated Program|Unable to show the file in the associated program.\r\n"
            "Make sure that a program has been associated with files of this type.\r\n\r\n"
            "Would you like to view the file in Notepad?");
        const QString noEditor = QStringLiteral("View File in Notepad|Unable to show the file in the Notepad.");
        const QString missingTwo = QStringLiteral("View File in Notepad|File Two does not exist.");
        const QString associatedMissing = QStringLiteral("View File in Associated Program|File One does not exist.");
        const QString one = QStringLiteral("mnuViewFileOneUseNotepad");
        const QString two = QStringLiteral("mnuViewFileTwoUseNotepad");
        const QString oneAssociated = QStringLiteral("mnuViewFileOneUseAssociated");
        const QString twoAssociated = QStringLiteral("mnuViewFileTwoUseAssociated");
        //                                                command        box        open   yes    editor
        QTest::newRow("Notepad, spaces around the path") << one << "  %1  " << true << true << true
                                                         << QStringList() << false << true;
        QTest::newRow("Notepad, blank box") << one << "   " << true << true << true
                                            << QStringList{missingOne} << false << false;
        QTest::newRow("Notepad, File Two missing") << two << "%1.gone" << true << true << true
                                                   << QStringList{missingTwo} << false << false;
        QTest::newRow("Notepad, no editor") << one << "%1" << true << true << false
                                            << QStringList{noEditor} << false << false;
        QTest::newRow("associated program") << twoAssociated << " %1" << true << true << true
                                            << QStringList() << true << false;
        QTest::newRow("associated, missing") << oneAssociated << "" << true << true << true
                                             << QStringList{associatedMissing} << false << false;
        QTest::newRow("no associated program, Yes") << oneAssociated << "%1" << false << true << true
                                                    << QStringList{question} << true << true;
        QTest::newRow("no associated program, No") << twoAssociated << "%1" << false << false << true
                                                   << QStringList{question} << true << false;
    }

    void viewCommands()
    {
        QFETCH(QString, command);
        QFETCH(QString, boxText);
        QFETCH(bool, openSucceeds);
        QFETCH(bool, answerYes);
        QFETCH(bool, editorOnPath);
        QFETCH(QStringList, messages);
        QFETCH(bool, opened);
        QFETCH(bool, launched);
        frmFileDiffs& form = w.load();
        m_openSucceeds = openSucceeds;
        w.prompts->messageAnswers.push_back(answerYes ? PromptAnswer::Yes : PromptAnswer::No);
        QLineEdit* box = command.contains(QLatin1String("FileOne")) ? form.txtFileOne : form.txtFileTwo;
        (command.contains(QLatin1String("FileOne")) ? form.txtFileTwo : form.txtFileOne)->setText(file());
        box->setText(boxText.contains(QLatin1String("%1")) ? boxText.arg(file()) : boxText);
        if (!editorOnPath)
            qputenv("PATH", QFile::encodeName(m_machine.path() + QStringLiteral("/nowhere")));
        form.findChild<QAction*>(command)->trigger();
        qputenv("PATH", QFile::encodeName(m_machine.path() + QStringLiteral("/bin")));

        QStringList shown;
        for (const MessagePrompt& message : w.prompts->messages)
            shown << message.title + u'|' + message.text;
        QCOMPARE(shown, messages);
        QCOMPARE(m_opened, opened ? QList<QUrl>{QUrl::fromLocalFile(file())} : QList<QUrl>());
        // The file is one argument, the path without the spaces around it.
        const QList<TextEditor::Command> expected{{editor(), {file()}}};
        QCOMPARE(m_launched, launched ? expected : QList<TextEditor::Command>());
    }

    void siteAndMail()
    {
        frmFileDiffs& form = w.load();
        form.mnuHelpVisitQuellanWeb->trigger();
        form.mnuHelpContactUs->trigger();
        QCOMPARE(m_opened, (QList<QUrl>{QUrl(QStringLiteral("https://quellan.example.org/")),
                                        QUrl(QStringLiteral("mailto:support@quellan.example.org"))}));
    }

    void about()
    {
        frmFileDiffs& form = w.load();
        form.mnuHelpAbout->trigger();
        QCOMPARE(w.prompts->messages.size(), 1);
        const MessagePrompt& box = w.prompts->lastMessage();
        QCOMPARE(box.title, QStringLiteral("Vantrel"));
        QCOMPARE(box.icon, PromptIcon::Information);
        QCOMPARE(box.buttons, PromptButtons::Ok);
        QCOMPARE(box.text, ProductInfo::AboutText());
    }

    // The manual opens in one help window, at its contents; without the
    // manual the user is told and no window opens.
    void helpContents()
    {
        frmFileDiffs& form = w.load();
        gAppFolder = TestEnvironment::BinDir();
        form.mnuHelpContent->trigger();
        form.mnuHelpContent->trigger();
        const QList<HelpWindow*> windows = form.findChildren<HelpWindow*>();
        QCOMPARE(windows.size(), 1);
        QVERIFY(windows[0]->isVisible());
        QCOMPARE(windows[0]->Browser()->documentTitle(), QStringLiteral("Vantrel Manual"));
        QVERIFY(windows[0]->Source().toLocalFile().endsWith(QStringLiteral("/share/vantrel/help/index.html")));
        QVERIFY(w.prompts->messages.isEmpty());
        delete windows[0];

        gAppFolder = m_machine.path() + u'/';
        form.mnuHelpContent->trigger();
        QVERIFY(form.findChildren<HelpWindow*>().isEmpty());
        QCOMPARE(w.prompts->messages.size(), 1);
        QVERIFY(w.prompts->lastMessage().text.startsWith(QStringLiteral("The help was not found.")));
    }
};

QTEST_MAIN(tst_ViewHelpCommands)
#include "tst_ViewHelpCommands.moc"
