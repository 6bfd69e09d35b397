// Draws the toolbar pictures, the program's icon, the splash logo and the
// product icons as PNG files at 100% and 200% scale, and, given a third
// folder, the program's icon for the desktop's icon theme at the sizes it
// asks for. The PNGs are checked in; this program (target draw_icons) is
// kept so that they can be redrawn:
//   QT_QPA_PLATFORM=offscreen build/bin/draw_icons src/mainwindow/icons src/about/images data/icons/hicolor

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
const QColor kRed(210, 40, 40);
const QColor kTeal(32, 160, 192);  // the bookmark colour of the row markers
const QColor kOrphan(255, 225, 196);
const QColor kChanged(221, 221, 255);

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

void Arrow(QPainter& p, QPointF tip, bool down, QColor color, double size = 4)
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
    p.setPen(QPen(color.darker(140), 0.6));
    p.setBrush(color);
    p.drawPath(path);
}

void DiffBand(QPainter& p, double y)
{
    p.setPen(QPen(QColor(190, 120, 40), 0.8));
    p.setBrush(kOrphan);
    p.drawRect(QRectF(1.5, y, 8, 3));
    p.setPen(QPen(QColor(90, 90, 200), 0.8));
    p.setBrush(kChanged);
    p.drawRect(QRectF(9.5, y, 5, 3));
}

