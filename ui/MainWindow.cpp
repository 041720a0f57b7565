#include "MainWindow.h"

#include "AppSettings.h"
#include "AppVersion.h"
#include "Beep.h"
#include "BusyPointer.h"
#include "CategoryMap.h"
#include "Contrast.h"
#include "DatabaseError.h"
#include "DatabaseMessage.h"
#include "Explanations.h"
#include "Fonts.h"
#include "ImportCommand.h"
#include "ItemList.h"
#include "JetImport.h"
#include "MessageBox.h"
#include "ModalityDialog.h"
#include "RecordedSigns.h"
#include "RegionalClock.h"
#include "SignsToCheck.h"
#include "SignsToCheckDialog.h"
#include "Twips.h"
#include "WindowPlacement.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QDateTime>
#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QResizeEvent>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>
#include <QWindow>

#include <optional>

// Resources of a static library must be registered by hand; outside any namespace.
static void initWindowIcons()
{
    Q_INIT_RESOURCE(WindowIcons);
}

namespace {

const char *const MethodCaptions[6] = {
    "", " 6 méridiens", " 4 couches", " Energie-Sang-LO", " 3 réchauffeurs", " Organes-Entrailles"};

// The client area: the toolbar and the status bar stay glued to its edges, and every
// change of its size runs the window's layout pass.
class ClientArea final : public QWidget
{
public:
    ClientArea(QWidget *parent, std::function<void()> onResize) : QWidget(parent), m_onResize(std::move(onResize)) {}

protected:
    void resizeEvent(QResizeEvent *event) override
    {
        QWidget::resizeEvent(event);
        if (event->size() != event->oldSize())
            m_onResize();
    }

private:
    std::function<void()> m_onResize;
};

} // namespace

MainWindow::MainWindow(const ToolBarFactory &makeToolBar, AppSettings &settings, const MethodTable &stored,
                       QWidget *parent)
    : QMainWindow(parent), m_settings(settings), m_methods(stored)
{
    setObjectName(QStringLiteral("frmMain"));
    setWindowTitle(QString::fromUtf8(AppVersion::ProductName));
    initWindowIcons();
    setWindowIcon(QIcon(QStringLiteral(":/tessavor/icon.svg")));

    m_client = new ClientArea(this, [this] { layoutPass(); });
    setCentralWidget(m_client);
    buildBars(makeToolBar);
    buildMenus();
    buildFrames();
    m_methodSelection = std::make_unique<MethodSelection>(m_methods, m_settings, methodHooks());
    connect(qApp, &QGuiApplication::focusWindowChanged, this, &MainWindow::onWindowActivated);
    setDesignGeometry();
    applyStoredMethods();
}

MainWindow::~MainWindow() = default;

void MainWindow::buildBars(const ToolBarFactory &makeToolBar)
{
    m_toolBar = makeToolBar ? makeToolBar(m_client) : new QToolBar(m_client);
    m_toolBar->setMovable(false);
    m_toolBar->setFloatable(false);
    m_toolBar->move(0, 0);

    m_statusBar = new QStatusBar(m_client);
    m_statusBar->setObjectName(QStringLiteral("sbStatusBar"));
    m_statusBar->setSizeGripEnabled(false);
    auto *visitPanel = new QLabel(QStringLiteral("Pas de visite en cours"), m_statusBar);
    m_dateLabel = new QLabel(m_statusBar);
    m_timeLabel = new QLabel(m_statusBar);
    m_statusBar->addWidget(visitPanel, 1);
    m_statusBar->addPermanentWidget(m_dateLabel);
    m_statusBar->addPermanentWidget(m_timeLabel);
    m_clock = new QTimer(this);
    connect(m_clock, &QTimer::timeout, this, &MainWindow::updateClock);
    m_clock->start(1000);
    updateClock();
}

