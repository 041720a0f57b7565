#include "WindowsRegistry.h"

#ifdef Q_OS_WIN

#include <windows.h>

namespace {

HKEY toKey(Registry::Handle handle)
{
    return reinterpret_cast<HKEY>(handle);
}

} // namespace

qint32 WindowsRegistry::openKey(quint32 root, const QByteArray &path, quint32 options, quint32 access, Handle &key)
{
    // The predefined roots are sign-extended handle values (HKEY_LOCAL_MACHINE and the like).
    const HKEY rootKey = reinterpret_cast<HKEY>(static_cast<ULONG_PTR>(static_cast<LONG>(root)));
    HKEY opened = nullptr;
    const LONG status = RegOpenKeyExA(rootKey, path.constData(), options, access, &opened);
    if (status == ERROR_SUCCESS)
        key = reinterpret_cast<Handle>(opened);
    return status;
}

qint32 WindowsRegistry::queryValue(Handle key, const QByteArray &name, quint32 &type, char *data, quint32 &size)
{
    DWORD valueType = 0;
    DWORD valueSize = size;
    const LONG status =
        RegQueryValueExA(toKey(key), name.constData(), nullptr, &valueType, reinterpret_cast<LPBYTE>(data), &valueSize);
    type = valueType;
    size = valueSize;
    return status;
}

qint32 WindowsRegistry::closeKey(Handle key)
{
    return RegCloseKey(toKey(key));
}

#endif
