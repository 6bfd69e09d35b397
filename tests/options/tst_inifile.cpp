#include "app/Globals.h"
#include "app/VantrelError.h"
#include "options/CIniFile.h"
#include "options/IniText.h"
#include "support/FileBytes.h"
#include "support/ScriptedPrompts.h"
#include "support/Unprivileged.h"

#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <optional>
#include <sys/resource.h>

using namespace modVantrel;

namespace {

// Reads K, then writes K=v and L=w, while the file cannot be used as `kind`
// says: "full", writes past 1 KiB fail, as on a full disk; "read-only", in
// the folder, or "read-only file" or "unreadable" (but writable), for
// another user, who may write in the folder. Gives what was read.
QString UseRefused(CIniFile& ini, const QString& kind, const QString& folder)
{
    const bool forbidden = kind == "read-only file" || kind == "unreadable";
    const QString target = forbidden ? folder + "test.ini" : folder;
    rlimit limit{};
    getrlimit(RLIMIT_FSIZE, &limit);
    const auto restore = qScopeGuard([&] {
        setrlimit(RLIMIT_FSIZE, &limit);
        for (const QString& p : {target, folder})
            QFile::setPermissions(p, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    });
    const QFile::Permissions readOnly = QFile::ReadOwner | QFile::ExeOwner | QFile::ReadOther | QFile::ExeOther;
    if (kind == "full") {
        std::signal(SIGXFSZ, SIG_IGN);
        const rlimit small{1024, limit.rlim_max};
        setrlimit(RLIMIT_FSIZE, &small);
    } else if (forbidden) {
        QFile::setPermissions(folder, readOnly | QFile::WriteOwner | QFile::WriteOther);
    }
    std::optional<Unprivileged> user;
    if (kind == "read-only" || forbidden) {
        QFile::setPermissions(target, kind == "unreadable" ? QFile::WriteOwner | QFile::WriteOther : readOnly);
        user.emplace();
    }
    const QString read = ini.GetStringValue(QStringLiteral("d"));
    ini.SetStringValue(QStringLiteral("v"));
    ini.Key(QStringLiteral("L"));
    ini.SetStringValue(QStringLiteral("w"));
    return read;
}

CIniFile Bound(const QString& key = "K", const QString& section = "S", const QString& name = "test.ini")
{
    CIniFile ini;
    if (!name.isEmpty())
        ini.Name(name);
    ini.Section(section);
    ini.Key(key);
    return ini;
}

}  // namespace

class tst_IniFile : public QObject {
    Q_OBJECT
    std::unique_ptr<QTemporaryDir> m_folder;
    QString path() const { return gAppFolder + QStringLiteral("test.ini"); }

private slots:
    void init()
    {
        m_folder = std::make_unique<QTemporaryDir>();
        gAppFolder = m_folder->path() + QLatin1Char('/');
    }

    void readText_data()
    {
        QTest::addColumn<QByteArray>("section");
        QTest::addColumn<QByteArray>("key");
        QTest::addColumn<QVariant>("expected");  // null: absent
        const auto row = [](const char* name, const char* section, const char* key, QVariant expected) {
            QTest::newRow(name) << QByteArray(section) << QByteArray(key) << expected;
        };
        row("case of section and key", "cOMPARE", "ignorecase", "True");
        row("blanks trimmed, quotes removed", "Compare", "FileOne", "/a b/c");
        row("single quotes removed", "Compare", "Q1", "x");
        row("two quotes, empty value", "Compare", "Q2", "");
        row("quotes that differ kept", "Compare", "Q3", "'x\"");
        row("comment is no key, first of duplicates", "Compare", "K", "a=b");
        row("key of another section", "Compare", "FontSize", QVariant());
        row("CR-only section after a CRLF one", "Form", "X", "cr");
        row("missing section", "Other", "X", QVariant());
    }

    void readText()
    {
        QFETCH(QByteArray, section);
        QFETCH(QByteArray, key);
        QFETCH(QVariant, expected);
        const QByteArray text =
            "[Compare]\nIgnoreCase=True\nFileOne = \"/a b/c\" \nQ1='x'\nQ2=\"\"\nQ3='x\"\n;K=1\nK=a=b\nK=2\n"
            "[Grids]\r\nFontSize=12\r\n[Form]\rY=1\rX=cr\r";
        const std::optional<QByteArray> value = IniText::Read(text, section, key);
        QCOMPARE(value.has_value(), !expected.isNull());
        if (value)
            QCOMPARE(QString::fromUtf8(*value), expected.toString());
    }

