#include "HelpBrowser.h"

#include "BrowserLayout.h"
#include "HelpResources.h"
#include "HelpSearch.h"
#include "HtmlView.h"
#include "Twips.h"

#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QIcon>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QToolBar>

namespace {

QPointer<HelpBrowser> openWindow;

} // namespace

HelpBrowser *HelpBrowser::showHelp(const QString &pageFolder)
{
    if (openWindow) {
        openWindow->setWindowState(openWindow->windowState() & ~Qt::WindowMinimized);
        openWindow->show();
        openWindow->raise();
        openWindow->activateWindow();
        return openWindow;
    }
    openWindow = new HelpBrowser;
    openWindow->load(pageFolder);
    return openWindow;
}

HelpBrowser *HelpBrowser::instance()
{
    return openWindow;
}

HelpBrowser::HelpBrowser(QWidget *parent)
    : QWidget(parent, Qt::Window), m_toolBar(new QToolBar(this)), m_addressPanel(new QWidget(this)),
      m_addressLabel(new QLabel(QStringLiteral("&Adresse:"), m_addressPanel)), m_address(new QComboBox(m_addressPanel)),
      m_view(new HtmlView(this)), m_searchPanel(new QWidget(this)), m_searchField(new QLineEdit(m_searchPanel))
{
    HelpResources::initialise();
    setObjectName(QStringLiteral("frmBrowser"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowIcon(QIcon(QStringLiteral(":/help/icons/help.svg")));

    buildToolBar();
    buildAddressBox();
    buildSearchPanel();

    m_view->setObjectName(QStringLiteral("brwWebBrowser"));
    connect(m_view, &HtmlView::downloadEnded, this, &HelpBrowser::onDownloadEnded);
    connect(m_view, &HtmlView::navigationCompleted, this, &HelpBrowser::onNavigationCompleted);

    m_busyTimer.setObjectName(QStringLiteral("timTimer"));
    m_busyTimer.setInterval(5);
    connect(&m_busyTimer, &QTimer::timeout, this, &HelpBrowser::onBusyTick);

    resize(Twips::toPixels(BrowserLayout::InnerWidth, BrowserLayout::InnerHeight));
}

void HelpBrowser::buildToolBar()
{
    m_toolBar->setObjectName(QStringLiteral("tbToolBarbis"));
    m_toolBar->setMovable(false);
    m_toolBar->setIconSize(QSize(24, 24));
    m_toolBar->setToolButtonStyle(Qt::ToolButtonIconOnly);
    addButton(QStringLiteral("Back"), QStringLiteral("Précédent"), QStringLiteral("back"));
    addButton(QStringLiteral("Next"), QStringLiteral("Suivant"), QStringLiteral("next"));
    addButton(QStringLiteral("Stop"), QStringLiteral("Arrêter"), QStringLiteral("stop"));
    addButton(QStringLiteral("Refresh"), QStringLiteral("Actualiser"), QStringLiteral("refresh"));
    addButton(QStringLiteral("Home"), QStringLiteral("Démarrage"), QStringLiteral("home"));
    addButton(QStringLiteral("Search"), QStringLiteral("Rechercher"), QStringLiteral("search"));
    connect(m_toolBar, &QToolBar::actionTriggered, this, &HelpBrowser::onButtonClicked);
}

void HelpBrowser::buildAddressBox()
{
    m_addressPanel->setObjectName(QStringLiteral("picAddress"));
    m_addressLabel->setObjectName(QStringLiteral("lblAddress"));
    m_addressLabel->setBuddy(m_address);
    Twips::place(m_addressLabel, BrowserLayout::LabelLeft, BrowserLayout::LabelTop, BrowserLayout::LabelWidth,
                 BrowserLayout::LabelHeight);

    m_address->setObjectName(QStringLiteral("cboAddress"));
    m_address->setEditable(true);
    // The history is kept by the navigation steps alone, and what is typed is navigated to
    // as typed: the box neither inserts entries nor completes text on its own.
    m_address->setInsertPolicy(QComboBox::NoInsert);
    m_address->setCompleter(nullptr);
    m_address->setDuplicatesEnabled(true);
    // Nor does leaving the box select the entry whose text was typed: only a choice in the
    // list or Enter navigates.
    QObject::disconnect(m_address->lineEdit(), &QLineEdit::editingFinished, nullptr, nullptr);
    m_address->installEventFilter(this);
    m_address->lineEdit()->installEventFilter(this);
    Twips::place(m_address, BrowserLayout::AddressDesignLeft, BrowserLayout::AddressDesignTop,
                 BrowserLayout::InnerWidth - 100, BrowserLayout::AddressHeight);
    connect(m_address, &QComboBox::activated, this, &HelpBrowser::onAddressSelected);
}

void HelpBrowser::buildSearchPanel()
{
    m_searchPanel->setObjectName(QStringLiteral("picSearch"));
    auto *searchLabel = new QLabel(QStringLiteral("&Rechercher :"), m_searchPanel);
    searchLabel->setObjectName(QStringLiteral("lblSearch"));
    searchLabel->setBuddy(m_searchField);
    m_searchField->setObjectName(QStringLiteral("txtSearch"));
    m_searchField->setPlaceholderText(QStringLiteral("mots à chercher dans les pages de l'aide"));
    m_searchField->setClearButtonEnabled(true);
    m_searchField->installEventFilter(this);
    auto *searchRow = new QHBoxLayout(m_searchPanel);
    searchRow->setContentsMargins(Twips::toPixels(BrowserLayout::AddressLeft), Twips::toPixels(60),
                                  Twips::toPixels(BrowserLayout::AddressLeft), Twips::toPixels(60));
    searchRow->addWidget(searchLabel);
    searchRow->addWidget(m_searchField, 1);
    m_searchPanel->hide();
    connect(m_searchField, &QLineEdit::textChanged, this, &HelpBrowser::showResults);
}

HelpBrowser::~HelpBrowser() = default;

void HelpBrowser::addButton(const QString &key, const QString &toolTip, const QString &icon)
{
    QAction *button = m_toolBar->addAction(QIcon(QStringLiteral(":/help/icons/%1.svg").arg(icon)), toolTip);
    button->setObjectName(key);
    button->setData(key);
    button->setToolTip(toolTip);
}

void HelpBrowser::load(const QString &pageFolder)
{
    show();
    m_toolBar->repaint();
    applyResizeRule();
    const QRect label = m_addressLabel->geometry();
    m_address->move(Twips::toPixels(BrowserLayout::AddressLeft),
                    Twips::toPixels(Twips::fromPixels(label.top()) + Twips::fromPixels(label.height()) + 15));
    m_startingAddress = QDir::toNativeSeparators(pageFolder + QStringLiteral("/INDEX.HTM"));
    m_view->setHomeAddress(m_startingAddress);
    m_view->setPageFolder(pageFolder);
    if (!m_startingAddress.isEmpty()) {
        m_address->setEditText(m_startingAddress);
        m_address->addItem(m_address->currentText());
        m_busyTimer.start();
        m_view->navigate(m_startingAddress);
    }
}

void HelpBrowser::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    applyResizeRule();
}

void HelpBrowser::applyResizeRule()
{
    const double innerWidth = Twips::fromPixels(width());
    const BrowserLayout layout =
        BrowserLayout::forInnerSize(innerWidth, Twips::fromPixels(height()), !m_searchPanel->isHidden());
    // The toolbar and the address and search panels span the window, as docked bars do.
    Twips::place(m_toolBar, 0, 0, innerWidth, BrowserLayout::ToolBarHeight);
    Twips::place(m_addressPanel, 0, BrowserLayout::PanelTop, innerWidth, BrowserLayout::PanelHeight);
    Twips::place(m_searchPanel, 0, BrowserLayout::SearchTop, innerWidth, BrowserLayout::SearchHeight);
    m_address->resize(Twips::toPixels(layout.addressWidth), m_address->height());
    Twips::place(m_view, BrowserLayout::ViewLeft, layout.viewTop, layout.viewWidth, layout.viewHeight);
}

void HelpBrowser::onAddressSelected()
{
    if (m_navigationSuppressed)
        return;
    m_busyTimer.start();
    m_view->navigate(m_address->currentText());
}

bool HelpBrowser::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_searchField) {
        if (event->type() == QEvent::KeyPress && static_cast<QKeyEvent *>(event)->key() == Qt::Key_Escape) {
            closeSearch();
            return true;
        }
        return QWidget::eventFilter(watched, event);
    }
    if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            onAddressSelected();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void HelpBrowser::onButtonClicked(QAction *button)
{
    m_busyTimer.start();
    const QString key = button->data().toString();
    if (key == QLatin1String("Back")) {
        m_view->goBack();
    } else if (key == QLatin1String("Next")) {
        m_view->goForward();
    } else if (key == QLatin1String("Refresh")) {
        if (m_showingResults)
            showResults();
        else
            m_view->reload();
    } else if (key == QLatin1String("Home")) {
        m_view->goHome();
    } else if (key == QLatin1String("Search")) {
        openSearch();
    } else if (key == QLatin1String("Stop")) {
        m_busyTimer.stop();
        m_view->stop();
        setWindowTitle(m_view->locationName());
    }
}

