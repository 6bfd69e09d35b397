#include "engine/LineFile.h"

#include <algorithm>
#include <cstring>
#include <new>
#include <utility>

namespace {

// A malloc'ed buffer: growing it with realloc lets the system move large
// blocks by remapping pages instead of copying them, which matters for
// inputs whose size is not known in advance (pipes).
class Buffer {
public:
    explicit Buffer(std::size_t capacity) : m_data(static_cast<char*>(std::malloc(capacity ? capacity : 1))), m_capacity(capacity)
    {
        if (!m_data)
            throw std::bad_alloc();
    }
    ~Buffer() { std::free(m_data); }
    Buffer(const Buffer&) = delete;
    Buffer& operator=(const Buffer&) = delete;

    void Resize(std::size_t capacity)
    {
        char* grown = static_cast<char*>(std::realloc(m_data, capacity ? capacity : 1));
        if (!grown)
            throw std::bad_alloc();
        m_data = grown;
        m_capacity = capacity;
    }
    [[nodiscard]] char* Data() const { return m_data; }
    [[nodiscard]] std::size_t Capacity() const { return m_capacity; }
    // Hands the bytes over to their owner.
    [[nodiscard]] char* Release() { return std::exchange(m_data, nullptr); }

private:
    char* m_data;
    std::size_t m_capacity;
};

}  // namespace

LineFile::LineFile(Bytes_ bytes, std::size_t size, std::string path)
    : m_bytes(std::move(bytes)), m_size(size), m_path(std::move(path))
{
    Split();
}

LineFile::LoadResult LineFile::Load(const std::string& path)
{
    InputFile opened(path);
    if (!opened.Ok() || !opened.ReadFirstBlock())
        return {nullptr, opened.Error()};
    return FromOpened(opened);
}

LineFile::LoadResult LineFile::FromOpened(InputFile& opened)
{
    if (!opened.Ok())
        return {nullptr, opened.Error()};
    const std::string_view first = opened.FirstBlock();
    // One spare byte lets a file of exactly the reported size be read
    // without growing the buffer just to see the end.
    const auto reported = static_cast<std::size_t>(std::max<std::int64_t>(opened.ReportedSize(), 0));
    Buffer buffer(std::max(reported, first.size()) + 1);
    std::memcpy(buffer.Data(), first.data(), first.size());
    std::size_t filled = first.size();
    if (first.size() == InputFile::kFirstBlockSize) {
        for (;;) {
            if (filled == buffer.Capacity()) {
                // The file is longer than reported (a pipe, or it grew).
                buffer.Resize(buffer.Capacity() + std::max(buffer.Capacity() / 2, InputFile::kFirstBlockSize));
            }
            const std::int64_t got = opened.ReadMore(buffer.Data() + filled, buffer.Capacity() - filled);
            if (got < 0)
                return {nullptr, opened.Error()};
            if (got == 0)
                break;
            filled += static_cast<std::size_t>(got);
        }
    }
    Bytes_ bytes(buffer.Release());
    return {std::shared_ptr<const LineFile>(new LineFile(std::move(bytes), filled, opened.Path())), {}};
}

std::shared_ptr<const LineFile> LineFile::FromBytes(std::string_view bytes, std::string path)
{
    Buffer buffer(bytes.size());
    std::memcpy(buffer.Data(), bytes.data(), bytes.size());
    Bytes_ owned(buffer.Release());
    return std::shared_ptr<const LineFile>(new LineFile(std::move(owned), bytes.size(), std::move(path)));
}

void LineFile::Split()
{
    m_wide = m_size > 0xFFFFFFFFull;
    if (m_wide)
        SplitInto(m_wideStarts);
    else
        SplitInto(m_starts);
}

template <class Offset>
void LineFile::SplitInto(std::vector<Offset>& starts)
{
    const char* data = m_bytes.get();
    const std::uint64_t size = m_size;
    // A rough guess of the line count avoids most re-allocations without
    // a separate counting pass; untouched capacity costs no memory.
    starts.reserve(static_cast<std::size_t>(size / 40 + 2));
    std::uint64_t pos = 0;
    while (pos < size) {
        starts.push_back(static_cast<Offset>(pos));
        const void* lf = std::memchr(data + pos, '\n', static_cast<std::size_t>(size - pos));
        if (!lf) {
            m_lastLacksNewline = true;
            pos = size;
            break;
        }
        pos = static_cast<std::uint64_t>(static_cast<const char*>(lf) - data) + 1;
    }
    starts.push_back(static_cast<Offset>(size));
}

std::string_view LineFile::RawLine(std::int64_t index) const
{
    const auto i = static_cast<std::size_t>(index);
    const std::uint64_t begin = Start(i);
    std::uint64_t end = Start(i + 1);
    if (!LineLacksNewline(index))
        --end;  // the LF
    return {m_bytes.get() + begin, static_cast<std::size_t>(end - begin)};
}

std::string_view LineFile::Line(std::int64_t index) const
{
    std::string_view raw = RawLine(index);
    if (!LineLacksNewline(index) && !raw.empty() && raw.back() == '\r')
        raw.remove_suffix(1);
    return raw;
}
