#pragma once

#include <QObject>
#include <QPointer>

#include "AppPaths.h"
#include "MainWindow.h"

#include <memory>

class AppSettings;
class ImportCommand;
class TerminationSignals;

class VisitCommands;
class VisitToolBar;

// The program's start-up and the wiring of the main window's commands to the visit, help
// and knowledge-base commands.
class Application final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(Application)

public:
    explicit Application(AppSettings &settings, QObject *parent = nullptr);
    ~Application() override;

    // Start-up in its fixed order: a newer edition of the bundled base told or offered
    // (the user's copy of the knowledge base updated or kept), busy pointer, splash painted at once, the five method
    // settings read, the main window created, both data sources pointed at the knowledge
    // base `kb.database`, splash removed, main window shown, default pointer. A per-user
    // copy of the knowledge base that could not be made is then told. Once the window is
    // shown, the session's request to end the program (or Ctrl+C in a terminal) ends it,
    // whatever window is open: a box waiting for an answer is closed as if cancelled, and
    // nothing more is asked. A knowledge base that is an Access file is offered for
    // conversion once the window is shown, and again when a command meets one.
    void start(const AppPaths::KnowledgeBase &kb);
    // The main loop, until the main window has closed or the session has ended the program
    // (during start-up too, before the loop began). Returns the program's exit status.
    int exec();

    MainWindow *mainWindow() const { return m_window; }
    VisitCommands *visitCommands() const { return m_commands.get(); }
    ImportCommand *importCommand() const { return m_import.get(); }

private:
    void endSession();
    void wireCommands(const AppPaths::KnowledgeBase &kb);

    AppSettings &m_settings;
    TerminationSignals *m_termination;
    bool m_ended = false;
    QPointer<MainWindow> m_window; // deletes itself when closed
    std::unique_ptr<VisitCommands> m_commands;
    std::unique_ptr<ImportCommand> m_import;
};
