#include "engine/FolderScan.h"

#include "engine/FolderFiles.h"
#include "engine/GitIgnore.h"
#include "engine/NamePattern.h"

#include <algorithm>
#include <cerrno>
#include <stdexcept>

#include <pthread.h>
#include <sys/resource.h>
#include <unistd.h>

using FolderTree::AlignedPair;
using FolderTree::Id;
using FolderTree::Kind;
using FolderTree::State;

namespace {

std::string Join(const std::string& folder, const std::string& name)
{
    if (folder.empty())
        return name;
    return folder.back() == '/' ? folder + name : folder + '/' + name;
}

bool AnyMatches(const std::vector<std::string>& patterns, const std::string& name)
{
    return std::any_of(patterns.begin(), patterns.end(),
                       [&](const std::string& pattern) { return MatchesPattern(pattern, name); });
}

// The most comparison jobs a thread takes at once.
constexpr std::size_t kJobsAtOnce = 32;

// .gitignore files larger than this are not read: no real one comes near.
constexpr std::size_t kLargestIgnoreFile = 4 * 1024 * 1024;

// Names the thread as a debugger or profiler shows it, and lets it yield
// the processor to the program's other work: a window that waits for its
// turn behind a scan's threads would not paint or take keys meanwhile.
void StartScanThread(const char* name)
{
#if defined(__GLIBC__)
    (void)::pthread_setname_np(::pthread_self(), name);
#else
    (void)name;
#endif
#if defined(__linux__)
    // On Linux each thread has a niceness of its own.
    constexpr int kNicer = 5;
    errno = 0;
    const int nice = ::getpriority(PRIO_PROCESS, static_cast<id_t>(::gettid()));
    if (errno == 0)
        (void)::setpriority(PRIO_PROCESS, static_cast<id_t>(::gettid()), std::min(nice + kNicer, 19));
#endif
}

}  // namespace

bool FolderScan::Below(const std::shared_ptr<const Ancestry>& above, const FolderTree::FileId& id)
{
    for (const Ancestry* at = above.get(); at; at = at->up.get())
        if (at->id == id)
            return true;
    return false;
}

FolderScan::FolderScan(std::string one, std::string two, FolderScanSettings settings, std::function<void()> wake)
    : m_roots{std::move(one), std::move(two)}, m_settings(std::move(settings)), m_wake(std::move(wake))
{
    int threads = m_settings.threads;
    if (threads <= 0)
        threads = static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
    m_workers.reserve(static_cast<std::size_t>(threads));
    for (int i = 0; i < threads; ++i)
        m_workers.emplace_back([this] {
            StartScanThread("folder scan");
            Work();
        });
    m_lister = std::thread([this] {
        StartScanThread("folder lister");
        List();
    });
}

FolderScan::~FolderScan()
{
    Stop();
    if (m_lister.joinable())
        m_lister.join();
}

void FolderScan::Stop()
{
    m_stop = true;
    const std::lock_guard lock(m_jobsMutex);
    m_jobsReady.notify_all();
    m_listed.notify_all();
}

FolderScanNews FolderScan::Take()
{
    const std::lock_guard lock(m_newsMutex);
    return std::exchange(m_news, {});
}

void FolderScan::Post(FolderScanNews::Children&& children)
{
    bool wasEmpty = false;
    {
        const std::lock_guard lock(m_newsMutex);
        wasEmpty = m_news.Empty();
        m_news.children.push_back(std::move(children));
    }
    if (wasEmpty && m_wake)
        m_wake();
}

void FolderScan::Post(const std::vector<FolderScanNews::Verdict>& verdicts)
{
    bool wasEmpty = false;
    {
        const std::lock_guard lock(m_newsMutex);
        wasEmpty = m_news.Empty();
        m_news.verdicts.insert(m_news.verdicts.end(), verdicts.begin(), verdicts.end());
    }
    if (wasEmpty && m_wake)
        m_wake();
}

void FolderScan::RunToEnd(FolderTree::Tree& tree, FolderScanSettings settings, const std::function<void()>& onWake)
{
    std::mutex mutex;
    std::condition_variable woken;
    bool news = false;
    FolderScan scan(tree.Root(0), tree.Root(1), std::move(settings), [&] {
        if (onWake)
            onWake();
        const std::lock_guard lock(mutex);
        news = true;
        woken.notify_one();
    });
    for (bool finished = false; !finished;) {
        {
            std::unique_lock lock(mutex);
            woken.wait(lock, [&] { return news; });
            news = false;
        }
        FolderScanNews taken = scan.Take();
        for (FolderScanNews::Children& children : taken.children) {
            if (children.first != tree.Size())
                throw std::logic_error("folder scan news out of order");
            tree.AddChildren(children.parent, std::move(children.pairs));
        }
        for (const FolderScanNews::Verdict& verdict : taken.verdicts)
            tree.SetState(verdict.id, verdict.state, verdict.error);
        finished = taken.finished;
    }
}

