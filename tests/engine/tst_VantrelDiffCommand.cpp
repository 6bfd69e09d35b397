// vantrel-diff beside GNU diff: the same exit codes, output and messages
// for the same command line, and on pairs of files the same scripts or
// smaller ones that apply exactly.

#include "DiffRun.h"

#include <QDir>
#include <QDirIterator>
#include <QRegularExpression>
#include <QTest>

#include <algorithm>

using namespace ResultChecker;

class tst_VantrelDiffCommand : public QObject, DiffRun::Folder {
    Q_OBJECT

    // The lines of each file a normal-form script changes, every run of them
    // then moved up as far as equal lines let it: two scripts with the same
    // runs differ only in where they put their blocks.
    static QList<bool> TopmostChanges(const QByteArray& script, const QList<QByteArray>& lines, bool second)
    {
        QList<bool> changed(lines.size() + 1);
        for (const QByteArray& command : script.split('\n')) {
            const qsizetype at = command.indexOf(second ? 'a' : 'd') + command.indexOf('c') + 1;
            Range r;
            if (at > 0 && command[0] <= '9' && ParseRange(second ? command.mid(at + 1) : command.left(at), r)
                && r.last <= lines.size())
                std::fill(changed.begin() + r.first - 1, changed.begin() + r.last, true);
        }
        for (qsizetype i = 0; i < lines.size(); ++i) {
            if (!changed[i] || (i > 0 && changed[i - 1]))
                continue;
            qsizetype start = i, end = i;
            while (changed[end])
                ++end;
            for (; start > 0 && lines[start - 1] == lines[end - 1]; changed[--end] = false) {
                changed[--start] = true;
                while (start > 0 && changed[start - 1])
                    --start;
            }
            i = end;
        }
        return changed;
    }

    // `command` run by vantrel-diff and by diff (or `gnuCommand` by diff),
    // $P naming each: the same exit code, output and messages (with the
    // program's name). Nothing more is run once the test has failed.
    void SameAsDiff(const QString& command, const QString& gnuCommand = {})
    {
        if (QTest::currentTestFailed())
            return;
        const Outcome ours = Shell(m_program, command);
        Outcome gnu = Shell("diff", gnuCommand.isEmpty() ? command : gnuCommand);
        gnu.err.replace("diff", "vantrel-diff");
        if (ours != gnu)
            qWarning().noquote() << command;
        QCOMPARE(ours.code, gnu.code);
        QCOMPARE(ours.out, gnu.out);
        QCOMPARE(ours.err, gnu.err);
    }

    // A report's rows as "L:R:kk": each file's line number (none for a
    // filler) and each cell's colour: 'c' changed, 'o' a line only one file
    // has, 'f' a plain filler, none for a plain line.
    static QStringList ReportRows(const QByteArray& html)
    {
        static const QRegularExpression row(QStringLiteral(
            R"re(<tr><td class="n">(\d*)</td><td class="t ?(\w?)">.*?</td><td class="n">(\d*)</td><td class="t ?(\w?)">)re"));
        QStringList rows;
        for (auto it = row.globalMatch(QString::fromUtf8(html)); it.hasNext();) {
            const QRegularExpressionMatch m = it.next();
            rows << m.captured(1) + ':' + m.captured(3) + ':' + m.captured(2) + m.captured(4);
        }
        return rows;
    }

