// vantrel-diff -r --html on generated pairs of trees, read as a reader reads
// the page: its rows and the exit code against what `diff -rq` says of the
// same trees, a section for each pair diff does not call binary showing the
// lines diff changes (coloured) and the 3 lines around them, and the page
// as headless chromium builds and prints it.

#include "DiffRun.h"
#include "support/Chromium.h"

#include <QRegularExpression>
#include <QTest>

#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

namespace {

using Match = QRegularExpressionMatch;

// What a shell command run in `folder` writes; names go as bytes.
QByteArray Output(const QString& folder, const QByteArray& command)
{
    std::FILE* p = ::popen(("cd '" + QFile::encodeName(folder) + "' && " + command).constData(), "r");
    QByteArray out(1 << 16, '\0');
    out.truncate(p ? qsizetype(std::fread(out.data(), 1, std::size_t(out.size()), p)) : 0);
    return p && ::pclose(p) >= 0 ? out : QByteArray();
}

// "PATH=TEXT" percent-encoded, "PATH/" a folder, TEXT "#N" the lines 1 to
// N, "#N/K" with line K changed; a leading "!" locks the file.
void Put(const QString& root, const QString& entry)
{
    const bool locked = entry.startsWith(u'!'), folder = entry.endsWith(u'/');
    const QByteArray name = QByteArray::fromPercentEncoding(entry.section(u'=', 0, 0).mid(locked).toLatin1());
    const std::filesystem::path path = (QFile::encodeName(root) + '/' + name).toStdString();
    std::filesystem::create_directories(folder ? path : path.parent_path());
    QByteArray text = QByteArray::fromPercentEncoding(entry.section(u'=', 1).toLatin1());
    if (text.startsWith('#')) {
        const QList<QByteArray> n = text.mid(1).split('/');
        text.clear();
        for (int line = 1; line <= n[0].toInt(); ++line)
            text += (n.size() > 1 && line == n[1].toInt() ? "changed " : "") + QByteArray::number(line) + '\n';
    }
    std::FILE* f = folder ? nullptr : std::fopen(path.c_str(), "wb");
    QVERIFY(folder || (f && std::fwrite(text.data(), 1, std::size_t(text.size()), f) == std::size_t(text.size())));
    QVERIFY(folder || (std::fclose(f) == 0 && (!locked || ::chmod(path.c_str(), 0) == 0)));
}

// The page's entries as "state|path" (the state's words before any detail,
// the path's bytes with \xHH read back), and the anchors the paths link to.
QStringList PageRows(const QByteArray& html, QMap<QByteArray, QString>& links)
{
    static const QRegularExpression row(R"re(<tr class="\w+"><td class="p">(?:<a href="#(\w+)">)?(.*?)(?:</a>)?</td>)re"
                                        R"re(<td class="s">(.*?)(?::|;| \(|</td>))re");
    QStringList rows;
    for (auto it = row.globalMatch(QString::fromLatin1(html)); it.hasNext();) {
        const Match m = it.next();
        QString path = m.captured(2).chopped(m.captured(2).endsWith(u'/'));
        for (qsizetype at; (at = path.indexOf(QStringLiteral("\\x"))) >= 0;)
            path.replace(at, 4, QChar(path.mid(at + 2, 2).toInt(nullptr, 16)));
        rows << m.captured(3) + u'|' + path;
        links[path.toLatin1()] = m.captured(1);
    }
    rows.sort();
    return rows;
}

// diff -rq's lines in the same words.
QStringList DiffRows(const QByteArray& out, const QByteArray& err)
{
    static const QRegularExpression files("^Files a/(.*) and b/\\1 differ$"), only("^Only in ([ab])/?(.*): (.*)$"),
        kinds("^File a/(.*) is a .* while file b/\\1 is a .*$"), trouble("^diff: [ab]/(.*): .*$");
    QStringList rows;
    for (const QString& line : QString::fromLatin1(out + err).split(u'\n', Qt::SkipEmptyParts)) {
        Match m;
        if ((m = files.match(line)).hasMatch())
            rows << "different|" + m.captured(1);
        else if ((m = only.match(line)).hasMatch())
            rows << (m.captured(1) == "a" ? "only in Folder One|" : "only in Folder Two|")
                        + (m.captured(2).isEmpty() ? "" : m.captured(2) + '/') + m.captured(3);
        else if ((m = kinds.match(line)).hasMatch() || (m = trouble.match(line)).hasMatch())
            rows << (line.startsWith("diff:") ? "cannot be compared|" : "of different kinds|") + m.captured(1);
        else
            rows << "unread: " + line;
    }
    rows.sort();
    return rows;
}

// A changed text file (a change in the middle, two near the ends), a binary
// pair, a one-sided file and folder, a file against a folder, a name that
// is not UTF-8, and an identical file.
const QStringList kEveryKind = QString("a/sub/notes.txt=#40/20 b/sub/notes.txt=#40 a/sub/two.txt=#10/1 "
                                       "b/sub/two.txt=#12/9 a/bin.dat=x%00y b/bin.dat=x%00z a/only.txt=hi b/new/ "
                                       "b/new/in.txt=i a/thing=t b/thing/ a/caf%E9.txt=caf%0A b/caf%E9.txt=cafe%0A "
                                       "a/same=s b/same=s")
                                   .split(u' ');

}  // namespace

class tst_FolderReport : public QObject, DiffRun::Folder {
    Q_OBJECT

