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

template <class T>
void OffsetTable<T>::Reserve(std::size_t capacity)
{
    if (capacity <= m_capacity)
        return;
    T* grown = static_cast<T*>(std::realloc(m_data, capacity * sizeof(T)));
    if (!grown)
        throw std::bad_alloc();
    m_data = grown;
    m_capacity = capacity;
}

template class OffsetTable<std::uint32_t>;
template class OffsetTable<std::uint64_t>;

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
    // A first block that the file did not fill holds all of it.
    if (first.size() == InputFile::kFirstBlockSize
        || (opened.ReportedSize() >= 0 && first.size() == static_cast<std::size_t>(opened.ReportedSize()) + 1)) {
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

namespace {

// The position of the first LF at or after `from`, or `size` when there is
// none. Most lines are short, where a call to memchr per line costs more
// than the scan itself: the first bytes are scanned here eight at a time,
// and memchr takes over for long lines.
std::uint64_t NextNewline(const char* data, std::uint64_t from, std::uint64_t size)
{
    constexpr std::uint64_t kOnes = 0x0101010101010101ull;
    constexpr std::uint64_t kHighs = 0x8080808080808080ull;
    constexpr std::uint64_t kShortScan = 64;  // bytes scanned before memchr
    std::uint64_t pos = from;
    const std::uint64_t stop = std::min(size, from + kShortScan);
    for (; pos + 8 <= stop; pos += 8) {
        std::uint64_t word;
        std::memcpy(&word, data + pos, 8);
        const std::uint64_t x = word ^ (kOnes * '\n');
        const std::uint64_t found = (x - kOnes) & ~x & kHighs;
        if (found)
            return pos + static_cast<std::uint64_t>(__builtin_ctzll(found) / 8);
    }
    for (; pos < stop; ++pos) {
        if (data[pos] == '\n')
            return pos;
    }
    if (pos == size)
        return size;
    const void* lf = std::memchr(data + pos, '\n', static_cast<std::size_t>(size - pos));
    return lf ? static_cast<std::uint64_t>(static_cast<const char*>(lf) - data) : size;
}

}  // namespace

template <class Offset>
void LineFile::SplitInto(OffsetTable<Offset>& starts)
{
    const char* data = m_bytes.get();
    const std::uint64_t size = m_size;
    // A first guess of the line count; the table grows cheaply beyond it.
    starts.Reserve(static_cast<std::size_t>(size / 32 + 2));
    std::uint64_t pos = 0;
    while (pos < size) {
        starts.Append(static_cast<Offset>(pos));
        const std::uint64_t lf = NextNewline(data, pos, size);
        if (lf == size) {
            m_lastLacksNewline = true;
            break;
        }
        pos = lf + 1;
    }
    starts.Append(static_cast<Offset>(size));
}