MethodSelection::Hooks MainWindow::methodHooks()
{
    return {[this](int m) { return m_methodBoxes[m]->isChecked(); },
            [this](int m) { m_methodBoxes[m]->setChecked(true); }, [this] { classerSyndromes(); },
            [this] {
                Beep::sound();
                MessageBox::show(this,
                                 QStringLiteral("Vous n'avez sélectionné aucune option! Par défaut la première option "
                                                "va être sélectionnée."),
                                 MessageBox::Buttons::Ok, MessageBox::Icon::Exclamation,
                                 QStringLiteral("Erreur de manipulation"));
            },
            [this] {
                MessageBox::show(this,
                                 QStringLiteral("Le choix des méthodes ne peut pas être conservé : le fichier des "
                                                "réglages « %1 » ne peut pas être écrit. Les méthodes cochées valent "
                                                "jusqu'à la fermeture de Tessavor.")
                                     .arg(QDir::toNativeSeparators(m_settings.fileName())),
                                 MessageBox::Buttons::Ok, MessageBox::Icon::Exclamation);
            }};
}

void MainWindow::setDesignGeometry()
{
    // The frames never need to go below the size the layout formulas are written for.
    m_client->setMinimumSize(Twips::toPixels(MainLayout::minimumInnerWidth()),
                             Twips::toPixels(MainLayout::minimumMapHeight()) + m_toolBar->sizeHint().height() +
                                 m_statusBar->sizeHint().height());

    placeOnScreen();
}

void MainWindow::placeOnScreen()
{
    // Outer size 12000 × 9000 twips, centred on the screen, inside it whatever its size.
    m_placedFrame = WindowPlacement::frameMargins(this);
    const WindowPlacement::Placement placement =
        WindowPlacement::place(Twips::toPixels(12000, 9000), m_placedFrame, WindowPlacement::availableArea(this),
                               minimumSizeHint().expandedTo(minimumSize()));
    resize(placement.clientSize);
    move(placement.framePosition);
}

bool MainWindow::event(QEvent *event)
{
    const bool handled = QMainWindow::event(event);
    // The frame is known only once the window system has framed the shown window: the
    // window is then sized and centred again from it, once.
    if (!m_frameKnown &&
        (event->type() == QEvent::Show || event->type() == QEvent::Move || event->type() == QEvent::Resize)) {
        const QMargins frame = WindowPlacement::frameMargins(this);
        if (!frame.isNull() && frame != m_placedFrame && windowState() == Qt::WindowNoState) {
            m_frameKnown = true;
            placeOnScreen();
        }
    }
    return handled;
}

namespace {

QAction *addItem(QMenu *menu, const char *name, const char *caption, const QKeySequence &shortcut = {},
                 bool enabled = true)
{
    QAction *action = menu->addAction(QString::fromUtf8(caption));
    action->setObjectName(QString::fromUtf8(name));
    action->setShortcut(shortcut);
    action->setEnabled(enabled);
    return action;
}

void addSeparator(QMenu *menu, const char *name)
{
    menu->addSeparator()->setObjectName(QString::fromLatin1(name));
}

QMenu *addMenu(QMenuBar *bar, const char *name, const char *title)
{
    QMenu *menu = bar->addMenu(QString::fromUtf8(title));
    menu->setObjectName(QString::fromLatin1(name));
    return menu;
}

} // namespace

void MainWindow::buildFileMenu()
{
    QMenu *file = addMenu(menuBar(), "mnuFile", "&Fichier");
    Actions &a = m_actions;
    // A new visit is reached by the keyboard too; with no visit store, Open and Save stay
    // disabled, reached only through the toolbar.
    a.fileNew = addItem(file, "mnuFileNew", "&Nouveau", QKeySequence(Qt::CTRL | Qt::Key_N));
    a.fileOpen = addItem(file, "mnuFileOpen", "&Ouvrir", QKeySequence(Qt::CTRL | Qt::Key_O), false);
    a.fileSave = addItem(file, "mnuFileSave", "&Enregistrer", QKeySequence(Qt::CTRL | Qt::Key_S), false);
    addSeparator(file, "mnuFileBar2");
    a.fileRegenerer = addItem(file, "mnuFileRégénérer", "&Régénérer la base");
    // The import reads Access files through libmdb, which a build may lack.
    a.fileImporter =
        JetImport::isAvailable() ? addItem(file, "mnuFileImporter", "Impor&ter une base Access...") : nullptr;
    addSeparator(file, "mnuFileBar3");
    a.filePageSetup = addItem(file, "mnuFilePageSetup", "&Mise en page...");
    a.filePrint = addItem(file, "mnuFilePrint", "&Imprimer...", QKeySequence(Qt::CTRL | Qt::Key_P));
    a.fileExportPdf =
        addItem(file, "mnuFileExportPdf", "E&xporter en PDF...", QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_P));
    addSeparator(file, "mnuFileBar4");
    a.fileExit = addItem(file, "mnuFileExit", "&Quitter", QKeySequence(Qt::CTRL | Qt::Key_Q));
}

