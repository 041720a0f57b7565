#include "AppPaths.h"
#include "AppSettings.h"
#include "AppVersion.h"
#include "Application.h"
#include "CommandLine.h"
#include "Fonts.h"
#include "RegionalDefaults.h"

#include <QApplication>

#include <cstdio>

int main(int argc, char *argv[])
{
    // Answered before the toolkit starts, so that they need no display.
    if (const auto answer = CommandLine::answer(CommandLine::arguments(argc, argv))) {
        std::fputs(answer->out.toLocal8Bit().constData(), stdout);
        std::fputs(answer->err.toLocal8Bit().constData(), stderr);
        return answer->status;
    }
    RegionalDefaults::frenchFormsBeforeStart();
    QApplication app(argc, argv);
    QApplication::setApplicationName(QString::fromLatin1(AppVersion::Title));
    QApplication::setApplicationVersion(
        QStringLiteral("%1.%2.%3").arg(AppVersion::Major).arg(AppVersion::Minor).arg(AppVersion::Revision));
    QGuiApplication::setDesktopFileName(QString::fromLatin1(AppVersion::DesktopId));
    Fonts::installSubstitutions();
    RegionalDefaults::frenchToolkit();

    AppSettings settings;
    Application tessavor(settings);
    tessavor.start(AppPaths::knowledgeBase(settings.copyMemory()));
    return tessavor.exec();
}