    // Writing K=v into section A.
    void writeText_data()
    {
        QTest::addColumn<QByteArray>("before");
        QTest::addColumn<QByteArray>("after");
        QTest::newRow("replaced in place, other lines kept")
            << QByteArray("; note\n[a]\nk=old\nother=1\n") << QByteArray("; note\n[a]\nK=v\nother=1\n");
        QTest::newRow("after the last key, blank kept")
            << QByteArray("[A]\nx=1\n\n[B]\ny=2\n") << QByteArray("[A]\nx=1\nK=v\n\n[B]\ny=2\n");
        QTest::newRow("new section, no final newline") << QByteArray("[B]\nx=1") << QByteArray("[B]\nx=1\n[A]\nK=v\n");
        QTest::newRow("new key, no final CRLF") << QByteArray("[A]\r\nx=1") << QByteArray("[A]\r\nx=1\r\nK=v\r\n");
        QTest::newRow("CR kept") << QByteArray("[B]\ry=2\r[A]\rK=1\rx=1") << QByteArray("[B]\ry=2\r[A]\rK=v\rx=1");
        QTest::newRow("CR, new section") << QByteArray("[B]\ry=2\r") << QByteArray("[B]\ry=2\r[A]\rK=v\r");
    }

    void writeText()
    {
        QFETCH(QByteArray, before);
        QFETCH(QByteArray, after);
        QCOMPARE(IniText::Write(before, "A", "K", "v"), after);
    }

    // Keys written in one pass give what writing them one after another
    // gives, on random texts of every line ending, new and existing keys,
    // keys written twice, names in another letter case.
    void writeManyAtOnce()
    {
        QRandomGenerator rng(11);
        static const char kText[] = {'[', ']', '=', ';', '\r', '\n', ' ', 'a', 'A', 'k', 'K', 'v'};
        static const char* const kNames[] = {"a", "A", "k", "K", "b"};
        for (int round = 0; round < 20000; ++round) {
            QByteArray text;
            for (int n = rng.bounded(40); n > 0; --n)
                text += kText[rng.bounded(int(sizeof kText))];
            QList<IniText::Entry> entries;
            QByteArray oneByOne = text;
            for (int n = 1 + rng.bounded(4); n > 0; --n) {
                const IniText::Entry e{kNames[rng.bounded(5)], kNames[rng.bounded(5)], QByteArray::number(n)};
                entries.append(e);
                oneByOne = IniText::Write(oneByOne, e.section, e.key, e.value);
            }
            QVERIFY2(IniText::Write(text, entries) == oneByOne, text.toHex(' ').constData());
        }
    }

    void propertyMessages_data()
    {
        QTest::addColumn<int>("missing");      // 0 the name, 1 the section, 2 the key
        QTest::addColumn<QString>("message");  // on reading; writing adds a period but for the name
        QTest::newRow("no name") << 0 << "Name property must be set first";
        QTest::newRow("no section") << 1 << "Section property must be set first";
        QTest::newRow("no key") << 2 << "Key property must be set first";
    }

    void propertyMessages()
    {
        QFETCH(int, missing);
        QFETCH(QString, message);
        ScriptedPrompts prompts;
        CIniFile ini = Bound(missing == 2 ? "" : "K", missing == 1 ? "" : "S", missing == 0 ? "" : "t.ini");
        QCOMPARE(ini.GetStringValue(QStringLiteral("default")), QString());
        QCOMPARE(ini.GetIntegerValue(7), short(0));
        ini.SetStringValue(QStringLiteral("v"));
        QCOMPARE(prompts.messages.size(), 3);
        for (int i = 0; i < 3; ++i) {
            QCOMPARE(prompts.messages[i].title, QStringLiteral("CIniFile Error"));
            QCOMPARE(prompts.messages[i].icon, PromptIcon::Critical);
            QCOMPARE(prompts.messages[i].text, message + (i == 2 && missing ? "." : ""));
        }
        QVERIFY(QDir(gAppFolder).entryList(QDir::Files).isEmpty());  // nothing written
    }

    void nameIsBoundOnce()
    {
        ScriptedPrompts prompts;
        CIniFile ini;
        ini.Name(QStringLiteral("first.ini"));
        ini.Name(QStringLiteral("second.ini"));
        QCOMPARE(prompts.messages.size(), 1);
        QCOMPARE(prompts.lastMessage().text,
                 "This IniFile Object is already in use by " + gAppFolder + "first.ini\r\nCreate a new object.");
        QCOMPARE(prompts.lastMessage().icon, PromptIcon::Exclamation);
        QCOMPARE(ini.FullPath(), gAppFolder + QStringLiteral("first.ini"));
    }

    void integerValues_data()
    {
        QTest::addColumn<QByteArray>("stored");
        QTest::addColumn<int>("expected");
        QTest::addColumn<bool>("reported");
        QTest::newRow("leading digits") << QByteArray("K=12abc") << 12 << false;
        QTest::newRow("missing key gives default") << QByteArray("X=1") << 7 << false;
        QTest::newRow("largest 16-bit number") << QByteArray("K=32767") << 32767 << false;
        QTest::newRow("one past it") << QByteArray("K=32768") << 0 << true;
        QTest::newRow("huge") << QByteArray("K=99999999999999999999") << 0 << true;
    }

