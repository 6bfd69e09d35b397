#include "engine/FolderFiles.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace FolderFiles {
namespace {

using FolderTree::Kind;
using FolderTree::SideFacts;
using FolderTree::State;

SideFacts FactsOf(const struct stat& info, bool link)
{
    SideFacts facts;
    facts.link = link;
    facts.kind = S_ISREG(info.st_mode) ? Kind::File : S_ISDIR(info.st_mode) ? Kind::Folder : Kind::Other;
    facts.size = facts.kind == Kind::File ? static_cast<std::int64_t>(info.st_size) : 0;
    facts.modified = static_cast<std::int64_t>(info.st_mtim.tv_sec) * 1'000'000'000 + info.st_mtim.tv_nsec;
    return facts;
}

SideFacts Unreadable(int error, bool link)
{
    SideFacts facts;
    facts.kind = Kind::Unreadable;
    facts.link = link;
    facts.error = static_cast<std::uint16_t>(error);
    return facts;
}

// What the entry `name` of the open folder `dir` is; the listing's own type
// for it, when it gave one, spares nothing: the size and time are wanted.
SideFacts Describe(int dir, const char* name, unsigned char type, bool followLinks, FolderTree::FileId& id)
{
    struct stat info {};
    const bool maybeLink = type == DT_LNK || type == DT_UNKNOWN;
    if (::fstatat(dir, name, &info, followLinks ? 0 : AT_SYMLINK_NOFOLLOW) == 0) {
        id = {static_cast<std::uint64_t>(info.st_dev), static_cast<std::uint64_t>(info.st_ino)};
        bool link = type == DT_LNK || (!followLinks && S_ISLNK(info.st_mode));
        if (type == DT_UNKNOWN && followLinks) {
            struct stat own {};
            link = ::fstatat(dir, name, &own, AT_SYMLINK_NOFOLLOW) == 0 && S_ISLNK(own.st_mode);
        }
        return FactsOf(info, link);
    }
    const int error = errno;
    // A link that leads nowhere (or round in a circle) is unreadable as
    // the file it names, but it is there.
    struct stat own {};
    const bool link = maybeLink && ::fstatat(dir, name, &own, AT_SYMLINK_NOFOLLOW) == 0 && S_ISLNK(own.st_mode);
    return Unreadable(error, link);
}

// Reads until `size` bytes are in or the file ends; the count read, or -1.
// A short read that brings in exactly `expected` bytes is taken as the end
// (for a regular file the system reads all it has), sparing the read that
// would only return 0.
ssize_t ReadFully(int fd, char* into, std::size_t size, std::uint64_t expected = UINT64_MAX)
{
    std::size_t got = 0;
    while (got < size) {
        const ssize_t n = ::read(fd, into + got, size - got);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return -1;
        if (n == 0)
            break;
        got += static_cast<std::size_t>(n);
        if (got == expected)
            break;
    }
    return static_cast<ssize_t>(got);
}

class Descriptor {
public:
    // Without blocking: a fifo put where a file was listed would otherwise
    // hold the thread until someone writes to it. (Reads of a regular file
    // do not heed the flag.)
    explicit Descriptor(const std::string& path)
    {
        do
            m_fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
        while (m_fd < 0 && errno == EINTR);
    }
    ~Descriptor()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    [[nodiscard]] int Get() const { return m_fd; }

private:
    int m_fd = -1;
};

Verdict Failure(int error)
{
    return {State::Error, static_cast<std::uint16_t>(error)};
}

}  // namespace

SideFacts LookAt(const std::string& path, bool followLinks, FolderTree::FileId* id)
{
    struct stat info {};
    struct stat own {};
    const bool link = ::lstat(path.c_str(), &own) == 0 && S_ISLNK(own.st_mode);
    const int status = followLinks ? ::stat(path.c_str(), &info) : ::lstat(path.c_str(), &info);
    if (status != 0)
        return Unreadable(errno, link);
    if (id)
        *id = {static_cast<std::uint64_t>(info.st_dev), static_cast<std::uint64_t>(info.st_ino)};
    return FactsOf(info, link);
}

