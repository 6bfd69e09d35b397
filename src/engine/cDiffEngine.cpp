#include "engine/cDiffEngine.h"

#include "engine/LineClasses.h"
#include "engine/OpenedFile.h"
#include "engine/TextNormalizer.h"

#include <algorithm>
#include <climits>
#include <new>
#include <stdexcept>
#include <string>

namespace {

const char kNoNewline[] = "\\ No newline at end of file";

LineView ViewOf(const LineFile& file, qint64 index)
{
    return {file.RawLine(index), file.LineLacksNewline(index)};
}

LineDiff::LineShape ShapeOf(QByteArrayView raw)
{
    qsizetype i = 0;
    while (i < raw.size() && (raw[i] == ' ' || raw[i] == '\t' || raw[i] == '\r' || raw[i] == '\f' || raw[i] == '\v'))
        ++i;
    if (i == raw.size())
        return LineDiff::LineShape::Blank;
    const char c = raw[i];
    return (c == '}' || c == ')' || c == ']') ? LineDiff::LineShape::Closer : LineDiff::LineShape::Text;
}

// "first" or "first,last" in 1-based line numbers.
QByteArray Range(qint64 first, qint64 count)
{
    QByteArray text = QByteArray::number(first + 1);
    if (count > 1)
        text += ',' + QByteArray::number(first + count);
    return text;
}

QByteArray CommandLine(const LineDiff::Hunk& h)
{
    if (h.count1 == 0)
        return QByteArray::number(h.first1) + 'a' + Range(h.first2, h.count2);
    if (h.count2 == 0)
        return Range(h.first1, h.count1) + 'd' + QByteArray::number(h.first2);
    return Range(h.first1, h.count1) + 'c' + Range(h.first2, h.count2);
}

bool EndsWithoutNewline(const LineFile& file, qint64 first, qint64 count)
{
    return count > 0 && file.LineLacksNewline(first + count - 1);
}

}  // namespace

int cDiffEngine::CompareFiles(const QString& fileOne, const QString& fileTwo)
{
    m_singleLine.clear();
    m_files[0].reset();
    m_files[1].reset();
    m_hunks.clear();
    m_hunkStart.clear();
    m_resultCount = 0;
    try {
        OpenedFile one(fileOne);
        if (!one.Ok())
            return Fail(one.Error());
        OpenedFile two(fileTwo);
        if (!two.Ok())
            return Fail(two.Error());
        if (!m_forceText && (one.LooksBinary() || two.LooksBinary())) {
            QString error;
            const bool same = SameBytes(one, two, error);
            if (!error.isEmpty())
                return Fail(error);
            if (same)
                return 0;
            m_singleLine = QStringLiteral("Binary files ") + fileOne + QLatin1Char(' ') + fileTwo
                           + QStringLiteral(" differ");
            m_resultCount = 1;
            return 1;
        }
        return CompareText(fileOne, fileTwo, one, two);
    } catch (const std::bad_alloc&) {
        return Fail(QStringLiteral("Not enough memory to compare \"%1\" with \"%2\".").arg(fileOne, fileTwo));
    } catch (const std::exception& e) {
        return Fail(QStringLiteral("Cannot compare \"%1\" with \"%2\": %3")
                        .arg(fileOne, fileTwo, QString::fromLocal8Bit(e.what())));
    }
}

int cDiffEngine::Fail(const QString& text)
{
    m_files[0].reset();
    m_files[1].reset();
    m_hunks.clear();
    m_hunkStart.clear();
    m_singleLine = text;
    m_resultCount = 1;
    return 2;
}

int cDiffEngine::CompareText(const QString& fileOne, const QString& fileTwo, OpenedFile& one, OpenedFile& two)
{
    LineFile::LoadResult loadedOne = LineFile::FromOpened(one);
    if (!loadedOne.file)
        return Fail(loadedOne.error);
    LineFile::LoadResult loadedTwo = LineFile::FromOpened(two);
    if (!loadedTwo.file)
        return Fail(loadedTwo.error);
    // Lines are numbered with 32 bits inside the search.
    if (loadedOne.file->LineCount() + loadedTwo.file->LineCount() >= 0xFFFFFFF0LL)
        return Fail(QStringLiteral("\"%1\" and \"%2\" have too many lines to compare.").arg(fileOne, fileTwo));
    m_files[0] = std::move(loadedOne.file);
    m_files[1] = std::move(loadedTwo.file);
    FindHunks();
    IndexResultLines();
    if (m_resultCount > INT_MAX)
        return Fail(QStringLiteral("The differences between \"%1\" and \"%2\" are too many to list.").arg(fileOne, fileTwo));
    return m_hunks.empty() ? 0 : 1;
}

