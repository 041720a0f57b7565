#include "RegionalDefaults.h"

#include "ToolkitFrench.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace RegionalDefaults {

namespace {

// The variables the toolkit reads the machine's locale from.
constexpr const char *Variables[] = {"LC_ALL", "LC_TIME", "LC_NUMERIC", "LC_MONETARY", "LC_MESSAGES", "LANG"};

// No regional setting: nothing, or the plain C locale under one of its names.
bool isPlain(const QByteArray &value)
{
    return value.isEmpty() || value == "C" || value == "POSIX" || value.startsWith("C.");
}

} // namespace

Environment withFrenchForms(const Environment &current)
{
    for (const QByteArray &value : current)
        if (!isPlain(value))
            return current;
    return {{"LANG", "fr_FR.UTF-8"}};
}

void frenchFormsBeforeStart()
{
    Environment current;
    for (const char *name : Variables)
        if (qEnvironmentVariableIsSet(name))
            current.insert(name, qgetenv(name));
    const Environment wanted = withFrenchForms(current);
    if (wanted == current)
        return;
    for (const char *name : Variables) {
        if (wanted.contains(name))
            qputenv(name, wanted.value(name));
        else
            qunsetenv(name);
    }
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
