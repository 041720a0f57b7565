#include "Application.h"

#include "AboutDialog.h"
#include "AppSettings.h"
#include "BusyPointer.h"
#include "DatabaseError.h"
#include "DatabaseMessage.h"
#include "EditionOffer.h"
#include "HelpBrowser.h"
#include "ImportCommand.h"
#include "ImportHelper.h"
#include "MainWindow.h"
#include "RegenerateCommand.h"
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
    connect(m_termination, &TerminationSignals::received, this, &Application::endSession);
}

Application::~Application() = default;

void Application::start(const AppPaths::KnowledgeBase &kb)
{
    // Settled before anything opens the base.
    EditionOffer::atStart(kb, m_settings.copyMemory());
    BusyPointer::setBusy();
    auto splash = std::make_unique<SplashWindow>();
    splash->showAndPaint();

    const MethodTable methodeActive = m_settings.readMethods();

    m_window = new MainWindow([](QWidget *parent) { return new VisitToolBar(parent); }, m_settings, methodeActive);
    m_window->setAttribute(Qt::WA_DeleteOnClose);
    m_window->setDatabaseName(kb.database);
    wireCommands(kb);

    splash->close();
    splash.reset();

    m_window->show();
    BusyPointer::setDefault();
    // Heard from the moment the window is shown, so that a request made during start-up
    // finds it there to close, and the boxes that follow do not hold the end back.
    m_termination->listen();

    if (kb.failure)
        DatabaseMessage::showCopyFailure(m_window, kb.failure, kb.database);
    m_import->offerAtStart();
}

int Application::exec()
{
    return m_ended ? 0 : QApplication::exec();
}

void Application::endSession()
{
    m_ended = true;
    // The session ends the program without a question: the visit cannot be kept anyway.
    if (m_window)
        m_window->endSession();
    // Every event loop is asked to end first: the modal box or dialog open returns at once,
    // as cancelled, and so does any asked afterwards, so that no question can hold the end
    // back, and a window that would ask before closing has no loop to ask in.
    QCoreApplication::exit(0);
    QApplication::closeAllWindows();
}

void Application::wireCommands(const AppPaths::KnowledgeBase &kb)
{
    MainWindow *w = m_window;
    const MainWindow::Actions &a = w->actions();
    const QString databasePath = kb.database, pageFolder = kb.pageFolder;
    m_import = std::make_unique<ImportCommand>(w, databasePath, ImportHelper::converter(kb.importHelper), &m_settings);
    ImportCommand *import = m_import.get();
    w->setImportCommand(import);
    const DatabaseMessage::ImportOffer offerImport = [w](const DatabaseError &error) { return w->offerImport(error); };

    m_commands = std::make_unique<VisitCommands>(VisitTarget{
        w, w->signes(), w->syndromes(), [w](const QList<ListEntry> &remaining) { w->removeRecordedSigns(remaining); },
        w->toolBar(), w->statusBarWidget(), a.viewToolbar, a.viewStatusBar, databasePath, offerImport,
        [w] { return w->reopenIfReplaced(); }});
    VisitCommands *c = m_commands.get();
    connect(a.fileNew, &QAction::triggered, c, &VisitCommands::newVisit);
    connect(a.fileOpen, &QAction::triggered, c, &VisitCommands::open);
    connect(a.fileSave, &QAction::triggered, c, &VisitCommands::save);
    connect(a.filePageSetup, &QAction::triggered, c, &VisitCommands::pageSetup);
    connect(a.filePrint, &QAction::triggered, c, &VisitCommands::print);
    connect(a.fileExportPdf, &QAction::triggered, c, &VisitCommands::exportPdf);
    connect(a.editCut, &QAction::triggered, c, &VisitCommands::cut);
    connect(a.viewToolbar, &QAction::triggered, c, &VisitCommands::toggleToolbar);
    connect(a.viewStatusBar, &QAction::triggered, c, &VisitCommands::toggleStatusBar);
    connect(a.gestionCarnet, &QAction::triggered, c, &VisitCommands::carnet);
    connect(a.gestionVisites, &QAction::triggered, c, &VisitCommands::visites);
    connect(static_cast<VisitToolBar *>(w->toolBar()), &VisitToolBar::buttonClicked, c, &VisitCommands::toolbarClicked);

    connect(a.fileRegenerer, &QAction::triggered, w, [w, databasePath, offerImport] {
        if (w->reopenIfReplaced())
            return;
        if (RegenerateCommand::run(w, databasePath, offerImport)) {
            w->baseChangedHere();
            w->refreshRecordedSigns();
        }
        w->returnFromWindow();
    });
    if (a.fileImporter)
        connect(a.fileImporter, &QAction::triggered, w, [w, import] {
            import->run();
            w->returnFromWindow();
        });
    connect(a.helpContents, &QAction::triggered, w, [pageFolder] { HelpBrowser::showHelp(pageFolder); });
    connect(a.helpAbout, &QAction::triggered, w, [w] {
        {
            AboutDialog about(w);
            about.exec();
        }
        w->returnFromWindow();
    });
    // The commands live as long as the window they act on.
    connect(w, &QObject::destroyed, this, [this] {
        m_import.reset();
        m_commands.reset();
    });
}
