#include "FrenchCollation.h"

#include "JetTranslator.h"

#include <QCollator>
#include <QLocale>

#include <sqlite3.h>

#include <algorithm>
#include <cstring>

namespace {

// Longest text, in bytes, decoded on the stack; longer ones go through Qt's decoder.
constexpr int ShortText = 256;

// UTF-8 to UTF-16 for texts of at most ShortText bytes, into `out` (room for ShortText
// units: never more units than bytes). A sort compares the same short texts over and
// over, so this avoids any allocation. Returns -1 on malformed text, which is left to
// Qt's decoder so that it reads exactly as everywhere else in the program.
int widen(char16_t *out, const char *utf8, int bytes)
{
    const auto *in = reinterpret_cast<const unsigned char *>(utf8);
    int n = 0;
    int i = 0;
    while (i < bytes) {
        // A run of plain letters, found eight bytes at a time and widened in one sweep.
        int end = i;
        for (quint64 word; end + 8 <= bytes; end += 8) {
            std::memcpy(&word, in + end, 8);
            if (word & 0x8080808080808080ull)
                break;
        }
        while (end < bytes && in[end] < 0x80)
            ++end;
        for (; i < end; ++i)
            out[n++] = char16_t(in[i]);
        if (i == bytes)
            break;
        // Then one encoded character.
        const unsigned c = in[i];
        const int length = c >= 0xF0 && c < 0xF5 ? 4 : c >= 0xE0 && c < 0xF0 ? 3 : c >= 0xC2 && c < 0xE0 ? 2 : 0;
        char32_t code = length == 4 ? c & 0x07 : length == 3 ? c & 0x0F : c & 0x1F;
        bool valid = length > 0 && i + length <= bytes;
        for (int k = 1; valid && k < length; ++k) {
            valid = (in[i + k] & 0xC0) == 0x80;
            code = (code << 6) | (in[i + k] & 0x3F);
        }
        valid = valid && !(length == 3 && (code < 0x800 || (code >= 0xD800 && code < 0xE000))) &&
                !(length == 4 && (code < 0x10000 || code > 0x10FFFF));
        if (!valid)
            return -1;
        if (code >= 0x10000) {
            out[n++] = char16_t(0xD800 + ((code - 0x10000) >> 10));
            out[n++] = char16_t(0xDC00 + ((code - 0x10000) & 0x3FF));
            i += length;
        } else {
            out[n++] = char16_t(code);
            i += length;
        }
    }
    return n;
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

} // namespace

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

int compareUtf8(const char *a, int aBytes, const char *b, int bBytes)
{
    // Sorting brings texts with long common beginnings side by side ("Douleur sourde le
    // matin", "Douleur sourde le soir"). Up to the last blank before the first difference,
    // both texts weigh the same, and no character is bound across a blank, so only what
    // follows that blank decides.
    int common = 0;
    const int shorter = std::min(aBytes, bBytes);
    while (common < shorter && a[common] == b[common])
        ++common;
    if (common == aBytes && common == bBytes)
        return 0;
    int skip = common;
    while (skip > 0 && a[skip - 1] != ' ')
        --skip;
    a += skip;
    b += skip;
    aBytes -= skip;
    bBytes -= skip;

    if (aBytes <= ShortText && bBytes <= ShortText) {
        char16_t left[ShortText], right[ShortText];
        const int leftLength = widen(left, a, aBytes);
        const int rightLength = widen(right, b, bBytes);
        if (leftLength >= 0 && rightLength >= 0)
            return compare(left, leftLength, right, rightLength);
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
