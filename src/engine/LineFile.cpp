#include "engine/LineFile.h"

#include "engine/OpenedFile.h"
#include "engine/TextDecoding.h"

#include <cstring>

LineFile::LineFile(QByteArray bytes, QString path) : m_bytes(std::move(bytes)), m_path(std::move(path))
{
    Split();
}

LineFile::LoadResult LineFile::Load(const QString& path)
{
    OpenedFile opened(path);
    if (!opened.Ok())
        return {nullptr, opened.Error()};
    return FromOpened(opened);
}

LineFile::LoadResult LineFile::FromOpened(OpenedFile& opened)
{
    if (!opened.Ok())
        return {nullptr, opened.Error()};
    const QByteArray& first = opened.FirstBlock();
    // One spare byte lets a file of exactly the reported size be read
    // without growing the buffer just to see the end.
    qint64 capacity = std::max<qint64>(opened.ReportedSize(), first.size()) + 1;
    QByteArray bytes(static_cast<qsizetype>(capacity), Qt::Uninitialized);
    std::memcpy(bytes.data(), first.constData(), static_cast<size_t>(first.size()));
    qint64 filled = first.size();
    if (first.size() == OpenedFile::kFirstBlockSize) {
        for (;;) {
            if (filled == capacity) {
                // The file is longer than reported (a pipe, or it grew).
                capacity += std::max<qint64>(capacity / 2, OpenedFile::kFirstBlockSize);
                bytes.resize(static_cast<qsizetype>(capacity));
            }
            const qint64 got = opened.ReadMore(bytes.data() + filled, capacity - filled);
            if (got < 0)
                return {nullptr, opened.Error()};
            if (got == 0)
                break;
            filled += got;
        }
    }
    bytes.resize(static_cast<qsizetype>(filled));
    return {std::shared_ptr<const LineFile>(new LineFile(std::move(bytes), opened.Path())), {}};
}

std::shared_ptr<const LineFile> LineFile::FromBytes(QByteArray bytes, QString path)
{
    return std::shared_ptr<const LineFile>(new LineFile(std::move(bytes), std::move(path)));
}

void LineFile::Split()
{
    m_wide = static_cast<std::uint64_t>(m_bytes.size()) > 0xFFFFFFFFull;
    if (m_wide)
        SplitInto(m_wideStarts);
    else
        SplitInto(m_starts);
}

template <class Offset>
void LineFile::SplitInto(std::vector<Offset>& starts)
{
    const char* data = m_bytes.constData();
    const auto size = static_cast<std::uint64_t>(m_bytes.size());
    // A rough guess of the line count avoids most re-allocations without
    // a separate counting pass; untouched capacity costs no memory.
    starts.reserve(static_cast<size_t>(size / 40 + 2));
    std::uint64_t pos = 0;
    while (pos < size) {
        starts.push_back(static_cast<Offset>(pos));
        const void* lf = std::memchr(data + pos, '\n', static_cast<size_t>(size - pos));
        if (!lf) {
            m_lastLacksNewline = true;
            pos = size;
            break;
        }
        pos = static_cast<std::uint64_t>(static_cast<const char*>(lf) - data) + 1;
    }
    starts.push_back(static_cast<Offset>(size));
}

QByteArrayView LineFile::RawLine(qsizetype index) const
{
    const auto i = static_cast<size_t>(index);
    const std::uint64_t begin = Start(i);
    std::uint64_t end = Start(i + 1);
    if (!LineLacksNewline(index))
        --end;  // the LF
    return {m_bytes.constData() + begin, static_cast<qsizetype>(end - begin)};
}

QByteArrayView LineFile::Line(qsizetype index) const
{
    QByteArrayView raw = RawLine(index);
    if (!LineLacksNewline(index) && !raw.isEmpty() && raw.back() == '\r')
        raw.chop(1);
    return raw;
}

QString LineFile::DecodeLine(QByteArrayView bytes)
{
    return TextDecoding::DecodeLine(bytes);
}
