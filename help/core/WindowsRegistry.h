#pragma once

#include <QtGlobal>

#ifdef Q_OS_WIN

#include "Registry.h"

// The system registry through advapi32, single-byte-text functions.
class WindowsRegistry final : public Registry
{
public:
    qint32 openKey(quint32 root, const QByteArray &path, quint32 options, quint32 access, Handle &key) override;
    qint32 queryValue(Handle key, const QByteArray &name, quint32 &type, char *data, quint32 &size) override;
    qint32 closeKey(Handle key) override;
};

#endif
