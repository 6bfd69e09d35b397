// The .gitignore rules: rules that are easy to get wrong, and random trees
// whose files kept are compared with the files git itself does not ignore.

#include "engine/GitIgnore.h"

#include <QProcess>
#include <QScopeGuard>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <algorithm>
#include <filesystem>
#include <fstream>
#include <map>
#include <random>
#include <set>

namespace fs = std::filesystem;

namespace {

// Names of files and folders, and the stuff of the patterns over them.
const std::vector<std::string> kNames{"a",       "b",       "ab", "ba", "x.o", "keep.o",   "y.log",
                                      ".hidden", "my file", "x ", "#h", "!x",  "\xE9t\xE9"};

std::string RandomPattern(std::mt19937& random)
{
    const auto name = [&] { return kNames[random() % kNames.size()]; };
    switch (random() % 19) {
    case 0: return name();
    case 1: return random() % 2 ? "*.o" : "*.log";
    case 2: return name() + "/";
    case 3: return "/" + name();
    case 4: return name() + "/" + name();
    case 5: return name() + "/**/" + name();
    case 6: return "**/" + name();
    case 7: return name() + "/**";
    case 8: return "!" + RandomPattern(random);
    case 9: return random() % 2 ? "[ab]*" : "[!a]*";
    case 10: return random() % 2 ? "[[:alpha:]]?" : "[a-b].*";
    case 11: return "?" + name().substr(1);
    case 12: return "#" + name();
    case 13: return "";
    case 14: return "\\" + name();  // "\#h", "\!x", or a letter escaped
    case 15: return name() + (random() % 2 ? "  " : "\\ ");
    case 16: return "/" + name() + "*";
    case 17: return "*/" + name();
    default: return name() + "/" + name().substr(0, 1) + "**";
    }
}

// Writes a random tree below `folder`, each file holding its own name;
// `ignores` gets the text of each .gitignore by the folder it is in.
void MakeTree(std::mt19937& random, const fs::path& folder, const std::string& fromRoot, int depth,
              std::map<std::string, std::string>& ignores)
{
    fs::create_directory(folder);
    std::vector<std::string> names = kNames;
    std::shuffle(names.begin(), names.end(), random);
    names.resize(2 + random() % 4);
    for (const std::string& name : names) {
        if (depth < 3 && random() % 3 == 0)
            MakeTree(random, folder / name, fromRoot.empty() ? name : fromRoot + '/' + name, depth + 1, ignores);
        else
            std::ofstream(folder / name, std::ios::binary) << name;
    }
    if (random() % 2 == 0)
        return;
    std::string& text = ignores[fromRoot];
    for (int lines = 1 + random() % 5; lines > 0; --lines)
        text += RandomPattern(random) + '\n';
    std::ofstream(folder / ".gitignore", std::ios::binary) << text;
}

// The files kept below `folder`, found as the folder comparison walks: a
// folder's .gitignore is read before its entries, ignored folders are not
// entered.
void Walk(const fs::path& folder, const std::string& fromRoot, std::shared_ptr<const IgnoreChain> chain,
          std::set<std::string>& kept)
{
    if (std::ifstream in(folder / ".gitignore", std::ios::binary); in)
        chain = IgnoreChain::Extend(chain, fromRoot, std::string(std::istreambuf_iterator<char>(in), {}));
    for (const fs::directory_entry& entry : fs::directory_iterator(folder)) {
        const std::string name = entry.path().filename().string();
        const std::string path = fromRoot.empty() ? name : fromRoot + '/' + name;
        if (name == ".git" || (chain && chain->Ignored(path, entry.is_directory())))
            continue;
        if (entry.is_directory())
            Walk(entry.path(), path, chain, kept);
        else
            kept.insert(path);
    }
}

// `bytes` for a message, the bytes that are not printable ASCII as %XX.
QByteArray Shown(const std::string& bytes)
{
    return QByteArray::fromStdString(bytes).toPercentEncoding(" /*?[]!#\\:\n");
}

}  // namespace

