#pragma once
// The lines of one file, read once and never changed afterwards, so the
// engine, the writers and the result grids can share one copy through a
// std::shared_ptr<const LineFile> and always count lines the same way.
//
// Lines end at LF. A CR right before the LF belongs to the line ending, not
// to the text; a last line without a final LF is still a line.
//
// A file that starts with a UTF-16 or UTF-32 byte-order mark is decoded to
// UTF-8 when the caller asks for it, and its lines are those of the UTF-8
// text; Facts() remembers the encoding it was read in.

#include "engine/InputFile.h"
#include "engine/TextFacts.h"

#include <cstdint>
#include <cstdlib>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

// A growable array of line offsets on malloc/realloc: growing a large
// block moves its pages instead of copying them, so the table needs no
// count of the lines in advance.
template <class T>
class OffsetTable {
public:
    OffsetTable() = default;
    ~OffsetTable() { std::free(m_data); }
    OffsetTable(const OffsetTable&) = delete;
    OffsetTable& operator=(const OffsetTable&) = delete;

    void Reserve(std::size_t capacity);
    void Append(T value)
    {
        if (m_size == m_capacity)
            Reserve(m_capacity < 1024 ? 1024 : m_capacity * 2);
        m_data[m_size++] = value;
    }
    [[nodiscard]] std::size_t Size() const { return m_size; }
    [[nodiscard]] T operator[](std::size_t i) const { return m_data[i]; }

private:
    T* m_data = nullptr;
    std::size_t m_size = 0;
    std::size_t m_capacity = 0;
};

class LineFile {
public:
    // Outcome of loading: either a file or what went wrong.
    struct LoadResult {
        std::shared_ptr<const LineFile> file;
        FileError error;
    };

    // Whether a UTF-16 or UTF-32 file (one with a byte-order mark) is
    // decoded, or kept as its bytes as diff keeps it.
    enum class Wide { Keep, Decode };
    // Whether a CR right before an LF stays in the text or is taken out
    // while reading, so that no line holds it any more.
    enum class Endings { Keep, StripCr };

    // Reads the whole file at `path` (its bytes as given).
    [[nodiscard]] static LoadResult Load(const std::string& path, Wide wide = Wide::Keep,
                                         Endings endings = Endings::Keep);
    // Reads the rest of a file whose first block has already been read.
    [[nodiscard]] static LoadResult FromOpened(InputFile& opened, Wide wide = Wide::Keep,
                                               Endings endings = Endings::Keep);
    // Splits bytes that are already in memory (no file behind them).
    [[nodiscard]] static std::shared_ptr<const LineFile> FromBytes(std::string_view bytes, std::string path = {},
                                                                   Wide wide = Wide::Keep);
    // The given lines of `file` (ascending indexes), each as it was: its CR,
    // and no LF after a last line that lacks one. Only the lines are known
    // of such a file: its Facts() are those of an empty file.
    [[nodiscard]] static std::shared_ptr<const LineFile> FromLines(const LineFile& file,
                                                                   const std::vector<std::int64_t>& lines);

    LineFile(const LineFile&) = delete;
    LineFile& operator=(const LineFile&) = delete;

    [[nodiscard]] std::int64_t LineCount() const
    {
        return static_cast<std::int64_t>(m_wide ? m_wideStarts.Size() : m_starts.Size()) - 1;
    }
    // The line's text without its line ending (no LF, no CR before the LF).
    [[nodiscard]] std::string_view Line(std::int64_t index) const
    {
        std::string_view raw = RawLine(index);
        if (!LineLacksNewline(index) && !raw.empty() && raw.back() == '\r')
            raw.remove_suffix(1);
        return raw;
    }
    // The line with a CR before the LF kept, but without the LF: the bytes
    // that decide whether two lines are equal.
    [[nodiscard]] std::string_view RawLine(std::int64_t index) const
    {
        const auto i = static_cast<std::size_t>(index);
        const std::uint64_t begin = Start(i);
        std::uint64_t end = Start(i + 1);
        if (!LineLacksNewline(index))
            --end;  // the LF
        return {m_bytes.get() + begin, static_cast<std::size_t>(end - begin)};
    }
    // True when the file does not end in LF (and is not empty): the last
    // line then has no line ending at all.
    [[nodiscard]] bool LastLineLacksNewline() const { return m_lastLacksNewline; }
    [[nodiscard]] bool LineLacksNewline(std::int64_t index) const
    {
        return m_lastLacksNewline && index == LineCount() - 1;
    }
    // The text as split into lines: the file's bytes, or their UTF-8
    // decoding for a decoded UTF-16 or UTF-32 file.
    [[nodiscard]] std::string_view Bytes() const { return {m_bytes.get(), m_size}; }
    // How the text is stored. The line endings are counted while reading;
    // whether the text is UTF-8 is found on the first call.
    [[nodiscard]] const TextFacts& Facts() const;
    // The path the file was read from, byte for byte as given.
    [[nodiscard]] const std::string& Path() const { return m_path; }

private:
    struct FreeBytes {
        void operator()(char* p) const { std::free(p); }
    };
    using Bytes_ = std::unique_ptr<char, FreeBytes>;

    // Takes ownership of `bytes`, a block from std::malloc.
    LineFile(Bytes_ bytes, std::size_t size, std::string path, Wide wide, Endings endings = Endings::Keep);
    // Takes ownership of `bytes` whose lines the caller gives (FromLines).
    LineFile(Bytes_ bytes, std::size_t size, std::string path)
        : m_bytes(std::move(bytes)), m_size(size), m_path(std::move(path))
    {
    }
    void Decode();
    std::int64_t StripCrBeforeLf();  // how many CRs it took out
    void Split();
    [[nodiscard]] std::uint64_t Start(std::size_t i) const { return m_wide ? m_wideStarts[i] : m_starts[i]; }

    Bytes_ m_bytes;
    std::size_t m_size = 0;
    std::string m_path;
    // Offset of the first byte of each line, plus one entry for the end of
    // the data: line i spans [start(i), start(i + 1)) with its LF. Files
    // under 4 GiB use 32-bit offsets, half the memory per line.
    OffsetTable<std::uint32_t> m_starts;
    OffsetTable<std::uint64_t> m_wideStarts;
    bool m_wide = false;
    bool m_lastLacksNewline = false;
    mutable TextFacts m_facts;
    mutable std::once_flag m_encodingKnown;
};
