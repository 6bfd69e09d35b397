// Which plain-text editor "Use Notepad" starts, decided from the
// environment, the folders it names and the desktop's default application,
// and how the file reaches it.

#include "app/TextEditor.h"
#include "support/FileBytes.h"
#include "support/ScriptedPrompts.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

#include <stdexcept>

namespace {

// Relative, as the window may hand it over; the editor gets it absolute.
const QString kFile = QStringLiteral("my notes/-draft.txt");
const QString kId = QStringLiteral("org.example.XEditor.desktop");

// The default application's entry with the given keys.
QByteArray Entry(const QByteArray& keys)
{
    return "[Desktop Entry]\nType=Application\nName=X Editor\nIcon=xicon\n" + keys
           + "\n[Desktop Action new]\nExec=wrong\n";
}

// A fake machine: programs in bin/, the default application's entry in the
// system's and the user's data folders (none when empty), $VISUAL, the id
// xdg-mime names (on its first line; no xdg-mime when empty) and what
// starting the editor does.
struct Machine {
    QStringList programs;
    QByteArray systemEntry, userEntry;
    QString visual;
    QStringList expected;  // program in bin/, then arguments; empty: none
    QString id = kId;
    QString launcher = QStringLiteral("starts");  // or "refuses", "throws"
};

}  // namespace

class tst_TextEditor : public QObject {
    Q_OBJECT
private slots:
    void choice_data()
    {
        QTest::addColumn<Machine>("m");
        QTest::newRow("default application, tab between arguments, file as its URL code") << Machine{
            {"xed-2", "gedit"}, Entry("Exec=xed-2\t--new-window %U"), {}, {}, {"xed-2", "--new-window", kFile}};
        QTest::newRow("no field code: the file comes last, after an open quote ending in a backslash")
            << Machine{{"xed-2"}, Entry("Exec=xed-2 \"-t x\\"), {}, {}, {"xed-2", "-t x\\", kFile}};
        QTest::newRow("quoting, escapes and the other field codes")
            << Machine{{"x ed"},
                       Entry(R"(Exec="x ed" "--title=a \\"b\\"" %i --name=%c 100%% %d %f "-t x\\")"),
                       {},
                       {},
                       {"x ed", "--title=a \"b\"", "--icon", "xicon", "--name=X Editor", "100%", kFile, "-t x\""}};
        QTest::newRow("a terminal editor is passed over")
            << Machine{{"vim", "mousepad", "kate"}, Entry("Exec=vim %F\nTerminal=true"), {}, {}, {"kate", kFile}};
        QTest::newRow("the user's hidden entry hides the system's") << Machine{
            {"xed-2", "geany"}, Entry("Exec=xed-2 %f"), Entry("Exec=xed-2 %f\nHidden=true"), {}, {"geany", kFile}};
        QTest::newRow("an id that is a path is not looked up")
            << Machine{{"xed-2", "gedit"}, Entry("Exec=xed-2 %f"), {}, {}, {"gedit", kFile}, "../applications/" + kId};
        QTest::newRow("default's program missing")
            << Machine{{"leafpad"}, Entry("Exec=gone %f"), {}, {}, {"leafpad", kFile}};
        QTest::newRow("TryExec missing") << Machine{
            {"xed-2", "pluma"}, Entry("TryExec=gone\nExec=xed-2 %f"), {}, {}, {"pluma", kFile}};
        QTest::newRow("VISUAL with its arguments, no xdg-mime")
            << Machine{{"code"}, {}, {}, "code --wait -n", {"code", "--wait", "-n", kFile}, ""};
        QTest::newRow("VISUAL not on PATH") << Machine{{"vi"}, {}, {}, "emacs", {}};
        QTest::newRow("the editor cannot be started")
            << Machine{{"xed-2"}, Entry("Exec=xed-2"), {}, {}, {"xed-2", kFile}, kId, "refuses"};
        QTest::newRow("starting it fails unexpectedly")
            << Machine{{"xed-2"}, Entry("Exec=xed-2"), {}, {}, {"xed-2", kFile}, kId, "throws"};
    }

    void choice()
    {
        QFETCH(Machine, m);
        QTemporaryDir machine;
        const QString root = machine.path();
        QVERIFY(QDir(root).mkpath(QStringLiteral("bin")));
        const QByteArray xdgMime = "[ \"$*\" = 'query default text/plain' ] && printf '" + m.id.toUtf8() + "\\nb\\n'";
        for (const QString& program : m.programs + QStringList{"xdg-mime"}) {
            const QString path = root + QStringLiteral("/bin/") + program;
            QVERIFY(FileBytes::Write(path, "#!/bin/sh\n" + (program == "xdg-mime" ? xdgMime : "")));
            if (program != QLatin1String("xdg-mime") || !m.id.isEmpty())
                QVERIFY(QFile::setPermissions(path, QFile::permissions(path) | QFile::ExeOwner));
        }
        for (const auto& [entry, folder] : {std::pair{m.systemEntry, "/share/applications/"},
                                            std::pair{m.userEntry, "/home/.local/share/applications/"}})
            QVERIFY(entry.isEmpty()
                    || (QDir(root).mkpath(root + folder) && FileBytes::Write(root + folder + kId, entry)));
        // What the program reads when "Use Notepad" is chosen.
        qputenv("PATH", QFile::encodeName(root + QStringLiteral("/nowhere:") + root + QStringLiteral("/bin")));
        qputenv("HOME", QFile::encodeName(root + QStringLiteral("/home")));
        qputenv("XDG_DATA_DIRS", QFile::encodeName(root + QStringLiteral("/share")));
        qunsetenv("XDG_DATA_HOME");
        qputenv("VISUAL", m.visual.toUtf8());
        QVERIFY(QDir::setCurrent(root));

        ScriptedPrompts prompts;
        QStringList launched;
        TextEditor::SetLauncher([&](const QString& program, const QStringList& arguments) {
            launched = QStringList{program} + arguments;
            if (m.launcher == QLatin1String("throws"))
                throw std::runtime_error("cannot fork");
            return m.launcher == QLatin1String("starts");
        });
        const bool started = modVantrel::LoadFileInNotepad(kFile);
        TextEditor::SetLauncher({});
        QCOMPARE(started, !m.expected.isEmpty() && m.launcher == QLatin1String("starts"));
        if (!m.expected.isEmpty())
            m.expected.first().prepend(root + QStringLiteral("/bin/"));
        QCOMPARE(launched, m.expected.replaceInStrings(kFile, root + u'/' + kFile));
        QCOMPARE(prompts.messages.size(), m.launcher == QLatin1String("throws") ? 1 : 0);
    }
};

QTEST_GUILESS_MAIN(tst_TextEditor)
#include "tst_TextEditor.moc"
