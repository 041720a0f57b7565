#include "RegionalDefaults.h"

#include "ToolkitFrench.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace RegionalDefaults {

namespace {

// No regional setting: nothing, or the plain C locale under one of its names.
bool isPlain(const QByteArray &value)
{
    return value.isEmpty() || value == "C" || value == "POSIX" || value.startsWith("C.");
}

} // namespace

Environment withFrenchDates(Environment current)
{
    const QByteArray &dates = !current.lcAll.isEmpty()    ? current.lcAll
                              : !current.lcTime.isEmpty() ? current.lcTime
                                                          : current.lang;
    if (!isPlain(dates))
        return current;
    if (!current.lcAll.isEmpty())
        current.lang = std::exchange(current.lcAll, QByteArray());
    current.lcTime = "fr_FR.UTF-8";
    return current;
}

void frenchDatesBeforeStart()
{
    const Environment before{qgetenv("LC_ALL"), qgetenv("LC_TIME"), qgetenv("LANG")};
    const Environment after = withFrenchDates(before);
    if (after == before)
        return;
    const auto set = [](const char *name, const QByteArray &value) {
        if (value.isEmpty())
            qunsetenv(name);
        else
            qputenv(name, value);
    };
    set("LC_ALL", after.lcAll);
    set("LC_TIME", after.lcTime);
    set("LANG", after.lang);
}

void frenchToolkit()
{
    if (QLocale::system().language() == QLocale::C)
        QLocale::setDefault(QLocale(QLocale::French, QLocale::France));

    auto *qtTranslations = new QTranslator(QCoreApplication::instance());
    if (qtTranslations->load(QLocale(QLocale::French, QLocale::France), QStringLiteral("qtbase"), QStringLiteral("_"),
                             QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(qtTranslations);
    // Installed last, so asked first.
    QCoreApplication::installTranslator(new ToolkitFrench(QCoreApplication::instance()));
}

} // namespace RegionalDefaults
