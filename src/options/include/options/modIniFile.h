#pragma once
// Carrying the program's options across runs in the INI file beside the
// program: read into the record and the main window's controls at load,
// written back from them at unload.

#include <QFont>
#include <functional>

class QAction;
class QCheckBox;
class QLineEdit;
class QWidget;

namespace modIniFile {

// The main window's controls that hold options. The main window hands these
// over; nothing else of it is touched.
struct OptionControls {
    QAction* mnuOptionsIgnoreCase = nullptr;        // checkable
    QAction* mnuOptionsIgnoreWhitespace = nullptr;  // checkable
    QAction* mnuOptionsShowGridLines = nullptr;     // checkable
    QLineEdit* txtFileOne = nullptr;
    QLineEdit* txtFileTwo = nullptr;
    QWidget* grdFileOne = nullptr;  // font read from and written to this grid
    QWidget* grdFileTwo = nullptr;
    QCheckBox* chkTooltip = nullptr;
    // Shows flat grid lines in both grids when true, none when false.
    std::function<void(bool)> setGridLines;
};

// The INI file's name: the program file's name without extension + ".ini".
[[nodiscard]] QString IniFileName();

// A value the controls refuse (a font size no font takes) is reported,
// naming the file and the key, and gives way to that key's default alone.
void ReadProgramOptionsFromIniFile(const OptionControls& form);
// Writes every key in one replacement of the file.
void SaveProgramOptionsToIniFile(const OptionControls& form);

// The leading decimal number of text ("12pt" gives 12, "abc" gives 0); a
// period is the decimal point.
[[nodiscard]] double LeadingNumber(const QString& text);

}  // namespace modIniFile
