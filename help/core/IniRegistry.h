#pragma once

#include "Registry.h"

#include <QHash>
#include <QString>

// The registry of platforms that have none: a read-only text file, read afresh at every
// key opening, in which each key is a section named by its root and path and each value a
// line "Name=text" or "Name=dword:hexadecimal digits". Key paths and value names are
// compared without regard to case, as the registry does. For example:
//
//   [HKEY_LOCAL_MACHINE\SOFTWARE\Microsoft\Shared Tools\MSINFO]
//   PATH=/usr/bin/system-information
//
// Lines starting with ';' or '#' are comments. A missing file is an empty registry.
class IniRegistry final : public Registry
{
public:
    explicit IniRegistry(QString path);

    // The system-wide file of this program, absent unless an administrator provides it.
    static QString systemFile();

    qint32 openKey(quint32 root, const QByteArray &path, quint32 options, quint32 access, Handle &key) override;
    qint32 queryValue(Handle key, const QByteArray &name, quint32 &type, char *data, quint32 &size) override;
    qint32 closeKey(Handle key) override;

private:
    struct Value {
        quint32 type = 0;
        QByteArray bytes;
    };
    using Values = QHash<QString, Value>;

    static QString keyId(quint32 root, const QString &path);
    QHash<QString, Values> read() const;

    QString m_path;
    QHash<Handle, Values> m_open;
    Handle m_nextHandle = 1;
};