void FolderScan::List()
{
    Order order;
    auto root = std::make_shared<Listing>();
    root->folder.paths = m_roots;
    for (int side = 0; side < 2; ++side) {
        FolderTree::FileId id;
        (void)FolderFiles::LookAt(m_roots[static_cast<std::size_t>(side)], true, &id);
        root->folder.above[static_cast<std::size_t>(side)] = std::make_shared<const Ancestry>(Ancestry{id, nullptr});
    }
    order.push_back(root);
    {
        const std::lock_guard lock(m_jobsMutex);
        m_toList.push_back(root);
        m_jobsReady.notify_all();
    }
    while (!order.empty() && !m_stop) {
        const std::shared_ptr<Listing> front = std::move(order.front());
        order.pop_front();
        if (!WaitFor(*front))
            break;
        Place(*front, order);
    }
    {
        const std::lock_guard lock(m_jobsMutex);
        m_listingDone = true;
        m_jobsReady.notify_all();
    }
    for (std::thread& worker : m_workers)
        worker.join();
    {
        const std::lock_guard lock(m_newsMutex);
        m_news.finished = true;
        m_news.stopped = m_stop.load();
    }
    m_done = true;
    if (m_wake)
        m_wake();
}

bool FolderScan::WaitFor(const Listing& listing)
{
    std::unique_lock lock(m_jobsMutex);
    while (!listing.done && !m_stop) {
        if (m_toList.empty()) {
            m_listed.wait(lock);
            continue;
        }
        // Waiting would leave this thread idle: it reads the next listing
        // itself (most often the very one it waits for).
        ReadNext(lock);
    }
    return !m_stop;
}

void FolderScan::ReadNext(std::unique_lock<std::mutex>& lock)
{
    const std::shared_ptr<Listing> next = std::move(m_toList.front());
    m_toList.pop_front();
    lock.unlock();
    Read(*next);
    lock.lock();
    next->done = true;
    m_listed.notify_all();
}

void FolderScan::Read(Listing& listing) const
{
    const Folder& folder = listing.folder;
    listing.ignores = folder.ignores;
    for (std::size_t side = 0; side < 2 && listing.error == 0; ++side) {
        if (folder.paths[side].empty())
            continue;
        std::string text;
        if (m_settings.honourGitIgnore
            && FolderFiles::ReadSmallFile(Join(folder.paths[side], ".gitignore"), kLargestIgnoreFile, text))
            listing.ignores[side] = IgnoreChain::Extend(listing.ignores[side], folder.fromRoot[side], text);
        const IgnoreChain* chain = listing.ignores[side].get();
        const std::string& from = folder.fromRoot[side];
        const auto keep = [&](const std::string& name, bool isFolder) {
            if (AnyMatches(isFolder ? m_settings.excludeFolders : m_settings.excludeFiles, name))
                return false;
            return !chain || !chain->Ignored(Join(from, name), isFolder);
        };
        listing.error =
            FolderFiles::ListFolder(folder.paths[side], m_settings.followLinks, keep, listing.entries[side]);
    }
}

void FolderScan::Place(Listing& listing, Order& order)
{
    const Folder& folder = listing.folder;
    ++m_foldersListed;
    if (listing.error != 0)
        return Post({FolderScanNews::Verdict{folder.id, State::Error, static_cast<std::uint16_t>(listing.error)}});
    std::vector<AlignedPair> pairs =
        FolderTree::AlignFolder(std::move(listing.entries[0]), std::move(listing.entries[1]), m_settings.rules);
    const Id first = m_nextId;
    m_nextId += static_cast<Id>(pairs.size());
    auto folders = std::make_shared<const std::array<std::string, 2>>(folder.paths);
    std::vector<Job> jobs;
    std::vector<std::shared_ptr<Listing>> below;
    std::uint64_t decided = 0;
    for (std::size_t i = 0; i < pairs.size(); ++i) {
        AlignedPair& pair = pairs[i];
        const Id id = first + static_cast<Id>(i);
        if (FolderTree::Descends(pair.sides, pair.state)) {
            auto next = std::make_shared<Listing>();
            next->folder.id = id;
            bool loops = true;
            for (std::size_t side = 0; side < 2; ++side) {
                if (pair.sides[side].kind != Kind::Folder)
                    continue;
                loops = loops && Below(folder.above[side], pair.ids[side]);
                Folder& inside = next->folder;
                inside.paths[side] = Join(folder.paths[side], pair.names[side]);
                inside.fromRoot[side] = Join(folder.fromRoot[side], pair.names[side]);
                inside.ignores[side] = listing.ignores[side];
                inside.above[side] = std::make_shared<const Ancestry>(Ancestry{pair.ids[side], folder.above[side]});
            }
            if (!loops) {
                below.push_back(std::move(next));
                continue;
            }
            pair.state = State::Error;
            for (auto& facts : pair.sides)
                facts.error = facts.kind == Kind::Folder ? ELOOP : facts.error;
        }
        if (pair.sides[0].kind == Kind::Folder || pair.sides[1].kind == Kind::Folder)
            continue;
        ++decided;
        // Files whose sizes differ are only opened, so that one that cannot
        // be read is told as such, as by diff -rq.
        const bool open = pair.state == State::Different && pair.sides[0].kind == Kind::File
                          && pair.sides[1].kind == Kind::File && m_settings.rules.by == FolderTree::CompareBy::Content;
        if (pair.state == State::Pending || open)
            jobs.push_back(
                {id, folders, pair.names, pair.sides[0].kind == Kind::Other, {pair.sides[0].size, pair.sides[1].size}});
    }
    m_filesFound += decided;
    m_filesCompared += decided - jobs.size();
    // The children go out before any verdict on them can.
    Post(FolderScanNews::Children{folder.id, first, std::move(pairs)});
    if (jobs.empty() && below.empty())
        return;
    order.insert(order.end(), below.begin(), below.end());
    const std::lock_guard lock(m_jobsMutex);
    m_toList.insert(m_toList.end(), std::make_move_iterator(below.begin()), std::make_move_iterator(below.end()));
    for (Job& job : jobs)
        m_jobs.push_back(std::move(job));
    m_jobsReady.notify_all();
}