void cDiffEngine::FindHunks()
{
    const LineFile& a = *m_files[0];
    const LineFile& b = *m_files[1];
    const TextNormalizer normalizer(m_ignoreCase, m_ignoreWhiteSpace);
    const qint64 nA = a.LineCount();
    const qint64 nB = b.LineCount();
    // Lines equal at the start and at the end need no classes and no search.
    qint64 prefix = 0;
    while (prefix < nA && prefix < nB && normalizer.Same(ViewOf(a, prefix), ViewOf(b, prefix)))
        ++prefix;
    qint64 suffix = 0;
    while (suffix < nA - prefix && suffix < nB - prefix
           && normalizer.Same(ViewOf(a, nA - 1 - suffix), ViewOf(b, nB - 1 - suffix)))
        ++suffix;
    const qint64 midA = nA - prefix - suffix;
    const qint64 midB = nB - prefix - suffix;

    std::vector<std::uint8_t> changedA(static_cast<size_t>(nA), 0);
    std::vector<std::uint8_t> changedB(static_cast<size_t>(nB), 0);
    std::vector<std::uint32_t> idsA(static_cast<size_t>(midA));
    std::vector<std::uint32_t> idsB(static_cast<size_t>(midB));
    if (midA > 0 || midB > 0) {
        std::uint32_t classCount = 0;
        {
            LineClasses classes(
                normalizer,
                [&](std::uint32_t ref) {
                    return ref < midA ? ViewOf(a, prefix + ref) : ViewOf(b, prefix + (ref - midA));
                },
                static_cast<size_t>(midA + midB));
            for (qint64 i = 0; i < midA; ++i)
                idsA[static_cast<size_t>(i)] = classes.ClassOf(static_cast<std::uint32_t>(i));
            // Most lines of File Two continue a run of lines equal to File
            // One; checking the line after the last match first skips the
            // hash table (and its cache misses) for them.
            qint64 guess = 0;
            for (qint64 j = 0; j < midB; ++j) {
                const LineView line = ViewOf(b, prefix + j);
                std::uint32_t cls = 0;
                if (guess < midA && normalizer.Same(ViewOf(a, prefix + guess), line)) {
                    cls = idsA[static_cast<size_t>(guess)];
                } else {
                    cls = classes.ClassOf(static_cast<std::uint32_t>(midA + j));
                    guess = classes.Representative(cls);  // an index into File One when < midA
                }
                idsB[static_cast<size_t>(j)] = cls;
                ++guess;
            }
            classCount = classes.Count();
        }
        std::vector<std::uint8_t> midChangedA(static_cast<size_t>(midA), 0);
        std::vector<std::uint8_t> midChangedB(static_cast<size_t>(midB), 0);
        LineDiff::MarkChanges(idsA, idsB, classCount, m_minimal, midChangedA, midChangedB);
        std::copy(midChangedA.begin(), midChangedA.end(), changedA.begin() + prefix);
        std::copy(midChangedB.begin(), midChangedB.end(), changedB.begin() + prefix);
    }

    auto sameWithin = [&](const LineFile& file, const std::vector<std::uint32_t>& ids, qint64 mid) {
        return [&, mid](qint64 i, qint64 j) {
            if (i >= prefix && j >= prefix && i < prefix + mid && j < prefix + mid)
                return ids[static_cast<size_t>(i - prefix)] == ids[static_cast<size_t>(j - prefix)];
            return normalizer.Same(ViewOf(file, i), ViewOf(file, j));
        };
    };
    LineDiff::SlideSide sideA{&changedA, sameWithin(a, idsA, midA),
                              [&](qint64 i) { return ShapeOf(a.RawLine(i)); }};
    LineDiff::SlideSide sideB{&changedB, sameWithin(b, idsB, midB),
                              [&](qint64 j) { return ShapeOf(b.RawLine(j)); }};
    LineDiff::SlideChanges(sideA, sideB);
    m_hunks = LineDiff::CollectHunks(changedA, changedB);
}

