#pragma once

#include <QString>

#include <functional>
#include <stdexcept>

class Registry;

// The about box's "Infos système..." command: finds the system-information program
// through two registry values and starts it without waiting. Every failure comes to the
// same end, which the about box tells with UnavailableMessage.
class SystemInfoLauncher
{
public:
    using FileExists = std::function<bool(const QString &path)>;
    using StartProgram = std::function<bool(const QString &path)>;

    // Raised by getKeyValue for a value that fills the whole buffer with no zero byte.
    class UnterminatedValue : public std::runtime_error
    {
    public:
        UnterminatedValue() : std::runtime_error("registry value fills the buffer without a terminating zero") {}
    };

    static inline const QString UnavailableMessage =
        QStringLiteral("Les informations système ne sont pas disponibles pour l'instant");
    static constexpr quint32 AccessMask = 0x2003F;
    static constexpr int BufferSize = 1024;

    // By default files are tested with QFileInfo and programs started with QProcess.
    explicit SystemInfoLauncher(Registry &registry, FileExists fileExists = {}, StartProgram startProgram = {});

    // StartSysInfo: whether the program was found and started; any failure on the way,
    // a raised one included, is a false.
    bool startSysInfo();

    // GetKeyValue: reads the value `subKeyRef` of the key `keyName` under `keyRoot` into
    // `keyVal`. False, with `keyVal` emptied, when the key or the value cannot be read;
    // true when read, `keyVal` then holding a text value up to its first zero byte or a
    // double-word in decimal (unsigned), and left as it was for any other type.
    // Throws UnterminatedValue for a buffer with no zero byte; the key is closed in every case.
    static bool getKeyValue(Registry &registry, quint32 keyRoot, const QString &keyName, const QString &subKeyRef,
                            QString &keyVal);

private:
    bool findAndStart();

    Registry &m_registry;
    FileExists m_fileExists;
    StartProgram m_startProgram;
};
