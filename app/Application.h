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

    // Start-up in its fixed order: busy pointer, splash painted at once, the five method
    // settings read, the main window created, both data sources pointed at the knowledge
    // base `kb.database`, splash removed, main window shown, default pointer. A per-user
    // copy of the knowledge base that could not be made is then told. From then on, the
    // session's request to end the program (or Ctrl+C in a terminal) closes every window,
    // as "Quitter" closes the main window. A knowledge base that is an Access file is
    // offered for conversion once the window is shown, and again when a command meets one;
    // Access files are read by `kb.importHelper`.
    void start(const AppPaths::KnowledgeBase &kb);

    MainWindow *mainWindow() const { return m_window; }
    VisitCommands *visitCommands() const { return m_commands.get(); }
    ImportCommand *importCommand() const { return m_import.get(); }

private:
    void wireCommands(const AppPaths::KnowledgeBase &kb);

    AppSettings &m_settings;
    TerminationSignals *m_termination;
    QPointer<MainWindow> m_window; // deletes itself when closed
    std::unique_ptr<VisitCommands> m_commands;
    std::unique_ptr<ImportCommand> m_import;
};
