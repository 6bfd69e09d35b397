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
    explicit Buffer(std::size_t capacity) : m_data(nullptr), m_capacity(capacity)
    {
        constexpr std::size_t kHuge = std::size_t{2} << 20;
        if (capacity >= 4 * kHuge) {
            m_data = static_cast<char*>(std::aligned_alloc(kHuge, (capacity + kHuge - 1) / kHuge * kHuge));
            if (m_data)
                AdviseLargeBuffer(m_data, (capacity + kHuge - 1) / kHuge * kHuge);
        } else {
            m_data = static_cast<char*>(std::malloc(capacity ? capacity : 1));
        }
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

LineFile::LineFile(Bytes_ bytes, std::size_t size, std::string path, Wide wide, Endings endings)
    : m_bytes(std::move(bytes)), m_size(size), m_path(std::move(path))
{
    if (wide == Wide::Decode)
        Decode();
    const std::int64_t stripped = endings == Endings::StripCr ? StripCrBeforeLf() : 0;
    Split();
    if (endings == Endings::StripCr) {
        // The facts tell the file as it is on disk: each CR taken out ended
        // a line with CR LF, and a CR left before an LF stood alone there.
        const std::int64_t lfs = m_facts.lfEndings + m_facts.crlfEndings;
        m_facts.crEndings += m_facts.crlfEndings;
        m_facts.crlfEndings = stripped;
        m_facts.lfEndings = lfs - stripped;
    }
}

LineFile::LoadResult LineFile::Load(const std::string& path, Wide wide, Endings endings)
{
    InputFile opened(path);
    if (!opened.Ok() || !opened.ReadFirstBlock())
        return {nullptr, opened.Error()};
    return FromOpened(opened, wide, endings);
}

LineFile::LoadResult LineFile::FromOpened(InputFile& opened, Wide wide, Endings endings)
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
    return {std::shared_ptr<const LineFile>(new LineFile(std::move(bytes), filled, opened.Path(), wide, endings)), {}};
}

std::shared_ptr<const LineFile> LineFile::FromBytes(std::string_view bytes, std::string path, Wide wide)
{
    Buffer buffer(bytes.size());
    std::memcpy(buffer.Data(), bytes.data(), bytes.size());
    Bytes_ owned(buffer.Release());
    return std::shared_ptr<const LineFile>(new LineFile(std::move(owned), bytes.size(), std::move(path), wide));
}

std::shared_ptr<const LineFile> LineFile::FromLines(const LineFile& file, const std::vector<std::int64_t>& lines)
{
    std::size_t size = 0;
    for (const std::int64_t i : lines)
        size += file.RawLine(i).size() + (file.LineLacksNewline(i) ? 0 : 1);
    // One copy, straight into the buffer the new file owns, with the line
    // table written on the way instead of looked for again.
    Buffer buffer(size);
    std::shared_ptr<LineFile> made(new LineFile(Bytes_(buffer.Release()), size, file.Path()));
    made->m_wide = size > 0xFFFFFFFFull;
    if (made->m_wide)
        made->m_wideStarts.Reserve(lines.size() + 1);
    else
        made->m_starts.Reserve(lines.size() + 1);
    const auto start = [&made](std::uint64_t offset) {
        if (made->m_wide)
            made->m_wideStarts.Append(offset);
        else
            made->m_starts.Append(static_cast<std::uint32_t>(offset));
    };
    char* out = made->m_bytes.get();
    std::uint64_t offset = 0;
    for (const std::int64_t i : lines) {
        start(offset);
        const std::string_view raw = file.RawLine(i);
        std::memcpy(out + offset, raw.data(), raw.size());
        offset += raw.size();
        if (file.LineLacksNewline(i))
            made->m_lastLacksNewline = true;
        else
            out[offset++] = '\n';
    }
    start(offset);
    return made;
}

void LineFile::Decode()
{
    const TextEncoding encoding = WideText::EncodingOfMark(Bytes());
    if (encoding == TextEncoding::Utf8)
        return;
    Buffer decoded(WideText::MaxDecodedSize(m_size));
    const std::int64_t size = WideText::DecodeToUtf8(Bytes(), encoding, decoded.Data());
    if (size < 0) {
        // Kept as bytes: whoever reads it decides whether that is text.
        m_facts.undecodable = true;
        return;
    }
    decoded.Resize(static_cast<std::size_t>(size));
    m_bytes.reset(decoded.Release());
    m_size = static_cast<std::size_t>(size);
    m_facts.encoding = encoding;
}

