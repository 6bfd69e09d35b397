#include "engine/InputFile.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <ctime>
#include <utility>
#include <vector>

std::string FileError::Reason() const
{
    return std::strerror(code);
}

InputFile::InputFile(std::string path) : m_path(std::move(path))
{
    do
        m_fd = ::open(m_path.c_str(), O_RDONLY | O_CLOEXEC);
    while (m_fd < 0 && errno == EINTR);
    if (m_fd < 0) {
        Fail("open", errno);
        return;
    }
    m_owned = true;
    Describe();
}

InputFile::InputFile(int descriptor, std::string shownAs) : m_path(std::move(shownAs)), m_fd(descriptor), m_stdin(true)
{
    Describe();
}

InputFile InputFile::StandardInput(std::string shownAs)
{
    return InputFile(STDIN_FILENO, std::move(shownAs));
}

InputFile::InputFile(InputFile&& other) noexcept
    : m_path(std::move(other.m_path)), m_fd(std::exchange(other.m_fd, -1)),
      m_owned(std::exchange(other.m_owned, false)), m_stdin(other.m_stdin), m_device(other.m_device),
      m_inode(other.m_inode), m_modified(other.m_modified), m_reportedSize(other.m_reportedSize),
      m_firstBlock(std::move(other.m_firstBlock)), m_firstBlockSize(other.m_firstBlockSize),
      m_error(std::move(other.m_error))
{
}

InputFile::~InputFile()
{
    if (m_owned)
        ::close(m_fd);
}

void InputFile::Describe()
{
    struct stat info {};
    if (::fstat(m_fd, &info) != 0) {
        Fail("open", errno);
        return;
    }
    // Reading a folder fails only at the first read on some systems;
    // answer it at once, with the system's words.
    if (S_ISDIR(info.st_mode)) {
        Fail("open", EISDIR);
        return;
    }
    m_device = static_cast<std::uint64_t>(info.st_dev);
    m_inode = static_cast<std::uint64_t>(info.st_ino);
    if (m_stdin) {
        timespec now{};
        clock_gettime(CLOCK_REALTIME, &now);
        m_modified = {static_cast<std::int64_t>(now.tv_sec), static_cast<std::int32_t>(now.tv_nsec)};
    } else {
        m_modified = {static_cast<std::int64_t>(info.st_mtim.tv_sec), static_cast<std::int32_t>(info.st_mtim.tv_nsec)};
    }
    // Only a regular file's size says how much will be read; a standard
    // input redirected from a file may already be partly read.
    if (S_ISREG(info.st_mode) && !m_stdin)
        m_reportedSize = static_cast<std::int64_t>(info.st_size);
}

void InputFile::Fail(const char* action, int code)
{
    m_error = {m_path, action, code};
}

bool InputFile::SameFileAs(const InputFile& other) const
{
    return Ok() && other.Ok() && m_device == other.m_device && m_inode == other.m_inode;
}

bool InputFile::ReadFirstBlock()
{
    // A file known to be small needs a block only one byte larger than it
    // (the byte that shows its end). A size of 0 is not known: files under
    // /proc report it whatever they hold.
    std::size_t capacity = kFirstBlockSize;
    if (m_reportedSize > 0 && static_cast<std::uint64_t>(m_reportedSize) < kFirstBlockSize)
        capacity = static_cast<std::size_t>(m_reportedSize) + 1;
    m_firstBlock = std::make_unique_for_overwrite<char[]>(capacity);
    std::size_t filled = 0;
    // A pipe may deliver the block in pieces; keep reading until it is
    // full or the input ends.
    while (filled < capacity) {
        const std::int64_t got = ReadMore(m_firstBlock.get() + filled, capacity - filled);
        if (got < 0) {
            m_firstBlockSize = 0;
            return false;
        }
        if (got == 0)
            break;
        filled += static_cast<std::size_t>(got);
    }
    m_firstBlockSize = filled;
    return true;
}

bool InputFile::LooksBinary(std::size_t within) const
{
    return std::memchr(m_firstBlock.get(), 0, std::min(within, m_firstBlockSize)) != nullptr;
}

std::int64_t InputFile::ReadMore(char* into, std::size_t capacity)
{
    if (!Ok())
        return -1;
    // One read is limited to what the system accepts in one call.
    constexpr std::size_t kMaxRead = std::size_t{1} << 30;
    for (;;) {
        const ssize_t got = ::read(m_fd, into, capacity < kMaxRead ? capacity : kMaxRead);
        if (got >= 0)
            return got;
        if (errno != EINTR) {
            Fail("read", errno);
            return -1;
        }
    }
}

bool SameBytes(InputFile& one, InputFile& two, FileError& error)
{
    // A size of 0 proves nothing: files under /proc report it whatever
    // they hold.
    if (one.ReportedSize() > 0 && two.ReportedSize() > 0 && one.ReportedSize() != two.ReportedSize())
        return false;
    if (one.FirstBlock() != two.FirstBlock())
        return false;
    constexpr std::size_t kChunk = 256 * 1024;
    std::vector<char> bufOne(kChunk);
    std::vector<char> bufTwo(kChunk);
    InputFile* files[2] = {&one, &two};
    char* bufs[2] = {bufOne.data(), bufTwo.data()};
    for (;;) {
        // Fill both chunks completely (or to the end) so that short reads
        // from pipes do not misalign the comparison.
        std::size_t got[2] = {0, 0};
        for (int side = 0; side < 2; ++side) {
            for (;;) {
                const std::int64_t n = files[side]->ReadMore(bufs[side] + got[side], kChunk - got[side]);
                if (n < 0) {
                    error = files[side]->Error();
                    return false;
                }
                if (n == 0 || (got[side] += static_cast<std::size_t>(n)) == kChunk)
                    break;
            }
        }
        if (got[0] != got[1] || std::memcmp(bufs[0], bufs[1], got[0]) != 0)
            return false;
        if (got[0] == 0)
            return true;
    }
}

void AdviseLargeBuffer(void* data, std::size_t size)
{
#ifdef MADV_HUGEPAGE
    // Only advice: where large pages are not to be had, nothing changes.
    (void)::madvise(data, size, MADV_HUGEPAGE);
#else
    (void)data;
    (void)size;
#endif
}
