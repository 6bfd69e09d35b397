#include "engine/cDiffEngine.h"

#include <QFile>

// Minimal placeholder: byte equality only.
int cDiffEngine::CompareFiles(const QString& fileOne, const QString& fileTwo)
{
    m_lines.clear();
    QFile one(fileOne);
    QFile two(fileTwo);
    if (!one.open(QIODevice::ReadOnly) || !two.open(QIODevice::ReadOnly)) {
        m_lines << QStringLiteral("Cannot open the files");
        return 2;
    }
    return one.readAll() == two.readAll() ? 0 : 1;
}
