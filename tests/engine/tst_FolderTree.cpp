// Two folder trees lined up as one: the states of a pure alignment of two
// listings, the order of the differences, and a scan of generated trees on
// disk against what `diff -rq` says of them.

#include "engine/FolderFiles.h"
#include "engine/FolderScan.h"
#include "engine/FolderTree.h"
#include "support/FileBytes.h"
#include "support/Unprivileged.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

#include <atomic>
#include <sys/stat.h>
#include <unistd.h>

using namespace FolderTree;

namespace {

// Entries of a listing written short: "name" a file of 1 byte, "name:N"
// a file of N bytes, "name/" a folder, "name@" a link to a file of 1 byte,
// "name!" an entry that could not be read (a broken link).
std::vector<ListedEntry> Entries(const QStringList& items)
{
    std::vector<ListedEntry> entries;
    for (QString item : items) {
        ListedEntry e;
        e.facts.kind = Kind::File;
        e.facts.size = 1;
        if (item.endsWith(u'/')) {
            e.facts.kind = Kind::Folder;
        } else if (item.endsWith(u'@')) {
            e.facts.link = true;
        } else if (item.endsWith(u'!')) {
            e.facts = {Kind::Unreadable, true, ENOENT};
        } else if (const qsizetype colon = item.indexOf(u':'); colon > 0) {
            e.facts.size = item.mid(colon + 1).toLongLong();
            item = item.left(colon + 1);
        }
        item.chop(item.back().isLetterOrNumber() ? 0 : 1);
        e.name = QByteArray::fromPercentEncoding(item.toLatin1()).toStdString();
        entries.push_back(std::move(e));
    }
    return entries;
}

// A file with its folders.
bool Put(const QString& path, const QByteArray& bytes)
{
    return QDir().mkpath(QFileInfo(path).path()) && FileBytes::Write(path, bytes);
}

// "folder: entries | folder: entries" as a ListedTree.
ListedTree Listed(const QString& text)
{
    ListedTree tree;
    for (const QString& folder : text.split(u'|', Qt::SkipEmptyParts)) {
        const QString path = folder.section(u':', 0, 0).trimmed();
        tree[path.toStdString()] = Entries(folder.section(u':', 1).split(u' ', Qt::SkipEmptyParts));
    }
    return tree;
}

// Every entry in the tree's order as "path=state", then the counts.
QString Shown(const Tree& tree)
{
    QStringList lines;
    std::vector<Id> stack{kRoot};
    while (!stack.empty()) {
        const Id id = stack.back();
        stack.pop_back();
        if (id != kRoot)
            lines << QString::fromLatin1(QByteArray::fromStdString(tree.PathFromRoot(id)).toPercentEncoding("/."))
                         + u'=' + QString::fromUtf8(StateWords(tree.StateOf(id)).data());
        const Node& node = tree.At(id);
        for (Id child = node.firstChild + node.childCount; child > node.firstChild; --child)
            stack.push_back(child - 1);
    }
    QStringList counts;
    for (int s = 0; s < kStateCount; ++s)
        if (tree.Count(static_cast<State>(s)) > 0)
            counts << QString::number(tree.Count(static_cast<State>(s)));
    return lines.join(u' ') + QStringLiteral(" #") + counts.join(u',');
}

}  // namespace