void MainWindow::buildMenus()
{
    buildFileMenu();
    Actions &a = m_actions;
    QMenu *edit = addMenu(menuBar(), "mnuEdit", "Editi&on");
    a.editRechercher =
        addItem(edit, "mnuEditRechercher", "&Rechercher un signe...", QKeySequence(Qt::CTRL | Qt::Key_F));
    a.editCut = addItem(edit, "mnuEditCut", "&Couper", QKeySequence(Qt::CTRL | Qt::Key_X));
    a.editAnnuler =
        addItem(edit, "mnuEditAnnuler", "&Annuler la suppression", QKeySequence(Qt::CTRL | Qt::Key_Z), false);
    a.editVerifier = addItem(edit, "mnuEditVerifier", "Signes à &vérifier...", QKeySequence(Qt::CTRL | Qt::Key_D));

    QMenu *view = addMenu(menuBar(), "mnuView", "Aff&ichage");
    a.viewToolbar = addItem(view, "mnuViewToolbar", "Barre d'&outils");
    a.viewStatusBar = addItem(view, "mnuViewStatusBar", "Barre d'&état");
    for (QAction *bar : {a.viewToolbar, a.viewStatusBar}) {
        bar->setCheckable(true);
        bar->setChecked(true);
    }

    QMenu *gestion = addMenu(menuBar(), "mnuGestion", "&Gestion");
    a.gestionCarnet = addItem(gestion, "mnuGestionCarnet", "&Carnet");
    a.gestionVisites = addItem(gestion, "mnuGestionVisites", "&Visites");
    gestion->menuAction()->setEnabled(false);
    gestion->setEnabled(false);

    QMenu *help = addMenu(menuBar(), "mnuHelp", "&?");
    a.helpContents = addItem(help, "mnuHelpContents", "&Sommaire", QKeySequence(Qt::Key_F1));
    a.helpAbout = addItem(help, "mnuHelpAbout", "À &propos de Tessavor...");

    connect(a.fileExit, &QAction::triggered, this, &QWidget::close);
    connect(a.editAnnuler, &QAction::triggered, this, &MainWindow::bringBackRemovedSigns);
    connect(a.editRechercher, &QAction::triggered, this, [this] {
        openModalities(QStringLiteral("Recherche de symptômes"), ModalityChoice::forSearch(&m_searchIndex));
    });
    connect(a.editVerifier, &QAction::triggered, this, &MainWindow::openSignsToCheck);
}

