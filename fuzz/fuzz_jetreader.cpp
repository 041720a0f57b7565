#include "DatabaseError.h"
#include "ImportFiles.h"
#include "JetConversion.h"

#include <QDir>
#include <QFile>

#include <cstdint>
#include <cstdlib>

#include <unistd.h>

namespace {

// The conversion's checks and the new base built in memory, but nothing written.
struct NoWrite : ImportFiles {
    bool write(const QString &, const QByteArray &, WriteError &error) override
    {
        error = {QStringLiteral("not written"), false};
        return false;
    }
};

} // namespace

// The Access reader and the conversion against any bytes: each input is written as a file
// (libmdb reads files, not memory) and converted; a DatabaseError is a refusal, anything
// else a fault. libmdb itself is not instrumented: a fault inside it shows as a crash in
// its frames.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static const QString path = [] {
        const QString shm = QStringLiteral("/dev/shm");
        const QDir folder(QFileInfo(shm).isWritable() ? shm : QDir::tempPath());
        return folder.filePath(QStringLiteral("fuzz-jetreader-%1.mdb").arg(getpid()));
    }();
    {
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
            file.write(reinterpret_cast<const char *>(data), qint64(size)) != qint64(size))
            std::abort();
    }
    static NoWrite files;
    try {
        JetConversion::convert(path, path + QStringLiteral(".converted"), files);
    } catch (const DatabaseError &) {
    }
    return 0;
}
