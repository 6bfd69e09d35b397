#include "mainwindow/MainWindowResources.h"

#include <QtGlobal>

void InitMainWindowResources()
{
    Q_INIT_RESOURCE(mainwindow);
}
