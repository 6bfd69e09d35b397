#pragma once
// Saving what a comparison shows to a file of the user's choice: the patch
// between the two files, or a report of it. A file is written whole or not at all, and never
// over one of the files compared.

#include "engine/Emit.h"

#include <QString>
#include <QStringList>
#include <functional>
#include <string>
#include <vector>

class ComparisonModel;

namespace ComparisonSave {

// Why `path` may not be written, or empty when it may: it names one of
// `compared` (their names as bytes, by any name that reaches the same file).
[[nodiscard]] QString Refusal(const QString& path, const std::vector<std::string>& compared);

// Writes to `path` what `write` gives to its sink: a new file that takes
// the name only when every byte reached the disk. Empty on success, else
// why nothing was saved.
[[nodiscard]] QString Save(const QString& path, const std::vector<std::string>& compared,
                           const std::function<void(OutputSink&)>& write);

// Why the shown comparison has no patch, or empty when it has.
[[nodiscard]] QString PatchRefusal(const ComparisonModel& model, bool binary);

// The unified diff (3 lines of context, the two paths as labels) of the
// shown comparison, which `patch` applies to File One to give File Two.
[[nodiscard]] QString SavePatch(const ComparisonModel& model, const QString& path);

// The shown comparison as a self-contained HTML page (engine/HtmlReport.h)
// with the grids' rows; `ignored` names what the comparison ignored, and
// `ignoreCase` is how the characters of changed lines are compared.
[[nodiscard]] QString SaveReport(const ComparisonModel& model, const QString& path, bool ignoreCase,
                                 const QStringList& ignored);

}  // namespace ComparisonSave
