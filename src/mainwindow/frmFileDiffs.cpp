#include "mainwindow/frmFileDiffs.h"

#include "about/frmProducts.h"
#include "app/CommandLine.h"
#include "app/ErrorReport.h"
#include "app/Globals.h"
#include "app/Prompt.h"
#include "app/Startup.h"
#include "app/Termination.h"
#include "mainwindow/FileChangeWatcher.h"
#include "mainwindow/GridCharacterMarks.h"
#include "mainwindow/LineDiffView.h"
#include "mainwindow/MainWindowResources.h"
#include "mainwindow/RowMarkers.h"
#include "mainwindow/SplitterBar.h"

#include <QAction>
#include <QCheckBox>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QLineEdit>
#include <QMenuBar>
#include <QScreen>
#include <QStyle>
#include <QTimer>
#include <QToolBar>

namespace {

constexpr int kDesignedClientWidth = 10305;
constexpr int kDesignedClientHeight = 6630;

int Pixels(int twips)
{
    return static_cast<int>(std::lround(twips / static_cast<double>(FormLayout::kTwipsPerPixel)));
}

// Places a widget so that adjacent places in twips stay adjacent in pixels.
void SetPlace(QWidget* widget, const FormLayout::Place& place)
{
    const int left = Pixels(place.Left);
    const int top = Pixels(place.Top);
    widget->setGeometry(left, top, std::max(0, Pixels(place.Left + place.Width) - left),
                        std::max(0, Pixels(place.Top + place.Height) - top));
}

// The frame the window manager puts around the window is known only once
// the window shows; the style's title bar and frame stand in for it.
QMargins EstimatedFrame(const QStyle& style)
{
    const int border = style.pixelMetric(QStyle::PM_MdiSubWindowFrameWidth);
    return QMargins(border, border + style.pixelMetric(QStyle::PM_TitleBarHeight), border, border);
}

// The header text while no comparison is shown.
const QString kSelectFilesPrompt = QStringLiteral("Select two files then press the Compare button");
const QString kDetailPaneHint =
    QStringLiteral("Click on a line in either file to see how it differs from its counterpart in the other file.");

}  // namespace

frmFileDiffs::frmFileDiffs(QWidget* parent)
    : QMainWindow(parent), ClientArea(new QWidget(this)), Toolbar1(new QToolBar(ClientArea)),
      chkTooltip(new QCheckBox(QStringLiteral("Pane Tooltips"), ClientArea)), txtFileOne(new QLineEdit(ClientArea)),
      txtFileTwo(new QLineEdit(ClientArea)), pctContainer(new DiffBarFrame(ClientArea)),
      pctDiffsBar(new DiffBarWidget(pctContainer)), grdFileOne(new VGrid(ClientArea)),
      grdFileTwo(new VGrid(ClientArea)), Splitter(new SplitterBar(ClientArea))
{
    InitMainWindowResources();
    setObjectName(QStringLiteral("frmFileDiffs"));
    setWindowTitle(QStringLiteral("Vantrel - File Difference Viewer"));
    setWindowIcon(QIcon(QStringLiteral(":/mainwindow/icons/vantrel.png")));
    setCentralWidget(ClientArea);
    ClientArea->setObjectName(QStringLiteral("ClientArea"));
    ClientArea->installEventFilter(this);
    CreateControls();
    CreateMenus();
    CreateToolbar();
    SetTabOrder();
    DescribeControls();
    ClientArea->setMinimumSize(0, 0);
    resize(Pixels(kDesignedClientWidth), Pixels(kDesignedClientHeight) + menuBar()->sizeHint().height());
}

frmFileDiffs::~frmFileDiffs() = default;