void cDiffEngine::IndexResultLines()
{
    m_hunkStart.clear();
    m_hunkStart.reserve(m_hunks.size());
    qint64 count = 0;
    for (const LineDiff::Hunk& h : m_hunks) {
        m_hunkStart.push_back(count);
        count += 1 + h.count1 + h.count2 + ((h.count1 > 0 && h.count2 > 0) ? 1 : 0)
                 + (EndsWithoutNewline(*m_files[0], h.first1, h.count1) ? 1 : 0)
                 + (EndsWithoutNewline(*m_files[1], h.first2, h.count2) ? 1 : 0);
    }
    m_resultCount = count;
}

int cDiffEngine::ResultLineCount() const
{
    return static_cast<int>(m_resultCount);
}

bool cDiffEngine::Locate(qint64 index, size_t& hunk, qint64& offset) const
{
    if (index < 0 || index >= m_resultCount || m_hunkStart.empty())
        return false;
    const auto it = std::upper_bound(m_hunkStart.begin(), m_hunkStart.end(), index);
    hunk = static_cast<size_t>(it - m_hunkStart.begin()) - 1;
    offset = index - m_hunkStart[hunk];
    return true;
}

QByteArray cDiffEngine::ResultLineBytes(int index) const
{
    if (!m_singleLine.isEmpty())
        return index == 0 ? m_singleLine.toUtf8() : QByteArray();
    size_t hunk = 0;
    qint64 offset = 0;
    if (!Locate(index, hunk, offset))
        return {};
    const LineDiff::Hunk& h = m_hunks[hunk];
    const LineFile& a = *m_files[0];
    const LineFile& b = *m_files[1];
    if (offset-- == 0)
        return CommandLine(h);
    if (offset < h.count1)
        return "< " + a.RawLine(h.first1 + offset).toByteArray();
    offset -= h.count1;
    if (EndsWithoutNewline(a, h.first1, h.count1) && offset-- == 0)
        return kNoNewline;
    if (h.count1 > 0 && h.count2 > 0 && offset-- == 0)
        return "---";
    if (offset < h.count2)
        return "> " + b.RawLine(h.first2 + offset).toByteArray();
    return kNoNewline;
}

QString cDiffEngine::ResultLine(int index) const
{
    if (!m_singleLine.isEmpty())
        return index == 0 ? m_singleLine : QString();
    return LineFile::DecodeLine(ResultLineBytes(index));
}

bool cDiffEngine::WriteResult(std::FILE* out) const
{
    // Lines are gathered in a buffer and written in large pieces: one
    // stdio call per piece of a line costs more than the copying.
    std::string buffer;
    buffer.reserve(1 << 18);
    bool ok = true;
    auto flush = [&] {
        ok = ok && std::fwrite(buffer.data(), 1, buffer.size(), out) == buffer.size();
        buffer.clear();
    };
    auto line = [&](QByteArrayView head, QByteArrayView text) {
        buffer.append(head.data(), static_cast<size_t>(head.size()));
        buffer.append(text.data(), static_cast<size_t>(text.size()));
        buffer += '\n';
        if (buffer.size() >= (1 << 18))
            flush();
    };
    if (!m_singleLine.isEmpty()) {
        line({}, m_singleLine.toUtf8());
    } else {
        for (const LineDiff::Hunk& h : m_hunks) {
            line({}, CommandLine(h));
            for (qint64 i = 0; i < h.count1; ++i)
                line("< ", m_files[0]->RawLine(h.first1 + i));
            if (EndsWithoutNewline(*m_files[0], h.first1, h.count1))
                line({}, kNoNewline);
            if (h.count1 > 0 && h.count2 > 0)
                line({}, "---");
            for (qint64 j = 0; j < h.count2; ++j)
                line("> ", m_files[1]->RawLine(h.first2 + j));
            if (EndsWithoutNewline(*m_files[1], h.first2, h.count2))
                line({}, kNoNewline);
            if (!ok)
                return false;
        }
    }
    flush();
    return ok && std::fflush(out) == 0;
}

std::shared_ptr<const LineFile> cDiffEngine::LoadedFile(int which) const
{
    return (which == 0 || which == 1) ? m_files[which] : nullptr;
}