int ListFolder(const std::string& path, bool followLinks, const Keep& keep,
               std::vector<FolderTree::ListedEntry>& entries)
{
    DIR* dir = nullptr;
    do
        dir = ::opendir(path.c_str());
    while (!dir && errno == EINTR);
    if (!dir)
        return errno;
    const int fd = ::dirfd(dir);
    int error = 0;
    for (;;) {
        errno = 0;
        const dirent* entry = ::readdir(dir);
        if (!entry) {
            error = errno;
            break;
        }
        const char* name = entry->d_name;
        if (name[0] == '.' && (name[1] == '\0' || (name[1] == '.' && name[2] == '\0')))
            continue;
        FolderTree::ListedEntry listed;
        listed.name = name;
        // A name the filters leave out costs no question to the system when
        // the listing says what it is.
        const bool knownFolder = entry->d_type == DT_DIR;
        const bool knownOther = entry->d_type != DT_DIR && entry->d_type != DT_LNK && entry->d_type != DT_UNKNOWN;
        if ((knownFolder || knownOther) && keep && !keep(listed.name, knownFolder))
            continue;
        listed.facts = Describe(fd, name, entry->d_type, followLinks, listed.id);
        if (!knownFolder && !knownOther && keep && !keep(listed.name, listed.facts.kind == Kind::Folder))
            continue;
        entries.push_back(std::move(listed));
    }
    ::closedir(dir);
    return error;
}

bool ReadSmallFile(const std::string& path, std::size_t limit, std::string& bytes)
{
    const Descriptor file(path);
    struct stat info {};
    if (file.Get() < 0 || ::fstat(file.Get(), &info) != 0 || !S_ISREG(info.st_mode))
        return false;
    bytes.resize(limit + 1);
    const ssize_t got = ReadFully(file.Get(), bytes.data(), limit + 1);
    if (got < 0 || static_cast<std::size_t>(got) > limit)
        return false;
    bytes.resize(static_cast<std::size_t>(got));
    return true;
}

Buffers::Buffers()
    : m_one(std::make_unique_for_overwrite<char[]>(kChunk)), m_two(std::make_unique_for_overwrite<char[]>(kChunk))
{
}

Verdict SameBytes(const std::string& one, const std::string& two, std::int64_t size, Buffers& buffers,
                  const std::atomic<bool>& stop)
{
    const Descriptor a(one);
    if (a.Get() < 0)
        return Failure(errno);
    const Descriptor b(two);
    if (b.Get() < 0)
        return Failure(errno);
    if (size > static_cast<std::int64_t>(Buffers::kChunk)) {
        (void)::posix_fadvise(a.Get(), 0, 0, POSIX_FADV_SEQUENTIAL);
        (void)::posix_fadvise(b.Get(), 0, 0, POSIX_FADV_SEQUENTIAL);
    }
    // Each read asks for one byte more than is left, so that a file that
    // grew is seen, and one read of a small file tells its end.
    auto left = static_cast<std::uint64_t>(std::max<std::int64_t>(size, 0));
    for (;;) {
        if (stop.load(std::memory_order_relaxed))
            return Failure(ECANCELED);
        const std::size_t want = static_cast<std::size_t>(std::min<std::uint64_t>(Buffers::kChunk, left + 1));
        const ssize_t gotA = ReadFully(a.Get(), buffers.One(), want, left);
        if (gotA < 0)
            return Failure(errno);
        const ssize_t gotB = ReadFully(b.Get(), buffers.Two(), want, left);
        if (gotB < 0)
            return Failure(errno);
        if (gotA != gotB || std::memcmp(buffers.One(), buffers.Two(), static_cast<std::size_t>(gotA)) != 0)
            return {State::Different, 0};
        if (static_cast<std::size_t>(gotA) < want)
            return {};
        left -= std::min<std::uint64_t>(left, static_cast<std::uint64_t>(gotA));
    }
}

Verdict OpenBoth(const std::string& one, const std::string& two)
{
    for (const std::string* path : {&one, &two}) {
        const Descriptor file(*path);
        if (file.Get() < 0)
            return Failure(errno);
    }
    return {};
}

std::string LinkTarget(const std::string& path)
{
    std::string target(256, '\0');
    for (;;) {
        const ssize_t n = ::readlink(path.c_str(), target.data(), target.size());
        if (n < 0)
            return {};
        if (static_cast<std::size_t>(n) < target.size()) {
            target.resize(static_cast<std::size_t>(n));
            return target;
        }
        target.resize(target.size() * 2);
    }
}

Verdict SameLinkTargets(const std::string& one, const std::string& two)
{
    errno = 0;
    const std::string a = LinkTarget(one);
    if (a.empty())
        return Failure(errno ? errno : EINVAL);
    const std::string b = LinkTarget(two);
    if (b.empty())
        return Failure(errno ? errno : EINVAL);
    return {a == b ? State::Identical : State::Different, 0};
}

}  // namespace FolderFiles