void frmFileDiffs::CreateControls()
{
    Toolbar1->setObjectName(QStringLiteral("Toolbar1"));
    // The designed 5625 twips, and room for the Hide Unchanged Lines button
    // and the separator before it.
    Toolbar1->setGeometry(Pixels(30), Pixels(30), Pixels(5625 + 540), Pixels(390));
    chkTooltip->setObjectName(QStringLiteral("chkTooltip"));
    // The caption must not be cut where the platform's font is wider than
    // the one the box was designed for.
    chkTooltip->setGeometry(kCheckBoxLeft, Pixels(60), std::max(Pixels(1335), chkTooltip->sizeHint().width()),
                            Pixels(255));
    txtFileOne->setObjectName(QStringLiteral("txtFileOne"));
    txtFileTwo->setObjectName(QStringLiteral("txtFileTwo"));
    pctContainer->setObjectName(QStringLiteral("pctContainer"));
    pctContainer->setGeometry(Pixels(60), Pixels(840), Pixels(405), Pixels(2925));
    pctDiffsBar->setObjectName(QStringLiteral("pctDiffsBar"));
    pctDiffsBar->setGeometry(Pixels(60), 0, Pixels(225), Pixels(2865));
    grdFileOne->setObjectName(QStringLiteral("grdFileOne"));
    grdFileTwo->setObjectName(QStringLiteral("grdFileTwo"));
    // The text column follows the grid's viewport: a column as wide as the
    // whole grid would hide its first characters behind a needless scroll.
    for (VGrid* grid : {grdFileOne, grdFileTwo}) {
        grid->setFont(cViewFileDiffsOptions::DesignedGridFont());
        grid->FitColumnToViewport();
    }
    Splitter->setObjectName(QStringLiteral("Splitter"));
    for (int index = 0; index < 2; ++index) {
        auto* box = new LineDiffView(ClientArea);
        box->setObjectName(QStringLiteral("rtfLineDiff%1").arg(index));
        box->setFont(cViewFileDiffsOptions::DesignedGridFont());
        rtfLineDiff[static_cast<std::size_t>(index)] = box;
    }
    DrawMarkerPictures();
    connect(Splitter, &SplitterBar::MouseDown, this, &frmFileDiffs::Splitter_MouseDown);
    connect(Splitter, &SplitterBar::MouseMove, this, &frmFileDiffs::Splitter_MouseMove);
    connect(Splitter, &SplitterBar::MouseUp, this, &frmFileDiffs::Splitter_MouseUp);
    ConnectSelectionHandlers();
    ConnectFileAndOptionHandlers();
    grdFileOne->SetPictureSource([this](int row) { return GridOnePicture(row); });
    m_gridMarks = new GridCharacterMarks(
        m_model, {grdFileOne, grdFileTwo}, [this] { return Options().IgnoreCase; }, this);
    m_fileWatcher = new FileChangeWatcher(this);
    connect(m_fileWatcher, &FileChangeWatcher::Changed, this, [this] {
        if (isActiveWindow())
            AskToCompareAgain();
    });
    ApplyPlaces();
}

void frmFileDiffs::DrawMarkerPictures()
{
    using RowMarkers::Marker;
    m_markerPictures = RowMarkers::Pictures(palette().color(QPalette::Base));
    pctDifferArrow = m_markerPictures.Get(Marker::DifferArrow, Alignment::kChangedColor);
    pctOrphanArrow = m_markerPictures.Get(Marker::OrphanArrow, Alignment::kOrphanColor);
    pctArrow = m_markerPictures.Get(Marker::Arrow, Grid::kNoCellColor);
    grdFileOne->viewport()->update();
}

void frmFileDiffs::SetTabOrder()
{
    Toolbar1->setFocusPolicy(Qt::TabFocus);
    const QList<QWidget*> order = {Toolbar1,   chkTooltip,     txtFileOne,     txtFileTwo, grdFileOne,
                                   grdFileTwo, rtfLineDiff[0], rtfLineDiff[1], Splitter};
    for (qsizetype i = 1; i < order.size(); ++i)
        setTabOrder(order.at(i - 1), order.at(i));
}

void frmFileDiffs::SetUpGrid(VGrid* grid)
{
    grid->SetRows(2);
    grid->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    grid->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    QPalette colours = grid->palette();
    colours.setColor(QPalette::Base, palette().color(QPalette::Base));
    grid->setPalette(colours);
}