class tst_GitIgnore : public QObject {
    Q_OBJECT

private slots:
    void rules_data()
    {
        QTest::addColumn<QByteArray>("root");    // the root's .gitignore
        QTest::addColumn<QByteArray>("deeper");  // the .gitignore in folder "a"
        QTest::addColumn<QByteArray>("path");
        QTest::addColumn<bool>("isFolder");
        QTest::addColumn<bool>("ignored");
        const auto row = [](const char* name, const char* root, const char* deeper, const char* path, bool isFolder,
                            bool ignored) {
            QTest::newRow(name) << QByteArray(root) << QByteArray(deeper) << QByteArray(path) << isFolder << ignored;
        };
        row("a name at any depth", "foo", "", "x/y/foo", false, true);
        row("a leading / anchors", "/foo", "", "x/foo", false, false);
        row("a middle / anchors", "x/foo", "", "y/x/foo", false, false);
        row("anchored, at its place", "x/foo", "", "x/foo", false, true);
        row("folders only: a file kept", "foo/", "", "foo", false, false);
        row("folders only: a folder", "foo/", "", "foo", true, true);
        row("a negation after wins", "*.o\n!keep.o", "", "keep.o", false, false);
        row("a negation before loses", "!keep.o\n*.o", "", "keep.o", false, true);
        row("a folders-only negation spares no file", "foo\n!foo/", "", "foo", false, true);
        row("* stops at /", "x/*.o", "", "x/y/z.o", false, false);
        row("a leading * stops at /", "*/foo", "", "x/y/foo", false, false);
        row("? is not /", "/a?b", "", "a/b", false, false);
        row("a bracket is not /", "/a[!x]b", "", "a/b", false, false);
        row("**/ leading", "**/foo", "", "x/y/foo", false, true);
        row("/**/ as no folder", "a/**/b", "", "a/b", false, true);
        row("/**/ as two folders", "a/**/b", "", "a/x/y/b", false, true);
        row("/**/ ends at a /", "a/**/b", "", "a/x/yzb", false, false);
        row("/** not the folder itself", "a/**", "", "a", true, false);
        row("/** all below", "a/**", "", "a/x/y", false, true);
        row("** in a name is *", "x/**y", "", "x/a/by", false, false);
        row("** after the literal start crosses /", "x/fo**", "", "x/foo/y", false, true);
        row("\\# escaped", "\\#foo", "", "#foo", false, true);
        row("trailing spaces dropped", "foo  ", "", "foo", false, true);
        row("an escaped trailing space kept", "foo\\  ", "", "foo ", false, true);
        row("CR LF lines", "foo\r\nbar", "", "foo", false, true);
        row("range and class", "[a-c][[:digit:]]", "", "b7", false, true);
        row("classes are ASCII", "[[:alpha:]]", "", "\xE9", false, false);
        row("a negated bracket", "[!a]x", "", "bx", false, true);
        row("] first in a bracket", "[]a]x", "", "]x", false, true);
        row("an unclosed [ matches nothing", "[ab", "", "[ab", false, false);
        row("bytes that are not UTF-8", "*\xE9", "", "t\xE9", false, true);
        row("a deeper negation wins", "*.o", "!*.o", "a/x.o", false, false);
        row("a deeper rule beats a negation", "*.o\n!x.o", "x.o", "a/x.o", false, true);
        row("deeper rules reach no higher", "", "x", "x", false, false);
        row("a deeper / anchors at its folder", "", "/x", "a/b/x", false, false);
        row("a deeper anchored rule", "", "/x", "a/x", false, true);
    }

    void rules()
    {
        QFETCH(QByteArray, root);
        QFETCH(QByteArray, deeper);
        QFETCH(QByteArray, path);
        QFETCH(bool, isFolder);
        auto chain = IgnoreChain::Extend(nullptr, "", root.toStdString());
        chain = IgnoreChain::Extend(chain, "a", deeper.toStdString());
        QTEST(chain && chain->Ignored(path.toStdString(), isFolder), "ignored");
    }

    // Random trees with random .gitignore files at random levels: the files
    // the chain keeps are those git lists as neither tracked nor ignored.
    void againstGit()
    {
        const QString git = QStandardPaths::findExecutable("git");
        if (git.isEmpty())
            QSKIP("git is not installed: the rules are checked against it");
        QTemporaryDir temp;
        QVERIFY(temp.isValid());
        // QDir cannot name the file that is not UTF-8.
        const auto removeTrees = qScopeGuard([&] { fs::remove_all(temp.path().toStdString()); });
        // Only the tree's own .gitignore files count: no user or system config.
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        for (const QString& key : env.keys())
            if (key.startsWith("GIT_"))
                env.remove(key);
        env.insert("HOME", temp.path());
        env.insert("XDG_CONFIG_HOME", temp.path());
        env.insert("GIT_CONFIG_NOSYSTEM", "1");
        for (int round = 0; round < 60; ++round) {
            std::mt19937 random(round);
            const fs::path root = fs::path(temp.path().toStdString()) / ("round" + std::to_string(round));
            std::map<std::string, std::string> ignores;
            MakeTree(random, root, "", 0, ignores);
            QProcess p;
            p.setProcessEnvironment(env);
            p.setWorkingDirectory(QString::fromStdString(root.string()));
            p.start("/bin/sh",
                    {"-c", "\"$0\" init -q --template= && \"$0\" ls-files -z --others --exclude-standard", git});
            QVERIFY(p.waitForFinished(60000) && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0);
            std::set<std::string> byGit, kept;
            for (const QByteArray& path : p.readAllStandardOutput().split('\0'))
                if (!path.isEmpty())
                    byGit.insert(path.toStdString());
            Walk(root, "", nullptr, kept);
            std::vector<std::string> differ;
            std::set_symmetric_difference(byGit.begin(), byGit.end(), kept.begin(), kept.end(),
                                          std::back_inserter(differ));
            QByteArray message = "round " + QByteArray::number(round) + ": ";
            if (!differ.empty())
                message +=
                    Shown(differ[0]) + (byGit.count(differ[0]) ? " kept by git only" : " kept by IgnoreChain only");
            for (const auto& [folder, text] : ignores)
                message += "\n--- " + Shown(folder) + "/.gitignore:\n" + Shown(text);
            QVERIFY2(differ.empty(), message.constData());
        }
    }
};

QTEST_GUILESS_MAIN(tst_GitIgnore)
#include "tst_GitIgnore.moc"
