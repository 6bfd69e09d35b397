#pragma once
// A model showing two texts with the given hunks; a test example that does
// not align stops the test program.

#include "compare/ComparisonModel.h"
#include "engine/LineFile.h"

#include <QByteArray>
#include <QtGlobal>

inline ComparisonModel Shown(const QByteArray& one, const QByteArray& two, const std::vector<LineDiff::Hunk>& hunks)
{
    ComparisonModel model;
    if (model.Show(LineFile::FromBytes(one.toStdString()), LineFile::FromBytes(two.toStdString()), hunks)
        != Alignment::AlignStatus::Ok)
        qFatal("example does not align");
    return model;
}
