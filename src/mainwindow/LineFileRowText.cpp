#include "mainwindow/LineFileRowText.h"

#include "compare/RowText.h"

namespace {

// Lines at least this long have their UTF-8 test remembered; shorter ones
// are tested again, which costs less than the lookup is worth.
constexpr qsizetype kRememberedLength = 4096;

}  // namespace

QString LineFileRowText::RowText(std::int32_t line) const
{
    if (!m_file || line < 0 || line >= m_file->LineCount())
        return {};
    return ::RowText::Format(std::int64_t{line} + 1, m_file->Line(line));
}

RowText::Part LineFileRowText::RowTextPart(std::int32_t line, qsizetype columns) const
{
    if (!m_file || line < 0 || line >= m_file->LineCount())
        return {};
    const QByteArrayView bytes = m_file->Line(line);
    return ::RowText::FormatPart(std::int64_t{line} + 1, bytes, IsUtf8(line, bytes), columns);
}

LineText LineFileRowText::LineTextOf(std::int32_t line) const
{
    if (!m_file || line < 0 || line >= m_file->LineCount())
        return {};
    return LineText::FromBytes(m_file->Line(line), m_file);
}

bool LineFileRowText::IsUtf8(std::int32_t line, QByteArrayView bytes) const
{
    if (bytes.size() < kRememberedLength)
        return ::RowText::IsValidUtf8(bytes);
    const auto known = m_utf8.find(line);
    if (known != m_utf8.end())
        return known->second;
    const bool utf8 = ::RowText::IsValidUtf8(bytes);
    m_utf8.emplace(line, utf8);
    return utf8;
}
