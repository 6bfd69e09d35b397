#pragma once
// The main window as the benchmarks drive it: offscreen, with its own INI
// folder, the path library loaded and fresh application objects.

#include "app/Globals.h"
#include "app/PathMix.h"
#include "engine/cDiffEngine.h"
#include "mainwindow/frmFileDiffs.h"

#include <QCoreApplication>
#include <QTemporaryDir>
#include <memory>

struct BenchWindow {
    QTemporaryDir folder;  // the INI file of this run
    std::unique_ptr<frmFileDiffs> form;

    // False when the path library is not beside the benchmark.
    [[nodiscard]] bool Open()
    {
        using namespace modVantrel;
        gAppFolder = folder.path() + QLatin1Char('/');
        if (!PathMix::Load(QCoreApplication::applicationDirPath() + QLatin1Char('/')))
            return false;
        gOptions = std::make_unique<cViewFileDiffsOptions>();
        gDiffEngine = std::make_unique<cDiffEngine>();
        form = std::make_unique<frmFileDiffs>();
        form->Form_Load();
        return true;
    }
};