    // Writes the trees a and b, and runs diff and vantrel-diff on them as a
    // user to whom a locked file is unreadable (not root, who reads it).
    std::pair<Outcome, Outcome> Compare(const QStringList& entries)
    {
        std::filesystem::remove_all(m_dir.filePath("a").toStdString());
        std::filesystem::remove_all(m_dir.filePath("b").toStdString());
        ::chmod(QFile::encodeName(m_dir.path()).constData(), 0755);
        for (const QString& entry : QStringList{"a/", "b/"} + entries)
            Put(m_dir.path(), entry);
        const QStringList as{"--reuid=65534", "--regid=65534", "--clear-groups"};
        const auto run = [&](const QString& program, const QStringList& args) {
            return ::geteuid() == 0 ? Run("setpriv", as + QStringList{program} + args) : Run(program, args);
        };
        return {run("diff", {"-rq", "a", "b"}), run(m_program, {"-r", "--html", "a", "b"})};
    }

    // One side of a section: the line numbers shown, coloured or plain, are
    // those diff's script `pair` changes and those within 3 of a change.
    static void CheckSide(const QString& section, const QByteArray& pair, int side, qsizetype lines)
    {
        static const QRegularExpression cell(R"re(<td class="n">(\d*)</td><td class="t ?(\w?)">)re"),
            command("^(\\d+)(?:,(\\d+))?([acd])(\\d+)(?:,(\\d+))?$", QRegularExpression::MultilineOption);
        QList<int> changed, near, shown[2], expected[2];  // lines doubled; 2n+1 the gap after line n
        for (auto it = command.globalMatch(QString::fromLatin1(pair)); it.hasNext();) {
            const Match m = it.next();
            const int first = m.captured(1 + 3 * side).toInt(), last = m.captured(2 + 3 * side).toInt();
            const bool none = m.captured(3) == (side ? "d" : "a");  // lines only the other side has
            if (none)
                near << 2 * first + 1;
            for (int n = first; !none && n <= std::max(first, last); ++n)
                changed << 2 * n, near << 2 * n;
        }
        QList<Match> cells;  // File One's and File Two's in turn
        for (auto it = cell.globalMatch(section); it.hasNext();)
            cells << it.next();
        for (qsizetype k = side; k < cells.size(); k += 2)
            if (!cells[k].captured(1).isEmpty())
                shown[cells[k].captured(2).isEmpty()] << cells[k].captured(1).toInt();
        for (int n = 1; n <= lines; ++n) {
            const bool isChanged = changed.contains(2 * n);
            if (isChanged || std::any_of(near.begin(), near.end(), [n](int a) { return std::abs(2 * n - a) <= 6; }))
                expected[!isChanged] << n;
        }
        QCOMPARE(shown[0], expected[0]);
        QCOMPARE(shown[1], expected[1]);
    }

private slots:
    void report_data()
    {
        QTest::addColumn<QStringList>("entries");
        QTest::newRow("the same trees") << QStringList{"a/s=x", "b/s=x", "a/d/f=#5", "b/d/f=#5", "a/e/", "b/e/"};
        QTest::newRow("every kind of difference") << kEveryKind;
        QTest::newRow("an unreadable file") << QStringList{"a/locked=abc", "!b/locked=abd", "a/d/t=#9/4", "b/d/t=#9"};
    }
    void report()
    {
        QFETCH(QStringList, entries);
        const auto [gnu, ours] = Compare(entries);
        QCOMPARE(ours.code, gnu.code);
        QMap<QByteArray, QString> links;
        const QStringList rows = PageRows(ours.out, links);
        QCOMPARE(rows, DiffRows(gnu.out, gnu.err));
        for (const QString& row : rows) {
            const QByteArray path = row.section(u'|', 1).toLatin1();
            const QByteArray pair =
                row.startsWith("different|") ? Output(m_dir.path(), "diff 'a/" + path + "' 'b/" + path + "'") : "";
            QCOMPARE(links[path].isEmpty(), pair.isEmpty() || pair.startsWith("Binary files"));
            const QString section = QString::fromLatin1(ours.out).section("<section id=\"" + links[path] + "\">", 1);
            for (int side = 0; side < 2 && !links[path].isEmpty(); ++side) {
                const QByteArray lines =
                    Output(m_dir.path(), "awk 'END { print NR }' '" + QByteArray(side ? "b/" : "a/") + path + "'");
                CheckSide(section.section("</section>", 0, 0), pair, side, lines.trimmed().toInt());
            }
        }
    }

    // Chromium builds the page with a row for each of diff's lines, and
    // prints it.
    void inABrowser()
    {
        QVERIFY2(!Chromium::Program().isEmpty(), "chromium is missing: scripts/test installs it");
        const auto [gnu, ours] = Compare(kEveryKind);
        const QString page = Write("page.html", ours.out), pdf = m_dir.filePath("page.pdf");
        const QByteArray dom = Chromium::Run(m_dir.filePath("profile"), {"--dump-dom"}, page);
        const QByteArray entries = dom.mid(dom.indexOf("id=\"entries\""));
        QCOMPARE(entries.left(entries.indexOf("</table>")).count("<tr class="), gnu.out.count('\n'));
        QByteArray errors;
        (void)Chromium::Run(m_dir.filePath("profile"), {"--no-pdf-header-footer", "--print-to-pdf=" + pdf}, page,
                            &errors);
        QVERIFY2(FileBytes::Read(pdf).startsWith("%PDF"), errors.constData());
    }

    void cleanupTestCase()
    {
        std::filesystem::remove_all(m_dir.filePath("a").toStdString());
        std::filesystem::remove_all(m_dir.filePath("b").toStdString());
    }
};

QTEST_GUILESS_MAIN(tst_FolderReport)
#include "tst_FolderReport.moc"
