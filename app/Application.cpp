#include "Application.h"

#include "AboutDialog.h"
#include "AppSettings.h"
#include "BusyPointer.h"
#include "DatabaseMessage.h"
#include "EditionOffer.h"
#include "HelpBrowser.h"
#include "ImportCommand.h"
#include "MainWindow.h"
#include "RegenerateCommand.h"
#include "Shared.h"
#include "SplashWindow.h"
#include "TerminationSignals.h"
#include "VisitCommands.h"
#include "VisitToolBar.h"

#include <QAction>
#include <QApplication>
#include <QStatusBar>
#include <QToolBar>

Application::Application(AppSettings &settings, QObject *parent)
    : QObject(parent), m_settings(settings), m_termination(new TerminationSignals(this))
{
    connect(m_termination, &TerminationSignals::received, qApp, &QApplication::closeAllWindows);
}

Application::~Application()
{
    DatabaseMessage::setAccessFileHandler({});
}

void Application::start(const AppPaths::KnowledgeBase &kb)
{
    // Settled before anything opens the base.
    EditionOffer::atStart(kb, m_settings.copyMemory());
    BusyPointer::setBusy();
    auto splash = std::make_unique<SplashWindow>();
    splash->showAndPaint();

    for (int m = 1; m <= 5; ++m)
        Shared::methodeActive[m] = m_settings.readMethod(m);

    m_window = new MainWindow([](QWidget *parent) { return new VisitToolBar(parent); }, m_settings);
    m_window->setAttribute(Qt::WA_DeleteOnClose);
    m_window->setDatabaseName(kb.database);
    wireCommands(kb.database, kb.pageFolder);

    splash->close();
    splash.reset();

    m_window->show();
    BusyPointer::setDefault();

    if (kb.failure)
        DatabaseMessage::showCopyFailure(m_window, kb.failure, kb.database);
    m_import->offerAtStart();
    // Heard only now, so that a request made during start-up finds every window there is
    // to close.
    m_termination->listen();
}

void Application::wireCommands(const QString &databasePath, const QString &pageFolder)
{
    MainWindow *w = m_window;
    m_commands = std::make_unique<VisitCommands>(
        VisitTarget{w, w->signes(), w->syndromes(), [w] { w->classerSyndromes(); }, w->toolBar(), w->statusBarWidget(),
                    w->menuAction(QStringLiteral("mnuViewToolbar")), w->menuAction(QStringLiteral("mnuViewStatusBar")),
                    databasePath});
    VisitCommands *c = m_commands.get();

    auto on = [w](const char *name, auto receiver, auto slot) {
        connect(w->menuAction(QString::fromUtf8(name)), &QAction::triggered, receiver, slot);
    };
    on("mnuFileNew", c, &VisitCommands::newVisit);
    on("mnuFileOpen", c, &VisitCommands::open);
    on("mnuFileSave", c, &VisitCommands::save);
    on("mnuFilePageSetup", c, &VisitCommands::pageSetup);
    on("mnuFilePrint", c, &VisitCommands::print);
    on("mnuFileExportPdf", c, &VisitCommands::exportPdf);
    on("mnuEditCut", c, &VisitCommands::cut);
    on("mnuViewToolbar", c, &VisitCommands::toggleToolbar);
    on("mnuViewStatusBar", c, &VisitCommands::toggleStatusBar);
    on("mnuGestionCarnet", c, &VisitCommands::carnet);
    on("mnuGestionVisites", c, &VisitCommands::visites);
    connect(static_cast<VisitToolBar *>(w->toolBar()), &VisitToolBar::buttonClicked, c, &VisitCommands::toolbarClicked);

    connect(w->menuAction(QStringLiteral("mnuFileRégénérer")), &QAction::triggered, w, [w, databasePath] {
        RegenerateCommand::run(w, databasePath);
        w->returnFromWindow();
    });
    m_import = std::make_unique<ImportCommand>(w, databasePath);
    ImportCommand *import = m_import.get();
    DatabaseMessage::setAccessFileHandler(
        [import](QWidget *, const DatabaseError &error) { return import->accessFileFound(error); });
    if (QAction *importer = w->menuAction(QStringLiteral("mnuFileImporter")))
        connect(importer, &QAction::triggered, w, [w, import] {
            import->run();
            w->returnFromWindow();
        });
    connect(w->menuAction(QStringLiteral("mnuHelpContents")), &QAction::triggered, w,
            [pageFolder] { HelpBrowser::showHelp(pageFolder); });
    connect(w->menuAction(QStringLiteral("mnuHelpAbout")), &QAction::triggered, w, [w] {
        {
            AboutDialog about(w);
            about.exec();
        }
        w->returnFromWindow();
    });
    // The commands live as long as the window they act on.
    connect(w, &QObject::destroyed, this, [this] {
        DatabaseMessage::setAccessFileHandler({});
        m_import.reset();
        m_commands.reset();
    });
}
