#include "folderview/frmFolderDiffs.h"

#include "app/FolderComparison.h"
#include "app/Globals.h"
#include "folderview/FolderRowDelegate.h"
#include "mainwindow/PathBox.h"

#include <QAction>
#include <QCloseEvent>
#include <QGridLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QStatusBar>
#include <QTimer>
#include <QToolButton>
#include <QTreeView>

frmFolderDiffs::frmFolderDiffs(Links links, QWidget* parent)
    : QMainWindow(parent), m_links(std::move(links)), m_model(this), m_feed(m_model, this)
{
    setObjectName(QStringLiteral("frmFolderDiffs"));
    setWindowTitle(QStringLiteral("Vantrel - Folder Difference Viewer"));
    setWindowIcon(QIcon(QStringLiteral(":/mainwindow/icons/vantrel.png")));
    setAttribute(Qt::WA_DeleteOnClose, false);
    CreateControls();
    CreateMenus();
    ShowOptions();
    connect(&m_feed, &FolderScanFeed::Progressed, this, &frmFolderDiffs::ScanProgressed);
    connect(&m_feed, &FolderScanFeed::Finished, this, &frmFolderDiffs::ScanFinished);
    resize(980, 640);
}

frmFolderDiffs::~frmFolderDiffs() = default;

void frmFolderDiffs::CreateControls()
{
    auto* client = new QWidget(this);
    client->setObjectName(QStringLiteral("ClientArea"));
    auto* grid = new QGridLayout(client);
    const auto row = [&](int at, const QString& label, const char* name, void (frmFolderDiffs::*select)()) {
        auto* box = new QLineEdit(client);
        box->setObjectName(QString::fromLatin1(name));
        auto* caption = new QLabel(label, client);
        caption->setBuddy(box);
        auto* browse = new QToolButton(client);
        browse->setText(QStringLiteral("..."));
        browse->setObjectName(QString::fromLatin1(name) + QStringLiteral("Browse"));
        browse->setToolTip(at == 0 ? QStringLiteral("Select Folder One") : QStringLiteral("Select Folder Two"));
        browse->setAccessibleName(browse->toolTip());
        connect(browse, &QToolButton::clicked, this, select);
        // Enter in a box compares, as in the file view's boxes.
        connect(box, &QLineEdit::returnPressed, this, &frmFolderDiffs::mnuFileCompare_Click);
        // Completion of folder names as they are typed, and drops.
        new PathBox(box);
        grid->addWidget(caption, at, 0);
        grid->addWidget(box, at, 1);
        grid->addWidget(browse, at, 2);
        return box;
    };
    txtFolderOne =
        row(0, QStringLiteral("Folder &One:"), "txtFolderOne", &frmFolderDiffs::mnuFileSelectFolderOne_Click);
    txtFolderTwo =
        row(1, QStringLiteral("Folder &Two:"), "txtFolderTwo", &frmFolderDiffs::mnuFileSelectFolderTwo_Click);
    txtFolderOne->setAccessibleName(QStringLiteral("Folder One"));
    txtFolderTwo->setAccessibleName(QStringLiteral("Folder Two"));

    tvwFolders = new QTreeView(client);
    tvwFolders->setObjectName(QStringLiteral("tvwFolders"));
    tvwFolders->setAccessibleName(QStringLiteral("Folder One and Folder Two"));
    tvwFolders->setModel(&m_model);
    tvwFolders->setItemDelegate(new FolderRowDelegate(tvwFolders));
    // Every row is one line high: the view need not measure 100,000 rows.
    tvwFolders->setUniformRowHeights(true);
    tvwFolders->setAlternatingRowColors(false);
    tvwFolders->setAllColumnsShowFocus(true);
    tvwFolders->setSelectionMode(QAbstractItemView::SingleSelection);
    tvwFolders->setSelectionBehavior(QAbstractItemView::SelectRows);
    // A folder opens with Enter and with a double click alike (see the
    // activation handler), never twice.
    tvwFolders->setExpandsOnDoubleClick(false);
    tvwFolders->header()->setStretchLastSection(false);
    tvwFolders->header()->setSectionResizeMode(FolderTreeModel::ColumnName, QHeaderView::Stretch);
    tvwFolders->setColumnWidth(FolderTreeModel::ColumnState, 250);
    for (int column : {FolderTreeModel::ColumnSizeOne, FolderTreeModel::ColumnSizeTwo})
        tvwFolders->setColumnWidth(column, 90);
    for (int column : {FolderTreeModel::ColumnModifiedOne, FolderTreeModel::ColumnModifiedTwo})
        tvwFolders->setColumnWidth(column, 140);
    connect(tvwFolders, &QTreeView::activated, this, &frmFolderDiffs::tvwFolders_Activated);
    grid->addWidget(tvwFolders, 2, 0, 1, 3);
    grid->setColumnStretch(1, 1);
    setCentralWidget(client);

    lblCounts = new QLabel(this);
    lblCounts->setObjectName(QStringLiteral("lblCounts"));
    lblProgress = new QLabel(this);
    lblProgress->setObjectName(QStringLiteral("lblProgress"));
    statusBar()->addWidget(lblCounts, 1);
    statusBar()->addPermanentWidget(lblProgress);
    // The progress line is told a few times a second, not at every portion.
    m_progressTimer = new QTimer(this);
    m_progressTimer->setInterval(100);
    connect(m_progressTimer, &QTimer::timeout, this, [this] {
        ShowProgress();
        ShowCounts();
    });
    setTabOrder(txtFolderOne, txtFolderTwo);
    setTabOrder(txtFolderTwo, tvwFolders);
}

void frmFolderDiffs::Open(const QString& folderOne, const QString& folderTwo, bool compare)
{
    // The last folders compared, unless they are gone (git difftool's
    // temporary ones are).
    const cViewFileDiffsOptions::FolderCompare& last = Options().Folders;
    const auto offered = [](const QString& given, const QString& kept) {
        return !given.isEmpty() || !modVantrel::IsFolderPath(kept) ? given : kept;
    };
    txtFolderOne->setText(offered(folderOne, last.FolderOne));
    txtFolderTwo->setText(offered(folderTwo, last.FolderTwo));
    ShowOptions();
    m_closed = false;
    show();
    raise();
    activateWindow();
    if (compare)
        QTimer::singleShot(0, this, &frmFolderDiffs::mnuFileCompare_Click);
    else
        txtFolderOne->setFocus();
}

void frmFolderDiffs::closeEvent(QCloseEvent* event)
{
    m_feed.Stop();
    event->accept();
    if (!m_closed) {
        m_closed = true;
        emit Closed();
    }
}
