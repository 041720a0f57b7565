#include "IniRegistry.h"

#include <QFile>
#include <QtEndian>

#include <cstring>

namespace {

constexpr struct {
    const char *name;
    quint32 root;
} roots[] = {
    {"HKEY_CLASSES_ROOT", 0x80000000},  {"HKCR", 0x80000000}, {"HKEY_CURRENT_USER", 0x80000001}, {"HKCU", 0x80000001},
    {"HKEY_LOCAL_MACHINE", 0x80000002}, {"HKLM", 0x80000002}, {"HKEY_USERS", 0x80000003},        {"HKU", 0x80000003},
};

} // namespace

IniRegistry::IniRegistry(QString path) : m_path(std::move(path)) {}

QString IniRegistry::systemFile()
{
    return QStringLiteral("/etc/xdg/Tessavor/registry.ini");
}

QString IniRegistry::keyId(quint32 root, const QString &path)
{
    QString normal = path.toLower();
    while (normal.endsWith(QLatin1Char('\\')))
        normal.chop(1);
    return QString::number(root, 16) + QLatin1Char(':') + normal;
}

QHash<QString, IniRegistry::Values> IniRegistry::read() const
{
    QHash<QString, Values> keys;
    QFile file(m_path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return keys;
    const QStringList lines = QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'));
    Values *current = nullptr;
    for (const QString &raw : lines) {
        const QString line = raw.trimmed();
        if (line.isEmpty() || line.startsWith(QLatin1Char(';')) || line.startsWith(QLatin1Char('#')))
            continue;
        if (line.startsWith(QLatin1Char('[')) && line.endsWith(QLatin1Char(']'))) {
            const QString name = line.mid(1, line.size() - 2).trimmed();
            const qsizetype slash = name.indexOf(QLatin1Char('\\'));
            const QString rootName = (slash < 0 ? name : name.left(slash)).toUpper();
            current = nullptr;
            for (const auto &root : roots) {
                if (rootName == QLatin1String(root.name)) {
                    current = &keys[keyId(root.root, slash < 0 ? QString() : name.mid(slash + 1))];
                    break;
                }
            }
            continue;
        }
        const qsizetype equals = line.indexOf(QLatin1Char('='));
        if (!current || equals <= 0)
            continue;
        const QString name = line.left(equals).trimmed().toLower();
        const QString text = line.mid(equals + 1).trimmed();
        Value value;
        if (text.startsWith(QLatin1String("dword:"), Qt::CaseInsensitive)) {
            bool ok = false;
            const quint32 number = text.mid(6).toUInt(&ok, 16);
            if (!ok)
                continue;
            value.type = DoubleWordType;
            value.bytes.resize(4);
            qToLittleEndian(number, value.bytes.data());
        } else {
            value.type = TextType;
            value.bytes = text.toLocal8Bit();
            value.bytes.append('\0');
        }
        current->insert(name, value);
    }
    return keys;
}

qint32 IniRegistry::openKey(quint32 root, const QByteArray &path, quint32 options, quint32 access, Handle &key)
{
    // A read-only file knows no rights: every access mask is granted, and nothing written.
    Q_UNUSED(options)
    Q_UNUSED(access)
    const QHash<QString, Values> keys = read();
    const auto found = keys.constFind(keyId(root, QString::fromLocal8Bit(path)));
    if (found == keys.cend())
        return FileNotFound;
    key = m_nextHandle++;
    m_open.insert(key, found.value());
    return Success;
}

qint32 IniRegistry::queryValue(Handle key, const QByteArray &name, quint32 &type, char *data, quint32 &size)
{
    const auto open = m_open.constFind(key);
    if (open == m_open.cend())
        return InvalidHandle;
    const auto found = open->constFind(QString::fromLocal8Bit(name).toLower());
    if (found == open->cend())
        return FileNotFound;
    const quint32 length = static_cast<quint32>(found->bytes.size());
    type = found->type;
    if (length > size) {
        size = length;
        return MoreData;
    }
    std::memcpy(data, found->bytes.constData(), length);
    size = length;
    return Success;
}

qint32 IniRegistry::closeKey(Handle key)
{
    return m_open.remove(key) ? Success : InvalidHandle;
}
