#include "engine/cDiffEngine.h"

#include "engine/Comparison.h"
#include "engine/FileNameText.h"
#include "engine/InputFile.h"
#include "engine/LineFilterPatterns.h"
#include "engine/TextDecoding.h"

#include <climits>

QString cDiffEngine::DescribeFileError(const FileError& error)
{
    return QStringLiteral("Cannot %1 \"%2\": %3")
        .arg(QString::fromStdString(error.action), FileNameText::FromBytes(error.path),
             QString::fromLocal8Bit(error.Reason()));
}

void cDiffEngine::Clear()
{
    m_singleLine.clear();
    m_lines.reset();
    m_hunks.clear();
    m_files[0].reset();
    m_files[1].reset();
    m_skipped[0].reset();
    m_skipped[1].reset();
}

CompareSettings cDiffEngine::Settings() const
{
    CompareSettings settings;
    settings.lines = {m_ignoreCase, m_ignoreWhiteSpace, m_minimal};
    settings.lines.ignoreSpaceChange = m_ignoreSpaceChange;
    settings.lines.ignoreLineEndings = m_ignoreLineEndings;
    settings.lines.ignoreBlankLines = m_ignoreBlankLines;
    settings.forceText = m_forceText;
    settings.decodeUnicode = m_decodeUnicode;
    return settings;
}

int cDiffEngine::CompareFiles(const QString& fileOne, const QString& fileTwo)
{
    Clear();
    InputFile one(FileNameText::ToBytes(fileOne).toStdString());
    InputFile two(FileNameText::ToBytes(fileTwo).toStdString());
    CompareSettings settings = Settings();
    if (!m_lineFilters.isEmpty()) {
        // Nothing is compared with part of the filters.
        QString error;
        settings.skipLines = LineFilterPatterns::Compile(m_lineFilters, error);
        if (!settings.skipLines)
            return Fail(error);
    }
    m_lineSettings = settings.lines;
    Comparison c = CompareInputs(one, two, settings);
    m_files[0] = std::move(c.files[0]);
    m_files[1] = std::move(c.files[1]);
    m_hunks = std::move(c.hunks);
    m_skipped[0] = std::move(c.skipped[0]);
    m_skipped[1] = std::move(c.skipped[1]);
    m_outcome = c.outcome;
    switch (c.outcome) {
    case Outcome::Identical: return 0;
    case Outcome::BinaryDiffer:
        m_singleLine =
            QStringLiteral("Binary files ") + fileOne + QLatin1Char(' ') + fileTwo + QStringLiteral(" differ");
        return 1;
    case Outcome::Failed:
        switch (c.trouble) {
        case Trouble::OutOfMemory:
            return Fail(QStringLiteral("Not enough memory to compare \"%1\" with \"%2\".").arg(fileOne, fileTwo));
        case Trouble::Skipping: return Fail(QString::fromStdString(c.skipTrouble));
        case Trouble::TooManyLines:
            return Fail(QStringLiteral("\"%1\" and \"%2\" have too many lines to compare.").arg(fileOne, fileTwo));
        default: return Fail(DescribeFileError(c.fileError));
        }
    case Outcome::Different: break;
    }
    m_lines.emplace(*m_files[0], *m_files[1], m_hunks);
    if (m_lines->Count() > INT_MAX)
        return Fail(
            QStringLiteral("The differences between \"%1\" and \"%2\" are too many to list.").arg(fileOne, fileTwo));
    return 1;
}

int cDiffEngine::Fail(const QString& text)
{
    Clear();
    m_outcome = Outcome::Failed;
    m_singleLine = text;
    return 2;
}

int cDiffEngine::ResultLineCount() const
{
    if (!m_singleLine.isEmpty())
        return 1;
    return m_lines ? static_cast<int>(m_lines->Count()) : 0;
}

QByteArray cDiffEngine::ResultLineBytes(int index) const
{
    if (!m_singleLine.isEmpty())
        return index == 0 ? m_singleLine.toUtf8() : QByteArray();
    if (!m_lines || index < 0 || index >= m_lines->Count())
        return {};
    std::string scratch;
    const Emit::NormalLines::Line line = m_lines->At(index, scratch);
    QByteArray bytes;
    bytes.reserve(static_cast<qsizetype>(line.head.size() + line.text.size()));
    bytes.append(line.head.data(), static_cast<qsizetype>(line.head.size()));
    bytes.append(line.text.data(), static_cast<qsizetype>(line.text.size()));
    return bytes;
}

QString cDiffEngine::ResultLine(int index) const
{
    if (!m_singleLine.isEmpty())
        return index == 0 ? m_singleLine : QString();
    return TextDecoding::DecodeLine(ResultLineBytes(index));
}

std::vector<MovedLines::Move> cDiffEngine::FindMoves() const
{
    if (!m_files[0] || !m_files[1] || m_hunks.empty())
        return {};
    return MovedLines::Find(*m_files[0], *m_files[1], m_hunks, TextNormalizer(m_lineSettings), m_skipped[0].get(),
                            m_skipped[1].get());
}

std::shared_ptr<const LineFile> cDiffEngine::LoadedFile(int which) const
{
    return (which == 0 || which == 1) ? m_files[which] : nullptr;
}

std::shared_ptr<const LineMask> cDiffEngine::SkippedLines(int which) const
{
    return (which == 0 || which == 1) ? m_skipped[which] : nullptr;
}