void FolderScan::Work()
{
    FolderFiles::Buffers buffers;
    CompareSettings text = m_settings.text;
    if (m_settings.rules.asText && m_settings.makeLineSkipper)
        text.skipLines = m_settings.makeLineSkipper();
    std::unique_lock lock(m_jobsMutex);
    for (;;) {
        m_jobsReady.wait(lock, [&] { return m_stop || !m_toList.empty() || !m_jobs.empty() || m_listingDone; });
        if (m_stop)
            return;
        // Listings first: the tree fills in before its files are read.
        if (!m_toList.empty()) {
            ReadNext(lock);
            continue;
        }
        if (m_jobs.empty())
            return;
        // Jobs are taken and their verdicts posted a few at a time: one
        // lock and one wake for each would cost more than a small file's
        // comparison. (Never more than a fair share, so none waits idle.)
        const std::size_t take = std::clamp<std::size_t>(m_jobs.size() / (m_workers.size() + 1), 1, kJobsAtOnce);
        std::vector<Job> jobs(std::make_move_iterator(m_jobs.begin()),
                              std::make_move_iterator(m_jobs.begin() + static_cast<std::ptrdiff_t>(take)));
        m_jobs.erase(m_jobs.begin(), m_jobs.begin() + static_cast<std::ptrdiff_t>(take));
        lock.unlock();
        std::vector<FolderScanNews::Verdict> verdicts;
        verdicts.reserve(jobs.size());
        for (const Job& job : jobs) {
            verdicts.push_back(Compare(job, buffers, text));
            if (m_stop)
                return;
        }
        Post(verdicts);
        m_filesCompared += verdicts.size();
        lock.lock();
    }
}

FolderScanNews::Verdict FolderScan::Compare(const Job& job, FolderFiles::Buffers& buffers,
                                            const CompareSettings& text) const
{
    const std::string one = Join((*job.folders)[0], job.names[0]);
    const std::string two = Join((*job.folders)[1], job.names[1]);
    if (job.links) {
        const FolderFiles::Verdict v = FolderFiles::SameLinkTargets(one, two);
        return {job.id, v.state, v.error};
    }
    if (!m_settings.rules.asText && job.sizes[0] != job.sizes[1]) {
        const FolderFiles::Verdict v = FolderFiles::OpenBoth(one, two);
        return {job.id, v.state == State::Error ? State::Error : State::Different, v.error};
    }
    if (!m_settings.rules.asText || job.sizes[0] == job.sizes[1]) {
        const FolderFiles::Verdict v = FolderFiles::SameBytes(one, two, job.sizes[0], buffers, m_stop);
        if (!m_settings.rules.asText || v.state != State::Different)
            return {job.id, v.state, v.error};
    }
    // Not the same bytes: the same text under the ignore options, as the
    // file view would compare them (binary files by their bytes).
    InputFile a(one);
    InputFile b(two);
    const Comparison c = CompareInputs(a, b, text);
    switch (c.outcome) {
    case Outcome::Identical: return {job.id, State::IdenticalIgnoring, 0};
    case Outcome::Different:
    case Outcome::BinaryDiffer: return {job.id, State::Different, 0};
    case Outcome::Failed: break;
    }
    const int error = c.fileError.code != 0 ? c.fileError.code : c.trouble == Trouble::OutOfMemory ? ENOMEM : EIO;
    return {job.id, State::Error, static_cast<std::uint16_t>(error)};
}
