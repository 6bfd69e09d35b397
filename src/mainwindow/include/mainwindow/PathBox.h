#pragma once
// What a path box does besides holding text: type-ahead completion of
// folder names and taking dropped files and text. Attached to a QLineEdit
// (and owned by it), it watches the box's key presses and drops and runs the
// completion whenever the box's text changes.
//
// Only a text change made by a typed character (space to 'z') is completed;
// Backspace, Delete, paste, drops and texts set by the program are not. The
// folder is searched on a thread of its own, so a folder of 100,000 entries
// or a hung network mount never holds up typing; any newer change of the
// text cancels the search, and a search's result is applied only while the
// box still holds the text it was started for.

#include <QObject>
#include <QString>
#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>

class QLineEdit;
class QMimeData;
class QDropEvent;

// The path a drop puts into a path box, or nothing to leave the box as it
// is. Text wins over a list of files; of a text only the first line that is
// not blank counts (a path has no line break), and a "file:" URL in it is
// taken as its local path. Of a list of files the first counts. A URL of
// anything but a local file (http:, sftp:) is not a path.
[[nodiscard]] std::optional<QString> DroppedPath(const QMimeData& data);

class PathBox final : public QObject {
    Q_OBJECT
public:
    // Searches the disk for the completed path of a typed text (see
    // modAutoCompletePath); runs on a worker thread and should give up soon
    // once cancelled is set.
    using Finder = std::function<QString(const QString& typed, const std::atomic<bool>& cancelled)>;

    explicit PathBox(QLineEdit* box, Finder finder = {});
    ~PathBox() override;
    PathBox(const PathBox&) = delete;
    PathBox& operator=(const PathBox&) = delete;

    [[nodiscard]] QLineEdit* Box() const { return m_box; }
    // True while a search runs whose result is still wanted.
    [[nodiscard]] bool AutoCompleteBusy() const { return m_busy; }
    // Stops the running search; its result is dropped.
    void CancelSearch();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct Mailbox;

    void txtFile_Change(const QString& text);
    void AutoCompletePath(const QString& typed);
    void ApplyCompletion(std::uint64_t search, const QString& typed, const QString& completed);
    void txtFile_OLEDragDrop(QDropEvent* event);

    QLineEdit* m_box;
    Finder m_finder;
    // Set only while the box handles a key press of a typed character.
    bool m_typedCharacter = false;
    bool m_busy = false;
    std::uint64_t m_search = 0;  // number of the newest search
    std::shared_ptr<std::atomic<bool>> m_cancelled;
    std::shared_ptr<Mailbox> m_mailbox;
};
