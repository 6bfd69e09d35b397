#pragma once
// The program's option record: plain fields, no behaviour. One instance,
// gOptions, lives from start-up to the main window's unload.

#include <QString>

class cViewFileDiffsOptions {
public:
    QString FileOne;
    QString FileTwo;
    bool IgnoreWhiteSpace = false;
    bool IgnoreCase = false;
    bool ShowOptionsDialog = false;  // kept with the others; nothing reads or writes it
    bool ForceTextCompare = false;
    int Format = 0;
};