void frmFileDiffs::Form_Load()
{
    try {
        m_model = ComparisonModel();
        // The record as it stands, and the paths in the boxes, replaced by
        // what the INI file holds.
        cViewFileDiffsOptions options = Options();
        modIniFile::PathTexts paths{txtFileOne->text(), txtFileTwo->text()};
        modIniFile::ReadProgramOptionsFromIniFile(options, paths);
        options.Format = 0;
        ApplyOptions(options);
        txtFileOne->setText(paths[0]);
        txtFileTwo->setText(paths[1]);
        SetUpGrid(grdFileOne);
        SetUpGrid(grdFileTwo);
        m_places.Splitter.Width = FormLayout::kSplitterWidth;
        LayoutMargin = 200;
        SplitterDragColor = 0x808080u;
        m_splitterDrag.SplitterDragX = FormLayout::kNoDrag;
        m_layoutStateSet = true;
        LoadToolbarImages();
        DisableResultCommands();
        grdFileOne->SetTextMatrix(0, kSelectFilesPrompt);
        grdFileTwo->SetTextMatrix(0, kSelectFilesPrompt);
        ShowDetailPaneHint();
        QString fileOne;
        QString fileTwo;
        modVantrel::GetFilesFromArguments(modVantrel::gArguments, fileOne, fileTwo);
        if (!fileOne.isEmpty())
            txtFileOne->setText(fileOne);
        if (!fileTwo.isEmpty())
            txtFileTwo->setText(fileTwo);
        if (const QScreen* shownOn = screen())
            setGeometry(FormLayout::OpeningGeometry(size(), shownOn->availableGeometry(), EstimatedFrame(*style())));
        show();
        // Asked for on the command line: compared once the window is up, so
        // the user sees the window while a long comparison runs.
        if (modVantrel::gCompareAtStart)
            QTimer::singleShot(0, mnuFileCompare, &QAction::trigger);
    } catch (...) {
        modVantrel::ReportUnexpectedError(QStringLiteral("frmFileDiffs.Form_Load"));
    }
}

void frmFileDiffs::closeEvent(QCloseEvent* event)
{
    Form_Unload();
    event->accept();
}

void frmFileDiffs::Form_Unload()
{
    if (m_unloaded)
        return;
    m_unloaded = true;
    // Nobody is there to press OK when the system ends the program.
    if (!isMinimized() && !modVantrel::TerminationRequested()) {
        frmProducts products(this);
        modVantrel::Prompts().showModal(&products);
    }
    for (VGrid* grid : {grdFileOne, grdFileTwo}) {
        grid->ClearCells();
        grid->SetRedraw(false);
    }
    if (modVantrel::gOptions)
        modIniFile::SaveProgramOptionsToIniFile(*modVantrel::gOptions, {txtFileOne->text(), txtFileTwo->text()});
    // Releases the option record and the engine, letting pending events run
    // after each, and the path library.
    modVantrel::ReleaseApplicationObjects();
    m_model = ComparisonModel();
    QCoreApplication::quit();
}

void frmFileDiffs::ResetComparisonView()
{
    // Nothing is shown any more; only the search texts are kept.
    m_model.Clear();
    m_fileWatcher->Watch({});
    txtFileOne->setToolTip(QString());
    txtFileTwo->setToolTip(QString());
    DescribePathBoxes();
    for (VGrid* grid : {grdFileOne, grdFileTwo})
        grid->SetRedraw(false);
    grdFileOne->ClearCells();
    grdFileTwo->ClearCells();
    grdFileOne->SetTextMatrix(0, kSelectFilesPrompt);
    grdFileTwo->SetTextMatrix(0, kSelectFilesPrompt);
    pctDiffsBar->Clear(palette().color(QPalette::Button));
    pctContainer->Clear();
    DisableResultCommands();
    SetCurrentRow(1);
    TellBarPosition();
    for (VGrid* grid : {grdFileOne, grdFileTwo})
        grid->Announce(QString());
    grdFileOne->SetTopRow(1);
    for (VGrid* grid : {grdFileOne, grdFileTwo})
        grid->SetRedraw(true);
    ShowDetailPaneHint();
}

void frmFileDiffs::ShowDetailPaneHint()
{
    // Black, marker off, caret at the start with nothing selected.
    rtfLineDiff[0]->setPlainText(kDetailPaneHint);
    rtfLineDiff[1]->clear();
}

bool frmFileDiffs::HourglassShown() const
{
    const QCursor* cursor = QGuiApplication::overrideCursor();
    return (cursor && cursor->shape() == Qt::WaitCursor) || this->cursor().shape() == Qt::WaitCursor;
}

void frmFileDiffs::ApplyPlaces()
{
    SetPlace(txtFileOne, m_places.txtFileOne);
    SetPlace(txtFileTwo, m_places.txtFileTwo);
    SetPlace(grdFileOne, m_places.grdFileOne);
    SetPlace(grdFileTwo, m_places.grdFileTwo);
    SetPlace(Splitter, m_places.Splitter);
    SetPlace(rtfLineDiff[0], m_places.rtfLineDiff0);
    SetPlace(rtfLineDiff[1], m_places.rtfLineDiff1);
}
