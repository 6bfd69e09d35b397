#pragma once
// What a folder comparison asks the operating system: the entries of a
// folder with what each is, and whether two files hold the same bytes.
// Beside InputFile, the engine's other seam to the system (POSIX calls).

#include "engine/FolderTree.h"

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace FolderFiles {

// What the entry at `path` is: through a symbolic link when `followLinks`,
// else the link itself (Kind::Other with link set). A link that leads
// nowhere is Unreadable, with link set.
[[nodiscard]] FolderTree::SideFacts LookAt(const std::string& path, bool followLinks, FolderTree::FileId* id = nullptr);

// The entries of the folder at `path` that `keep(name, isFolder)` keeps,
// in the order the system gives them. Returns the system's error number
// when the folder cannot be read (0 when it could).
using Keep = std::function<bool(const std::string& name, bool isFolder)>;
[[nodiscard]] int ListFolder(const std::string& path, bool followLinks, const Keep& keep,
                             std::vector<FolderTree::ListedEntry>& entries);

// Reads a small file whole (a .gitignore); false when it cannot be read
// or holds more than `limit` bytes.
[[nodiscard]] bool ReadSmallFile(const std::string& path, std::size_t limit, std::string& bytes);

// The answer of a comparison of two files: their state (Identical,
// Different or Error) and, for Error, the system's error number.
struct Verdict {
    FolderTree::State state = FolderTree::State::Identical;
    std::uint16_t error = 0;
};

// Buffers a thread reuses from one pair of files to the next.
class Buffers {
public:
    static constexpr std::size_t kChunk = 256 * 1024;
    Buffers();
    [[nodiscard]] char* One() { return m_one.get(); }
    [[nodiscard]] char* Two() { return m_two.get(); }

private:
    std::unique_ptr<char[]> m_one;
    std::unique_ptr<char[]> m_two;
};

// Compares the bytes of two regular files that the listing found to be
// `size` bytes long each, reading both a chunk at a time and stopping at the
// first chunk that differs. A file that is no longer that long is found
// different. `stop` cuts a long comparison short (the answer is then Error
// with ECANCELED).
[[nodiscard]] Verdict SameBytes(const std::string& one, const std::string& two, std::int64_t size, Buffers& buffers,
                                const std::atomic<bool>& stop);

// Opens both files and no more: Identical when both can be read, else
// Error with the system's reason.
[[nodiscard]] Verdict OpenBoth(const std::string& one, const std::string& two);

// Compares the targets of two symbolic links.
[[nodiscard]] Verdict SameLinkTargets(const std::string& one, const std::string& two);

// The target of a symbolic link; empty when it is none.
[[nodiscard]] std::string LinkTarget(const std::string& path);

}  // namespace FolderFiles
