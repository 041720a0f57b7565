#pragma once

#include "KnowledgeBaseImport.h"

#include <QPointer>
#include <QString>

#include <functional>

class DatabaseError;
class MainWindow;
class QWidget;

// The windows of importing a practitioner's Access knowledge base into the program of a
// main window: the offer or the confirmation, the file picker, the progress window, the
// summary and the messages; the connections let go are the main window's two bound data
// sources, the visit emptied is its two lists. When each comes is KnowledgeBaseImport's
// decision.
class ImportCommand
{
public:
    // The file picker: the chosen file, or an empty text when the practitioner cancelled.
    using ChooseFile = std::function<QString(QWidget *parent)>;

    // `convert` reads the Access files (the import helper); `settings` keeps the file whose
    // reading made it fail from one run to the next.
    ImportCommand(MainWindow *window, const QString &knowledgeBase, JetImport::Converter convert,
                  AppSettings *settings);

    // Start-up, once the main window is shown: the offer, when the knowledge base is an
    // Access file.
    void offerAtStart();
    // A command met an Access file where it opened the base: its import offer step.
    // Returns true when the offer was made and its outcome told (the summary, or why the
    // file was refused); false leaves the telling to the caller.
    bool accessFileFound(const DatabaseError &error);
    // The menu command "Impor&ter une base Access...".
    void run();

    // Instead of the file dialog, for tests.
    void setFileChooser(ChooseFile choose) { m_choose = std::move(choose); }

private:
    KnowledgeBaseImport::Hooks hooks();
    void runWork(bool showProgress, const KnowledgeBaseImport::Work &work);

    QPointer<MainWindow> m_window;
    KnowledgeBaseImport m_import;
    ChooseFile m_choose;
};
