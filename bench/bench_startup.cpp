// The program as the practitioner meets it, offscreen:
//   startup — from creating the application objects to the main window shown, active and
//             ranked (the splash, the settings, the window and its layout);
//   reportPdf — the visit report of a 20-sign visit written to a PDF file, from the two
//             lists to the file closed (its own connection, the supporting signs of the
//             five best syndromes, the pages painted).
// On synthetic bases of the bundled one's shape at 1× and 100×.
#include "AppSettings.h"
#include "AppVersion.h"
#include "Application.h"
#include "DataSource.h"
#include "DatabaseError.h"
#include "Fonts.h"
#include "MainWindow.h"
#include "PrinterDevice.h"
#include "Ranking.h"
#include "Recordset.h"
#include "RegionalClock.h"
#include "Statements.h"
#include "SyntheticKnowledgeBase.h"
#include "VisitReport.h"
#include "WeightRebuild.h"

#include "BenchSupport.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QPrinter>
#include <QTemporaryDir>
#include <QWindow>

#include <cstdio>
#include <memory>

namespace {

namespace Kb = SyntheticKnowledgeBase;

using BenchSupport::Base;
using BenchSupport::folder;

const Base &base(double scale)
{
    return BenchSupport::syntheticBase(std::to_string(int(scale)) + "x", scale);
}

// Lets the window system work until `done` holds, for at most two seconds.
template <typename Condition> bool processUntil(Condition done)
{
    QElapsedTimer clock;
    clock.start();
    while (!done()) {
        if (clock.elapsed() > 2000)
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    }
    return true;
}

void startup(benchmark::State &state, double scale)
{
    const Base &b = base(scale);
    AppSettings settings(folder().filePath(QStringLiteral("settings.ini")));
    for (auto _ : state) {
        Application tessavor(settings);
        tessavor.start({b.path, folder().path(), b.path, {}, {}});
        MainWindow *window = tessavor.mainWindow();
        if (!processUntil([window] {
                return window->windowHandle() && window->windowHandle()->isExposed() &&
                       QGuiApplication::focusWindow() == window->windowHandle();
            })) {
            state.SkipWithError("the main window never became active");
            break;
        }
        state.PauseTiming();
        window->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCoreApplication::processEvents();
        state.ResumeTiming();
    }
}

// The recorded signs with their texts, read as the modality dialog reads them.
QList<ListEntry> visitSigns(const Base &b, int count)
{
    const QList<ListEntry> wanted = BenchSupport::recordedSigns(b.marks, count);
    DataSource listeValeurs;
    listeValeurs.setDatabaseName(b.path);
    QList<ListEntry> signs;
    for (const ListEntry &sign : wanted) {
        // The synthetic bases number sign i of category c as c × 1 000 000 + i.
        listeValeurs.setRecordSource(Statements::categoryListing(sign.data / 1000000));
        listeValeurs.refresh();
        Recordset &rs = *listeValeurs.recordset();
        for (int i = 0; i < rs.recordCount(); ++i, rs.moveNext())
            if (rs.field(u"NumModalité").toLongLong() == sign.data)
                signs.append({rs.field(u"Modalité").toString() + QStringLiteral(" (") + rs.field(u"Valeur").toString() +
                                  QStringLiteral(")"),
                              sign.data});
    }
    return signs;
}

void reportPdf(benchmark::State &state, double scale)
{
    const Base &b = base(scale);
    const QList<ListEntry> signes = visitSigns(b, 20);
    DataSource classement;
    classement.setDatabaseName(b.path);
    const QList<ListEntry> syndromes = Ranking::classerSyndromes(classement, signes, {0, 1, 1, 1, 1, 1});
    if (syndromes.size() < VisitReport::MaxSyndromes) {
        state.SkipWithError("fewer ranked syndromes than the report prints");
        return;
    }
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(folder().filePath(QStringLiteral("Visite.pdf")));
    for (auto _ : state) {
        PrinterDevice device(printer);
        VisitReport(signes, syndromes, b.path, RegionalClock{}, device).print();
        state.counters["pages"] = device.pageCount();
    }
}

void printSummary(const std::map<std::string, double> &ms)
{
    std::printf("\nSummary (time per action)\n%-12s %-6s %12s\n", "action", "scale", "ours");
    for (const auto &[name, value] : ms) {
        const auto slash = name.find('/');
        std::printf("%-12s %-6s %9.2f ms\n", name.substr(0, slash).c_str(), name.substr(slash + 1).c_str(), value);
    }
}

class SummaryReporter : public FigureReporter
{
public:
    void printSummary() const { ::printSummary(m_ms); }
};

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    benchmark::Initialize(&argc, argv);
    QApplication app(argc, argv);
    QApplication::setApplicationName(QString::fromLatin1(AppVersion::Title));
    Fonts::installSubstitutions();
    SummaryReporter reporter;
    return BenchSupport::runAll(
        reporter,
        [] {
            for (double scale : {1.0, 100.0}) {
                const std::string s = std::to_string(int(scale)) + "x";
                if (scale == 1.0)
                    benchmark::RegisterBenchmark(("startup/" + s).c_str(), startup, scale)
                        ->Unit(benchmark::kMillisecond);
                benchmark::RegisterBenchmark(("reportPdf/" + s).c_str(), reportPdf, scale)
                    ->Unit(benchmark::kMillisecond);
            }
        },
        [&] { reporter.printSummary(); });
}
