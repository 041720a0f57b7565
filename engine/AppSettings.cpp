#include "AppSettings.h"

#include "AppVersion.h"

#include <QSettings>

namespace {
const QString Application = QString::fromLatin1(AppVersion::Title);
const QString Section = QStringLiteral("Settings");
} // namespace

AppSettings::AppSettings() : m_settings(std::make_unique<QSettings>(Application, Application)) {}

AppSettings::AppSettings(const QString &iniFile)
    : m_settings(std::make_unique<QSettings>(iniFile, QSettings::IniFormat))
{}

AppSettings::~AppSettings() = default;

QString AppSettings::methodKey(int method)
{
    return QStringLiteral("Méthode ") + QString::number(method);
}

int AppSettings::readMethod(int method) const
{
    bool ok = false;
    const int value = rawValue(methodKey(method)).trimmed().toInt(&ok);
    return ok && value == 0 ? 0 : 1;
}

MethodTable AppSettings::readMethods() const
{
    MethodTable methods{};
    for (int m = 1; m <= 5; ++m)
        methods[m] = readMethod(m);
    return methods;
}

bool AppSettings::writeMethod(int method, int value)
{
    return setRawValue(methodKey(method), QString::number(value));
}

QString AppSettings::fileName() const
{
    return m_settings->fileName();
}

QString AppSettings::rawValue(const QString &key) const
{
    return m_settings->value(Section + QLatin1Char('/') + key, QStringLiteral("1")).toString();
}

bool AppSettings::setRawValue(const QString &key, const QString &value)
{
    m_settings->setValue(Section + QLatin1Char('/') + key, value);
    // QSettings writes the file here, and says only afterwards whether it could.
    m_settings->sync();
    return m_settings->status() == QSettings::NoError;
}