std::int64_t LineFile::StripCrBeforeLf()
{
    // Each piece between two such CRs moves down in place; a file without
    // any is only searched.
    char* data = m_bytes.get();
    const char* end = data + m_size;
    char* to = nullptr;  // where the next piece goes, once a CR is out
    const char* from = data;
    for (const char* cr = data;
         (cr = static_cast<const char*>(std::memchr(cr, '\r', static_cast<std::size_t>(end - cr)))) != nullptr; ++cr) {
        if (cr + 1 == end || cr[1] != '\n')
            continue;
        if (!to) {
            to = data + (cr - data);  // nothing before the first one moves
        } else {
            std::memmove(to, from, static_cast<std::size_t>(cr - from));
            to += cr - from;
        }
        from = cr + 1;
    }
    if (!to)
        return 0;
    const auto rest = static_cast<std::size_t>(end - from);
    std::memmove(to, from, rest);
    const std::size_t before = m_size;
    m_size = static_cast<std::size_t>(to + rest - data);
    return static_cast<std::int64_t>(before - m_size);  // one byte a CR taken out
}

namespace {

constexpr std::uint64_t kOnes = 0x0101010101010101ull;
constexpr std::uint64_t kHighs = 0x8080808080808080ull;

// The high bit of each CR byte in eight bytes. Adding 0x7F to the low
// seven bits of a byte of x sets its high bit, without a carry into the
// next byte, exactly when they are not all zero; or-ed with x itself, the
// high bit is clear exactly for a zero byte, a CR of the word.
[[gnu::always_inline]] inline std::uint64_t CrsIn(std::uint64_t word)
{
    constexpr std::uint64_t kLows = kOnes * 0x7F;
    const std::uint64_t x = word ^ (kOnes * '\r');
    return ~(((x & kLows) + kLows) | x | kLows);
}

[[gnu::always_inline]] inline std::uint64_t Count(std::uint64_t bits)
{
    return bits ? static_cast<std::uint64_t>(__builtin_popcountll(bits)) : 0;
}

// Adds the CRs from p up to `limit` to `crs`. Most files hold none: then
// 32 bytes cost one test.
const unsigned char* CountCrs(const unsigned char* p, const unsigned char* limit, std::uint64_t& crs)
{
    for (; limit - p >= 32; p += 32) {
        std::uint64_t w[4];
        std::memcpy(w, p, 32);
        const std::uint64_t found[4] = {CrsIn(w[0]), CrsIn(w[1]), CrsIn(w[2]), CrsIn(w[3])};
        if (found[0] | found[1] | found[2] | found[3])
            crs += Count(found[0]) + Count(found[1]) + Count(found[2]) + Count(found[3]);
    }
    for (; p < limit; ++p)
        crs += *p == '\r';
    return p;
}

// The length of the well-formed UTF-8 sequence that starts with the byte
// above 0x7F at p, or 0: the rules of Unicode::DecodeUtf8 (no overlong
// forms, no surrogates, nothing above U+10FFFF), checked on the bytes
// without building the character.
[[gnu::always_inline]] inline int Utf8Length(const unsigned char* p, const unsigned char* end)
{
    const unsigned char lead = p[0];
    const auto continues = [](unsigned char b) { return (b & 0xC0) == 0x80; };
    if (lead < 0xC2 || lead > 0xF4)
        return 0;
    if (lead < 0xE0)
        return end - p >= 2 && continues(p[1]) ? 2 : 0;
    // The second byte's range excludes overlong forms, surrogates (after
    // ED) and code points above U+10FFFF (after F4).
    const unsigned char low = lead == 0xE0 ? 0xA0 : lead == 0xF0 ? 0x90 : 0x80;
    const unsigned char high = lead == 0xED ? 0x9F : lead == 0xF4 ? 0x8F : 0xBF;
    if (lead < 0xF0)
        return end - p >= 3 && p[1] >= low && p[1] <= high && continues(p[2]) ? 3 : 0;
    return end - p >= 4 && p[1] >= low && p[1] <= high && continues(p[2]) && continues(p[3]) ? 4 : 0;
}

// True when the bytes are well-formed UTF-8: ASCII is taken 32 and 8 bytes
// at a time, runs of two-byte characters (Greek, Cyrillic, Hebrew, Arabic)
// four characters at a time.
bool IsUtf8(const unsigned char* p, const unsigned char* end)
{
    while (p < end) {
        for (; end - p >= 32; p += 32) {
            std::uint64_t w[4];
            std::memcpy(w, p, 32);
            if ((w[0] | w[1] | w[2] | w[3]) & kHighs)
                break;
        }
        if (p == end)
            break;
        std::uint64_t word = 0;
        if (end - p >= 8 && (std::memcpy(&word, p, 8), (word & kHighs) == 0)) {
            p += 8;
            continue;
        }
        if (*p < 0x80) {
            ++p;
            continue;
        }
        // Leads C2 to DF, each followed by 80 to BF (in memory order).
        if (end - p >= 8 && (word & 0xC0E0C0E0C0E0C0E0ull) == 0x80C080C080C080C0ull
            && (((word & 0x001E001E001E001Eull) + 0x007F007F007F007Full) & 0x0080008000800080ull)
                   == 0x0080008000800080ull) {
            p += 8;
            continue;
        }
        const int length = Utf8Length(p, end);
        if (length == 0)
            return false;
        p += length;
    }
    return true;
}

// The position of the first LF at or after `from`, or `size` when there is
// none. Most lines are short, where a call to memchr per line costs more
// than the scan itself: the first bytes are scanned here eight at a time,
// and memchr takes over for long lines.
std::uint64_t NextNewline(const char* data, std::uint64_t from, std::uint64_t size)
{
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

struct Splitting {
    std::uint64_t crs = 0;
    std::int64_t crlf = 0;
    bool lastLacksNewline = false;
};

// Appends the start of every line and the end of the data to `starts`.
// Lines are split and their CRs counted a block at a time, while the block
// is in the cache: a second pass over a large file would read it from
// memory again.
template <class Offset>
Splitting SplitLines(const char* data, std::uint64_t size, OffsetTable<Offset>& starts)
{
    constexpr std::uint64_t kBlock = 64 * 1024;
    Splitting result;
    const auto* bytes = reinterpret_cast<const unsigned char*>(data);
    const unsigned char* scanned = bytes;
    // A first guess of the line count; the table grows cheaply beyond it.
    starts.Reserve(static_cast<std::size_t>(size / 32 + 2));
    std::uint64_t pos = 0;
    while (pos < size) {
        const std::uint64_t limit = std::min(size, pos + kBlock);
        scanned = CountCrs(scanned, bytes + limit, result.crs);
        while (pos < limit) {
            starts.Append(static_cast<Offset>(pos));
            const std::uint64_t lf = NextNewline(data, pos, size);
            if (lf == size) {
                result.lastLacksNewline = true;
                pos = size;
                break;
            }
            // The byte before the LF was just read: counting the CR LF line
            // ends here costs nothing.
            result.crlf += lf > 0 && data[lf - 1] == '\r';
            pos = lf + 1;
        }
    }
    // A long last line may reach past the last block counted.
    (void)CountCrs(scanned, bytes + size, result.crs);
    starts.Append(static_cast<Offset>(size));
    return result;
}

}  // namespace

void LineFile::Split()
{
    m_wide = m_size > 0xFFFFFFFFull;
    const Splitting split =
        m_wide ? SplitLines(m_bytes.get(), m_size, m_wideStarts) : SplitLines(m_bytes.get(), m_size, m_starts);
    m_lastLacksNewline = split.lastLacksNewline;
    const std::int64_t lfs = LineCount() - (m_lastLacksNewline ? 1 : 0);
    m_facts.crlfEndings = split.crlf;
    m_facts.lfEndings = lfs - split.crlf;
    m_facts.crEndings = static_cast<std::int64_t>(split.crs) - split.crlf;
    m_facts.byteOrderMark = Bytes().substr(0, 3) == "\xEF\xBB\xBF";
    const char last = m_size > 0 ? m_bytes.get()[m_size - 1] : '\0';
    m_facts.finalNewline = last == '\n' || (last == '\r' && lfs == 0);
}

const TextFacts& LineFile::Facts() const
{
    // Checked on first need, not while reading: at a character a time,
    // text in other scripts than Latin would take a third longer to read,
    // for a fact the comparison itself never needs. A decoded file already
    // knows its encoding.
    std::call_once(m_encodingKnown, [this] {
        if (m_facts.encoding != TextEncoding::Utf8)
            return;
        const auto* bytes = reinterpret_cast<const unsigned char*>(m_bytes.get());
        m_facts.encoding = !IsUtf8(bytes, bytes + m_size) ? TextEncoding::Windows1252
                           : m_facts.byteOrderMark        ? TextEncoding::Utf8Bom
                                                          : TextEncoding::Utf8;
    });
    return m_facts;
}