class tst_FolderTree : public QObject {
    Q_OBJECT

private slots:
    void alignment_data()
    {
        QTest::addColumn<QString>("one");
        QTest::addColumn<QString>("two");
        QTest::addColumn<bool>("nameCase");
        QTest::addColumn<QString>("shown");
        const auto row = [](const char* name, const char* one, const char* two, bool nameCase, const char* shown) {
            QTest::newRow(name) << QString::fromUtf8(one) << QString::fromUtf8(two) << nameCase
                                << QString::fromUtf8(shown);
        };
        // Counts are by state in order: pending, identical, ... (see State).
        row("sizes decide only when they differ", ":a:3 b:3", ":a:4 b:3", false, "a=different b=not compared yet #1,1");
        row("one-sided folder, counted once", ":x/ | x:a b/ | x/b:c", ":", false,
            "x=only in Folder One x/a=only in Folder One x/b=only in Folder One x/b/c=only in Folder One #1");
        row("file against folder", ":k", ":k/ | k:z", false, "k=of different kinds #1");
        row("empty folders are identical", ":e/ | e:", ":e/ | e:", false, "e=identical #");
        row("a difference inside shows on every folder above", ":p/ | p:q/ | p/q:f:1 g", ":p/ | p:q/ | p/q:f:2", false,
            "p=different p/q=different p/q/f=different p/q/g=only in Folder One #1,1");
        row("link to a file against the file", ":l@", ":l", false, "l=not compared yet #1");
        row("a broken link", ":l!", ":l", false, "l=cannot be compared #1");
        row("a folder that cannot be read", ":d/", ":d/ | d:", false, "d=cannot be compared #1");
        row("names not UTF-8 keep their bytes", ":caf%E9:1 z", ":caf%E9:2", false,
            "caf%E9=different z=only in Folder One #1,1");
        row("case counts by default", ":A a", ":a", false, "A=only in Folder One a=not compared yet #1,1");
        row("case clash: the same name first, then in order", ":A.txt a.txt b.TXT", ":a.txt B.txt", true,
            "A.txt=only in Folder One a.txt=not compared yet b.TXT=not compared yet #2,1");
        row("case clash: more on one side", ":A a", ":A:2", true, "A=different a=only in Folder One #1,1");
    }
    void alignment()
    {
        QFETCH(QString, one);
        QFETCH(QString, two);
        QFETCH(bool, nameCase);
        Rules rules;
        rules.ignoreNameCase = nameCase;
        QTEST(Shown(BuildTree(Listed(one), Listed(two), rules)), "shown");
    }