    // The same rows from GNU diff's groups of lines. A group that diff no
    // longer lists with -B and -I is one they ignore: its rows are plain.
    QStringList DiffRows(const QStringList& options, const QStringList& files)
    {
        const auto groups = [&](const QStringList& args) {
            QStringList formats;
            for (const QString kind : {"changed", "old", "new", "unchanged"})
                formats << QStringLiteral("--%1-group-format=%2 %df %dl %dF %dL\n").arg(kind, kind.left(1));
            return QString::fromUtf8(Run("diff", formats + args + files).out).split('\n', Qt::SkipEmptyParts);
        };
        QStringList relaxed;
        for (qsizetype i = 0; i < options.size(); i += options[i] == "-I" ? 2 : 1)
            relaxed << (options[i] == "-I" || options[i] == "-B" ? QStringList() : QStringList{options[i]});
        const QStringList shown = groups(options);
        QStringList rows;
        for (const QString& group : groups(relaxed)) {
            const QStringList g = group.split(' ');
            const qint64 first[2] = {g[1].toLongLong(), g[3].toLongLong()};
            const qint64 count[2] = {g[2].toLongLong() - first[0] + 1, g[4].toLongLong() - first[1] + 1};
            const QString shade = g[0] == "u" || !shown.contains(group) ? "" : count[0] && count[1] ? "c" : "o";
            const auto line = [&](int side, qint64 k) {
                return k < count[side] ? QString::number(first[side] + k) : QString();
            };
            const auto cell = [&](int side, qint64 k) { return k < count[side] || shade == "c" ? shade : "f"; };
            for (qint64 k = 0; k < std::max(count[0], count[1]); ++k)
                rows << line(0, k) + ':' + line(1, k) + ':' + cell(0, k) + cell(1, k);
        }
        return rows;
    }

private slots:
    void initTestCase()
    {
        QVERIFY2(QFile::exists(m_program), qPrintable(m_program));
        Write("one", "a\nb\nc\nd\ne\nf\ng\nh\ni\nj\n");
        Write("two", "a\nB\nc\nd\ne\nf\ng\nh\ni\nj\nk");
        Write("spaced", "a\nb \nc\nd\ne\nF\ng\nh\ni\nj\n");
        Write("-x", "a\n");
        Write("bin1", QByteArray("a\0b\n", 4));
        Write("bin2", QByteArray("a\0c\n", 4));
        QByteArray big;
        for (int i = 0; i < 20000; ++i)
            big += "line " + QByteArray::number(i % 7000) + "\n";
        Write("big1", big);
        Write("big2", big.mid(1000) + "tail\n");
        Write("tabs1", "a\tb\n\nab\tc\n\tx\r\ny\n\tTab\tlong text that goes past half the width, to\tend\nz\r\r\n");
        Write("tabs2",
              "a\tB\n\nab\tC\n\tx\r\ny\n\tTab\tlong text that goes past half the width, to\tend\nnew\nz\r\r\n");
        QByteArray code = "int main(void)   \n";
        for (int i = 0; i < 30; ++i)
            code += (i == 12 ? "section " : "    x") + QByteArray::number(i) + "\n";
        Write("code1", code);
        Write("code2", code.replace("x5\n", "X5\n").replace("x20", "x"));
        // A changed line under each first character that may start a
        // heading, at the ends of the ranges of letters and just outside.
        QByteArray headings;
        const std::u32string_view starts =
            U"`az{@AZ[$_\xA9\xAA\xAB\xBF\xC0\xD7\xF7\x2C1\x2C2\x2C6\x2D1\x2D2\x2DF\x2E0\x2E4\x2E5\x2EC"
            U"\x2ED\x2EE\x344\x345\x36F\x370\x2000\x2BFF\x2C00\xE000\xF8FF\xF900\xFF20\xFF21\xFF3B\xFF40\xFF41\xFF65"
            U"\xFF66\x1F000\x1FAFF";
        for (const char32_t c : starts)
            headings += QString::fromUcs4(&c, 1).toUtf8() + "\n1\n";
        Write("headings1", headings);
        Write("headings2", headings.replace("\n1\n", "\n2\n"));
        // Lines changed, removed and added at three strides: blocks of
        // every kind, alone and side by side.
        QByteArray many1, many2;
        for (int i = 1; i <= 300; ++i) {
            many1 += "row " + QByteArray::number(i) + '\n';
            if (i % 11 != 0)
                many2 += (i % 7 ? "row " : "ROW ") + QByteArray::number(i) + '\n';
            if (i % 13 == 0)
                many2 += "new " + QByteArray::number(i) + '\n';
        }
        Write("many1", many1);
        Write("many2", many2);
        Write("blanks1", "a\n# old\nb\nc\nd\ne\n");
        Write("blanks2", "a\nb\n\nc\nD\ne\n");
        QVERIFY(QDir(m_dir.path()).mkpath("e3") && QDir(m_dir.path()).mkpath("e4"));
        Write("e3/one", "a\nB\nc\r\n");
    }

