#include "FrenchCollation.h"

#include <QString>

#include <cstdint>
#include <cstdlib>

namespace {

int sign(int n)
{
    return (n > 0) - (n < 0);
}

int compareWhole(const QString &a, const QString &b)
{
    return FrenchCollation::compare(reinterpret_cast<const char16_t *>(a.utf16()), int(a.size()),
                                    reinterpret_cast<const char16_t *>(b.utf16()), int(b.size()));
}

} // namespace

// The French order on any two texts, as a file's bytes may hold them (malformed UTF-8
// included): an order (each text equal to itself, a and b in opposite orders both ways),
// and the comparison of the file's bytes, which skips the beginning both texts share,
// answers as the comparison of the whole texts does.
// Input: a first byte n, then the first text's n bytes, then the second text.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size < 1)
        return 0;
    const size_t first = std::min<size_t>(data[0], size - 1);
    const char *a = reinterpret_cast<const char *>(data + 1);
    const char *b = a + first;
    const int aBytes = int(first);
    const int bBytes = int(size - 1 - first);

    const int ab = FrenchCollation::compareUtf8(a, aBytes, b, bBytes);
    const int ba = FrenchCollation::compareUtf8(b, bBytes, a, aBytes);
    if (sign(ab) != -sign(ba) || FrenchCollation::compareUtf8(a, aBytes, a, aBytes) != 0)
        std::abort();
    if (sign(ab) != sign(compareWhole(QString::fromUtf8(a, aBytes), QString::fromUtf8(b, bBytes))))
        std::abort();
    return 0;
}
