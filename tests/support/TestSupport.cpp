#include "TestSupport.h"

#include "Database.h"

#include <QFile>

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

} // namespace TestSupport