void HelpBrowser::onBusyTick()
{
    if (m_view->isBusy()) {
        setWindowTitle(BusyTitle);
        return;
    }
    m_busyTimer.stop();
    setWindowTitle(m_view->locationName());
}

void HelpBrowser::onDownloadEnded()
{
    setWindowTitle(m_view->locationName());
}

void HelpBrowser::openSearch()
{
    m_searchPanel->show();
    applyResizeRule();
    m_searchField->setFocus();
    m_searchField->selectAll();
    showResults();
}

void HelpBrowser::closeSearch()
{
    m_searchPanel->hide();
    applyResizeRule();
    if (m_showingResults)
        m_view->goBack();
}

void HelpBrowser::showResults()
{
    // The help folder is the folder of the start page; its pages are read at the first search.
    const QString folder = QFileInfo(m_startingAddress).absolutePath();
    if (!m_search)
        m_search = std::make_unique<HelpSearch>(folder);
    const QString typed = m_searchField->text();
    m_view->showPage(HelpSearch::resultsPage(typed, m_search->find(typed)),
                     QUrl::fromLocalFile(QDir::fromNativeSeparators(folder) + QLatin1Char('/')));
    m_showingResults = true;
    setWindowTitle(m_view->locationName());
}

void HelpBrowser::onNavigationCompleted()
{
    m_showingResults = false;
    setWindowTitle(m_view->locationName());
    const QString address = m_view->locationAddress();
    int match = -1;
    for (int i = 0; i < m_address->count(); ++i) {
        if (m_address->itemText(i) == address) {
            match = i;
            break;
        }
    }
    m_navigationSuppressed = true;
    if (match >= 0)
        m_address->removeItem(match);
    m_address->insertItem(0, address);
    m_address->setCurrentIndex(0);
    m_navigationSuppressed = false;
}
