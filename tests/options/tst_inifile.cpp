#include "app/Globals.h"
#include "options/CIniFile.h"
#include "options/IniText.h"
#include "support/ScriptedPrompts.h"

#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

using namespace modVantrel;

namespace {

QByteArray ReadAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void WriteAll(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

}  // namespace

class tst_IniFile : public QObject {
    Q_OBJECT
private:
    QTemporaryDir m_folder;
    QString path() const { return gAppFolder + QStringLiteral("test.ini"); }

private slots:
    void init()
    {
        gAppFolder = m_folder.path() + QLatin1Char('/');
        QFile::remove(path());
    }

    void readText_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<QByteArray>("section");
        QTest::addColumn<QByteArray>("key");
        QTest::addColumn<QVariant>("expected");  // null: absent
        const QByteArray basic = "[Compare]\nIgnoreCase=True\nFileOne = /a b/c \n[Grids]\nFontSize=12\n";
        QTest::newRow("plain") << basic << QByteArray("Compare") << QByteArray("IgnoreCase") << QVariant("True");
        QTest::newRow("case of section and key") << basic << QByteArray("cOMPARE") << QByteArray("ignorecase")
                                                 << QVariant("True");
        QTest::newRow("blanks around value trimmed") << basic << QByteArray("Compare") << QByteArray("FileOne")
                                                     << QVariant("/a b/c");
        QTest::newRow("key of another section") << basic << QByteArray("Compare") << QByteArray("FontSize")
                                                << QVariant();
        QTest::newRow("missing section") << basic << QByteArray("Form") << QByteArray("X") << QVariant();
        QTest::newRow("CRLF") << QByteArray("[S]\r\nK=v\r\n") << QByteArray("S") << QByteArray("K") << QVariant("v");
        QTest::newRow("quotes removed") << QByteArray("[S]\nK=\"a b\"\n") << QByteArray("S") << QByteArray("K")
                                        << QVariant("a b");
        QTest::newRow("comment is no key") << QByteArray("[S]\n;K=1\nK=2\n") << QByteArray("S") << QByteArray("K")
                                           << QVariant("2");
        QTest::newRow("first of duplicates") << QByteArray("[S]\nK=1\nK=2\n") << QByteArray("S") << QByteArray("K")
                                             << QVariant("1");
        QTest::newRow("equals sign in value") << QByteArray("[S]\nK=a=b\n") << QByteArray("S") << QByteArray("K")
                                              << QVariant("a=b");
        QTest::newRow("empty value") << QByteArray("[S]\nK=\n") << QByteArray("S") << QByteArray("K") << QVariant("");
    }

    void readText()
    {
        QFETCH(QByteArray, text);
        QFETCH(QByteArray, section);
        QFETCH(QByteArray, key);
        QFETCH(QVariant, expected);
        const std::optional<QByteArray> value = IniText::Read(text, section, key);
        QCOMPARE(value.has_value(), !expected.isNull());
        if (value)
            QCOMPARE(QString::fromUtf8(*value), expected.toString());
    }

    void writeText_data()
    {
        QTest::addColumn<QByteArray>("before");
        QTest::addColumn<QByteArray>("section");
        QTest::addColumn<QByteArray>("key");
        QTest::addColumn<QByteArray>("after");
        QTest::newRow("new file") << QByteArray() << QByteArray("S") << QByteArray("K") << QByteArray("[S]\nK=v\n");
        QTest::newRow("replace in place, other lines kept")
            << QByteArray("; note\n[s]\nk=old\nother=1\n") << QByteArray("S") << QByteArray("K")
            << QByteArray("; note\n[s]\nK=v\nother=1\n");
        QTest::newRow("new key after last key, blank kept")
            << QByteArray("[A]\nx=1\n\n[B]\ny=2\n") << QByteArray("A") << QByteArray("K")
            << QByteArray("[A]\nx=1\nK=v\n\n[B]\ny=2\n");
        QTest::newRow("new section, no final newline")
            << QByteArray("[A]\nx=1") << QByteArray("B") << QByteArray("K") << QByteArray("[A]\nx=1\n[B]\nK=v\n");
        QTest::newRow("CRLF kept") << QByteArray("[A]\r\nx=1\r\n") << QByteArray("A") << QByteArray("K")
                                   << QByteArray("[A]\r\nx=1\r\nK=v\r\n");
        QTest::newRow("key in last line without newline")
            << QByteArray("[A]\nx=1") << QByteArray("A") << QByteArray("K") << QByteArray("[A]\nx=1\nK=v\n");
        QTest::newRow("bytes of other lines untouched")
            << QByteArray("\xff\xfe junk\n[A]\nK=1\n") << QByteArray("A") << QByteArray("K")
            << QByteArray("\xff\xfe junk\n[A]\nK=v\n");
    }

