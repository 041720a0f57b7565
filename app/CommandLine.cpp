#include "CommandLine.h"

#include "AppVersion.h"

#include <QCommandLineParser>
#include <QRegularExpression>

#include <algorithm>
#include <iterator>

using namespace Qt::StringLiterals;

namespace CommandLine {

namespace {

// The options QGuiApplication, QApplication and the X11 platform read themselves, with or
// without a value (given as the next argument or after "="), in Qt's one- or two-dash forms.
constexpr const char *ToolkitFlags[] = {"reverse", "widgetcount", "nograb", "dograb", "sync", "testability"};
constexpr const char *ToolkitOptions[] = {
    "platform",      "platformpluginpath", "platformtheme", "plugin", "qwindowgeometry", "qwindowicon",
    "qwindowtitle",  "session",            "display",       "geometry", "title",         "icon",
    "name",          "visual",             "style",         "stylesheet", "qmljsdebugger", "dialogs",
    "fontengine"};

const QString Usage = uR"(Utilisation : tessavor [OPTION]...
Tessavor chinois, aide au diagnostic en médecine traditionnelle chinoise : le
praticien relève les signes observés pendant la consultation, et Tessavor classe
les syndromes des méthodes de diagnostic choisies d'après le poids de ces signes.

Options :
  -h, --help      affiche cette aide et quitte
  -v, --version   affiche la version et quitte
Les options de Qt (-platform, -style, -reverse...) sont acceptées.

Fichiers :
  ~/.local/share/Tessavor/Signes.mdb
      la base de connaissances en usage : votre copie de la base fournie,
      /usr/share/tessavor/Signes.mdb, faite au premier démarrage
  ~/.config/Tessavor/Tessavor.conf
      les réglages (les méthodes de diagnostic choisies)
XDG_DATA_HOME et XDG_CONFIG_HOME, s'ils sont définis, remplacent ~/.local/share
et ~/.config. Un dossier du programme qui contient Signes.mdb et où l'on peut
écrire (le dossier de compilation) garde sa propre base.

Voir aussi : man tessavor, et l'aide du programme (touche F1).
)"_s;

Answer mistake(const QString &what)
{
    return {2, {}, u"tessavor : %1\n\n%2"_s.arg(what, Usage)};
}

QString optionName(const QString &argument)
{
    return argument.section(u'=', 0, 0).remove(QRegularExpression(u"^--?"_s));
}

// The argument, as typed, that the parser refused: an unknown option, a value given to an
// option that takes none, or else a last option missing its value.
QString refused(const QCommandLineParser &parser, const QStringList &arguments)
{
    const QStringList unknown = parser.unknownOptionNames();
    for (const QString &argument : arguments.mid(1)) {
        if (!argument.startsWith(u'-'))
            continue;
        const QString name = optionName(argument);
        if (unknown.contains(name))
            return u"option inconnue « %1 »"_s.arg(argument);
        if (argument.contains(u'=') && !std::any_of(std::begin(ToolkitOptions), std::end(ToolkitOptions),
                                                    [&](const char *option) { return name == QLatin1StringView(option); }))
            return u"l'option « %1 » ne prend pas de valeur"_s.arg(argument.section(u'=', 0, 0));
    }
    return u"l'option « %1 » attend une valeur"_s.arg(arguments.last());
}

} // namespace

std::optional<Answer> answer(const QStringList &arguments)
{
    QCommandLineParser parser;
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    const QCommandLineOption help(QStringList{u"h"_s, u"help"_s});
    const QCommandLineOption version(QStringList{u"v"_s, u"version"_s});
    parser.addOptions({help, version});
    for (const char *flag : ToolkitFlags)
        parser.addOption(QCommandLineOption(QString::fromLatin1(flag)));
    for (const char *option : ToolkitOptions)
        parser.addOption(QCommandLineOption(QString::fromLatin1(option), QString(), u"valeur"_s));

    if (!parser.parse(arguments))
        return mistake(refused(parser, arguments));
    if (const QStringList extra = parser.positionalArguments(); !extra.isEmpty())
        return mistake(u"argument inattendu « %1 »"_s.arg(extra.first()));
    if (parser.isSet(help))
        return Answer{0, Usage, {}};
    if (parser.isSet(version))
        return Answer{0,
                      u"%1 %2.%3.%4\n"_s.arg(QLatin1StringView(AppVersion::Title))
                          .arg(AppVersion::Major)
                          .arg(AppVersion::Minor)
                          .arg(AppVersion::Revision),
                      {}};
    return std::nullopt;
}

QStringList arguments(int argc, char *argv[])
{
    QStringList list;
    for (int i = 0; i < argc; ++i)
        list.append(QString::fromLocal8Bit(argv[i]));
    return list;
}

} // namespace CommandLine