    void sameAsDiff_data()
    {
        QTest::addColumn<QStringList>("commands");
        const auto row = [](const char* name, const QStringList& commands) { QTest::newRow(name) << commands; };
        // (Plain normal and unified output of whole pairs is left to pairs.)
        row("options as diff takes them",
            {"$P one two -U0", "$P --unified one two", "$P -u --label 'A B' --label=C one two",
             "$P --ignore-case --ignore-all-space one spaced", "$P -iwu one spaced", "$P --ignore-c one spaced",
             "$P --ignore-space-change --ignore-trailing-space --ignore-tab-expansion --ignore-blank-lines "
             "--strip-trailing-cr --ignore-matching-lines=x one spaced",
             "$P --ignore-t one two", "$P --horizon-lines=9 --speed-large-files one two", "$P -u0 one two",
             "$P -12 -1 -u one two", "$P -u -U1 one two"});
        row("-I that does not compile or matches every line",
            {"$P -I 'a\\{1' one two", "$P -I '' one two", "$P -u -I 'x*' one two"});
        // An ignored change as far from a shown one as the context reaches,
        // and one line nearer: left out, then shown with it.
        row("ignored change beside a shown one",
            {"printf 'a\\nb\\nc\\nd\\ne\\nf\\n' > g1; printf 'a\\nB\\nc\\n#\\nd\\ne\\nf\\n' > g2; "
             "touch -d 2020-01-01 g1 g2; $P -U 1 -I '^#' g1 g2; $P -U 2 -I '^#' g1 g2; $P -c -I '^#' g1 g2"});
        row("operands and standard input",
            {"$P -- -x one", "$P -u --label in - two < one", "cat big1 | $P - big2", "printf 'a\\n' | $P - -",
             "$P -y - one < one", "printf 'a\\n' | $P -y - -", "timeout 20 $P /dev/zero /dev/zero"});
        // Binary files from a pipe are read to the end to tell: the same
        // bytes, and the bytes with a line more on either side. NUL bytes:
        // the last one that makes a file binary, the first that does not.
        row("binary",
            {"$P bin1 bin2", "$P --text bin1 bin2",
             "printf 'a\\0' > z1; cat big1 >> z1; cp z1 z2; echo x >> z2; cat z1 | $P - z1; cat z1 | $P - z2; "
             "cat z2 | $P - z1",
             "printf '\\377\\376a\\0\\n\\0' > w1; printf '\\377\\376b\\0\\n\\0' > w2; $P w1 w2",
             "head -c 4095 big1 > n1; printf '\\0' >> n1; cat big1 >> n1; $P n1 big1",
             "head -c 4096 big1 > n2; printf '\\0' >> n2; cat big1 >> n2; $P n2 big1"});
        // (A name not UTF-8 is removed again: the temporary folder cannot name it.)
        row("file names", {"f=$(printf 'caf\\351'); printf 'a\\n' > \"$f\"; $P \"$f\" one; r=$?; rm \"$f\"; exit $r",
                           "cp -p one 's a'; cp -p two \"$(printf 't\\tb')\"; $P -c 's a' t*b"});
        // A tree however deep is compared; a link back to an ancestor on
        // both sides is a loop, on either side alone it is followed. Links
        // that differ, when not followed, make folders differ.
        row("folders 300 deep, links",
            {"rm -rf e1 e2; p=; for i in $(seq 300); do p=$p/n; done; mkdir -p e1$p e2$p e2/n/one e1/n/two; echo a > "
             "e1$p/f; echo b > e2$p/f; ln -s .. e1/n/up; ln -s .. e2/n/up; ln -s .. e1/n/one; echo x > e2/n/one/f; "
             "ln -s .. e2/n/two; echo y > e1/n/two/f; $P -r e1 e2",
             "rm -rf l1 l2; mkdir l1 l2; ln -s a l1/x; ln -s b l2/x; $P -r --no-dereference l1 l2"});
        row("operands missing or wrong", {"$P one missing", "$P missing1 missing2", "$P", "$P one", "$P one two three",
                                          "$P -z one two", "$P --frobnicate one two", "$P -X missing one two"});
        row("option values wrong",
            {"$P -U x one two", "$P --unified=-1 one two", "$P -U '' one two", "$P --unified=' +5' one two",
             "$P one two -U", "$P one two --label", "$P --text=1 one two", "$P --label a --label b --label c one two",
             "$P -u -e one two", "$P -D A --ifdef=B one two", "$P -y -W 0 one two", "$P --tabsize=0 one two",
             "$P --horizon-lines=-1 one two"});
        // Context lengths whose double does / does not fit in 64 bits, the
        // largest 64-bit value and the first past it (taken as all lines).
        row("context lengths at the 64-bit edges",
            {"$P -U 4611686018427387903 one two", "$P -U 4611686018427387904 one two",
             "$P -U 9223372036854775807 one two", "$P -U 9223372036854775808 one two"});
        // Output forms beyond everyForm's random pairs: the narrowest, and
        // lines of backspaces, periods and tabs cut at a column. The first
        // and last characters of a range of wide ones (a, z), and a line of
        // them cut at the half.
        row("side by side, ed script",
            {"$P -y -W 1 one two",
             "printf 'a\\bb\\tc\\n\\t\\bx\\nabcdefghijklmnopqrstuv\\tw\\bz\\n' > bs; $P -y -W 31 bs one; "
             "$P -y -W 30 -t bs one",
             "a='\\360\\237\\214\\200' z='\\360\\237\\231\\217' w='\\360\\237\\230\\200'; "
             "printf \"$w$w${w}x\\n$a$z\\n\" > wd1; printf \"b\\n$a${z}y\\n\" > wd2; $P -y -W 20 wd1 wd2",
             "printf 'a\\n.\\nb\\n.\\n' > dots; $P -e one dots", "$P -qs one one"});
        row("function headings",
            {"$P -p code1 code2", "$P -u -F '^sec' -p code1 code2", "$P -U 0 -p -L a -L b headings1 headings2"});
        // Tab sizes and widths at the 64-bit edges: blanks beyond any memory,
        // written as they come (the first bytes compared).
        row("tab sizes and widths",
            {"$P -t --tabsize=1 tabs1 tabs2", "$P -t --tabsize=9223372036854775807 tabs1 tabs2 | head -c 3000",
             "$P -y --tabsize=9223372036854775808 tabs1 tabs2 | head -c 3000",
             "$P -y -W 9223372036854775807 one two | head -c 3000"});
        // Files under /proc report a size of 0 whatever they hold: read, not
        // taken for empty or as sized, text and binary (its own command line).
        row("files that report a size of 0",
            {"cat /proc/version > v; $P /proc/version v; echo $?; $P -q v /proc/version; echo $?; "
             "printf '%s\\0' \"$P\" /proc/self/cmdline c > c; $P /proc/self/cmdline c"});
        row("missing file as empty",
            {"$P -u -N missing one", "$P --unidirectional-new-file one missing", "$P -N one two"});
        row("output that cannot be written", {"$P one two > /dev/full", "$P --help > /dev/full", "$P --version >&-",
                                              "$P bin1 bin2 > /dev/full", "$P - - >&- < one"});
        // Colours; the reverse video of paired lines' characters, which
        // diff does not have, is taken out (see pairedCharacters).
        const QString plain = " | sed 's/\\x1b\\[2\\?7m//g'";
        row("color", {"$P --color=always -T one two" + plain, "$P --color=always -U1 -p code1 code2" + plain,
                      "$P --color=always -N -u missing one" + plain, "$P --color one two",
                      "$P --color=never -u one two", "$P --color=yes one two", "$P --color always one two"});
        row("palette", {"$P --color=always --palette='ad=^?:de=\\101\\x42\\e\\_\\q:ln=^a:hd=:rs=1:' -u one two" + plain,
                        "$P --color=always --palette=zz=1 one two", "$P --color=always --palette='ad=\\' one two",
                        "$P --palette=zz one two", "$P --color=always --palette=zz one one"});
    }

