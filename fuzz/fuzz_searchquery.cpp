#include "DataSource.h"
#include "Database.h"
#include "DatabaseError.h"
#include "SignSearch.h"

#include <QDir>
#include <QString>
#include <QTemporaryDir>

#include <cstdint>
#include <cstdlib>
#include <memory>

namespace {

// A small base with the words the search meets in practice: accents, ligatures, digits,
// hyphens and apostrophes.
struct SmallBase {
    QTemporaryDir dir;
    std::unique_ptr<Database> db;
    DataSource source;
    std::unique_ptr<SignSearch> search;

    SmallBase()
    {
        if (!dir.isValid())
            std::abort();
        db = Database::create(dir.filePath(QStringLiteral("Signes.mdb")));
        db->executeNative(QStringLiteral(
            "INSERT INTO \"Catégories\" VALUES (18, 'Langue'), (43, 'Pouls'), (62, 'Œil et paupières');"
            "INSERT INTO \"Modalités\" VALUES (1801, 'Langue pâle', 18), (1802, 'Langue rouge-violacée', 18),"
            " (4301, 'Pouls rapide (> 90/min)', 43), (4302, 'Pouls \"en corde\"', 43),"
            " (6201, 'Œdème de l''œil', 62), (6202, 'Ecchymose', 62);"
            "INSERT INTO \"Valorisation\" VALUES (1801, 9), (1802, 8), (4301, 7), (4302, 6), (6201, 5), (6202, 4);"));
        db.reset(); // the search reads the file through its own data source
        source.setDatabaseName(dir.filePath(QStringLiteral("Signes.mdb")));
        search = std::make_unique<SignSearch>(source);
    }
};

} // namespace

// Whatever is typed in the search, the query made of it is one the word index takes: the
// search finds signs or none, and never fails as a database error would.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static SmallBase base;
    const QString typed = QString::fromUtf8(reinterpret_cast<const char *>(data), qsizetype(size));
    try {
        const SignSearch::Result result = base.search->search(typed);
        if (result.found.size() > SignSearch::Shown || result.more < 0)
            std::abort();
    } catch (const DatabaseError &) {
        std::abort();
    }
    return 0;
}
