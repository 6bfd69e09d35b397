#pragma once
// An input file opened for reading. Opening only asks the system about the
// file, so that the same file named twice can be recognised before a byte
// is read; the first block, which decides whether the file is text, is
// read next, so a binary pair can be answered without reading either file
// in full.
//
// This file and its source are the engine's one seam to the operating
// system (POSIX descriptors).

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

// Why an input could not be used: the path as given, what was attempted
// ("open", "read") and the system's error number.
struct FileError {
    std::string path;
    std::string action;
    int code = 0;

    [[nodiscard]] bool Failed() const { return code != 0; }
    // The system's words for the error number.
    [[nodiscard]] std::string Reason() const;
};

// A moment as the file system keeps it.
struct FileTime {
    std::int64_t seconds = 0;
    std::int32_t nanoseconds = 0;
};

class InputFile {
public:
    static constexpr std::size_t kFirstBlockSize = 64 * 1024;

    // Opens the file at `path`, taken byte for byte.
    explicit InputFile(std::string path);
    // Standard input, shown as `shownAs` in messages.
    [[nodiscard]] static InputFile StandardInput(std::string shownAs = "-");
    ~InputFile();
    InputFile(const InputFile&) = delete;
    InputFile& operator=(const InputFile&) = delete;
    InputFile(InputFile&& other) noexcept;
    InputFile& operator=(InputFile&&) = delete;

    [[nodiscard]] bool Ok() const { return !m_error.Failed(); }
    [[nodiscard]] const FileError& Error() const { return m_error; }
    [[nodiscard]] const std::string& Path() const { return m_path; }
    // True when both name the very same file (or both standard input).
    [[nodiscard]] bool SameFileAs(const InputFile& other) const;
    // The file's modification time; for standard input the time it was
    // opened, since a pipe has no meaningful one.
    [[nodiscard]] FileTime ModificationTime() const { return m_modified; }
    // The size the file system reported, or -1 for pipes, terminals and
    // other files whose size is not known in advance.
    [[nodiscard]] std::int64_t ReportedSize() const { return m_reportedSize; }

    // Reads the first block (up to kFirstBlockSize bytes); false on failure.
    bool ReadFirstBlock();
    [[nodiscard]] std::string_view FirstBlock() const { return {m_firstBlock.get(), m_firstBlockSize}; }
    // True when the first block, or its first `within` bytes, contains a
    // NUL byte.
    [[nodiscard]] bool LooksBinary(std::size_t within = SIZE_MAX) const;
    // Reads the next bytes after everything read so far. Returns the count
    // read, 0 at the end, -1 on failure (Error() then says why).
    std::int64_t ReadMore(char* into, std::size_t capacity);

private:
    InputFile(int descriptor, std::string shownAs);
    void Describe();
    void Fail(const char* action, int code);

    std::string m_path;
    int m_fd = -1;
    bool m_owned = false;
    bool m_stdin = false;
    std::uint64_t m_device = 0;
    std::uint64_t m_inode = 0;
    FileTime m_modified;
    std::int64_t m_reportedSize = -1;
    // Left uninitialised: only the bytes read are ever looked at, and a
    // small file then touches only the memory it fills.
    std::unique_ptr<char[]> m_firstBlock;
    std::size_t m_firstBlockSize = 0;
    FileError m_error;
};

// Asks the system to back a large buffer, about to be filled from a file,
// with large pages: far fewer page faults than filling it page by page.
// `data` is aligned to 2 MiB and `size` a multiple of it.
void AdviseLargeBuffer(void* data, std::size_t size);

// True when both files hold the same bytes, reading both from where their
// first blocks end in fixed-size chunks, so the memory used does not depend
// on the files' sizes. On a read failure returns false and sets `error`.
[[nodiscard]] bool SameBytes(InputFile& one, InputFile& two, FileError& error);
