#include "AppPaths.h"
#include "AppSettings.h"
#include "AppVersion.h"
#include "Application.h"
#include "Fonts.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QString::fromLatin1(AppVersion::Title));
    QApplication::setApplicationVersion(
        QStringLiteral("%1.%2.%3").arg(AppVersion::Major).arg(AppVersion::Minor).arg(AppVersion::Revision));
    QGuiApplication::setDesktopFileName(QString::fromLatin1(AppVersion::DesktopId));
    Fonts::installSubstitutions();
    // A machine without regional settings gets the French forms the program is written in.
    if (QLocale::system().language() == QLocale::C)
        QLocale::setDefault(QLocale(QLocale::French, QLocale::France));

    // The toolkit's own dialogs (file, printer, message buttons) speak the program's French.
    QTranslator qtTranslations;
    if (qtTranslations.load(QLocale(QLocale::French, QLocale::France), QStringLiteral("qtbase"), QStringLiteral("_"),
                            QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(&qtTranslations);

    AppSettings settings;
    Application tessavor(settings);
    tessavor.start(AppPaths::knowledgeBase());
    return QApplication::exec();
}
