#include "FrenchCollation.h"

#include "JetTranslator.h"

#include <QCollator>
#include <QLocale>

#include <sqlite3.h>

namespace FrenchCollation {

int compare(const char16_t *a, int aLength, const char16_t *b, int bLength)
{
    // QCollator is not safe to share between threads; one per thread costs nothing here.
    thread_local const QCollator collator = [] {
        QCollator c(QLocale(QLocale::French, QLocale::France));
        c.setCaseSensitivity(Qt::CaseInsensitive);
        c.setIgnorePunctuation(false);
        return c;
    }();
    return collator.compare(QStringView(a, aLength), QStringView(b, bLength));
}

namespace {

int sqliteCompare(void *, int aBytes, const void *a, int bBytes, const void *b)
{
    return compare(static_cast<const char16_t *>(a), aBytes / 2, static_cast<const char16_t *>(b), bBytes / 2);
}

} // namespace

void registerOn(sqlite3 *db)
{
    sqlite3_create_collation_v2(db, JetTranslator::Collation, SQLITE_UTF16_ALIGNED, nullptr, &sqliteCompare, nullptr);
}

} // namespace FrenchCollation
