#pragma once
// Runs a FolderScan for a FolderTreeModel: the scan's threads find entries,
// and what they found is put into the model on the user-interface thread
// a little at a time, so that the window paints and takes keys between
// two portions however fast the news comes.

#include "engine/FolderScan.h"
#include "folderview/FolderTreeModel.h"

#include <QElapsedTimer>
#include <QObject>
#include <atomic>
#include <deque>
#include <memory>

class FolderScanFeed final : public QObject {
    Q_OBJECT
public:
    explicit FolderScanFeed(FolderTreeModel& model, QObject* parent = nullptr);
    ~FolderScanFeed() override;

    // Gives the model a fresh tree of the two roots and starts comparing
    // them; a scan still running is stopped first.
    void Start(const std::string& one, const std::string& two, FolderScanSettings settings);
    // Stops the scan; what it found stays, the rest is told as stopped.
    void Stop();
    [[nodiscard]] bool Running() const { return m_running; }

    // How far the scan has come.
    struct Progress {
        std::uint64_t folders = 0;
        std::uint64_t filesDone = 0;
        std::uint64_t filesFound = 0;
        qint64 elapsedMs = 0;
    };
    [[nodiscard]] Progress Now() const;

    // The most time one portion of news may take on the user-interface
    // thread before it yields to painting and input.
    static constexpr qint64 kPortionMs = 5;
    // The pause between two portions, in which the other timers of the
    // event loop (the window's own among them) get their turn.
    static constexpr int kBreathMs = 2;
    // How often news is put in while more keeps coming.
    static constexpr qint64 kIntervalMs = 40;

signals:
    // Some news went into the model.
    void Progressed();
    // The scan ended, all its news in the model.
    void Finished(bool stopped);

private:
    void Wake();
    void Apply();

    FolderTreeModel& m_model;
    std::unique_ptr<FolderScan> m_scan;
    std::deque<FolderScanNews::Children> m_children;
    std::vector<FolderScanNews::Verdict> m_verdicts;
    std::size_t m_verdictsDone = 0;
    bool m_finished = false;
    bool m_stopped = false;
    bool m_running = false;
    bool m_backlog = false;   // the last portion left news to put in
    QElapsedTimer m_applied;  // since the last portion began
    std::atomic<bool> m_posted{false};
    QElapsedTimer m_clock;
    Progress m_last;
};
