#include "mainwindow/PathBox.h"

#include "engine/FileNameText.h"
#include "mainwindow/PathListing.h"
#include "mainwindow/modAutoCompletePath.h"

#include <QDropEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMimeData>
#include <QRegularExpression>
#include <QUrl>

#include <mutex>
#include <system_error>
#include <thread>

namespace {

// The first line of a text that holds more than blanks, without its line
// break; empty when there is none.
QString FirstNonBlankLine(const QString& text)
{
    for (QStringView line : QStringView(text).split(u'\n')) {
        if (line.endsWith(u'\r'))
            line.chop(1);
        if (!line.trimmed().isEmpty())
            return line.toString();
    }
    return QString();
}

// The path's own bytes: a name that is not valid UTF-8 arrives percent-
// encoded, which decoding it to a QString would turn into replacement marks.
std::optional<QString> PathOfUrl(const QUrl& url)
{
    if (!url.isLocalFile())
        return std::nullopt;
    if (!url.host().isEmpty())
        return url.toLocalFile();
    return FileNameText::FromBytes(QByteArray::fromPercentEncoding(url.path(QUrl::FullyEncoded).toLatin1()));
}

}  // namespace

std::optional<QString> DroppedPath(const QMimeData& data)
{
    if (data.hasText()) {
        const QString line = FirstNonBlankLine(data.text());
        // File managers offer their files as text too, as URLs.
        static const QRegularExpression url(QStringLiteral("^[A-Za-z][A-Za-z0-9+.-]+://"));
        if (url.match(line).hasMatch())
            return PathOfUrl(QUrl(line));
        if (!line.isEmpty())
            return line;
    }
    if (data.hasUrls()) {
        const QList<QUrl> urls = data.urls();
        if (!urls.isEmpty())
            return PathOfUrl(urls.constFirst());
    }
    return std::nullopt;
}

// Where a worker thread hands its result over. The box's side clears
// receiver under the lock before it goes, so a worker that outlives the box
// (one stuck in a hung mount) never posts to a deleted object.
struct PathBox::Mailbox {
    std::mutex lock;
    PathBox* receiver = nullptr;
};

PathBox::PathBox(QLineEdit* box, Finder finder)
    : QObject(box), m_box(box), m_finder(finder ? std::move(finder) : &modAutoCompletePath::FindCompletedPath),
      m_mailbox(std::make_shared<Mailbox>())
{
    m_mailbox->receiver = this;
    box->installEventFilter(this);
    box->setAcceptDrops(true);
    connect(box, &QLineEdit::textChanged, this, &PathBox::txtFile_Change);
}

PathBox::~PathBox()
{
    CancelSearch();
    const std::lock_guard guard(m_mailbox->lock);
    m_mailbox->receiver = nullptr;
}

void PathBox::CancelSearch()
{
    if (m_cancelled)
        m_cancelled->store(true);
    m_cancelled.reset();
    m_busy = false;
}

bool PathBox::eventFilter(QObject* watched, QEvent* event)
{
    if (watched != m_box)
        return false;
    switch (event->type()) {
    case QEvent::KeyPress: {
        // The flag holds only while the box handles this very key, so no
        // later change (a paste with the mouse, a drop) can find it set.
        const auto* key = static_cast<QKeyEvent*>(event);
        const bool command = key->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier);
        m_typedCharacter = modAutoCompletePath::IsTypedCharacter(key->text(), command);
        static_cast<QObject*>(m_box)->event(event);
        m_typedCharacter = false;
        return true;
    }
    case QEvent::DragEnter:
    case QEvent::DragMove: {
        // Only what the drop would take is welcome, so the pointer tells
        // beforehand; taken as a copy, since a move would cut the text out
        // of the place it was dragged from.
        auto* drag = static_cast<QDragMoveEvent*>(event);
        if (drag->mimeData() && DroppedPath(*drag->mimeData())) {
            drag->setDropAction(Qt::CopyAction);
            drag->accept();
        } else {
            drag->ignore();
        }
        return true;
    }
    case QEvent::Drop: txtFile_OLEDragDrop(static_cast<QDropEvent*>(event)); return true;
    default: return false;
    }
}

void PathBox::txtFile_OLEDragDrop(QDropEvent* event)
{
    const std::optional<QString> path = event->mimeData() ? DroppedPath(*event->mimeData()) : std::nullopt;
    if (!path) {
        event->ignore();
        return;
    }
    m_box->setText(*path);
    event->setDropAction(Qt::CopyAction);
    event->accept();
}

void PathBox::txtFile_Change(const QString& text)
{
    // Any change makes a running search outdated.
    CancelSearch();
    if (m_typedCharacter && modAutoCompletePath::IsCompletable(text))
        AutoCompletePath(text);
    m_typedCharacter = false;
}

void PathBox::AutoCompletePath(const QString& typed)
{
    auto cancelled = std::make_shared<std::atomic<bool>>(false);
    const std::uint64_t search = ++m_search;
    try {
        std::thread([mailbox = m_mailbox, cancelled, finder = m_finder, typed, search] {
            QString completed;
            try {
                completed = finder(typed, *cancelled);
            } catch (...) {
                // A search that fails proposes nothing.
            }
            const std::lock_guard guard(mailbox->lock);
            if (!mailbox->receiver || cancelled->load())
                return;
            PathBox* box = mailbox->receiver;
            QMetaObject::invokeMethod(
                box, [box, search, typed, completed] { box->ApplyCompletion(search, typed, completed); },
                Qt::QueuedConnection);
        }).detach();
    } catch (const std::system_error&) {
        return;  // no thread to be had: no proposal this time
    }
    m_cancelled = std::move(cancelled);
    m_busy = true;
}

void PathBox::ApplyCompletion(std::uint64_t search, const QString& typed, const QString& completed)
{
    if (search != m_search || !m_busy)
        return;
    m_cancelled.reset();
    m_busy = false;
    const QString appended = modAutoCompletePath::AppendedPart(typed, completed);
    if (appended.isEmpty() || m_box->text() != typed)
        return;
    // Appended after the typed text, which keeps the letter case it was
    // typed in, and selected: the next character typed replaces it, moving
    // past it accepts it. Inserting keeps the box's undo history.
    m_box->end(false);
    m_box->insert(appended);
    m_box->setSelection(static_cast<int>(typed.size()), static_cast<int>(appended.size()));
}
