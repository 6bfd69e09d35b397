// The displayed comparison without widgets: Find against a row-by-row
// reading of the row texts, bookmarks, difference navigation, and the
// character marks kept for changed rows.
#include "ShownModel.h"
#include "MarkedText.h"
#include "compare/Alignment.h"
#include "compare/ComparisonModel.h"
#include "compare/FileFactsText.h"
#include "engine/Comparison.h"
#include "engine/LineFile.h"
#include "engine/LineFilterPatterns.h"
#include "support/FileBytes.h"

#include <QRandomGenerator>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>

#include <sys/resource.h>
#include <unistd.h>

using Direction = ComparisonModel::FindDirection;

namespace {

// Rows: 1 alpha|alpha  2 Beta|(filler)  3 x abc|x ABD  4 tab\there|tab  here
//       5 (filler)|line 17 text  6 Kelvin|Kelvin  7..20 same 7..same 20  21 trailing
ComparisonModel Example()
{
    QByteArray one = "alpha\nBeta\nx abc\ntab\there\nKelvin\n";
    QByteArray two = "alpha\nx ABD\ntab  here\nline 17 text\nKelvin\n";
    for (int i = 7; i <= 20; ++i) {
        one += "same " + QByteArray::number(i) + '\n';
        two += "same " + QByteArray::number(i) + '\n';
    }
    return Shown(one, two, {{1, 1, 1, 0}, {2, 2, 1, 2}, {4, 0, 3, 1}});
}

// Each row as a letter, File One's pane, '|', then File Two's: '.' no
// colour, 'c' changed, 'o' orphan, 'g' grey (a line left out of the
// comparison), 'm' moved.
QString RowColors(const ComparisonModel& m)
{
    using namespace Alignment;
    const QHash<std::uint32_t, QChar> letter{
        {kChangedColor, u'c'}, {kOrphanColor, u'o'}, {kSkippedColor, u'g'}, {kMovedColor, u'm'}};
    QString letters[2];
    for (int side = 0; side < 2; ++side)
        for (std::int32_t row = 1; row <= m.RowCount(); ++row)
            letters[side] += letter.value(m.RowColor(side, row), u'.');
    return letters[0] + '|' + letters[1];
}

// Find as a plain reading of every row text in the order Find tests them.
std::optional<std::int32_t> FindByRows(const ComparisonModel& m, const QString& text, Direction d, std::int32_t row)
{
    const RowSearch::Needle needle(text);
    const auto oneWay = [&](std::int32_t from, std::int32_t to, int step) -> std::optional<std::int32_t> {
        for (int side = 0; side < 2; ++side)
            for (std::int32_t r = from; step > 0 ? r <= to : r >= to; r += step)
                if (needle.MatchesRowText(m.RowText(side, r)))
                    return r;
        return std::nullopt;
    };
    std::optional<std::int32_t> found;
    if (d != Direction::Previous)
        found = oneWay(row + 1, m.RowCount(), 1);
    if (!found && d != Direction::Next)
        found = oneWay(row - 1, 1, -1);
    return found;
}

}  // namespace

