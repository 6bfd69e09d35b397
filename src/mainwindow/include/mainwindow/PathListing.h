#pragma once
// The disk side of the path completion: whether a path names a folder that
// can be listed, and the search of one folder for the completion of a typed
// path. The search blocks for as long as the file system takes (a slow or
// hung network mount can take minutes), so it is meant to run off the
// user-interface thread; it looks at a cancel flag before every entry.

#include <QString>
#include <atomic>

namespace modAutoCompletePath {

// True when the path names a folder whose listing can be started.
[[nodiscard]] bool FolderExists(const QString& path);

// The completed path for a typed text (see GetCompletedPath), read from the
// disk; "" for none, for a folder that cannot be listed and once cancelled
// is set. Lists at most one folder and never descends into subfolders.
// Names that do not survive the way back from text to the file system's
// bytes (names that are not valid UTF-8) are passed over: proposing them
// would put a path into the box that names nothing.
[[nodiscard]] QString FindCompletedPath(const QString& typed, const std::atomic<bool>& cancelled);

}  // namespace modAutoCompletePath
