#pragma once
// A comparison of two folder trees, run on threads of its own: a small
// pool lists the folders (breadth first, so the top of the tree is complete
// first) and reads the files whose bytes decide, and one thread puts the
// listings in order and hands out the ids. What they find is
// gathered as news that the owner takes when woken, and puts into its own
// FolderTree::Tree in the order taken, so that the ids the scan hands out
// are the ids of that tree. Stop() ends the scan soon; what was found stays.

#include "engine/Comparison.h"
#include "engine/FolderFiles.h"
#include "engine/FolderTree.h"

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

class IgnoreChain;

struct FolderScanSettings {
    FolderTree::Rules rules;
    bool followLinks = true;
    // .gitignore files found in each tree leave out what they ignore there.
    bool honourGitIgnore = false;
    // Shell patterns for the base names of files and of folders left out.
    std::vector<std::string> excludeFiles;
    std::vector<std::string> excludeFolders;
    // How files are compared when rules.asText is set.
    CompareSettings text;
    // Makes the line filters of a text comparison for one thread (a
    // filter's compiled form is not shared between threads); none when empty.
    std::function<std::shared_ptr<const LineSkipper>()> makeLineSkipper;
    // Threads reading files; 0 for one per processor.
    int threads = 0;
};

// What the scan found since the news was last taken.
struct FolderScanNews {
    // The children of a folder, to be put in with Tree::AddChildren: the
    // first of them gets the id `first`.
    struct Children {
        FolderTree::Id parent = 0;
        FolderTree::Id first = 0;
        std::vector<FolderTree::AlignedPair> pairs;
    };
    // A pair of files compared, or a folder that could not be listed.
    struct Verdict {
        FolderTree::Id id = 0;
        FolderTree::State state = FolderTree::State::Identical;
        std::uint16_t error = 0;
    };
    std::vector<Children> children;
    std::vector<Verdict> verdicts;
    bool finished = false;  // nothing more will come
    bool stopped = false;   // ... because the scan was stopped

    [[nodiscard]] bool Empty() const { return children.empty() && verdicts.empty() && !finished; }
};

class FolderScan {
public:
    // Starts comparing the folders at `one` and `two`, whose facts the tree
    // root holds (FolderFiles::LookAt). `wake` is called on a scan thread
    // whenever news arrives that was not there before; it must be quick.
    FolderScan(std::string one, std::string two, FolderScanSettings settings, std::function<void()> wake);
    // Stops the scan and waits for its threads.
    ~FolderScan();
    FolderScan(const FolderScan&) = delete;
    FolderScan& operator=(const FolderScan&) = delete;

    void Stop();
    [[nodiscard]] FolderScanNews Take();

    // Compares the roots of `tree` (which holds only their pair) to the end
    // and puts all that was found into it, for a caller that waits for the
    // whole tree. `onWake` runs on a scan thread each time news comes.
    static void RunToEnd(FolderTree::Tree& tree, FolderScanSettings settings, const std::function<void()>& onWake = {});

    // How far it has come: folders listed, and files compared of those
    // found to compare.
    [[nodiscard]] std::uint64_t FoldersListed() const { return m_foldersListed.load(); }
    [[nodiscard]] std::uint64_t FilesCompared() const { return m_filesCompared.load(); }
    [[nodiscard]] std::uint64_t FilesFound() const { return m_filesFound.load(); }
    // True once the last news is there to be taken.
    [[nodiscard]] bool Done() const { return m_done.load(); }

private:
    // The folders listed above one, on one side, nearest first: a folder met
    // again below itself (through a link) would be listed for ever.
    struct Ancestry {
        FolderTree::FileId id;
        std::shared_ptr<const Ancestry> up;
    };
    // A folder (or a pair of folders) to list.
    struct Folder {
        FolderTree::Id id = 0;
        std::array<std::string, 2> paths;     // empty for a side without it
        std::array<std::string, 2> fromRoot;  // "a/b" on each side, "" at the root
        std::array<std::shared_ptr<const IgnoreChain>, 2> ignores;
        std::array<std::shared_ptr<const Ancestry>, 2> above;  // this folder included
    };
    // What a folder (pair) holds, read by any thread of the pool and put
    // in order by the lister.
    struct Listing {
        Folder folder;
        std::array<std::vector<FolderTree::ListedEntry>, 2> entries;
        // The rules in force below it, its own .gitignore files included.
        std::array<std::shared_ptr<const IgnoreChain>, 2> ignores;
        int error = 0;
        bool done = false;  // under m_jobsMutex
    };
    // A pair of files (or links) whose bytes (or targets) decide.
    struct Job {
        FolderTree::Id id = 0;
        std::shared_ptr<const std::array<std::string, 2>> folders;
        std::array<std::string, 2> names;
        bool links = false;
        std::array<std::int64_t, 2> sizes{};
    };
    using Order = std::deque<std::shared_ptr<Listing>>;
    [[nodiscard]] static bool Below(const std::shared_ptr<const Ancestry>& above, const FolderTree::FileId& id);

    void List();
    // Reads both sides of a folder; any thread.
    void Read(Listing& listing) const;
    // Takes the first listing waiting to be read and reads it, the lock
    // (held on entry and on return) let go meanwhile.
    void ReadNext(std::unique_lock<std::mutex>& lock);
    // Waits for a listing, reading others meanwhile; false once stopped.
    bool WaitFor(const Listing& listing);
    // Lines up a listing read, hands out the ids of its entries and posts
    // them, and queues what is to be listed or compared below it.
    void Place(Listing& listing, Order& order);
    void Work();
    [[nodiscard]] FolderScanNews::Verdict Compare(const Job& job, FolderFiles::Buffers& buffers,
                                                  const CompareSettings& text) const;
    void Post(FolderScanNews::Children&& children);
    void Post(const std::vector<FolderScanNews::Verdict>& verdicts);

    std::array<std::string, 2> m_roots;
    FolderScanSettings m_settings;
    std::function<void()> m_wake;
    std::atomic<bool> m_stop{false};
    std::atomic<std::uint64_t> m_foldersListed{0};
    std::atomic<std::uint64_t> m_filesCompared{0};
    std::atomic<std::uint64_t> m_filesFound{0};
    std::atomic<bool> m_done{false};

    // The lister's alone: the id the next child gets.
    FolderTree::Id m_nextId = 1;

    std::mutex m_jobsMutex;
    std::condition_variable m_jobsReady;
    std::condition_variable m_listed;  // a listing was read
    std::deque<std::shared_ptr<Listing>> m_toList;
    std::deque<Job> m_jobs;
    bool m_listingDone = false;

    std::mutex m_newsMutex;
    FolderScanNews m_news;

    std::vector<std::thread> m_workers;
    std::thread m_lister;
};
