#include "TestSupport.h"

#include "Database.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace TestSupport {

QString makeDatabase(const QTemporaryDir &dir, const QString &fixture, const QString &fileName)
{
    const QString path = dir.filePath(fileName);
    auto db = Database::create(path);
    if (!fixture.isEmpty()) {
        QFile file(QStringLiteral(TESSAVOR_TEST_DATA) + QLatin1Char('/') + fixture);
        if (!file.open(QIODevice::ReadOnly))
            qFatal("missing fixture %s", qPrintable(fixture));
        db->executeNative(QString::fromUtf8(file.readAll()));
    }
    db->close();
    return path;
}

QString bundledDatabase()
{
    return QStringLiteral(TESSAVOR_BIN_DIR "/Signes.mdb");
}

QString importHelper()
{
    return QStringLiteral(TESSAVOR_BIN_DIR "/tessavor-import");
}

QString writeFile(const QString &path, const QByteArray &bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size())
        qFatal("cannot write %s", qPrintable(path));
    return path;
}

QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

std::optional<DatabaseError> failure(const std::function<void()> &action)
{
    try {
        action();
    } catch (const DatabaseError &e) {
        return e;
    }
    return std::nullopt;
}

} // namespace TestSupport
