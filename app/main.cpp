#include "AppPaths.h"
#include "AppSettings.h"
#include "AppVersion.h"
#include "Application.h"
#include "Fonts.h"
#include "RegionalDefaults.h"

#include <QApplication>

int main(int argc, char *argv[])
{
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