    void sameAsDiff()
    {
        QFETCH(QStringList, commands);
        for (const QString& command : commands)
            SameAsDiff(command);
    }

    // Beyond diff: the characters that differ in the lines a change pairs
    // (its first deleted line with its first added one, and so on) in
    // reverse video, as the window marks them; lines left unpaired are not.
    // Here [ and ] stand for it; taken out, the output is diff's.
    void pairedCharacters_data()
    {
        QTest::addColumn<QByteArray>("one");
        QTest::addColumn<QByteArray>("two");
        QTest::addColumn<QString>("options");
        QTest::addColumn<QString>("marked");
        const auto row = [](const char* name, const QByteArray& one, const QByteArray& two, const char* options,
                            const QString& marked) { QTest::newRow(name) << one << two << QString(options) << marked; };
        row("rewritten date", "Version 2, June 1991\n", "Version 3, 29 June 2007\n", "",
            "1c1|< Version [2,] June [1991]|---|> Version [3, 29] June [2007]|");
        row("two lines against one, unified, case ignored", "Xy = 1;\ny = 2;\n", "xY = 70;\n", "-U0 -i -L a -L b",
            "--- a|+++ b|@@ -1,2 +1 @@|-Xy = [1];|-y = 2;|+xY = [70];|");
        row("a character of two bytes, case ignored", "Café NOIR\n", "cafè noir\n", "-i",
            "1c1|< Caf[é] NOIR|---|> caf[è] noir|");
        // Letters past the combining marks' first range are letters still.
        row("a letter inside a Cyrillic word", "мир\n", "мор\n", "", "1c1|< м[и]р|---|> м[о]р|");
        // A word three eighths changed in two places is marked whole; a
        // quarter in two places, or three eighths in one, is not.
        row("words changed in places", "abcdefgh abcdefgh abcdefgh\n", "aXcdeYZh aXcdefYh abcdeXYZ\n", "",
            "1c1|< [abcdefgh] a[b]cdef[g]h abcde[fgh]|---|> [aXcdeYZh] a[X]cdef[Y]h abcde[XYZ]|");
        // Lines too long for the table of characters and too short to be
        // cut where they share a stretch, compared in linear space: every
        // 10th blank between 1200 numbers changed.
        QByteArray one = "10000", two = one, marked[2] = {one, one};
        for (int i = 1; i < 1200; ++i) {
            const QByteArray number = QByteArray::number(10000 + i);
            const bool changed = i % 10 == 5;
            one += ' ' + number;
            two += (changed ? '_' : ' ') + number;
            marked[0] += (changed ? "[ ]" : " ") + number;
            marked[1] += (changed ? "[_]" : " ") + number;
        }
        row("lines of 1200 numbers", one + '\n', two + '\n', "",
            QString::fromLatin1("1c1|< " + marked[0] + "|---|> " + marked[1] + '|'));
    }