void MainWindow::buildFrames()
{
    auto frame = [this](const char *name, const char *caption) {
        auto *box = new QGroupBox(QString::fromUtf8(caption), m_client);
        box->setObjectName(QString::fromUtf8(name));
        return box;
    };
    m_carte = frame("Carte", "Carte des symptômes");
    m_liste = frame("Liste", "Syndromes classés");
    m_symptomes = frame("Symptomes", "Symptômes sélectionnés");
    m_methodes = frame("Méthodes", "Méthodes");

    m_map = new CategoryMap(m_carte);
    connect(m_map, &CategoryMap::categoryClicked, this, &MainWindow::onCategoryClicked);

    m_syndromes = new ItemList(m_liste);
    m_syndromes->setObjectName(QStringLiteral("Syndromes"));
    m_syndromes->setFont(Fonts::tahoma(8.25, true));
    // Red, dark enough to read on the list.
    QPalette red = m_syndromes->palette();
    red.setColor(QPalette::Text, Contrast::readable(QColor(255, 0, 0), red.color(QPalette::Base)));
    m_syndromes->setPalette(red);
    m_syndromes->setAccessibleName(QStringLiteral("Syndromes classés"));
    m_syndromes->setAccessibleDescription(QStringLiteral(
        "Les syndromes des méthodes choisies, du plus fort au plus faible ; Entrée ou double-clic : leurs signes"));
    m_syndromes->setTipProvider([this](int index) { return syndromeTip(index); });
    connect(m_syndromes, &ItemList::entryDoubleClicked, this, &MainWindow::onSyndromesDoubleClicked);
    connect(m_syndromes, &ItemList::entryActivated, this, &MainWindow::onSyndromesDoubleClicked);

    m_signes = new ItemList(m_symptomes);
    m_signes->setObjectName(QStringLiteral("Signes"));
    m_signes->setFont(Fonts::tahoma(8.25, true));
    m_signes->setAccessibleName(QStringLiteral("Symptômes sélectionnés"));
    m_signes->setAccessibleDescription(QStringLiteral("Les signes relevés pendant la visite ; Entrée ou double-clic : "
                                                      "les syndromes qu'ils indiquent ; Suppr : retirer le signe"));
    m_signes->setTipProvider([this](int index) { return signTip(index); });
    connect(m_signes, &ItemList::entryDoubleClicked, this, &MainWindow::onSignesDoubleClicked);
    connect(m_signes, &ItemList::entryActivated, this, &MainWindow::onSignesDoubleClicked);
    // Delete removes the selected sign as Ctrl+X does, but only where the signs are.
    auto *remove = new QAction(m_signes);
    remove->setShortcut(QKeySequence::Delete);
    remove->setShortcutContext(Qt::WidgetShortcut);
    m_signes->addAction(remove);
    connect(remove, &QAction::triggered, this, [this] { m_actions.editCut->trigger(); });
    updateHints();

    for (int m = 1; m <= 5; ++m) {
        auto *box = new QCheckBox(QString::fromUtf8(MethodCaptions[m]), m_methodes);
        box->setObjectName(QStringLiteral("OptionsMéthodes_%1").arg(m));
        box->setChecked(true);
        box->setCursor(CategoryMap::handCursor());
        box->setAccessibleName(QStringLiteral("Méthode %1").arg(QString::fromUtf8(MethodCaptions[m]).trimmed()));
        Twips::place(box, 240, 360 + (m - 1) * 420, 2100, 300);
        // The reaction runs for the program's own changes too (start-up, the fallback).
        connect(box, &QCheckBox::toggled, this, [this, m] { onMethodToggled(m); });
        m_methodBoxes[m] = box;
    }

    // The keyboard's road through the window: the map (one stop, its regions by the
    // arrows), the ranked syndromes, the recorded signs, then the methods.
    QWidget::setTabOrder(m_map->keyboardStop(), m_syndromes);
    QWidget::setTabOrder(m_syndromes, m_signes);
    QWidget::setTabOrder(m_signes, m_methodBoxes[1]);
    for (int m = 1; m < 5; ++m)
        QWidget::setTabOrder(m_methodBoxes[m], m_methodBoxes[m + 1]);
}

QCheckBox *MainWindow::methodBox(int method) const
{
    return method >= 1 && method <= 5 ? m_methodBoxes[method] : nullptr;
}

void MainWindow::setDatabaseName(const QString &path)
{
    m_classement.setDatabaseName(path);
    m_listeValeurs.setDatabaseName(path);
    m_baseWatch.watch(path);
}

void MainWindow::baseChangedHere()
{
    m_classement.close();
    m_listeValeurs.close();
    m_baseWatch.accept();
    knowledgeBaseChanged();
}

