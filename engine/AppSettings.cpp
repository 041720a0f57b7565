#include "AppSettings.h"

#include "AppVersion.h"

#include <QFileInfo>
#include <QSettings>

namespace {
const QString Application = QString::fromLatin1(AppVersion::Title);
const QString Section = QStringLiteral("Settings");
const QString FailedFile = QStringLiteral("Importation/Fichier en échec");
const QString FailedSize = QStringLiteral("Importation/Taille");
const QString FailedTime = QStringLiteral("Importation/Modifié le");
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

AppPaths::CopyMemory AppSettings::copyMemory()
{
    const QString edition = Section + QStringLiteral("/Base édition"),
                  checksum = Section + QStringLiteral("/Base empreinte"),
                  kept = Section + QStringLiteral("/Base édition gardée");
    return {[this, edition, checksum, kept]() -> std::optional<AppPaths::CopyRecord> {
                if (!m_settings->contains(edition))
                    return std::nullopt;
                return AppPaths::CopyRecord{
                    {m_settings->value(edition).toInt(), m_settings->value(checksum).toString().toLatin1()},
                    m_settings->value(kept).toInt()};
            },
            [this, edition, checksum, kept](const AppPaths::CopyRecord &record) {
                m_settings->setValue(edition, record.madeFrom.edition);
                m_settings->setValue(checksum, QString::fromLatin1(record.madeFrom.checksum));
                m_settings->setValue(kept, record.keptAgainst);
                m_settings->sync();
            }};
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

AppSettings::FileStamp AppSettings::stampOf(const QString &path)
{
    const QFileInfo info(path);
    return {info.absoluteFilePath(), info.exists() ? info.size() : -1,
            info.exists() ? info.lastModified().toUTC() : QDateTime()};
}

std::optional<AppSettings::FileStamp> AppSettings::failedImport() const
{
    const QString path = m_settings->value(FailedFile).toString();
    if (path.isEmpty())
        return std::nullopt;
    return FileStamp{path, m_settings->value(FailedSize, -1).toLongLong(),
                     QDateTime::fromString(m_settings->value(FailedTime).toString(), Qt::ISODateWithMs)};
}

void AppSettings::setFailedImport(const std::optional<FileStamp> &file)
{
    if (file) {
        m_settings->setValue(FailedFile, file->path);
        m_settings->setValue(FailedSize, file->size);
        m_settings->setValue(FailedTime, file->modified.toString(Qt::ISODateWithMs));
    } else {
        for (const QString &key : {FailedFile, FailedSize, FailedTime})
            m_settings->remove(key);
    }
    m_settings->sync();
}
