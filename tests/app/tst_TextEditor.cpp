// Which plain-text editor "Use Notepad" starts, decided from the
// environment and the folders it names, and how the file reaches it.

#include "app/TextEditor.h"
#include "support/FileBytes.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

namespace {

const QString kFile = QStringLiteral("/data/my notes/-draft.txt");

// The default application's entry with the given keys.
QByteArray Entry(const QByteArray& keys)
{
    return "[Desktop Entry]\nType=Application\nName=X Editor\nIcon=xicon\n" + keys
           + "\n[Desktop Action new]\nExec=wrong\n";
}

// A fake machine: programs in bin/, the default application's entry in the
// system's and the user's data folders (none when empty), $VISUAL.
struct Machine {
    QStringList programs;
    QByteArray systemEntry, userEntry;
    QString visual;
    QStringList expected;  // program in bin/, then arguments; empty: none
};

}  // namespace

class tst_TextEditor : public QObject {
    Q_OBJECT
private slots:
    void choice_data()
    {
        QTest::addColumn<Machine>("m");
        const auto row = [](const char* name, const Machine& m) { QTest::newRow(name) << m; };
        row("default application, file as its URL code",
            {{"xed-2", "gedit"}, Entry("Exec=xed-2 --new-window %U"), {}, {}, {"xed-2", "--new-window", kFile}});
        row("no field code: the file comes last", {{"xed-2"}, Entry("Exec=xed-2"), {}, {}, {"xed-2", kFile}});
        row("quoting, escapes and the other field codes",
            {{"x ed"},
             Entry(R"(Exec="x ed" "--title=a \\"b\\"" %i --name=%c 100%% %d %f)"),
             {},
             {},
             {"x ed", "--title=a \"b\"", "--icon", "xicon", "--name=X Editor", "100%", kFile}});
        row("a terminal editor is passed over",
            {{"vim", "mousepad", "kate"}, Entry("Exec=vim %F\nTerminal=true"), {}, {}, {"kate", kFile}});
        row("the user's hidden entry hides the system's",
            {{"xed-2", "geany"}, Entry("Exec=xed-2 %f"), Entry("Hidden=true"), {}, {"geany", kFile}});
        row("the user's entry wins",
            {{"xed-2", "mine"}, Entry("Exec=xed-2 %f"), Entry("Exec=mine -n %f"), {}, {"mine", "-n", kFile}});
        row("default's program missing", {{"leafpad"}, Entry("Exec=gone %f"), {}, {}, {"leafpad", kFile}});
        row("TryExec missing", {{"xed-2", "pluma"}, Entry("TryExec=gone\nExec=xed-2 %f"), {}, {}, {"pluma", kFile}});
        row("VISUAL with its arguments", {{"code"}, {}, {}, "code --wait -n", {"code", "--wait", "-n", kFile}});
        row("VISUAL not on PATH", {{"vi"}, {}, {}, "emacs", {}});
        row("nothing at all", {});
    }

    void choice()
    {
        QFETCH(Machine, m);
        QTemporaryDir machine;
        const QString root = machine.path();
        QVERIFY(QDir(root).mkpath(QStringLiteral("bin")));
        for (const QString& program : m.programs + QStringList{"not-executable"}) {
            const QString path = root + QStringLiteral("/bin/") + program;
            QVERIFY(FileBytes::Write(path, "#!/bin/sh\n"));
            if (program != QLatin1String("not-executable"))
                QVERIFY(QFile::setPermissions(path, QFile::permissions(path) | QFile::ExeOwner));
        }
        const QString id = QStringLiteral("org.example.XEditor.desktop");
        for (const auto& [entry, folder] : {std::pair{m.systemEntry, "/share/applications/"},
                                            std::pair{m.userEntry, "/home/.local/share/applications/"}})
            QVERIFY(entry.isEmpty()
                    || (QDir(root).mkpath(root + folder) && FileBytes::Write(root + folder + id, entry)));
        QProcessEnvironment environment;
        environment.insert(QStringLiteral("PATH"), root + QStringLiteral("/nowhere:") + root + QStringLiteral("/bin"));
        environment.insert(QStringLiteral("HOME"), root + QStringLiteral("/home"));
        environment.insert(QStringLiteral("XDG_DATA_DIRS"), root + QStringLiteral("/share"));
        if (!m.visual.isEmpty())
            environment.insert(QStringLiteral("VISUAL"), m.visual);

        const auto chosen = TextEditor::Choose(TextEditor::Platform::Freedesktop, environment, id, kFile);
        QVERIFY2(chosen.has_value() == !m.expected.isEmpty(), qPrintable(chosen ? chosen->program : QString()));
        if (chosen) {
            QCOMPARE(chosen->program, root + QStringLiteral("/bin/") + m.expected.takeFirst());
            QCOMPARE(chosen->arguments, m.expected);
        }
    }
};

QTEST_GUILESS_MAIN(tst_TextEditor)
#include "tst_TextEditor.moc"
