#include "FrenchCollation.h"

#include "JetTranslator.h"

#include <QCollator>
#include <QLocale>
#include <QStringDecoder>

#include <sqlite3.h>

#include <algorithm>

namespace {

// Longest text, in bytes, decoded on the stack; longer ones go through a QString.
constexpr int ShortText = 256;

// UTF-8 to UTF-16 into `out` (room for `bytes` + 1 units: never more units than bytes). A
// sort compares the same short texts over and over, so this avoids any allocation;
// malformed bytes read as everywhere else in the program (Qt's replacement character).
int widen(char16_t *out, const char *utf8, int bytes)
{
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QChar *end = decoder.appendToBuffer(reinterpret_cast<QChar *>(out), QByteArrayView(utf8, bytes));
    return static_cast<int>(end - reinterpret_cast<QChar *>(out));
}

int sqliteCompareUtf16(void *, int aBytes, const void *a, int bBytes, const void *b)
{
    return FrenchCollation::compare(static_cast<const char16_t *>(a), aBytes / 2, static_cast<const char16_t *>(b),
                                    bBytes / 2);
}

int sqliteCompareUtf8(void *, int aBytes, const void *a, int bBytes, const void *b)
{
    return FrenchCollation::compareUtf8(static_cast<const char *>(a), aBytes, static_cast<const char *>(b), bBytes);
}

const QCollator &collator()
{
    // QCollator is not safe to share between threads; one per thread costs nothing here.
    thread_local const QCollator french = [] {
        QCollator c(QLocale(QLocale::French, QLocale::France));
        c.setCaseSensitivity(Qt::CaseInsensitive);
        c.setIgnorePunctuation(false);
        // "2 fois par jour" before "10 fois par jour".
        c.setNumericMode(true);
        return c;
    }();
    return french;
}

} // namespace

namespace FrenchCollation {

int compare(const char16_t *a, int aLength, const char16_t *b, int bLength)
{
    return collator().compare(QStringView(a, aLength), QStringView(b, bLength));
}

QCollatorSortKey sortKey(const QString &text)
{
    return collator().sortKey(text);
}

int compareUtf8(const char *a, int aBytes, const char *b, int bBytes)
{
    // Sorting brings texts with long common beginnings side by side ("Douleur sourde le
    // matin", "Douleur sourde le soir"). Up to the last blank before the first difference,
    // both texts weigh the same, and no character (nor a run of digits) is bound across a
    // blank, so only what follows that blank decides. That holds only where a letter or a
    // digit follows it in both texts: the collator answers apart for texts that are empty
    // or made only of characters it otherwise ignores (control characters, a byte-order
    // mark), which the whole texts would not be.
    int common = 0;
    const int shorter = std::min(aBytes, bBytes);
    while (common < shorter && a[common] == b[common])
        ++common;
    if (common == aBytes && common == bBytes)
        return 0;
    const auto plain = [](char c) {
        return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
    };
    int skip = std::max(0, std::min(common, shorter - 1));
    while (skip > 0 && !(a[skip - 1] == ' ' && plain(a[skip]) && plain(b[skip])))
        --skip;
    a += skip;
    b += skip;
    aBytes -= skip;
    bBytes -= skip;

    if (aBytes <= ShortText && bBytes <= ShortText) {
        // The decoder asks room for one unit more than the bytes it reads.
        char16_t left[ShortText + 1], right[ShortText + 1];
        return compare(left, widen(left, a, aBytes), right, widen(right, b, bBytes));
    }
    const QString x = QString::fromUtf8(a, aBytes);
    const QString y = QString::fromUtf8(b, bBytes);
    return compare(reinterpret_cast<const char16_t *>(x.utf16()), int(x.size()),
                   reinterpret_cast<const char16_t *>(y.utf16()), int(y.size()));
}

void registerOn(sqlite3 *db)
{
    // The files keep their text in UTF-8. Offered only a UTF-16 form, SQLite would convert
    // both values on every comparison of a sort, into fresh heap copies, which costs
    // several times the comparison itself; it picks the form that matches the file.
    sqlite3_create_collation_v2(db, JetTranslator::Collation, SQLITE_UTF8, nullptr, &sqliteCompareUtf8, nullptr);
    sqlite3_create_collation_v2(db, JetTranslator::Collation, SQLITE_UTF16_ALIGNED, nullptr, &sqliteCompareUtf16,
                                nullptr);
}

} // namespace FrenchCollation