bool MainWindow::reopenIfReplaced()
{
    if (!m_baseWatch.replaced())
        return false;
    baseChangedHere();
    // An Access file put there is offered for conversion, which says itself what becomes of
    // the visit; declined, every use of the base says it must be converted first.
    const QString path = m_baseWatch.path();
    if (JetImport::isJetFile(path) &&
        offerImport(DatabaseError(DatabaseError::Kind::AccessFile, path, QStringLiteral("Access file put in place"))))
        return true;
    const bool visitEmptied = m_signes->count() > 0;
    m_signes->removeAll();
    m_syndromes->removeAll();
    DatabaseMessage::showReplaced(this, m_baseWatch.path(), visitEmptied);
    return true;
}

void MainWindow::applyStoredMethods()
{
    for (int m = 1; m <= 5; ++m)
        if (m_methods[m] == 0)
            m_methodBoxes[m]->setChecked(false);
}

void MainWindow::onMethodToggled(int method)
{
    m_methodSelection->onChanged(method);
}

void MainWindow::classerSyndromes()
{
    try {
        m_syndromes->setEntries(Ranking::classerSyndromes(m_classement, m_signes->entries(), m_methods));
        updateHints();
    } catch (const DatabaseError &error) {
        // Empty for want of an answer, not of a syndrome: no hint says otherwise.
        m_syndromes->setHint(QString());
        m_syndromes->removeAll();
        tellDatabaseFailure(error);
    }
}

void MainWindow::updateHints()
{
    m_signes->setHint(QStringLiteral("Cliquez une région du corps, ou Ctrl+F pour chercher un signe."));
    m_syndromes->setHint(m_signes->count() > 0 ? QStringLiteral("Aucun syndrome ne dépasse 6 avec les signes relevés.")
                                               : QString());
}

void MainWindow::setRecordedSigns(const QList<ListEntry> &signs)
{
    const int selected = m_signes->selectedIndex();
    const std::optional<qint32> kept = selected >= 0 ? std::optional(m_signes->itemData(selected)) : std::nullopt;
    m_signes->setEntries(signs);
    for (int i = 0; kept && i < m_signes->count(); ++i)
        if (m_signes->itemData(i) == *kept)
            m_signes->setCurrentRow(i);
    m_actions.editAnnuler->setEnabled(m_removed.restoredInto(signs) != signs);
    classerSyndromes();
}

void MainWindow::removeRecordedSigns(const QList<ListEntry> &remaining)
{
    m_removed.remember(m_signes->entries(), remaining);
    setRecordedSigns(remaining);
}

void MainWindow::bringBackRemovedSigns()
{
    const QList<ListEntry> restored = m_removed.restoredInto(m_signes->entries());
    m_removed.forget();
    setRecordedSigns(restored);
}

void MainWindow::knowledgeBaseChanged()
{
    m_searchIndex.forget();
    m_removed.forget();
    m_actions.editAnnuler->setEnabled(false);
}

void MainWindow::refreshRecordedSigns()
{
    knowledgeBaseChanged();
    if (m_signes->count() == 0)
        return classerSyndromes();
    RecordedSigns::Refreshed refreshed;
    try {
        refreshed = RecordedSigns::refresh(m_listeValeurs, m_signes->entries());
    } catch (const DatabaseError &error) {
        tellDatabaseFailure(error);
        return;
    }
    setRecordedSigns(refreshed.signes);
    if (refreshed.gone.isEmpty())
        return;
    QStringList told;
    for (const QString &gone : std::as_const(refreshed.gone))
        told.append(QStringLiteral("« %1 »").arg(gone));
    Beep::sound();
    MessageBox::show(this,
                     (refreshed.gone.size() == 1
                          ? QStringLiteral("Ce signe n'a plus de poids dans la base (il n'indique plus aucun syndrome) "
                                           "et a été retiré de la visite : %1.")
                          : QStringLiteral("Ces signes n'ont plus de poids dans la base (ils n'indiquent plus aucun "
                                           "syndrome) et ont été retirés de la visite : %1."))
                         .arg(told.join(QStringLiteral(", "))),
                     MessageBox::Buttons::Ok, MessageBox::Icon::Exclamation, QStringLiteral("Base de connaissances"));
}

