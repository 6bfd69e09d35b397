#pragma once
// The file a name from Qt's file dialog stands for. Qt decodes file names as
// UTF-8 and puts a replacement mark for every byte that is not, so a chosen
// file whose name is not valid UTF-8 could no longer be opened by that name.

#include <QString>

namespace modVantrel {

// The text form (FileNameText) of the file `qtPath` names. Each part of the
// path that holds a replacement mark is matched against the entries of its
// folder, decoded the same way; when exactly one entry matches, its bytes
// take the part's place. A part that matches no entry, or several, stays as
// it is, and so the name then names no file.
[[nodiscard]] QString ChosenFileName(const QString& qtPath);

}  // namespace modVantrel
