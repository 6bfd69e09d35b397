#include "folderview/FolderScanFeed.h"

#include <QTimer>

#if defined(__GLIBC__)
#include <malloc.h>
#endif

namespace {

void ReleaseFreedMemory()
{
#if defined(__GLIBC__)
    (void)malloc_trim(0);
#endif
}

}  // namespace

FolderScanFeed::FolderScanFeed(FolderTreeModel& model, QObject* parent) : QObject(parent), m_model(model)
{
}

FolderScanFeed::~FolderScanFeed()
{
    // The scan's threads end before the feed they wake goes.
    m_scan.reset();
}

void FolderScanFeed::Start(const std::string& one, const std::string& two, FolderScanSettings settings)
{
    m_scan.reset();
    m_children.clear();
    m_verdicts.clear();
    m_verdictsDone = 0;
    m_finished = false;
    m_stopped = false;
    m_running = true;
    m_backlog = false;
    m_applied.invalidate();
    m_last = {};
    std::array<FolderTree::SideFacts, 2> roots{FolderFiles::LookAt(one, true), FolderFiles::LookAt(two, true)};
    m_model.Reset(std::make_unique<FolderTree::Tree>(one, two, roots));
    m_clock.start();
    m_scan = std::make_unique<FolderScan>(one, two, std::move(settings), [this] { Wake(); });
}

void FolderScanFeed::Stop()
{
    if (m_scan)
        m_scan->Stop();
}

FolderScanFeed::Progress FolderScanFeed::Now() const
{
    if (!m_scan || !m_running)
        return m_last;
    return {m_scan->FoldersListed(), m_scan->FilesCompared(), m_scan->FilesFound(),
            m_running ? m_clock.elapsed() : m_last.elapsedMs};
}

// On a scan thread: one call on the user-interface thread is enough for
// all the news that comes before it runs.
void FolderScanFeed::Wake()
{
    if (!m_posted.exchange(true))
        QMetaObject::invokeMethod(this, &FolderScanFeed::Apply, Qt::QueuedConnection);
}

void FolderScanFeed::Apply()
{
    if (!m_scan || !m_running) {
        m_posted = false;
        return;
    }
    // News that comes at once is put in at most every kIntervalMs, so that
    // the tree is not painted again for each piece of it. (The first comes
    // at once: the top of the tree shows as soon as it is known; and so
    // does the last.)
    if (m_applied.isValid() && m_applied.elapsed() < kIntervalMs && !m_backlog && !m_scan->Done()) {
        QTimer::singleShot(static_cast<int>(kIntervalMs - m_applied.elapsed()), this, &FolderScanFeed::Apply);
        return;
    }
    m_posted = false;
    m_applied.start();
    FolderScanNews news = m_scan->Take();
    for (auto& children : news.children)
        m_children.push_back(std::move(children));
    m_verdicts.insert(m_verdicts.end(), news.verdicts.begin(), news.verdicts.end());
    m_finished = m_finished || news.finished;
    m_stopped = m_stopped || news.stopped;
    QElapsedTimer portion;
    portion.start();
    // Children first: a verdict never names an entry whose folder is not in.
    while (!m_children.empty() && portion.elapsed() < kPortionMs) {
        m_model.AddChildren(std::move(m_children.front()));
        m_children.pop_front();
    }
    constexpr std::size_t kVerdictsAtOnce = 256;
    while (m_children.empty() && m_verdictsDone < m_verdicts.size() && portion.elapsed() < kPortionMs) {
        const std::size_t to = std::min(m_verdicts.size(), m_verdictsDone + kVerdictsAtOnce);
        m_model.SetStates(m_verdicts, m_verdictsDone, to - 1);
        m_verdictsDone = to;
    }
    if (m_verdictsDone == m_verdicts.size()) {
        m_verdicts.clear();
        m_verdictsDone = 0;
    }
    const bool backlog = !m_children.empty() || !m_verdicts.empty();
    m_backlog = backlog;
    if (!backlog && m_finished) {
        m_running = false;
        m_last = {m_scan->FoldersListed(), m_scan->FilesCompared(), m_scan->FilesFound(), m_clock.elapsed()};
        if (m_stopped)
            m_model.StopPending();
        // The news of a large tree came in many small pieces, now freed:
        // give back to the system what they took.
        m_scan.reset();
        ReleaseFreedMemory();
        emit Progressed();
        emit Finished(m_stopped);
        return;
    }
    emit Progressed();
    // What is left goes on once painting and input have had their turn.
    if (backlog && !m_posted.exchange(true))
        QTimer::singleShot(kBreathMs, this, &FolderScanFeed::Apply);
}
