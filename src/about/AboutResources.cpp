#include "about/AboutResources.h"

#include <QtGlobal>

void InitAboutResources()
{
    Q_INIT_RESOURCE(about);
}