bool MainWindow::offerImport(const DatabaseError &error)
{
    return error.kind() == DatabaseError::Kind::AccessFile && m_import && m_import->accessFileFound(error);
}

void MainWindow::tellDatabaseFailure(const DatabaseError &error)
{
    if (!offerImport(error))
        DatabaseMessage::show(this, error);
}

void MainWindow::layoutPass()
{
    BusyPointer::setBusy();
    const QRectF image = m_map->imageGeometry();
    const int largeurCarte = static_cast<int>(image.width());
    const int hauteurCarte = static_cast<int>(image.height());
    if (isMinimized()) {
        BusyPointer::setDefault();
        return;
    }

    // The bars keep their own edges of the client area; their heights count whether or
    // not they are shown, so hiding one leaves its band empty.
    const int toolBarHeight = m_toolBar->sizeHint().height();
    const int statusBarHeight = m_statusBar->sizeHint().height();
    m_toolBar->setGeometry(0, 0, m_client->width(), toolBarHeight);
    m_statusBar->setGeometry(0, m_client->height() - statusBarHeight, m_client->width(), statusBarHeight);

    m_layout =
        MainLayout::compute(Twips::fromPixels(m_client->width()), Twips::fromPixels(m_client->height()),
                            Twips::fromPixels(toolBarHeight), Twips::fromPixels(statusBarHeight), Twips::PerPixel);
    Twips::place(m_carte, m_layout.carte);
    m_map->setImageGeometry(m_layout.imageCarte);
    Twips::place(m_liste, m_layout.liste);
    Twips::place(m_syndromes, m_layout.syndromes);
    Twips::place(m_symptomes, m_layout.symptomes);
    Twips::place(m_signes, m_layout.signes);
    Twips::place(m_methodes, m_layout.methodes);

    if (!m_miseEnPageFaite) {
        // The first pass leaves the category controls at their design places, and the
        // busy pointer to start-up, which restores it once the window is shown.
        m_miseEnPageFaite = true;
        return;
    }

    m_carte->hide();
    const QRectF scaled = m_map->imageGeometry();
    const float facteurX = largeurCarte > 0 ? static_cast<float>(scaled.width() / largeurCarte) : 1.0f;
    const float facteurY = hauteurCarte > 0 ? static_cast<float>(scaled.height() / hauteurCarte) : 1.0f;
    m_map->scaleControls(facteurX, facteurY);
    BusyPointer::setDefault();
    m_carte->show();
}

void MainWindow::closeEvent(QCloseEvent *event)
{
    if (!mayCloseVisit()) {
        event->ignore();
        return;
    }
    QMainWindow::closeEvent(event);
}

bool MainWindow::mayCloseVisit()
{
    const int signs = m_signes->count();
    if (m_endingSession || signs == 0)
        return true;
    const QString count = signs == 1 ? QStringLiteral("1 signe") : QStringLiteral("%1 signes").arg(signs);
    const bool ok =
        MessageBox::show(this, QStringLiteral("La visite en cours (%1) sera perdue. Quitter Tessavor ?").arg(count),
                         MessageBox::Buttons::OkCancel, MessageBox::Icon::Question) == MessageBox::Answer::Ok;
    // The session may end while the question is asked: it is not kept waiting.
    return ok || m_endingSession;
}

void MainWindow::onWindowActivated(QWindow *focusWindow)
{
    ActivationTracker::Window kind = ActivationTracker::Window::None;
    if (focusWindow) {
        kind = ActivationTracker::Window::Other;
        if (focusWindow == windowHandle())
            kind = ActivationTracker::Window::Main;
        else
            for (QWidget *top : QApplication::topLevelWidgets())
                if (top->windowHandle() == focusWindow && qobject_cast<QMessageBox *>(top))
                    kind = ActivationTracker::Window::MessageBox;
    }
    const bool activation = m_activation.focusChanged(kind);
    // Coming back from another program may mean coming back from the one that replaced the
    // base.
    if (kind == ActivationTracker::Window::Main && reopenIfReplaced())
        return;
    if (activation)
        classerSyndromes();
}

