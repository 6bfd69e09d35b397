#pragma once
// The toolbar's pictures and the program's own icon, drawn at run time for
// the colour they stand on: every outline and every stroke that lies on
// that colour is made readable on it (WindowColors::Readable), so that the
// icons show on a light toolbar and on a dark one alike. On a light colour
// they are drawn as designed. Each is drawn on a 16 x 16 unit canvas, at any
// pixel size.

#include <QColor>
#include <QIcon>
#include <QImage>
#include <QStringList>

class QPainter;

namespace ToolbarIcons {

// The pictures' names: the toolbar pictures and "vantrel", the
// program's icon.
[[nodiscard]] QStringList Names();

// Draws the picture on the 16 x 16 unit canvas the painter is scaled to.
// Nothing is drawn for an unknown name.
void Paint(QPainter& painter, const QString& name, const QColor& background);

// The picture at a size in pixels, on a transparent ground.
[[nodiscard]] QImage Draw(const QString& name, int pixels, const QColor& background);

// The picture at the sizes a toolbar asks for at scales 1 to 3.
[[nodiscard]] QIcon Icon(const QString& name, const QColor& background);

}  // namespace ToolbarIcons
