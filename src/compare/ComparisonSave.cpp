#include "compare/ComparisonSave.h"

#include "compare/ComparisonModel.h"
#include "engine/FileText.h"
#include "engine/HtmlReport.h"
#include "engine/LineFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStringList>
#include <algorithm>
#include <cerrno>
#include <cstring>
#include <sys/stat.h>

namespace ComparisonSave {
namespace {

const QString kCrLf = QStringLiteral("\r\n");

// Two names for one file: the same file on the same device when both
// exist (links included), the same absolute clean path otherwise. Names
// are bytes, so a name that is not UTF-8 is matched exactly.
bool SameFile(const QByteArray& one, const std::string& two)
{
    struct stat a {};
    struct stat b {};
    if (::stat(one.constData(), &a) == 0 && ::stat(two.c_str(), &b) == 0)
        return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
    const auto clean = [](const QByteArray& name) {
        return QDir::cleanPath(QFileInfo(QString::fromLatin1(name)).absoluteFilePath());
    };
    return clean(one) == clean(QByteArray::fromStdString(two));
}

QString SystemReason(int code, const QFileDevice& file)
{
    return code ? QString::fromLocal8Bit(std::strerror(code)) : file.errorString();
}

}  // namespace

QString Refusal(const QString& path, const std::vector<std::string>& compared)
{
    const QByteArray name = QFile::encodeName(path);
    for (const std::string& other : compared)
        if (!other.empty() && SameFile(name, other))
            return QStringLiteral("The file would replace a file being compared:") + kCrLf + path;
    return QString();
}

QString Save(const QString& path, const std::vector<std::string>& compared,
             const std::function<void(OutputSink&)>& write)
{
    QString refused = Refusal(path, compared);
    if (!refused.isEmpty())
        return refused;
    const QFileInfo target(path);
    if (!target.absoluteDir().exists())
        return QStringLiteral("The folder does not exist:") + kCrLf + target.absolutePath();
    QSaveFile file(path);
    errno = 0;
    if (!file.open(QIODevice::WriteOnly))
        return QStringLiteral("The file could not be written:") + kCrLf + path + kCrLf + SystemReason(errno, file);
    int failure = 0;
    OutputSink sink([&file, &failure](std::string_view piece) {
        errno = 0;
        const auto size = static_cast<qint64>(piece.size());
        if (file.write(piece.data(), size) == size)
            return true;
        failure = failure ? failure : errno;
        return false;
    });
    write(sink);
    errno = 0;
    // The explicit flush: commit() takes the name even when the last
    // buffered bytes could not be written (a full disk).
    if (sink.Finish() && file.flush() && file.commit())
        return QString();
    failure = failure ? failure : errno;
    file.cancelWriting();
    return QStringLiteral("The file could not be written:") + kCrLf + path + kCrLf + SystemReason(failure, file);
}

QString PatchRefusal(const ComparisonModel& model, bool binary)
{
    if (model.Shown())
        return QString();
    if (binary)
        return QStringLiteral("The files are binary: there is no patch of their lines.");
    return QStringLiteral("No comparison is shown: compare two files first.");
}

namespace {

std::vector<std::string> ComparedPaths(const ComparisonModel& model)
{
    return {model.File(0)->Path(), model.File(1)->Path()};
}

// The marks of a line's UTF-16 units as the grids show it (a TAB as three
// spaces), spread over the bytes of each character.
void SpreadMarks(HtmlReport::Cell& cell, const std::vector<bool>& units)
{
    cell.marks.assign(cell.text.size(), true);
    std::size_t unit = 0;
    HtmlReport::ForEachCharacter(cell.text, [&](std::size_t at, std::size_t length, char32_t c) {
        const bool common = unit >= units.size() || units[unit];
        std::fill_n(cell.marks.begin() + static_cast<std::ptrdiff_t>(at), length, common);
        unit += c == U'\t' ? 3 : c > 0xFFFF ? 2 : 1;
    });
}

HtmlReport::Shade ShadeOf(std::uint32_t color)
{
    return color == Alignment::kChangedColor   ? HtmlReport::Shade::Changed
           : color == Alignment::kOrphanColor  ? HtmlReport::Shade::OneSided
           : color == Alignment::kSkippedColor ? HtmlReport::Shade::Skipped
           : color == Alignment::kMovedColor   ? HtmlReport::Shade::Moved
                                               : HtmlReport::Shade::Plain;
}

// The grids' rows, without the last one, which shows no line of either
// file; changed line pairs with the marks the grids show, found afresh when
// the window has not kept them, so that a report keeps no marks of its own.
class ModelRows final : public HtmlReport::RowSource {
public:
    ModelRows(const ComparisonModel& model, bool ignoreCase) : m_model(model), m_ignoreCase(ignoreCase) {}