    // Two times apart by the tolerance count as the same, one nanosecond more not.
    void sizeAndTime()
    {
        Rules rules;
        rules.by = CompareBy::SizeAndTime;
        const SideFacts a{Kind::File, false, 0, 10, 5'000'000'000};
        SideFacts b = a;
        b.modified += rules.timeTolerance;
        QCOMPARE(FirstState(a, b, rules), State::Identical);
        b.modified += 1;
        QCOMPARE(FirstState(a, b, rules), State::Different);
        b = a;
        b.size += 1;
        QCOMPARE(FirstState(a, b, rules), State::Different);
    }

    // F7 and Shift+F7 stop at each difference of its own, across folders,
    // not at the folders above them nor inside a one-sided folder.
    void nextDifference()
    {
        const Tree tree =
            BuildTree(Listed(":a/ m:1 z/ | a:b:1 c | z:q/ | z/q:r"), Listed(":a/ m:2 z/ | a:b:2 c | z:w/ | z/w:s"), {});
        QStringList forward;
        for (Id at = NextDifference(tree, kRoot, true); at < tree.Size(); at = NextDifference(tree, at, true))
            forward << QString::fromStdString(tree.PathFromRoot(at));
        QCOMPARE(forward.join(u' '), QStringLiteral("a/b m z/q z/w"));
        QStringList backward;
        for (Id at = NextDifference(tree, kRoot, false); at < tree.Size(); at = NextDifference(tree, at, false))
            backward << QString::fromStdString(tree.PathFromRoot(at));
        QCOMPARE(backward.join(u' '), QStringLiteral("z/w z/q m a/b"));
    }

    // The states of a scan of two generated trees are what diff -rq says of
    // them, by bytes and as text with the options that relax it.
    void scanAgainstDiff_data()
    {
        QTest::addColumn<bool>("asText");
        QTest::addColumn<QStringList>("diffOptions");
        QTest::newRow("by content") << false << QStringList{};
        QTest::newRow("as text") << true << QStringList{"-w", "-B", "--strip-trailing-cr"};
    }
    void scanAgainstDiff()
    {
        QFETCH(bool, asText);
        QFETCH(QStringList, diffOptions);
        for (quint32 seed = 1; seed <= 6; ++seed) {
            QTemporaryDir dir;
            QRandomGenerator random(seed);
            MakeTree(dir.path(), random);
            FolderScanSettings settings;
            settings.rules.asText = asText;
            settings.text.lines.ignoreWhiteSpace = asText;
            settings.text.lines.ignoreBlankLines = asText;
            settings.text.lines.ignoreLineEndings = asText;
            const QString one = dir.filePath("a");
            const QString two = dir.filePath("b");
            const Tree tree = Scan(one.toStdString(), two.toStdString(), settings);
            QProcess diff;
            diff.setWorkingDirectory(dir.path());
            diff.start("diff", QStringList{"-rq"} + diffOptions + QStringList{"a", "b"});
            QVERIFY(diff.waitForFinished(60000));
            QCOMPARE(Differences(tree), Said(diff.readAllStandardOutput()));
            QCOMPARE(diff.exitCode(), tree.Count(State::Different) + tree.Count(State::OnlyInOne)
                                                  + tree.Count(State::OnlyInTwo) + tree.Count(State::KindsDiffer)
                                              > 0
                                          ? 1
                                          : 0);
        }
    }

    // A folder that goes while it waits to be listed is an error entry; the
    // scan goes on with the rest.
    void folderDeletedDuringScan()
    {
        QTemporaryDir dir;
        for (const char* side : {"a", "b"})
            for (const char* path : {"/gone/f", "/kept/f"})
                QVERIFY(Put(dir.filePath(QString::fromLatin1(side) + QString::fromLatin1(path)), "x\n"));
        std::atomic<bool> deleted{false};
        const Tree tree = Scan(dir.filePath("a").toStdString(), dir.filePath("b").toStdString(), {}, [&] {
            // Called on the listing thread as the top folder's entries are
            // posted, before any folder below is listed.
            if (!deleted.exchange(true))
                QDir(dir.filePath("b/gone")).removeRecursively();
        });
        QCOMPARE(Shown(tree), QStringLiteral("gone=cannot be compared kept=identical kept/f=identical #1,1"));
    }

    // A fifo, as an entry or where a .gitignore file is read, never holds
    // the scan up: it ends, the fifos told as entries that are not files.
    void fifosDoNotHoldTheScan()
    {
        QTemporaryDir dir;
        for (const char* path : {"a/p", "b/p", "a/.gitignore"})
            QVERIFY(QDir().mkpath(QFileInfo(dir.filePath(path)).path())
                    && ::mkfifo(dir.filePath(path).toLocal8Bit(), 0600) == 0);
        QVERIFY(Put(dir.filePath("b/.gitignore"), "q\n"));
        FolderScanSettings settings;
        settings.honourGitIgnore = true;
        const Tree tree = Scan(dir.filePath("a").toStdString(), dir.filePath("b").toStdString(), settings);
        QCOMPARE(Shown(tree), QStringLiteral(".gitignore=of different kinds p=of different kinds #2"));
    }

    // A file that cannot be read is an error entry, whether or not the
    // sizes already tell that the pair differs (as diff -rq has it).
    void unreadableFiles()
    {
        QTemporaryDir dir;
        for (const auto& [path, bytes] : {std::pair{"a/same", "x\n"}, std::pair{"b/same", "y\n"},
                                          std::pair{"a/sized", "x\n"}, std::pair{"b/sized", "longer\n"}})
            QVERIFY(Put(dir.filePath(path), bytes));
        for (const char* path : {"b/same", "b/sized"})
            QVERIFY(QFile::setPermissions(dir.filePath(path), {}));
        for (const char* path : {".", "a", "b"})
            QVERIFY(QFile::setPermissions(dir.filePath(path), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner
                                                                  | QFile::ReadOther | QFile::ExeOther));
        const Unprivileged nobody;
        const Tree tree = Scan(dir.filePath("a").toStdString(), dir.filePath("b").toStdString(), {});
        QCOMPARE(Shown(tree), QStringLiteral("same=cannot be compared sized=cannot be compared #2"));
    }

    // A link back to a folder above it is followed once, not for ever: the
    // folder it leads to again is an error entry.
    void linkLoops()
    {
        QTemporaryDir dir;
        for (const char* side : {"a", "b"}) {
            QVERIFY(Put(dir.filePath(QString::fromLatin1(side) + "/f"), "x\n"));
            QVERIFY(QFile::link(".", dir.filePath(QString::fromLatin1(side) + "/up")));
        }
        const Tree tree = Scan(dir.filePath("a").toStdString(), dir.filePath("b").toStdString(), {});
        QCOMPARE(Shown(tree), QStringLiteral("f=identical up=cannot be compared #1,1"));
        QCOMPARE(tree.Error(tree.Find("up")), ELOOP);
    }

private:
    // The tree of a scan of two folders, run to its end.
    static Tree Scan(const std::string& one, const std::string& two, FolderScanSettings settings,
                     const std::function<void()>& onWake = {})
    {
        Tree tree(one, two, {FolderFiles::LookAt(one, true), FolderFiles::LookAt(two, true)});
        FolderScan::RunToEnd(tree, std::move(settings), onWake);
        return tree;
    }

    // Two trees of a few folders and files drawn from small sets of names
    // and texts, so that many pairs match, some differ only in blanks or
    // line endings, and some entries stand alone.
    static void MakeTree(const QString& root, QRandomGenerator& random)
    {
        const QList<QByteArray> texts{"a\nb\n", "a \nb\n", "a\r\nb\r\n", "a\n\nb\n", "a\nc\n", QByteArray("x\0y\n", 4)};
        const QStringList names{"f", "g", "h.txt", "k"};
        for (const QString& folder : {QString(), QStringLiteral("d"), QStringLiteral("d/e"), QStringLiteral("s")}) {
            for (const QString& name : names) {
                const qsizetype one = random.bounded(texts.size() + 1);
                const qsizetype two = random.bounded(4) == 0 ? random.bounded(texts.size() + 1) : one;
                for (const auto& [side, text] : {std::pair{"a", one}, std::pair{"b", two}}) {
                    if (text == texts.size())
                        continue;
                    const QString path = root + u'/' + QLatin1String(side) + u'/' + folder + u'/' + name;
                    QVERIFY(Put(path, texts.at(text)));
                }
            }
        }
        // A name that is a folder on one side and a file on the other.
        QVERIFY(QDir(root).mkpath("a/k2/inner"));
        QVERIFY(Put(root + "/b/k2", "k\n"));
    }

    // What the scan found differing, in diff -rq's words and order.
    static QStringList Differences(const Tree& tree)
    {
        QStringList said;
        for (Id id = NextDifference(tree, kRoot, true); id < tree.Size(); id = NextDifference(tree, id, true)) {
            const QString path = QString::fromStdString(tree.PathFromRoot(id));
            switch (tree.At(id).state) {
            case State::OnlyInOne:
            case State::OnlyInTwo: said << QStringLiteral("only ") + path; break;
            default: said << path + u'=' + QString::fromUtf8(StateWords(tree.At(id).state).data());
            }
        }
        said.sort();
        return said;
    }

    // diff -rq's lines in the same words.
    static QStringList Said(const QByteArray& output)
    {
        QStringList said;
        for (const QString& line : QString::fromUtf8(output).split(u'\n', Qt::SkipEmptyParts)) {
            static const QRegularExpression files("^Files a/(.*) and b/\\1 differ$");
            static const QRegularExpression only("^Only in [ab]/?(.*): (.*)$");
            static const QRegularExpression kinds("^File a/(.*) is a .* while file b/\\1 is a .*$");
            if (const QRegularExpressionMatch m = files.match(line); m.hasMatch())
                said << m.captured(1) + QStringLiteral("=different");
            else if (const QRegularExpressionMatch o = only.match(line); o.hasMatch())
                said << QStringLiteral("only ") + (o.captured(1).isEmpty() ? QString() : o.captured(1) + u'/')
                            + o.captured(2);
            else if (const QRegularExpressionMatch k = kinds.match(line); k.hasMatch())
                said << k.captured(1) + QStringLiteral("=of different kinds");
            else
                said << QStringLiteral("unread: ") + line;
        }
        said.sort();
        return said;
    }
};

QTEST_GUILESS_MAIN(tst_FolderTree)
#include "tst_FolderTree.moc"