    void integerValues()
    {
        QFETCH(QByteArray, stored);
        QFETCH(int, expected);
        QFETCH(bool, reported);
        QVERIFY(FileBytes::Write(path(), "[S]\n" + stored + "\n"));
        ScriptedPrompts prompts;
        CIniFile ini = Bound();
        QCOMPARE(int(ini.GetIntegerValue(7)), expected);
        QCOMPARE(prompts.messages.size(), reported ? 1 : 0);
        if (reported)
            QCOMPARE(prompts.lastMessage().title, QStringLiteral("Unexpected Error in cIniFile.GetIntegerValue()"));
    }

    // A file that cannot be used gives defaults and is never replaced, nor
    // left half-written. The refused write is reported once for all writes
    // of the object, naming the step the system refused, and the values not
    // saved go to the detail log, or into the message when that cannot be
    // written either.
    void refusedWrites_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("reason");  // @ the file's path, # its folder
        const auto row = [](const char* name, const char* kind, const char* reason) {
            QTest::newRow(name) << QString::fromUtf8(kind) << QString::fromUtf8(reason);
        };
        row("a file that cannot be read", "unreadable", "Cannot save @: it cannot be read");
        row("disk full", "full", "Cannot save @: File too large");
        row("folder cannot be made", "below a file", "Cannot create the folder # to save test.ini in: Not a directory");
        row("read-only folder", "read-only",
            "Cannot save @: no file may be written in the folder # (Permission denied)");
        row("read-only file", "read-only file", "Cannot save @: the file is read-only");
    }

    void refusedWrites()
    {
        QFETCH(QString, kind);
        QFETCH(QString, reason);
        const QByteArray before = "[S]\nK=old\n" + QByteArray(4096, ';') + '\n';
        const bool fileThere = kind == "full" || kind == "read-only file" || kind == "unreadable";
        if (kind == "below a file") {
            QVERIFY(FileBytes::Write(gAppFolder + "file", "x"));
            gAppFolder += "file/sub/";
        }
        QVERIFY(!fileThere || FileBytes::Write(path(), before));
        ScriptedPrompts prompts;
        CIniFile ini = Bound();
        QCOMPARE(UseRefused(ini, kind, gAppFolder), fileThere && kind != "unreadable" ? "old" : "d");
        QCOMPARE(FileBytes::Read(path()), fileThere ? before : QByteArray());
        QCOMPARE(prompts.messages.size(), 1);
        QCOMPARE(prompts.lastMessage().title, QStringLiteral("Unexpected Error in cIniFile.SetStringValue()"));
        const QString text = prompts.lastMessage().text;
        QVERIFY2(text.contains("Error: " + reason.replace(u'@', path()).replace(u'#', gAppFolder)), qPrintable(text));
        // Where it goes, the log or the message, the error report decides.
        const QByteArray unsaved = ("Not saved to " + path() + ":\r\n[S]\r\nK=v\r\n").toUtf8();
        QVERIFY2((text.toUtf8() + FileBytes::Read(gAppFolder + "ERR_DETAIL.TXT")).contains(unsaved), qPrintable(text));
        // No temporary file is left behind.
        QStringList left =
            QDir(gAppFolder).entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot | QDir::Hidden);
        left.removeOne(QStringLiteral("test.ini"));
        left.removeOne(QStringLiteral("ERR_DETAIL.TXT"));
        QVERIFY2(left.isEmpty(), qPrintable(left.join(u' ')));
    }

    // Junk bytes and a 10 MB value: the value is read whole, and writing
    // another key keeps every byte before it.
    void junkAndHugeLines()
    {
        QByteArray junk;
        for (int i = 0; i < 4096; ++i)
            junk.append(char(i * 7919 % 256));
        const QByteArray kept = junk + "\n[S]\nBig=" + QByteArray(10 * 1024 * 1024, 'z') + "\n";
        QVERIFY(FileBytes::Write(path(), kept + "K=1\n"));
        ScriptedPrompts prompts;
        CIniFile ini = Bound(QStringLiteral("Big"));
        QCOMPARE(ini.GetStringValue(QString()).size(), 10 * 1024 * 1024);
        ini.Key(QStringLiteral("K"));
        ini.SetStringValue(QString::fromUtf8("ä 2"));
        QCOMPARE(ini.GetStringValue(QString()), QString::fromUtf8("ä 2"));
        QCOMPARE(FileBytes::Read(path()), kept + "K=\xc3\xa4 2\n");
        QVERIFY(prompts.messages.isEmpty());
        QCOMPARE(modVantrel::LastDllError(), 0);
    }
};

QTEST_GUILESS_MAIN(tst_IniFile)
#include "tst_inifile.moc"
