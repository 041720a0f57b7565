#include "DatabaseError.h"
#include "JetTranslator.h"

#include <QString>

#include <cstdint>
#include <cstdlib>

// The translator takes any statement of the program's dialect, the catalogue's and those
// a bug could make: whatever the text, it comes out translated within its bound, or is
// refused as too complex, in bounded time.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString statement = QString::fromUtf8(reinterpret_cast<const char *>(data), qsizetype(size));
    try {
        if (JetTranslator::toSqlite(statement).size() > JetTranslator::MaxLength)
            std::abort();
    } catch (const DatabaseError &error) {
        if (error.kind() != DatabaseError::Kind::TooComplex)
            std::abort();
    }
    return 0;
}
