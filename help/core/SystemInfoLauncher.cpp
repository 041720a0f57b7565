#include "SystemInfoLauncher.h"

#include "Registry.h"

#include <QByteArray>
#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QtEndian>

namespace {

// Closes an opened key on every way out of getKeyValue, the raised failure included.
class KeyCloser
{
public:
    KeyCloser(Registry &registry, Registry::Handle key) : m_registry(registry), m_key(key) {}
    ~KeyCloser() { m_registry.closeKey(m_key); }
    KeyCloser(const KeyCloser &) = delete;
    KeyCloser &operator=(const KeyCloser &) = delete;

private:
    Registry &m_registry;
    Registry::Handle m_key;
};

} // namespace

SystemInfoLauncher::SystemInfoLauncher(Registry &registry, FileExists fileExists, StartProgram startProgram)
    : m_registry(registry), m_fileExists(std::move(fileExists)), m_startProgram(std::move(startProgram))
{
    if (!m_fileExists)
        m_fileExists = [](const QString &path) { return QFileInfo(path).isFile(); };
    if (!m_startProgram)
        m_startProgram = [](const QString &path) { return QProcess::startDetached(path, {}); };
}

bool SystemInfoLauncher::startSysInfo()
{
    try {
        return findAndStart();
    } catch (const std::exception &) {
        // Any failure on the way, the unterminated value among them, ends in the one
        // message the caller shows.
        return false;
    }
}

bool SystemInfoLauncher::findAndStart()
{
    QString programPath;
    if (!getKeyValue(m_registry, Registry::LocalMachine, QStringLiteral("SOFTWARE\\Microsoft\\Shared Tools\\MSINFO"),
                     QStringLiteral("PATH"), programPath)) {
        if (!getKeyValue(m_registry, Registry::LocalMachine,
                         QStringLiteral("SOFTWARE\\Microsoft\\Shared Tools Location"), QStringLiteral("MSINFO"),
                         programPath))
            return false;
        // The second value names the program's folder.
        const QString inFolder = programPath + QDir::separator() + QStringLiteral("MSINFO32.EXE");
        if (!m_fileExists(inFolder))
            return false;
        programPath = inFolder;
    }
    return m_startProgram(programPath);
}

bool SystemInfoLauncher::getKeyValue(Registry &registry, quint32 keyRoot, const QString &keyName,
                                     const QString &subKeyRef, QString &keyVal)
{
    Registry::Handle key = 0;
    if (registry.openKey(keyRoot, keyName.toLocal8Bit(), 0, AccessMask, key) != Registry::Success) {
        keyVal.clear();
        return false;
    }
    const KeyCloser closer(registry, key);

    QByteArray buffer(BufferSize, '\0');
    quint32 type = 0;
    quint32 size = BufferSize;
    if (registry.queryValue(key, subKeyRef.toLocal8Bit(), type, buffer.data(), size) != Registry::Success) {
        keyVal.clear();
        return false;
    }
    const qsizetype end = buffer.indexOf('\0');
    if (end < 0)
        throw UnterminatedValue();
    if (type == Registry::TextType)
        keyVal = QString::fromLocal8Bit(buffer.left(end));
    else if (type == Registry::DoubleWordType)
        keyVal = QString::number(qFromLittleEndian<quint32>(buffer.constData()));
    return true;
}