    void writeText()
    {
        QFETCH(QByteArray, before);
        QFETCH(QByteArray, section);
        QFETCH(QByteArray, key);
        QFETCH(QByteArray, after);
        QCOMPARE(IniText::Write(before, section, key, "v"), after);
    }

    // Writing random values to random keys and reading them all back gives
    // what was written last for each key, whatever was in the file before.
    void roundTrip()
    {
        QRandomGenerator random(20261206);
        const QStringList sections{QStringLiteral("Compare"), QStringLiteral("grids"), QStringLiteral("Form")};
        const QStringList keys{QStringLiteral("FileOne"), QStringLiteral("a"), QStringLiteral("Key With Space")};
        QMap<QString, QString> expected;
        WriteAll(path(), "; hand-written comment\n\xc3 stray bytes\n[Other]\nx=1\n");
        ScriptedPrompts prompts;
        for (int i = 0; i < 200; ++i) {
            const QString section = sections.at(random.bounded(sections.size()));
            const QString key = keys.at(random.bounded(keys.size()));
            QString value;
            const int length = random.bounded(i % 50 == 0 ? 2000 : 20);
            for (int c = 0; c < length; ++c)
                value += QChar(u" abcXYZ/\\=;[]äö日"[random.bounded(16)]);
            value = value.trimmed();
            CIniFile ini;
            ini.Name(QStringLiteral("test.ini"));
            ini.Section(section);
            ini.Key(key);
            ini.SetStringValue(value);
            expected[section.toLower() + QLatin1Char('|') + key.toLower()] = value;
        }
        for (auto it = expected.cbegin(); it != expected.cend(); ++it) {
            const QStringList parts = it.key().split(QLatin1Char('|'));
            CIniFile ini;
            ini.Name(QStringLiteral("test.ini"));
            ini.Section(parts[0].toUpper());
            ini.Key(parts[1]);
            QCOMPARE(ini.GetStringValue(QStringLiteral("<default>")),
                     it.value().isEmpty() ? QStringLiteral("<default>") : it.value());
        }
        QVERIFY(ReadAll(path()).startsWith("; hand-written comment\n\xc3 stray bytes\n[Other]\nx=1\n"));
        QVERIFY(prompts.messages.isEmpty());
    }

