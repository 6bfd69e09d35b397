// Which plain-text editor "Use Notepad" starts, decided from the
// environment and the folders it names, and how the file reaches it.

#include "app/TextEditor.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using TextEditor::Command;
using TextEditor::Platform;

namespace {

const QString kFile = QStringLiteral("/data/my notes/-draft.txt");

void WriteFile(const QString& path, const QByteArray& text, bool executable = false)
{
    QVERIFY(QDir().mkpath(QFileInfo(path).absolutePath()));
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(text);
    file.close();
    if (executable)
        QVERIFY(file.setPermissions(file.permissions() | QFile::ExeOwner));
}

QByteArray Entry(const QByteArray& keys)
{
    return "[Desktop Entry]\nType=Application\nName=X Editor\nIcon=xicon\n" + keys + "\n[Desktop Action new]\nExec=wrong\n";
}

}  // namespace

class tst_TextEditor : public QObject {
    Q_OBJECT
private slots:
    // A fake machine per row: programs in bin/, the default application's
    // entry in the system's and the user's data folders.
    void choice_data()
    {
        QTest::addColumn<QStringList>("programs");     // executables in bin/
        QTest::addColumn<QByteArray>("systemEntry");   // the default's entry in XDG_DATA_DIRS; empty: none
        QTest::addColumn<QByteArray>("userEntry");     // the same in XDG_DATA_HOME
        QTest::addColumn<QString>("visual");
        QTest::addColumn<QStringList>("expected");  // program in bin/, then arguments; empty: none
        const QStringList none;
        QTest::newRow("default application, file as its URL code")
            << QStringList{"xed-2", "gedit"} << Entry("Exec=xed-2 --new-window %U") << QByteArray() << QString()
            << QStringList{"xed-2", "--new-window", kFile};
        QTest::newRow("no field code: the file comes last")
            << QStringList{"xed-2"} << Entry("Exec=xed-2") << QByteArray() << QString() << QStringList{"xed-2", kFile};
        QTest::newRow("quoting, escapes and the other field codes")
            << QStringList{"x ed"} << Entry(R"(Exec="x ed" "--title=a \\"b\\"" %i --name=%c 100%% %d %f)") << QByteArray()
            << QString() << QStringList{"x ed", "--title=a \"b\"", "--icon", "xicon", "--name=X Editor", "100%", kFile};
        QTest::newRow("a terminal editor is passed over") << QStringList{"vim", "mousepad", "kate"}
                                                          << Entry("Exec=vim %F\nTerminal=true") << QByteArray()
                                                          << QString() << QStringList{"kate", kFile};
        QTest::newRow("the user's hidden entry hides the system's")
            << QStringList{"xed-2", "geany"} << Entry("Exec=xed-2 %f") << Entry("Hidden=true") << QString()
            << QStringList{"geany", kFile};
        QTest::newRow("the user's entry wins") << QStringList{"xed-2", "mine"} << Entry("Exec=xed-2 %f")
                                               << Entry("Exec=mine -n %f") << QString()
                                               << QStringList{"mine", "-n", kFile};
        QTest::newRow("default's program missing") << QStringList{"leafpad"} << Entry("Exec=gone %f") << QByteArray()
                                                   << QString() << QStringList{"leafpad", kFile};
        QTest::newRow("TryExec missing") << QStringList{"xed-2", "pluma"} << Entry("TryExec=gone\nExec=xed-2 %f")
                                         << QByteArray() << QString() << QStringList{"pluma", kFile};
        QTest::newRow("VISUAL with its arguments")
            << QStringList{"code"} << QByteArray() << QByteArray() << QStringLiteral("code --wait -n")
            << QStringList{"code", "--wait", "-n", kFile};
        QTest::newRow("VISUAL not on PATH") << QStringList{"vi"} << QByteArray() << QByteArray()
                                            << QStringLiteral("emacs") << none;
        QTest::newRow("nothing at all") << QStringList{} << QByteArray() << QByteArray() << QString() << none;
    }

    void choice()
    {
        QFETCH(QStringList, programs);
        QFETCH(QByteArray, systemEntry);
        QFETCH(QByteArray, userEntry);
        QFETCH(QString, visual);
        QFETCH(QStringList, expected);
        QTemporaryDir machine;
        const QString root = machine.path();
        for (const QString& program : programs)
            WriteFile(root + QStringLiteral("/bin/") + program, "#!/bin/sh\n", true);
        WriteFile(root + QStringLiteral("/bin/not-executable"), "");
        const QString id = QStringLiteral("org.example.XEditor.desktop");
        if (!systemEntry.isEmpty())
            WriteFile(root + QStringLiteral("/share/applications/") + id, systemEntry);
        if (!userEntry.isEmpty())
            WriteFile(root + QStringLiteral("/home/.local/share/applications/") + id, userEntry);
        QProcessEnvironment environment;
        environment.insert(QStringLiteral("PATH"), root + QStringLiteral("/nowhere:") + root + QStringLiteral("/bin"));
        environment.insert(QStringLiteral("HOME"), root + QStringLiteral("/home"));
        environment.insert(QStringLiteral("XDG_DATA_DIRS"), root + QStringLiteral("/share"));
        if (!visual.isEmpty())
            environment.insert(QStringLiteral("VISUAL"), visual);

        const std::optional<Command> chosen = TextEditor::Choose(Platform::Freedesktop, environment, id, kFile);
        if (expected.isEmpty()) {
            QVERIFY2(!chosen, qPrintable(chosen ? chosen->program : QString()));
            return;
        }
        QVERIFY(chosen);
        QCOMPARE(chosen->program, root + QStringLiteral("/bin/") + expected.takeFirst());
        QCOMPARE(chosen->arguments, expected);
    }
};

QTEST_GUILESS_MAIN(tst_TextEditor)
#include "tst_TextEditor.moc"
