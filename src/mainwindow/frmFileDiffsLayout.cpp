// The main window's layout pass and the splitter between the grids.

#include "app/ErrorReport.h"
#include "mainwindow/SplitterBar.h"
#include "mainwindow/frmFileDiffs.h"

#include <QCheckBox>
#include <QEvent>
#include <QToolBar>

namespace {

QColor FromColorValue(std::uint32_t value)
{
    return QColor(static_cast<int>(value & 0xFFu), static_cast<int>((value >> 8) & 0xFFu),
                  static_cast<int>((value >> 16) & 0xFFu));
}

}  // namespace

void frmFileDiffs::Form_Resize()
{
    try {
        if (isMinimized() || !m_layoutStateSet)
            return;
        const int clientWidth = ClientArea->width() * FormLayout::kTwipsPerPixel;
        const int clientHeight = ClientArea->height() * FormLayout::kTwipsPerPixel;
        FormLayout::LayOut(m_places, clientWidth, clientHeight, LayoutMargin);
        ApplyPlaces();
        // On a small screen (or at a large scale) the box moves left rather
        // than lose the end of its caption past the window's edge.
        chkTooltip->move(FormLayout::CheckBoxLeft(kCheckBoxLeft, chkTooltip->width(), ClientArea->width(),
                                                  Toolbar1->geometry().right() + 1),
                         chkTooltip->y());
    } catch (...) {
        modVantrel::ReportUnexpectedError(QStringLiteral("frmFileDiffs.Form_Resize"), QString());
    }
}

bool frmFileDiffs::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == ClientArea && event->type() == QEvent::Resize)
        Form_Resize();
    return QMainWindow::eventFilter(watched, event);
}

void frmFileDiffs::changeEvent(QEvent* event)
{
    QMainWindow::changeEvent(event);
    // Restoring a minimised window may not resize its client area, yet the
    // controls must be laid out again.
    if (event->type() == QEvent::WindowStateChange && !isMinimized())
        Form_Resize();
    // A change to a compared file seen while the user was elsewhere is told
    // when they come back.
    if (event->type() == QEvent::ActivationChange && isActiveWindow())
        AskToCompareAgain();
    // A desktop that turns dark (or light) gets markers, toolbar pictures
    // and a difference bar drawn for it.
    if (event->type() == QEvent::PaletteChange && m_layoutStateSet) {
        for (VGrid* grid : {grdFileOne, grdFileTwo}) {
            QPalette colours = grid->palette();
            colours.setColor(QPalette::Base, palette().color(QPalette::Base));
            grid->setPalette(colours);
        }
        DrawMarkerPictures();
        LoadToolbarImages();
        // A running Compare draws the bar itself once its rows are in.
        if (m_model.Shown() && !m_compareRunning)
            DrawDiffBars();
        else if (!m_compareRunning)
            pctDiffsBar->Clear(palette().color(QPalette::Button));
    }
}

void frmFileDiffs::SetSplitterColor(bool dragging)
{
    Splitter->SetColor(dragging ? FromColorValue(SplitterDragColor) : palette().color(QPalette::Button));
}

void frmFileDiffs::Splitter_MouseDown(Qt::MouseButton button, Qt::KeyboardModifiers shift, double x, double y)
{
    if (button == Qt::LeftButton) {
        SetSplitterColor(true);
        FormLayout::SplitterMouseDown(m_splitterDrag, x);
        return;
    }
    // Another button ends a drag at once, keeping the width reached.
    if (m_splitterDrag.Dragging())
        Splitter_MouseUp(button, shift, x, y);
    m_splitterDrag.SplitterDragX = FormLayout::kNoDrag;
}

void frmFileDiffs::Splitter_MouseMove(Qt::MouseButtons /*buttons*/, Qt::KeyboardModifiers /*shift*/, double x,
                                      double /*y*/)
{
    if (!m_splitterDrag.Dragging())
        return;
    FormLayout::SplitterMouseMove(m_places, m_splitterDrag, x);
    ApplyPlaces();
}

void frmFileDiffs::Splitter_MouseUp(Qt::MouseButton /*button*/, Qt::KeyboardModifiers /*shift*/, double x, double /*y*/)
{
    if (!FormLayout::SplitterMouseUp(m_places, m_splitterDrag, x))
        return;
    SetSplitterColor(false);
    Form_Resize();
}