    void propertyMessages_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("section");
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("readMessage");
        QTest::addColumn<QString>("writeMessage");
        QTest::newRow("no name") << "" << "S" << "K" << "Name property must be set first"
                                 << "Name property must be set first";
        QTest::newRow("no section") << "t.ini" << "" << "K" << "Section property must be set first"
                                    << "Section property must be set first.";
        QTest::newRow("no key") << "t.ini" << "S" << "" << "Key property must be set first"
                                << "Key property must be set first.";
    }

    void propertyMessages()
    {
        QFETCH(QString, name);
        QFETCH(QString, section);
        QFETCH(QString, key);
        QFETCH(QString, readMessage);
        QFETCH(QString, writeMessage);
        ScriptedPrompts prompts;
        CIniFile ini;
        if (!name.isEmpty())
            ini.Name(name);
        ini.Section(section);
        ini.Key(key);
        QCOMPARE(ini.GetStringValue(QStringLiteral("default")), QString());
        QCOMPARE(ini.GetIntegerValue(7), short(0));
        ini.SetStringValue(QStringLiteral("v"));
        QCOMPARE(prompts.messages.size(), 3);
        for (int i = 0; i < 3; ++i) {
            QCOMPARE(prompts.messages[i].title, QStringLiteral("CIniFile Error"));
            QCOMPARE(prompts.messages[i].icon, PromptIcon::Critical);
            QCOMPARE(prompts.messages[i].text, i < 2 ? readMessage : writeMessage);
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
        QCOMPARE(prompts.lastMessage().text, QStringLiteral("This IniFile Object is already in use by ") + gAppFolder
                                                 + QStringLiteral("first.ini\r\nCreate a new object."));
        QCOMPARE(prompts.lastMessage().icon, PromptIcon::Exclamation);
        QCOMPARE(ini.FullPath(), gAppFolder + QStringLiteral("first.ini"));
    }

    void integerValues_data()
    {
        QTest::addColumn<QByteArray>("stored");
        QTest::addColumn<int>("expected");
        QTest::addColumn<int>("reports");
        QTest::newRow("number") << QByteArray("K=42") << 42 << 0;
        QTest::newRow("leading digits") << QByteArray("K=12abc") << 12 << 0;
        QTest::newRow("no digits") << QByteArray("K=abc") << 0 << 0;
        QTest::newRow("missing key gives default") << QByteArray("X=1") << 7 << 0;
        QTest::newRow("too large for 16 bits") << QByteArray("K=40000") << 0 << 1;
        QTest::newRow("huge") << QByteArray("K=99999999999999999999") << 0 << 1;
    }

    void integerValues()
    {
        QFETCH(QByteArray, stored);
        QFETCH(int, expected);
        QFETCH(int, reports);
        WriteAll(path(), "[S]\n" + stored + "\n");
        ScriptedPrompts prompts;
        CIniFile ini;
        ini.Name(QStringLiteral("test.ini"));
        ini.Section(QStringLiteral("S"));
        ini.Key(QStringLiteral("K"));
        QCOMPARE(int(ini.GetIntegerValue(7)), expected);
        QCOMPARE(prompts.messages.size(), reports);
        if (reports)
            QCOMPARE(prompts.lastMessage().title, QStringLiteral("Unexpected Error in cIniFile.GetIntegerValue()"));
    }

    // A file that cannot be used gives defaults and is never replaced; the
    // refused write is reported, once for all writes of the object.
    void unusableFile()
    {
        ScriptedPrompts prompts;
        QVERIFY(QDir(gAppFolder).mkdir(QStringLiteral("dir.ini")));
        CIniFile folder;
        folder.Name(QStringLiteral("dir.ini"));
        folder.Section(QStringLiteral("S"));
        folder.Key(QStringLiteral("K"));
        QCOMPARE(folder.GetStringValue(QStringLiteral("d")), QStringLiteral("d"));
        folder.SetStringValue(QStringLiteral("v"));
        folder.Key(QStringLiteral("L"));
        folder.SetStringValue(QStringLiteral("w"));
        QVERIFY(QFileInfo(gAppFolder + QStringLiteral("dir.ini")).isDir());
        QCOMPARE(prompts.messages.size(), 1);
        QCOMPARE(prompts.lastMessage().title, QStringLiteral("Unexpected Error in cIniFile.SetStringValue()"));
        QVERIFY2(prompts.lastMessage().text.contains(QStringLiteral("Cannot save ") + gAppFolder + QStringLiteral("dir.ini")),
                 qPrintable(prompts.lastMessage().text));
    }

    void junkAndHugeLines()
    {
        QByteArray junk;
        QRandomGenerator random(7);
        for (int i = 0; i < 4096; ++i)
            junk.append(static_cast<char>(random.bounded(256)));
        const QByteArray huge(10 * 1024 * 1024, 'z');
        WriteAll(path(), junk + "\n[S]\nBig=" + huge + "\nK=1\n");
        ScriptedPrompts prompts;
        CIniFile ini;
        ini.Name(QStringLiteral("test.ini"));
        ini.Section(QStringLiteral("S"));
        ini.Key(QStringLiteral("Big"));
        QCOMPARE(ini.GetStringValue(QString()).size(), huge.size());
        ini.Key(QStringLiteral("K"));
        ini.SetStringValue(QStringLiteral("2"));
        QCOMPARE(ini.GetStringValue(QString()), QStringLiteral("2"));
        QVERIFY(ReadAll(path()).startsWith(junk + "\n[S]\nBig=" + huge + "\n"));
    }
};

QTEST_GUILESS_MAIN(tst_IniFile)
#include "tst_inifile.moc"
