#include "mainwindow/ToolbarIcons.h"

#include "mainwindow/WindowColors.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <functional>

namespace ToolbarIcons {
namespace {

const QColor kInk(40, 48, 64);
const QColor kPaper(252, 252, 248);
const QColor kBlue(38, 110, 200);
const QColor kGreen(40, 150, 80);
const QColor kRed(210, 40, 40);
const QColor kTeal(32, 160, 192);  // the bookmark colour of the row markers
const QColor kOrphan(255, 225, 196);
const QColor kChanged(221, 221, 255);

// A painter and the colour the picture stands on. Edge() is for what is
// drawn on that colour (outlines, strokes); what lies inside a picture's
// own shapes keeps its colour.
struct Canvas {
    QPainter& p;
    QColor background;
    [[nodiscard]] QColor Edge(const QColor& wanted) const
    {
        return WindowColors::Readable(wanted, background, WindowColors::kMinGraphicContrast);
    }
};

void Page(const Canvas& c, QRectF r)
{
    c.p.setPen(QPen(c.Edge(kInk), 1));
    c.p.setBrush(kPaper);
    QPainterPath path;
    path.moveTo(r.left(), r.top());
    path.lineTo(r.right() - 3, r.top());
    path.lineTo(r.right(), r.top() + 3);
    path.lineTo(r.right(), r.bottom());
    path.lineTo(r.left(), r.bottom());
    path.closeSubpath();
    c.p.drawPath(path);
}

void Arrow(const Canvas& c, QPointF tip, bool down, QColor color, double size = 4)
{
    const double dir = down ? -1 : 1;
    QPainterPath path;
    path.moveTo(tip);
    path.lineTo(tip.x() - size, tip.y() + dir * size);
    path.lineTo(tip.x() - size / 2.5, tip.y() + dir * size);
    path.lineTo(tip.x() - size / 2.5, tip.y() + dir * size * 1.9);
    path.lineTo(tip.x() + size / 2.5, tip.y() + dir * size * 1.9);
    path.lineTo(tip.x() + size / 2.5, tip.y() + dir * size);
    path.lineTo(tip.x() + size, tip.y() + dir * size);
    path.closeSubpath();
    c.p.setPen(QPen(c.Edge(color.darker(140)), 0.6));
    c.p.setBrush(color);
    c.p.drawPath(path);
}

void DiffBand(const Canvas& c, double y)
{
    c.p.setPen(QPen(c.Edge(QColor(190, 120, 40)), 0.8));
    c.p.setBrush(kOrphan);
    c.p.drawRect(QRectF(1.5, y, 8, 3));
    c.p.setPen(QPen(c.Edge(QColor(90, 90, 200)), 0.8));
    c.p.setBrush(kChanged);
    c.p.drawRect(QRectF(9.5, y, 5, 3));
}

void Glass(const Canvas& c, double x, double y, double r)
{
    c.p.setPen(QPen(c.Edge(kInk), 2.2, Qt::SolidLine, Qt::RoundCap));
    c.p.drawLine(QPointF(x + r * 0.7, y + r * 0.7), QPointF(x + r * 1.7, y + r * 1.7));
    c.p.setPen(QPen(c.Edge(kInk), 1.3));
    c.p.setBrush(QColor(200, 230, 250));
    c.p.drawEllipse(QPointF(x, y), r, r);
}

void Ribbon(const Canvas& c, double x, double y, double w, double h)
{
    QPainterPath path;
    path.moveTo(x, y);
    path.lineTo(x + w, y);
    path.lineTo(x + w, y + h);
    path.lineTo(x + w / 2, y + h - w / 2);
    path.lineTo(x, y + h);
    path.closeSubpath();
    c.p.setPen(QPen(c.Edge(kTeal.darker(150)), 0.8));
    c.p.setBrush(kTeal);
    c.p.drawPath(path);
}

void NumberedPage(const Canvas& c, const QString& digit, QColor band)
{
    Page(c, QRectF(2.5, 0.5, 11, 15));
    c.p.setPen(Qt::NoPen);
    c.p.setBrush(band);
    c.p.drawRect(QRectF(4, 3, 6, 1.5));
    c.p.drawRect(QRectF(4, 12, 8, 1.5));
    QFont font(QStringLiteral("Liberation Sans"));
    font.setPixelSize(9);
    font.setBold(true);
    c.p.setFont(font);
    c.p.setPen(kInk);  // on the page
    c.p.drawText(QRectF(3, 3.5, 10, 9), Qt::AlignCenter, digit);
}

void Compare(const Canvas& c)
{
    Page(c, QRectF(0.5, 1.5, 7, 13));
    Page(c, QRectF(8.5, 1.5, 7, 13));
    c.p.setPen(Qt::NoPen);
    c.p.setBrush(kInk.lighter(200));
    for (double y : {4.0, 10.5}) {
        c.p.drawRect(QRectF(2, y, 4, 1));
        c.p.drawRect(QRectF(10, y, 4, 1));
    }
    c.p.setBrush(QColor(235, 150, 70));
    c.p.drawRect(QRectF(1, 6.5, 6, 2.5));
    c.p.setBrush(QColor(110, 110, 230));
    c.p.drawRect(QRectF(9, 6.5, 6, 2.5));
}

void Printer(const Canvas& c)
{
    Page(c, QRectF(4.5, 0.5, 7, 6));
    c.p.setPen(QPen(c.Edge(kInk), 1));
    c.p.setBrush(QColor(150, 160, 175));
    c.p.drawRoundedRect(QRectF(0.5, 5.5, 15, 7), 1.5, 1.5);
    c.p.setBrush(kPaper);
    c.p.drawRect(QRectF(3.5, 10.5, 9, 5));
    c.p.setPen(QPen(kInk, 0.7));  // on the page
    c.p.drawLine(QPointF(5, 12.5), QPointF(11, 12.5));
    c.p.drawLine(QPointF(5, 14), QPointF(9.5, 14));
    c.p.setPen(Qt::NoPen);
    c.p.setBrush(kGreen);
    c.p.drawEllipse(QPointF(13, 7.5), 0.8, 0.8);
}

void Door(const Canvas& c)
{
    c.p.setPen(QPen(c.Edge(kInk), 1));
    c.p.setBrush(QColor(150, 95, 55));
    c.p.drawRect(QRectF(1.5, 0.5, 8, 15));
    c.p.setBrush(QColor(250, 215, 110));
    c.p.drawEllipse(QPointF(7.5, 8.5), 0.8, 0.8);
    QPainterPath arrow;
    arrow.moveTo(15.5, 8);
    arrow.lineTo(11.5, 4);
    arrow.lineTo(11.5, 6.5);
    arrow.lineTo(7.5, 6.5);
    arrow.lineTo(7.5, 9.5);
    arrow.lineTo(11.5, 9.5);
    arrow.lineTo(11.5, 12);
    arrow.closeSubpath();
    c.p.setPen(QPen(c.Edge(kRed.darker(140)), 0.6));
    c.p.setBrush(kRed);
    c.p.drawPath(arrow);
}

using Drawing = std::function<void(const Canvas&)>;

struct Picture {
    const char* name;
    Drawing draw;
};

const Picture kPictures[] = {
    {"previousdiff",
     [](const Canvas& c) {
         DiffBand(c, 11.5);
         Arrow(c, {8, 0.8}, false, kBlue, 4.5);
     }},
    {"nextdiff",
     [](const Canvas& c) {
         DiffBand(c, 1.5);
         Arrow(c, {8, 15.2}, true, kBlue, 4.5);
     }},
    {"find", [](const Canvas& c) { Glass(c, 6, 6, 4.5); }},
    {"findnext",
     [](const Canvas& c) {
         Glass(c, 5.5, 5.5, 4);
         Arrow(c, {12.5, 15.5}, true, kGreen, 3);
     }},
    {"findprevious",
     [](const Canvas& c) {
         Glass(c, 5.5, 10, 4);
         Arrow(c, {12.5, 0.5}, false, kGreen, 3);
     }},
    {"togglebookmark", [](const Canvas& c) { Ribbon(c, 3.5, 0.5, 9, 15); }},
    {"nextbookmark",
     [](const Canvas& c) {
         Ribbon(c, 1, 0.5, 8, 13);
         Arrow(c, {12.5, 15.5}, true, kGreen, 3);
     }},
    {"previousbookmark",
     [](const Canvas& c) {
         Ribbon(c, 1, 2.5, 8, 13);
         Arrow(c, {12.5, 0.5}, false, kGreen, 3);
     }},
    {"clearallbookmarks",
     [](const Canvas& c) {
         Ribbon(c, 1, 0.5, 8, 13);
         c.p.setPen(QPen(c.Edge(kRed), 2.2, Qt::SolidLine, Qt::RoundCap));
         c.p.drawLine(QPointF(9, 9), QPointF(14.5, 14.5));
         c.p.drawLine(QPointF(14.5, 9), QPointF(9, 14.5));
     }},
    {"exit", Door},
    {"print", Printer},
    {"fileone", [](const Canvas& c) { NumberedPage(c, QStringLiteral("1"), QColor(235, 150, 70)); }},
    {"filetwo", [](const Canvas& c) { NumberedPage(c, QStringLiteral("2"), QColor(110, 110, 230)); }},
    {"vantrel", Compare},
    {"hideunchanged",
     [](const Canvas& c) {
         // Two differences with the unchanged lines between them folded
         // into a row of dots.
         DiffBand(c, 1.5);
         DiffBand(c, 11.5);
         c.p.setPen(Qt::NoPen);
         c.p.setBrush(c.Edge(kInk));
         for (const double x : {3.5, 8.0, 12.5})
             c.p.drawEllipse(QPointF(x, 8), 1.4, 1.4);
     }},
};

}  // namespace

QStringList Names()
{
    QStringList names;
    for (const Picture& picture : kPictures)
        names.append(QLatin1String(picture.name));
    return names;
}

void Paint(QPainter& painter, const QString& name, const QColor& background)
{
    for (const Picture& picture : kPictures) {
        if (name == QLatin1String(picture.name)) {
            picture.draw(Canvas{painter, background});
            return;
        }
    }
}

QImage Draw(const QString& name, int pixels, const QColor& background)
{
    QImage image(pixels, pixels, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(pixels / 16.0, pixels / 16.0);
    Paint(painter, name, background);
    return image;
}

QIcon Icon(const QString& name, const QColor& background)
{
    QIcon icon;
    for (const int pixels : {16, 24, 32, 48})
        icon.addPixmap(QPixmap::fromImage(Draw(name, pixels, background)));
    return icon;
}

}  // namespace ToolbarIcons