void MainWindow::onCategoryClicked(int index, bool picture)
{
    openModalities(picture ? QStringLiteral("Liste des symptômes pour la catégorie sélectionnée")
                           : QStringLiteral("Liste des modalités pour la catégorie sélectionnée"),
                   ModalityChoice::forCategory(index));
}

void MainWindow::onSignesDoubleClicked(int index)
{
    if (index < 0 || index >= m_signes->count())
        return;
    openModalities(QStringLiteral("Liste des syndromes pour le symptôme sélectionné"),
                   ModalityChoice::forSign(m_signes->itemData(index)));
}

void MainWindow::onSyndromesDoubleClicked(int index)
{
    if (index < 0 || index >= m_syndromes->count())
        return;
    openModalities(QStringLiteral("Liste des symptômes pour le syndrome sélectionné"),
                   ModalityChoice::forSyndrome(m_syndromes->itemData(index)));
}

QString MainWindow::syndromeTip(int index)
{
    try {
        const qint32 syndrome = m_syndromes->itemData(index);
        QString tip =
            Explanations::syndromeText(Explanations::syndromeSigns(m_listeValeurs, syndrome, m_signes->entries()));
        // A leading syndrome's tip ends with what to check next.
        const QList<ListEntry> ranked = m_syndromes->entries();
        if (SignsToCheck::leading(ranked).contains(index))
            for (const SignsToCheck::Group &group : SignsToCheck::groups(m_listeValeurs, ranked, m_signes->entries()))
                if (group.syndrome.data == syndrome && !group.toCheck.isEmpty())
                    tip += QLatin1Char('\n') + SignsToCheck::tipLine(group);
        return tip;
    } catch (const DatabaseError &) {
        // A tip must not raise a window: the ranking tells the failure when it runs.
        return QStringLiteral("Explication indisponible : la base de connaissances ne répond pas.");
    }
}

QString MainWindow::signTip(int index)
{
    try {
        return Explanations::signText(m_listeValeurs, m_signes->itemData(index));
    } catch (const DatabaseError &) {
        return QStringLiteral("Explication indisponible : la base de connaissances ne répond pas.");
    }
}

void MainWindow::openModalities(const QString &title, ModalityChoice choice)
{
    if (reopenIfReplaced())
        return;
    try {
        // The search's word index is made from the whole base: on a large base, a moment.
        std::optional<BusyPointer::Scope> busy;
        if (choice.use() == ModalityChoice::Use::Search)
            busy.emplace();
        choice.load(m_listeValeurs);
    } catch (const DatabaseError &error) {
        tellDatabaseFailure(error);
        return;
    }
    recordFrom(std::make_unique<ModalityDialog>(this, title, std::move(choice), m_signes->entries()));
}

void MainWindow::openSignsToCheck()
{
    QList<SignsToCheck::Group> groups;
    try {
        groups = SignsToCheck::groups(m_listeValeurs, m_syndromes->entries(), m_signes->entries());
    } catch (const DatabaseError &error) {
        tellDatabaseFailure(error);
        return;
    }
    recordFrom(std::make_unique<SignsToCheckDialog>(this, std::move(groups), m_signes->entries()));
}

template <class SignDialog> void MainWindow::recordFrom(std::unique_ptr<SignDialog> dialog)
{
    const bool accepted = dialog->exec() == QDialog::Accepted;
    const QList<ListEntry> validated = accepted ? dialog->validated() : QList<ListEntry>();
    dialog.reset(); // closed before the ranking, as the main window comes back
    if (accepted && validated != m_signes->entries())
        setRecordedSigns(validated);
    returnFromWindow();
}

void MainWindow::returnFromWindow()
{
    // Without a window manager to hand the focus back, the window would stay inactive
    // after a dialog closes, and its activation (the ranking) would wait for a click.
    activateWindow();
}

void MainWindow::updateClock()
{
    const RegionalClock clock;
    const QDateTime now = clock.now();
    m_dateLabel->setText(clock.dateText(now));
    m_timeLabel->setText(clock.timeText(now));
}