    [[nodiscard]] std::int64_t RowCount() const override
    {
        const std::int32_t rows = m_model.RowCount();
        const bool trailing =
            m_model.LineOfRow(0, rows) == Alignment::kNoLine && m_model.LineOfRow(1, rows) == Alignment::kNoLine;
        return rows > 0 && trailing ? rows - 1 : rows;
    }

    void Fill(std::int64_t index, HtmlReport::Row& row) override
    {
        const auto r = static_cast<std::int32_t>(index + 1);
        row.bookmarked = m_model.IsBookmarked(r);
        for (int side = 0; side < 2; ++side) {
            HtmlReport::Cell& cell = row.cells[static_cast<std::size_t>(side)];
            const LineFile& file = *m_model.File(side);
            cell.line = m_model.LineOfRow(side, r);
            cell.shade = ShadeOf(m_model.RowColor(side, r));
            if (cell.line != Alignment::kNoLine && cell.line < file.LineCount())
                cell.text = file.Line(cell.line);
        }
        if (!m_model.IsChangedLinePair(r))
            return;
        modVantrel::CharacterDiffResult found;
        const modVantrel::CharacterDiffResult* marks = m_model.KnownRowMarks(r, m_ignoreCase);
        if (!marks) {
            try {
                found =
                    modVantrel::ShownCharacterDiffs(m_model.LineTextOf(0, r), m_model.LineTextOf(1, r), m_ignoreCase);
            } catch (const std::bad_alloc&) {
                found = {};
            }
            marks = &found;
        }
        SpreadMarks(row.cells[0], marks->marks1);
        SpreadMarks(row.cells[1], marks->marks2);
    }

private:
    const ComparisonModel& m_model;
    bool m_ignoreCase;
};

// A file's name, kept readable when it is not UTF-8, its time and facts.
HtmlReport::FileHeading HeadingOf(const LineFile& file)
{
    HtmlReport::FileHeading heading{FileText::ReadableName(file.Path()), std::nullopt, FileText::Summary(file)};
    struct stat facts {};
    if (::stat(file.Path().c_str(), &facts) == 0)
        heading.modified = facts.st_mtim.tv_sec;
    return heading;
}

}  // namespace

QString SaveReport(const ComparisonModel& model, const QString& path, bool ignoreCase, const QStringList& ignored)
{
    QString refused = PatchRefusal(model, false);
    if (!refused.isEmpty())
        return refused;
    HtmlReport::Heading heading{
        {HeadingOf(*model.File(0)), HeadingOf(*model.File(1))}, {}, true, true, !model.Moves().empty()};
    for (const QString& name : ignored)
        heading.ignored.push_back(name.toStdString());
    ModelRows rows(model, ignoreCase);
    // Folded, the page holds what the grids show: the rows outside the folds.
    std::vector<HtmlReport::Span> spans;
    std::int64_t next = 0;
    if (model.Folds())
        for (const RowFolding::Fold& fold : model.Folds()->Folds()) {
            if (fold.firstRow - 1 > next)
                spans.push_back({next, fold.firstRow - 1 - next});
            next = fold.EndRow() - 1;
        }
    if (rows.RowCount() > next)
        spans.push_back({next, rows.RowCount() - next});
    return Save(path, ComparedPaths(model), [&](OutputSink& out) { HtmlReport::Write(out, heading, rows, spans); });
}

QString SavePatch(const ComparisonModel& model, const QString& path)
{
    QString refused = PatchRefusal(model, false);
    if (!refused.isEmpty())
        return refused;
    const LineFile& one = *model.File(0);
    const LineFile& two = *model.File(1);
    return Save(path, ComparedPaths(model),
                [&](OutputSink& out) { Emit::WriteUnified(out, one, two, model.Hunks(), 3, one.Path(), two.Path()); });
}

}  // namespace ComparisonSave
