#include "ImportCommand.h"

#include "BusyPointer.h"
#include "DatabaseError.h"
#include "DatabaseMessage.h"
#include "ItemList.h"
#include "JetImportText.h"
#include "MainWindow.h"
#include "MessageBox.h"
#include "ProgressPacer.h"
#include "ProgressWindow.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFileDialog>

#include <memory>

namespace {

QString chooseAccessFile(QWidget *parent)
{
    return QFileDialog::getOpenFileName(parent, QStringLiteral("Importer une base Access"), QDir::homePath(),
                                        QStringLiteral("Bases Access (*.mdb)"));
}

} // namespace

ImportCommand::ImportCommand(MainWindow *window, const QString &knowledgeBase, JetImport::Converter convert,
                             AppSettings *settings)
    : m_window(window), m_import(knowledgeBase, hooks(), std::move(convert), settings), m_choose(chooseAccessFile)
{}

KnowledgeBaseImport::Hooks ImportCommand::hooks()
{
    KnowledgeBaseImport::Hooks h;
    h.ask = [this](const KnowledgeBaseImport::Question &question) {
        return MessageBox::show(m_window, JetImportText::question(question), MessageBox::Buttons::OkCancel,
                                MessageBox::Icon::Question, JetImportText::Title) == MessageBox::Answer::Ok;
    };
    h.run = [this](bool showProgress, const KnowledgeBaseImport::Work &work) { runWork(showProgress, work); };
    // The import's own change of the base is no replacement by another program.
    h.closeConnections = [this] {
        if (m_window)
            m_window->baseChangedHere();
    };
    h.visitHasSigns = [this] { return m_window && m_window->signes()->count() > 0; };
    h.emptyVisit = [this] {
        if (!m_window)
            return;
        m_window->setRecordedSigns({});
    };
    h.imported = [this](const JetImport::Summary &summary) {
        MessageBox::show(m_window, JetImportText::summary(summary), MessageBox::Buttons::Ok, MessageBox::Icon::None,
                         JetImportText::Title);
    };
    h.refused = [this](const DatabaseError &error) { DatabaseMessage::show(m_window, error); };
    return h;
}

void ImportCommand::runWork(bool showProgress, const KnowledgeBaseImport::Work &work)
{
    const BusyPointer::Scope busy;
    if (!showProgress) {
        work({});
        return;
    }
    // As during the weight rebuild: modal to the whole program while it lives, so that no
    // window takes input or is closed in the middle of the renames.
    auto window = std::make_unique<ProgressWindow>(
        m_window, QStringLiteral("Conversion de la base Access en cours, un peu de patience"));
    window->setWindowModality(Qt::ApplicationModal);
    window->show();
    window->paintNow();
    ProgressPacer pacer;
    QElapsedTimer clock;
    clock.start();
    const auto finish = [&] {
        window->close();
        window.reset();
        if (m_window)
            m_window->activateWindow();
    };
    try {
        work([&](qint64 done, qint64 total) {
            const float value = total > 0 ? float(100.0 * double(done) / double(total)) : 0.0f;
            if (pacer.shouldPaint(window->setValue(value), clock.elapsed()))
                window->paintNow();
        });
    } catch (...) {
        finish();
        throw;
    }
    finish();
}

void ImportCommand::offerAtStart()
{
    m_import.offerConversion(m_import.knowledgeBase());
}

bool ImportCommand::accessFileFound(const DatabaseError &error)
{
    const auto outcome = m_import.offerConversion(error.path());
    return outcome == KnowledgeBaseImport::Outcome::Imported || outcome == KnowledgeBaseImport::Outcome::Refused;
}

void ImportCommand::run()
{
    m_import.replaceBy(m_choose ? m_choose(m_window) : QString());
}
