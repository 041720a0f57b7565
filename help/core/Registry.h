#pragma once

#include <QByteArray>
#include <QtGlobal>

// The three registry operations the about box needs, in their single-byte-text form, with
// the platform's status codes (0 for success). On Windows they are the system registry's;
// elsewhere a read-only store of ours holds the same keys and values.
class Registry
{
public:
    using Handle = quintptr;

    static constexpr quint32 LocalMachine = 0x80000002;
    static constexpr qint32 Success = 0;
    static constexpr qint32 FileNotFound = 2;
    static constexpr qint32 InvalidHandle = 6;
    static constexpr qint32 MoreData = 234;

    static constexpr quint32 TextType = 1;       // REG_SZ
    static constexpr quint32 DoubleWordType = 4; // REG_DWORD

    virtual ~Registry() = default;

    virtual qint32 openKey(quint32 root, const QByteArray &path, quint32 options, quint32 access, Handle &key) = 0;
    // Reads at most `size` bytes into `data`; on return `size` holds the value's length.
    // A value longer than the buffer gives MoreData.
    virtual qint32 queryValue(Handle key, const QByteArray &name, quint32 &type, char *data, quint32 &size) = 0;
    virtual qint32 closeKey(Handle key) = 0;

    // The platform's registry, or the store that stands for it.
    static Registry &system();
};
