// Draws the program's icon, the splash logo and the product icons as PNG
// files at 100% and 200% scale, and, given a third folder, the program's
// icon for the desktop's icon theme at the sizes it asks for. The PNGs are
// checked in; this program (target draw_icons) is kept so that they can be
// redrawn. The program's icon is the toolbar's Compare picture, drawn as
// designed (on white); the toolbar draws its pictures at run time.
// toolbar.png, in the icon folder, holds every picture as drawn on white at
// 16 and 32 pixels, a row each in the order of ToolbarIcons::Names(): the
// tests hold the run-time drawing against it, so a change to a picture is
// made on purpose, by redrawing it here.
//   QT_QPA_PLATFORM=offscreen build/bin/draw_icons src/mainwindow/icons src/about/images data/icons/hicolor

#include "mainwindow/ToolbarIcons.h"

#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <functional>

namespace {

const QColor kInk(40, 48, 64);
const QColor kPaper(252, 252, 248);
const QColor kBlue(38, 110, 200);
const QColor kGreen(40, 150, 80);

using Drawing = std::function<void(QPainter&)>;

// Renders a drawing made on a 16 x 16 unit canvas at the given pixel size.
QImage Render(const Drawing& draw, int pixels)
{
    QImage image(pixels, pixels, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(pixels / 16.0, pixels / 16.0);
    draw(painter);
    return image;
}

void Page(QPainter& p, QRectF r)
{
    p.setPen(QPen(kInk, 1));
    p.setBrush(kPaper);
    QPainterPath path;
    path.moveTo(r.left(), r.top());
    path.lineTo(r.right() - 3, r.top());
    path.lineTo(r.right(), r.top() + 3);
    path.lineTo(r.right(), r.bottom());
    path.lineTo(r.left(), r.bottom());
    path.closeSubpath();
    p.drawPath(path);
}

// The splash logo: the program's picture, its name and its maker.
QImage Logo(double scale)
{
    const QSize size(322, 158);
    QImage image((QSizeF(size) * scale).toSize(), QImage::Format_RGB32);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    p.scale(scale, scale);
    QLinearGradient sky(0, 0, 0, size.height());
    sky.setColorAt(0, QColor(28, 58, 104));
    sky.setColorAt(1, QColor(14, 28, 52));
    p.fillRect(QRect(QPoint(0, 0), size), sky);
    p.save();
    p.translate(22, 36);
    p.scale(5, 5);
    ToolbarIcons::Paint(p, QStringLiteral("vantrel"), Qt::white);
    p.restore();
    QFont title(QStringLiteral("Liberation Serif"));
    title.setPixelSize(44);
    title.setBold(true);
    p.setFont(title);
    p.setPen(QColor(250, 250, 245));
    p.drawText(QRectF(116, 30, 200, 52), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("Vantrel"));
    QFont sub(QStringLiteral("Liberation Sans"));
    sub.setPixelSize(14);
    p.setFont(sub);
    p.setPen(QColor(200, 215, 235));
    p.drawText(QRectF(118, 80, 200, 20), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("File Difference Viewer"));
    p.setPen(QPen(QColor(235, 150, 70), 2));
    p.drawLine(QPointF(118, 106), QPointF(300, 106));
    sub.setPixelSize(11);
    p.setFont(sub);
    p.setPen(QColor(170, 185, 210));
    p.drawText(QRectF(118, 112, 200, 18), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("Quellan Software"));
    return image;
}

// The two other products' icons: a folder with an eye, and a stack of
// pages with a funnel.
void FolderWatch(QPainter& p)
{
    p.setPen(QPen(kInk, 0.8));
    p.setBrush(QColor(240, 200, 90));
    p.drawRoundedRect(QRectF(0.5, 3.5, 15, 11), 1, 1);
    p.drawRect(QRectF(0.5, 2, 6, 2));
    p.setBrush(Qt::white);
    p.drawEllipse(QPointF(8, 9), 5, 3);
    p.setBrush(kBlue);
    p.drawEllipse(QPointF(8, 9), 2, 2);
}

void TextSift(QPainter& p)
{
    Page(p, QRectF(0.5, 0.5, 9, 12));
    Page(p, QRectF(3.5, 2.5, 9, 12));
    QPainterPath funnel;
    funnel.moveTo(7, 8);
    funnel.lineTo(15.5, 8);
    funnel.lineTo(12.5, 11.5);
    funnel.lineTo(12.5, 15.5);
    funnel.lineTo(10, 14.5);
    funnel.lineTo(10, 11.5);
    funnel.closeSubpath();
    p.setPen(QPen(kInk, 0.8));
    p.setBrush(kGreen);
    p.drawPath(funnel);
}

void Save(const QImage& image, const QString& path)
{
    if (!image.save(path))
        qFatal("cannot write %s", qPrintable(path));
}

}  // namespace

int main(int argc, char* argv[])
{
    QGuiApplication application(argc, argv);
    if (argc != 3 && argc != 4)
        qFatal("usage: drawicons <icon folder> <about image folder> [<hicolor theme folder>]");
    const QString icons = QString::fromLocal8Bit(argv[1]);
    const QString about = QString::fromLocal8Bit(argv[2]);
    Save(ToolbarIcons::Draw(QStringLiteral("vantrel"), 16, Qt::white), icons + QStringLiteral("/vantrel.png"));
    Save(ToolbarIcons::Draw(QStringLiteral("vantrel"), 32, Qt::white), icons + QStringLiteral("/vantrel@2x.png"));
    const QStringList names = ToolbarIcons::Names();
    QImage sheet(48, 32 * static_cast<int>(names.size()), QImage::Format_ARGB32_Premultiplied);
    sheet.fill(Qt::transparent);
    QPainter painter(&sheet);
    for (qsizetype row = 0; row < names.size(); ++row) {
        const int top = 32 * static_cast<int>(row);
        painter.drawImage(0, top, ToolbarIcons::Draw(names.at(row), 16, Qt::white));
        painter.drawImage(16, top, ToolbarIcons::Draw(names.at(row), 32, Qt::white));
    }
    painter.end();
    Save(sheet, icons + QStringLiteral("/toolbar.png"));
    Save(Logo(1), about + QStringLiteral("/logo.png"));
    Save(Logo(2), about + QStringLiteral("/logo@2x.png"));
    for (const auto& [name, draw] :
         {std::pair{"folderwatch", Drawing(FolderWatch)}, std::pair{"textsift", Drawing(TextSift)}}) {
        Save(Render(draw, 32), about + QLatin1Char('/') + QLatin1String(name) + QStringLiteral(".png"));
        Save(Render(draw, 64), about + QLatin1Char('/') + QLatin1String(name) + QStringLiteral("@2x.png"));
    }
    if (argc == 4) {
        for (const int size : {16, 22, 24, 32, 48, 64, 128, 256}) {
            const QString folder = QString::fromLocal8Bit(argv[3]) + QStringLiteral("/%1x%1/apps").arg(size);
            if (!QDir().mkpath(folder))
                qFatal("cannot create %s", qPrintable(folder));
            Save(ToolbarIcons::Draw(QStringLiteral("vantrel"), size, Qt::white),
                 folder + QStringLiteral("/org.example.quellan.Vantrel.png"));
        }
    }
    return 0;
}