    void pairedCharacters()
    {
        QFETCH(QByteArray, one);
        QFETCH(QByteArray, two);
        QFETCH(QString, options);
        Write("paired1", one);
        Write("paired2", two);
        const QString command = "$P --color=always " + options + " paired1 paired2";
        const Outcome ours = Shell(m_program, command);
        QCOMPARE(ours.code, 1);
        QCOMPARE(QByteArray(ours.out).replace("\x1b[7m", "").replace("\x1b[27m", ""), Shell("diff", command).out);
        static const QRegularExpression colour(QStringLiteral("\x1b\\[[0-9;]*m"));
        QString marked = QString::fromUtf8(ours.out).replace("\x1b[7m", "[").replace("\x1b[27m", "]");
        QTEST(marked.remove(colour).replace(u'\n', u'|'), "marked");
    }

    // --html: the rows laid out from the hunks as GNU diff groups the
    // lines, under a heading that names what was ignored; the characters
    // that differ in paired changed lines marked.
    void htmlReport_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QString>("ignored");
        QTest::addColumn<QString>("marked");   // the first four marked texts
        QTest::addColumn<QString>("endings");  // each file's line endings
        const auto row = [](const char* name, const QStringList& args, const QString& ignored, const char* marked,
                            const QString& endings = "LF (Unix)|LF (Unix)") {
            QTest::newRow(name) << args << ignored << QString(marked) << endings;
        };
        const QString nothing = "Nothing was ignored.";
        row("changed, added, no newline at the end", {"one", "two"}, nothing, "b|B");
        row("identical but for case and white space", {"-i", "-w", "-Z", "one", "spaced"},
            "Compared ignoring case, white space and white space at line ends.", "");
        row("blanks, tabs, CRs", {"-b", "-E", "--strip-trailing-cr", "tabs1", "tabs2"},
            "Compared ignoring white space changes, tab expansion and carriage returns at line ends.", "b|B|c|C",
            "mixed (2 CR LF, 5 LF, 1 CR)|mixed (2 CR LF, 6 LF, 1 CR)");
        row("ignored blank and matching lines among changes", {"-B", "-I", "^#", "-I", "<", "blanks1", "blanks2"},
            "Compared ignoring blank lines and changes whose lines all match one of &#39;^#&#39;, &#39;&lt;&#39;.",
            "d|D");
        row("many blocks", {"many1", "many2"}, nothing, "row|ROW|row 14|new 13");
        row("a folder and a file, labelled", {"--label", "first", "e3", "one"}, nothing, "B|b",
            "mixed (1 CR LF, 2 LF)|LF (Unix)");
    }

    void htmlReport()
    {
        QFETCH(QStringList, args);
        QFETCH(QString, ignored);
        const Outcome ours = Run(m_program, QStringList{"--html"} + args);
        QCOMPARE(ours.code, Run("diff", args).code);
        QCOMPARE(ReportRows(ours.out), DiffRows(args.first(args.size() - 2), args.last(2)));
        const QString html = QString::fromUtf8(ours.out);
        QVERIFY2(html.contains("<p class=\"ignored\">" + ignored + "</p>"), qPrintable(html.section("<p", 1, 1)));
        const auto captured = [&](const QString& pattern) {
            QStringList found;
            for (auto it = QRegularExpression(pattern).globalMatch(html); it.hasNext();)
                found << it.next().captured(1);
            return found;
        };
        QTEST(captured("<mark>([^<]*)</mark>").mid(1, 4).join('|'), "marked");
        QTEST(captured("\nLine endings: ([^\n]*)\n").join('|'), "endings");
        QVERIFY(ours.err.isEmpty() && html.endsWith("</html>\n"));
        // A label names its file, without a time.
        for (qsizetype i = args.indexOf("--label"); i >= 0; i = args.indexOf("--label", i + 1))
            QVERIFY(html.contains("<td class=\"name\">" + args[i + 1] + "</td>"));
    }

    // What only vantrel-diff says: --help and --version (shortened too)
    // written before any operand is read; what --html cannot show said on
    // standard error, as trouble, with nothing written.
    void ownMessages_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<int>("code");
        QTest::addColumn<QByteArray>("message");
        for (const char* option : {"--help", "--version", "--he"})
            QTest::newRow(option) << QStringLiteral("$P %1 no-such-file").arg(option) << 0 << QByteArray();
        const auto row = [](const char* name, const char* command, const char* message) {
            QTest::newRow(name) << QString(command) << 2 << "vantrel-diff: " + QByteArray(message);
        };
        const char* conflict = "conflicting output style options\nvantrel-diff: Try 'vantrel-diff --help' for more "
                               "information.\n";
        row("another output form", "$P --html -u one two", conflict);
        row("-q", "$P -q --html one two", conflict);
        row("-s, identical files", "$P --html -s one one", conflict);
        row("binary files", "$P --html bin1 bin2", "Binary files bin1 and bin2 differ\n");
        row("two folders without -r", "$P --html e3 e4", "--html compares folders with -r (--recursive): e3 and e4\n");
        row("a full disk", "$P --html one two > /dev/full", "standard output: No space left on device\n");
    }

    void ownMessages()
    {
        QFETCH(QString, command);
        QFETCH(int, code);
        const Outcome o = Shell(m_program, command);
        QCOMPARE(o.code, code);
        QVERIFY2(code == 0 ? o.out.contains("vantrel-diff") : o.out.isEmpty(), o.out.constData());
        QTEST(o.err, "message");
    }

    // --decode-unicode reads a file as iconv converts it from the encoding
    // its byte-order mark names (the mark kept as U+FEFF): diff on the
    // converted files is the oracle. A file that is not valid after its
    // mark (no encoding given) is read as it is, as by diff.
    void decodeUnicode_data()
    {
        QTest::addColumn<QByteArray>("one");  // UTF-8, or the bytes as written
        QTest::addColumn<QByteArray>("two");
        QTest::addColumn<QString>("encodingOne");  // converted to it; empty: written as it is
        QTest::addColumn<QString>("encodingTwo");
        const QByteArray bom = "\xef\xbb\xbf";
        const QByteArray text = bom + "line 1\r\ncaf\xc3\xa9 \xf0\x9f\x98\x80\r\nend";
        const QByteArray edited = bom + "line 1\r\ncafe \xf0\x9f\x98\x81\r\nend\r\n";
        QTest::newRow("UTF-32 LE against UTF-8") << text << edited << "UTF-32LE" << QString("UTF-8");
        QTest::newRow("UTF-32 BE against UTF-16 LE") << text << edited << "UTF-32BE" << QString("UTF-16LE");
        QTest::newRow("same text, LE against BE") << text << text << "UTF-16LE" << QString("UTF-16BE");
        const QByteArray lone = QByteArray::fromHex("fffe610000dc0a00"), odd = QByteArray::fromHex("feff0061000a00");
        QTest::newRow("lone surrogate, odd length") << lone << odd << "" << QString("");
        QTest::newRow("lone surrogate against UTF-16") << lone << text << "" << QString("UTF-16LE");
    }

    void decodeUnicode()
    {
        QFETCH(QByteArray, one);
        QFETCH(QByteArray, two);
        QFETCH(QString, encodingOne);
        QFETCH(QString, encodingTwo);
        Write("text1", one);
        Write("text2", two);
        // u/ holds the files as given, w/ as converted, under the same names.
        const QString convert = QStringLiteral("mkdir -p u w; conv() { cp \"$1\" u/$2; if [ -n \"$3\" ]; then "
                                               "iconv -f UTF-8 -t \"$3\" \"$1\" > w/$2; else cp \"$1\" w/$2; fi; }; "
                                               "conv text1 a '%1' && conv text2 b '%2'")
                                    .arg(encodingOne, encodingTwo);
        QCOMPARE(Shell(m_program, convert).code, 0);
        SameAsDiff("cd w && $P --decode-unicode a b", "cd u && diff a b");
    }

    // Random pairs of lines with tabs, carriage returns, wide and combining
    // characters, long and empty lines: wherever the normal output is
    // diff's, so is every other form's, byte for byte.
    void everyForm()
    {
        QList<QByteArray> pieces = QByteArray("a|b|\t|x\ty|  |.||\xc3\xa9|ab\tc|\r|a\bb|UPPER|upper|int f(void)|"
                                              "\xe6\x97\xa5\xe6\x9c\xac|e\xcc\x81")
                                       .split('|');
        pieces << QByteArray(70, 'w') + "\tend";
        QRandomGenerator rng(26);
        const auto lines = [&](int count) {
            QList<QByteArray> out;
            for (int k = 0; k < count; ++k)
                out << pieces[rng.bounded(pieces.size())] + QByteArray("  xy").left(rng.bounded(4));
            return out;
        };
        for (int round = 0; round < 40; ++round) {
            const QList<QByteArray> a = lines(rng.bounded(12));
            QList<QByteArray> b = a;
            for (int edits = rng.bounded(4); edits > 0; --edits) {
                const int at = b.isEmpty() ? 0 : rng.bounded(b.size());
                if (rng.bounded(2) && !b.isEmpty())
                    b.removeAt(at);
                else
                    b.insert(at, lines(1).first());
            }
            Write("one", Join(a, "\n", rng.bounded(4) != 0));
            Write("two", Join(b, "\n", rng.bounded(4) != 0));
            if (Run("diff", {"one", "two"}) != Run(m_program, {"one", "two"}))
                continue;
            for (const char* form :
                 {"-c", "-C 1 -p", "-C 1 -t -T", "-u -T", "-u --suppress-blank-empty", "-U 0 --suppress-blank-empty",
                  "-e", "-n", "-D N", "-y", "-y -W 40 -t", "-y -W 19 --tabsize=3", "-y --left-column",
                  "--side-by-side --left-column -t", "-y --suppress-common-lines", "-t -c --tabsize=3",
                  "-T --suppress-blank-empty", "-i -y -W 72", "-q"})
                SameAsDiff(QStringLiteral("$P %1 one two").arg(form));
        }
    }

    // Two folders built to meet every kind of entry: nested folders, files
    // on one side, a file against a folder, a link loop, an unreadable
    // file, names with blanks, TABs and newlines, a binary pair, a file
    // named as the starting file given to -S (compared, as by diff).
    void folders()
    {
        const QString tree = QStringLiteral(
            "rm -rf d1 d2; mkdir -p d1/sub/deep d1/only1dir d2/sub d2/only2 d2/fd; printf 'x\\n' > 'd1/s a'; "
            "printf 'y\\n' > 'd2/s a'; printf 'x\\n' > d1/same; cp -p d1/same d2/same; printf 'z\\n' > d1/sub/f; "
            "printf 'w\\n' > d2/sub/f; printf 'k\\n' > d1/sub/deep/k; printf 's\\n' > d1/s; printf 't\\n' > d2/s; "
            "printf 'q\\n' > d1/only1; printf 'q\\n' > \"d2/$(printf 't\\tb')\"; "
            "printf 'n\\n' > \"d1/$(printf 'n\\nl')\"; printf 'a\\n' > d1/fd; : > d1/empty; mkdir d2/empty; "
            "printf '\\0' > d1/bin; printf '\\1\\0' > d2/bin; ln -s loop d1/loop; ln -s loop d2/loop; "
            "ln -s same d1/link; ln -s 's a' d2/link; printf 'u\\n' > d1/unr; printf 'v\\n' > d2/unr; "
            "chmod 000 d2/unr; touch -h -d 2020-01-01 d1/* d2/*");
        QCOMPARE(Shell(m_program, tree).code, 0);
        for (const QString options :
             {"", "-r", "-rq", "-rsu", "-rN -c", "-r --unidirectional-new-file", "-r -x '*[ab]' -x 'only*' -e",
              "-r -X d1/same", "-r -S s", "-r --no-dereference", "-r -y -W 50"})
            SameAsDiff("$P " + options + " d1 d2; echo $?; $P " + options + " d1/sub d1/same");
    }

    // Pairs of files beside diff in normal and unified form, held to diff's
    // bytes in every form where our normal script is diff's up to where
    // blocks go (block placement and hunk layout are then diff's).
    void pairs_data()
    {
        QTest::addColumn<QByteArray>("one");
        QTest::addColumn<QByteArray>("two");
        // Random pairs from small alphabets, edits of each other or
        // unrelated, with CRLF and missing final newlines.
        QRandomGenerator rng(77);
        for (int round = 0; round < 60; ++round) {
            const int alphabet = 2 + rng.bounded(12);
            const QList<QByteArray> a = RandomLines(rng, rng.bounded(80), alphabet);
            const QList<QByteArray> b = rng.bounded(3) ? Edited(rng, a, rng.bounded(12), alphabet)
                                                       : RandomLines(rng, rng.bounded(80), alphabet);
            const QByteArray ending = rng.bounded(4) == 0 ? "\r\n" : "\n";
            const bool finalNewlineTwo = rng.bounded(4) != 0;
            QTest::addRow("generated %d", round)
                << Join(a, ending, rng.bounded(4) != 0) << Join(b, ending, finalNewlineTwo);
        }
        // Large files where the search settles for guesses and a guess could
        // cost more than diff's: numbers and labels from a large set with a
        // few blank lines, in unrelated orders; unrelated lines of "a" and "b".
        // File Two has 6/7 as many lines as File One.
        const auto large = [](bool numbers, int seed, int lines) {
            QRandomGenerator random(seed);
            const auto text = [&](int count) {
                QList<QByteArray> out;
                for (int k = 0; k < count; ++k) {
                    const int kind = random.bounded(10);
                    const QByteArray n = QByteArray::number(random.bounded(1000));
                    out << (!numbers    ? QByteArray(kind < 5 ? "a" : "b")
                            : kind == 0 ? QByteArray()
                            : kind < 6  ? n
                                        : "L: " + n);
                }
                return Join(out, "\n", true);
            };
            QTest::addRow("large, %s, seed %d", numbers ? "numbers and labels" : "a and b", seed)
                << text(lines) << text(lines * 6 / 7);
        };
        for (const int seed : {31, 32, 33})
            large(true, seed, 6706);
        large(false, 9, 40000);
        // The program's own sources: neighbouring files, which share many
        // short lines, and each file against an edit of itself.
        const QDir src(qEnvironmentVariable("VANTREL_SOURCE_DIR") + "/src");
        QStringList files;
        for (QDirIterator it(src.path(), {"*.cpp"}, QDir::Files, QDirIterator::Subdirectories); it.hasNext();)
            files << it.next();
        std::sort(files.begin(), files.end());
        QVERIFY(files.size() > 20);
        rng.seed(5);
        for (qsizetype i = 0; i + 1 < files.size(); i += 2) {
            const QByteArray one = FileBytes::Read(files[i]);
            const QString name = src.relativeFilePath(files[i]);
            QTest::addRow("%s beside the next file", qPrintable(name)) << one << FileBytes::Read(files[i + 1]);
            QTest::addRow("%s edited", qPrintable(name))
                << one << Join(Edited(rng, one.split('\n'), 1 + rng.bounded(20), 50), "\n", false);
        }
    }

    void pairs()
    {
        QFETCH(QByteArray, one);
        QFETCH(QByteArray, two);
        Write("one", one);
        Write("two", two);
        const QByteArray gnuNormal = Run("diff", {"one", "two"}).out, ourNormal = Run(m_program, {"one", "two"}).out;
        const QList<QByteArray> a = SplitKeepingEnds(one), b = SplitKeepingEnds(two);
        const bool exact = TopmostChanges(ourNormal, a, false) == TopmostChanges(gnuNormal, a, false)
                           && TopmostChanges(ourNormal, b, true) == TopmostChanges(gnuNormal, b, true);
        for (const QStringList& form : {QStringList(), QStringList{"-u"}, {"-U", "0"}, {"--unified=1"}})
            BesideDiff(form, !exact);
    }
};

QTEST_GUILESS_MAIN(tst_VantrelDiffCommand)
#include "tst_VantrelDiffCommand.moc"