void Glass(QPainter& p, double x, double y, double r)
{
    p.setPen(QPen(kInk, 2.2, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(x + r * 0.7, y + r * 0.7), QPointF(x + r * 1.7, y + r * 1.7));
    p.setPen(QPen(kInk, 1.3));
    p.setBrush(QColor(200, 230, 250));
    p.drawEllipse(QPointF(x, y), r, r);
}

void Ribbon(QPainter& p, double x, double y, double w, double h)
{
    QPainterPath path;
    path.moveTo(x, y);
    path.lineTo(x + w, y);
    path.lineTo(x + w, y + h);
    path.lineTo(x + w / 2, y + h - w / 2);
    path.lineTo(x, y + h);
    path.closeSubpath();
    p.setPen(QPen(kTeal.darker(150), 0.8));
    p.setBrush(kTeal);
    p.drawPath(path);
}

void NumberedPage(QPainter& p, const QString& digit, QColor band)
{
    Page(p, QRectF(2.5, 0.5, 11, 15));
    p.setPen(Qt::NoPen);
    p.setBrush(band);
    p.drawRect(QRectF(4, 3, 6, 1.5));
    p.drawRect(QRectF(4, 12, 8, 1.5));
    QFont font(QStringLiteral("Liberation Sans"));
    font.setPixelSize(9);
    font.setBold(true);
    p.setFont(font);
    p.setPen(kInk);
    p.drawText(QRectF(3, 3.5, 10, 9), Qt::AlignCenter, digit);
}

void Compare(QPainter& p)
{
    Page(p, QRectF(0.5, 1.5, 7, 13));
    Page(p, QRectF(8.5, 1.5, 7, 13));
    p.setPen(Qt::NoPen);
    p.setBrush(kInk.lighter(200));
    for (double y : {4.0, 10.5}) {
        p.drawRect(QRectF(2, y, 4, 1));
        p.drawRect(QRectF(10, y, 4, 1));
    }
    p.setBrush(QColor(235, 150, 70));
    p.drawRect(QRectF(1, 6.5, 6, 2.5));
    p.setBrush(QColor(110, 110, 230));
    p.drawRect(QRectF(9, 6.5, 6, 2.5));
}

void Printer(QPainter& p)
{
    Page(p, QRectF(4.5, 0.5, 7, 6));
    p.setPen(QPen(kInk, 1));
    p.setBrush(QColor(150, 160, 175));
    p.drawRoundedRect(QRectF(0.5, 5.5, 15, 7), 1.5, 1.5);
    p.setBrush(kPaper);
    p.drawRect(QRectF(3.5, 10.5, 9, 5));
    p.setPen(QPen(kInk, 0.7));
    p.drawLine(QPointF(5, 12.5), QPointF(11, 12.5));
    p.drawLine(QPointF(5, 14), QPointF(9.5, 14));
    p.setPen(Qt::NoPen);
    p.setBrush(kGreen);
    p.drawEllipse(QPointF(13, 7.5), 0.8, 0.8);
}

void Door(QPainter& p)
{
    p.setPen(QPen(kInk, 1));
    p.setBrush(QColor(150, 95, 55));
    p.drawRect(QRectF(1.5, 0.5, 8, 15));
    p.setBrush(QColor(250, 215, 110));
    p.drawEllipse(QPointF(7.5, 8.5), 0.8, 0.8);
    QPainterPath arrow;
    arrow.moveTo(15.5, 8);
    arrow.lineTo(11.5, 4);
    arrow.lineTo(11.5, 6.5);
    arrow.lineTo(7.5, 6.5);
    arrow.lineTo(7.5, 9.5);
    arrow.lineTo(11.5, 9.5);
    arrow.lineTo(11.5, 12);
    arrow.closeSubpath();
    p.setPen(QPen(kRed.darker(140), 0.6));
    p.setBrush(kRed);
    p.drawPath(arrow);
}

struct Icon {
    const char* file;
    Drawing draw;
};

const Icon kIcons[] = {
    {"previousdiff",
     [](QPainter& p) {
         DiffBand(p, 11.5);
         Arrow(p, {8, 0.8}, false, kBlue, 4.5);
     }},
    {"nextdiff",
     [](QPainter& p) {
         DiffBand(p, 1.5);
         Arrow(p, {8, 15.2}, true, kBlue, 4.5);
     }},
    {"find", [](QPainter& p) { Glass(p, 6, 6, 4.5); }},
    {"findnext",
     [](QPainter& p) {
         Glass(p, 5.5, 5.5, 4);
         Arrow(p, {12.5, 15.5}, true, kGreen, 3);
     }},
    {"findprevious",
     [](QPainter& p) {
         Glass(p, 5.5, 10, 4);
         Arrow(p, {12.5, 0.5}, false, kGreen, 3);
     }},
    {"togglebookmark", [](QPainter& p) { Ribbon(p, 3.5, 0.5, 9, 15); }},
    {"nextbookmark",
     [](QPainter& p) {
         Ribbon(p, 1, 0.5, 8, 13);
         Arrow(p, {12.5, 15.5}, true, kGreen, 3);
     }},
    {"previousbookmark",
     [](QPainter& p) {
         Ribbon(p, 1, 2.5, 8, 13);
         Arrow(p, {12.5, 0.5}, false, kGreen, 3);
     }},
    {"clearallbookmarks",
     [](QPainter& p) {
         Ribbon(p, 1, 0.5, 8, 13);
         p.setPen(QPen(kRed, 2.2, Qt::SolidLine, Qt::RoundCap));
         p.drawLine(QPointF(9, 9), QPointF(14.5, 14.5));
         p.drawLine(QPointF(14.5, 9), QPointF(9, 14.5));
     }},
    {"exit", Door},
    {"print", Printer},
    {"fileone", [](QPainter& p) { NumberedPage(p, QStringLiteral("1"), QColor(235, 150, 70)); }},
    {"filetwo", [](QPainter& p) { NumberedPage(p, QStringLiteral("2"), QColor(110, 110, 230)); }},
    {"vantrel", Compare},
};

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
    Compare(p);
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
    for (const Icon& icon : kIcons) {
        const QString base = icons + QLatin1Char('/') + QLatin1String(icon.file);
        Save(Render(icon.draw, 16), base + QStringLiteral(".png"));
        Save(Render(icon.draw, 32), base + QStringLiteral("@2x.png"));
    }
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
            Save(Render(Compare, size), folder + QStringLiteral("/org.example.quellan.Vantrel.png"));
        }
    }
    return 0;
}