class tst_ComparisonModel : public QObject {
    Q_OBJECT
private slots:
    void find_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("direction");
        QTest::addColumn<int>("from");
        QTest::addColumn<int>("found");  // 0: not found
        const auto row = [](const char* name, const char* text, Direction d, int from, int found) {
            QTest::newRow(name) << QString::fromUtf8(text) << int(d) << from << found;
        };
        row("number prefix", "17.", Direction::Next, 1, 18);
        row("number and text", "4.tab", Direction::Next, 1, 4);
        row("tab shown as three spaces", "b   h", Direction::Next, 1, 4);
        row("typed tab matches the tab", "tab\there", Direction::Next, 1, 4);
        row("blank across a tab", "tab  here", Direction::Next, 1, 4);
        row("kelvin sign folds to k", "\u212Aelvin", Direction::Next, 1, 6);
        row("folding that changes length", "STRASSE", Direction::Next, 1, 0);
        row("filler rows never match", "", Direction::Next, 1, 0);
        row("line feed matches nothing", "alpha\n", Direction::Both, 5, 0);
        QTest::newRow("10,000 characters") << QString(10000, u'a') << int(Direction::Both) << 5 << 0;
    }

    void find()
    {
        QFETCH(QString, text);
        QFETCH(int, direction);
        QFETCH(int, from);
        const ComparisonModel m = Example();
        QTEST(m.Find(text, Direction(direction), from).value_or(0), "found");
        QTEST(FindByRows(m, text, Direction(direction), from).value_or(0), "found");
    }

    // Where the detail pane marks what Find found: the match's part in the
    // line after the number's period, as "start+length".
    void matchInLine_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("rowText");
        QTest::addColumn<QString>("span");
        const auto row = [](const char* name, const char* text, const char* rowText, const char* span) {
            QTest::newRow(name) << QString::fromUtf8(text) << QString::fromUtf8(rowText) << QString(span);
        };
        row("one character past the period", "3.x", " 3.x abc", "0+1");
        row("ends at the period", "3.", " 3.x abc", "none");
        row("a match in the number passed over", "12", " 12.a12", "1+2");
        row("a TAB as the row shows it", "b\th", " 4.tab   here", "2+5");
        row("no period: all is line", "ab", "xab", "1+2");
        row("not there", "zz", " 1.abc", "none");
    }

    void matchInLine()
    {
        QFETCH(QString, text);
        QFETCH(QString, rowText);
        const auto span = RowSearch::MatchInLine(RowSearch::Needle(text), rowText);
        QTEST(span ? QStringLiteral("%1+%2").arg(span->start).arg(span->length) : QStringLiteral("none"), "span");
    }

    // The byte scan against the row-by-row reading on random files full of
    // what it treats specially: TABs, blanks, digits and periods, CR, the
    // Kelvin sign and long s, accented and invalid UTF-8 bytes.
    void findAgreesWithRowTexts()
    {
        static const char* const kPieces[] = {
            "a", "k", "K", "s", " ", "\t", "1", "7", ".", "\r", "\xE2\x84\xAA", "\xC5\xBF", "\xC3\xA9", "\xE9", "b"};
        QRandomGenerator rng(7171);
        const auto randomText = [&](int maxPieces) {
            QByteArray text;
            for (int i = int(rng.bounded(maxPieces)); i >= 0; --i)
                text += kPieces[rng.bounded(int(std::size(kPieces)))];
            return text;
        };
        for (int round = 0; round < 150; ++round) {
            // Blocks of lines, each followed by an equal line.
            QByteArray files[2];
            std::vector<LineDiff::Hunk> hunks;
            for (std::int64_t lines[2] = {0, 0}; lines[0] < 20;) {
                const int one = int(rng.bounded(3)), two = int(rng.bounded(one == 0 ? 1 : 0, 3));
                hunks.push_back({lines[0], one, lines[1], two});
                for (int side = 0; side < 2; ++side)
                    for (int i = 0; i < (side ? two : one); ++i, ++lines[side])
                        files[side] += randomText(8) + (rng.bounded(4) == 0 ? "\r\n" : "\n");
                const QByteArray same = randomText(8) + '\n';
                files[0] += same;
                files[1] += same;
                ++lines[0];
                ++lines[1];
            }
            const ComparisonModel m = Shown(files[0], files[1], hunks);
            for (int probe = 0; probe < 20; ++probe) {
                const QString text = QString::fromUtf8(randomText(3));
                const auto d = Direction(rng.bounded(3));
                const std::int32_t from = std::int32_t(rng.bounded(m.RowCount() + 1));
                QCOMPARE(m.Find(text, d, from), FindByRows(m, text, d, from));
            }
        }
    }

    // A bookmark on the first or the last row is kept, one just outside
    // refused; a lone bookmark is next from the row before it and previous
    // from the row after it, never from itself.
    void bookmarkLimits_data()
    {
        QTest::addColumn<int>("row");
        QTest::addColumn<bool>("kept");
        const int last = Example().RowCount();
        QTest::newRow("before the first") << 0 << false;
        QTest::newRow("first") << 1 << true;
        QTest::newRow("last") << last << true;
        QTest::newRow("past the last") << last + 1 << false;
    }

    void bookmarkLimits()
    {
        QFETCH(int, row);
        QFETCH(bool, kept);
        ComparisonModel m = Example();
        QCOMPARE(m.AddBookmark(row), kept);
        QCOMPARE(m.NextBookmark(row - 1), kept ? std::optional<std::int32_t>(row) : std::nullopt);
        QCOMPARE(m.PreviousBookmark(row + 1), kept ? std::optional<std::int32_t>(row) : std::nullopt);
        QVERIFY(!m.NextBookmark(row) && !m.PreviousBookmark(row));
    }

    void bookmarks()
    {
        ComparisonModel m = Example();
        for (std::int32_t row : {19, 7, 19, 2})
            m.AddBookmark(row);
        QCOMPARE(m.Bookmarks(), (std::vector<std::int32_t>{2, 7, 19}));
        QCOMPARE(m.PreviousBookmark(19), std::optional<std::int32_t>(7));
        QVERIFY(m.RemoveBookmark(7) && !m.RemoveBookmark(7) && !m.IsBookmarked(7));
        m.AddSearchText(QStringLiteral("kept"));
        m.Clear();
        QVERIFY(m.Bookmarks().empty() && !m.Find(QStringLiteral("alpha"), Direction::Both, 1));
        QCOMPARE(m.SearchTexts(), QStringList{QStringLiteral("kept")});
    }

    // Lines left out by a filter are laid out in their place, grey, and are
    // no difference; blocks of blank lines ignored are not coloured. F7
    // (and the bar, drawn from the same blocks) only knows the others, and
    // Find still lands on the row of each line.
    void linesLeftOut_data()
    {
        QTest::addColumn<QByteArray>("one");
        QTest::addColumn<QByteArray>("two");
        QTest::addColumn<bool>("blankLines");
        QTest::addColumn<QString>("rows");
        QTest::addColumn<QList<int>>("stops");
        QTest::addColumn<int>("rowOfZ");
        const auto row = [](const char* name, const char* one, const char* two, bool blankLines, const char* rows,
                            QList<int> stops, int rowOfZ) {
            QTest::newRow(name) << QByteArray(one) << QByteArray(two) << blankLines << QString(rows) << stops << rowOfZ;
        };
        row("left out on one side", "a\nz\n", "a\n#x\nz\n", false, "....|.g..", {}, 3);
        row("left out on both sides, unlike", "#1\na\nz\n", "#2\n#3\na\nz\n", false, "g....|gg...", {}, 4);
        row("beside an insertion", "a\n#x\nz\n", "a\nnew\nz\n", false, ".g...|..o..", {3}, 4);
        row("amid a change", "x\n#f\ny\nz\n", "p\nq\nz\n", false, "cgc..|ccc..", {1}, 4);
        row("blank lines ignored", "a\n\n\nz\n", "a\nz\n", true, ".....|.....", {}, 4);
    }

    void linesLeftOut()
    {
        QFETCH(QByteArray, one);
        QFETCH(QByteArray, two);
        QFETCH(bool, blankLines);
        QTemporaryDir folder;
        QVERIFY(FileBytes::Write(folder.filePath("one"), one) && FileBytes::Write(folder.filePath("two"), two));
        InputFile inOne(folder.filePath("one").toStdString());
        InputFile inTwo(folder.filePath("two").toStdString());
        CompareSettings settings;
        settings.lines.ignoreBlankLines = blankLines;
        QString error;
        if (!blankLines)  // lines that start with '#' left out
            settings.skipLines = LineFilterPatterns::Compile({QStringLiteral("^#")}, error);
        const Comparison c = CompareInputs(inOne, inTwo, settings);
        ComparisonModel m;
        QCOMPARE(m.Show(c.files[0], c.files[1], c.hunks, {c.skipped[0], c.skipped[1]}), Alignment::AlignStatus::Ok);
        QTEST(RowColors(m), "rows");
        QList<int> stops;
        for (std::optional<std::int32_t> row = m.FirstDiff(); row; row = m.NextDiff(*row))
            stops.append(*row);
        QTEST(stops, "stops");
        QCOMPARE(static_cast<qsizetype>(m.Blocks().size()), stops.size());
        QTEST(m.Find(QStringLiteral("z"), Direction::Next, 0).value_or(0), "rowOfZ");
    }

    // Marks only for a changed line pair, worked out once and kept; another
    // case rule, another comparison shown or none shown drops them.
    void rowMarks()
    {
        // Rows: 1 same|same  2 x abc|x ABD  3 only|(filler), a changed block
        // of two lines against one; 4 the trailing row.
        ComparisonModel model = Shown("same\nx abc\nonly\n", "same\nx ABD\n", {{1, 2, 1, 1}});
        // Before the rows, unchanged, a changed line opposite a filler, the trailing row, beyond the rows.
        for (const std::int32_t row : {0, 1, 3, 4, 9})
            QVERIFY(!model.RowMarks(row, false));
        QVERIFY(model.KnownRowMarkCount() == 0 && !model.KnownRowMarks(2, false));
        const auto* first = model.RowMarks(2, false);
        QVERIFY(first && Marked("x abc", first->marks1, false) == U"x "
                && Marked("x ABD", first->marks2, false) == U"x ");
        QCOMPARE((std::tuple{model.RowMarks(2, false), model.KnownRowMarks(2, false), model.KnownRowMarks(2, true)}),
                 (std::tuple{first, first, decltype(first){}}));
        QVERIFY(Marked("x abc", model.RowMarks(2, true)->marks1, true) == U"X AB");
        QVERIFY(!model.KnownRowMarks(2, false));
        // Row 2 of the next comparison is another pair of lines; its marked
        // row and bookmarks start afresh.
        model.SetMarkedRow(2);
        model.AddBookmark(2);
        QCOMPARE(model.Show(LineFile::FromBytes("a\nbcd\n"), LineFile::FromBytes("a\nbce\n"), {{1, 1, 1, 1}}),
                 Alignment::AlignStatus::Ok);
        QVERIFY(model.MarkedRow() == 0 && model.Bookmarks().empty());
        QVERIFY(Marked("bce", model.RowMarks(2, true)->marks2, true) == U"BC");
        model.Clear();
        QCOMPARE(model.KnownRowMarkCount(), std::size_t{0});
        QVERIFY(!model.RowMarks(2, true));
        // The first row is a changed pair too.
        QCOMPARE(model.Show(LineFile::FromBytes("abc\n"), LineFile::FromBytes("abd\n"), {{0, 1, 0, 1}}),
                 Alignment::AlignStatus::Ok);
        QVERIFY(Marked("abc", model.RowMarks(1, false)->marks1, false) == U"ab");
    }

    // The rows beside a moved line take none of its words (its colour at
    // both ends is read in the saved report's test, what each end says of
    // the other in tst_MovedRows); shown again without moves, the rows take
    // back the colours they had.
    void moves()
    {
        // Rows: 1 M|(filler)  2 a|a  3 b|b  4 (filler)|M  5 the trailing row.
        ComparisonModel model = Shown("M\na\nb\n", "a\nb\nM\n", {{0, 1, 0, 0}, {3, 0, 2, 1}});
        model.ShowMoves({{0, 2, 1}});
        QCOMPARE(model.MoveText(2), QString());
        QCOMPARE(model.OtherEndOfMove(2), std::nullopt);
        model.ShowMoves({});
        QCOMPARE(RowColors(model), QStringLiteral("o....|...o."));
        QCOMPARE(model.MoveText(1), QString());
    }

    // Blocks that do not fit the files (here lines 6 and 7 of a two-line
    // File Two) are refused; the rows are shown with both panes padded to
    // one length, the lines of File One in their rows.
    void blocksThatDoNotFit()
    {
        ComparisonModel model;
        const auto status =
            model.Show(LineFile::FromBytes("1\n2\n3\n4\n5\n"), LineFile::FromBytes("1\n2\n"), {{5, 0, 5, 2}});
        QCOMPARE(status, Alignment::AlignStatus::OutOfRange);
        QCOMPARE(model.Pane(1)->size(), model.Pane(0)->size());
        QCOMPARE(model.RowText(0, 5), QStringLiteral(" 5.5"));
    }

    // Memory that runs out while the rows are built (4,000,001 a side, 61 MB
    // in all, with room for 8 MB) leaves the model as it was, and the
    // message the window then shows says what the rows need.
    void outOfMemory()
    {
#if defined(__SANITIZE_ADDRESS__)
        QSKIP("the address sanitizer ends the program where an allocation would fail");
#endif
        const auto one = LineFile::FromBytes(std::string(4'000'000, '\n'));
        const auto two = LineFile::FromBytes(std::string());
        const std::vector<LineDiff::Hunk> hunks{{0, 4'000'000, 0, 0}};
        ComparisonModel model = Example();
        const QByteArray statm = FileBytes::Read(QStringLiteral("/proc/self/statm"));
        const rlim_t used = statm.split(' ').value(0).toULongLong() * rlim_t(sysconf(_SC_PAGESIZE));
        QVERIFY(used > 0);
        rlimit old{};
        getrlimit(RLIMIT_AS, &old);
        const rlimit tight{used + (8 << 20), old.rlim_max};
        {
            const auto restore = qScopeGuard([&old] { setrlimit(RLIMIT_AS, &old); });
            setrlimit(RLIMIT_AS, &tight);
            QVERIFY_THROWS_EXCEPTION(std::bad_alloc, (void)model.Show(one, two, hunks));
        }
        QCOMPARE(model.RowCount(), Example().RowCount());
        QCOMPARE(FileFactsText::OutOfMemoryMessage(*one, *two, Alignment::RowsNeeded(hunks, one->LineCount())),
                 QStringLiteral("Not enough memory to show the differences.\r\n\r\nThe files (3.8 MB and 0 bytes) "
                                "make 4000001 rows side by side, which need 61.0 MB more."));
    }
};

QTEST_GUILESS_MAIN(tst_ComparisonModel)
#include "tst_ComparisonModel.moc"
