#include "Registry.h"
#include "SystemInfoLauncher.h"

#include <QDir>
#include <QHash>
#include <QTest>

#include <cstring>
#include <utility>

// A registry in memory, under HKEY_LOCAL_MACHINE only, recording every key opening.
struct FakeRegistry final : Registry {
    QHash<QByteArray, QHash<QByteArray, std::pair<quint32, QByteArray>>> keys;
    QList<std::pair<QByteArray, quint32>> opened; // path and access mask
    QHash<Handle, QByteArray> open;

    qint32 openKey(quint32 root, const QByteArray &path, quint32, quint32 access, Handle &key) override
    {
        opened.append({path, access});
        if (root != LocalMachine || !keys.contains(path))
            return FileNotFound;
        key = Handle(opened.size());
        open.insert(key, path);
        return Success;
    }
    qint32 queryValue(Handle key, const QByteArray &name, quint32 &type, char *data, quint32 &size) override
    {
        const auto values = keys.value(open.value(key));
        if (!values.contains(name))
            return FileNotFound;
        type = values.value(name).first;
        const QByteArray bytes = values.value(name).second;
        if (std::exchange(size, quint32(bytes.size())) < quint32(bytes.size()))
            return MoreData;
        std::memcpy(data, bytes.constData(), size);
        return Success;
    }
    qint32 closeKey(Handle key) override { return open.remove(key) ? Success : InvalidHandle; }
};

// The system-information launcher: the two registry values it reads, what it makes of them,
// and the program it then starts (only "C:/info" and "C:/with/MSINFO32.EXE" exist and start).
class TestSystemInfoLauncher : public QObject
{
    Q_OBJECT

    static inline const QByteArray FirstKey = "SOFTWARE\\Microsoft\\Shared Tools\\MSINFO";
    static inline const QByteArray SecondKey = "SOFTWARE\\Microsoft\\Shared Tools Location";

    static void row(const char *name, int firstType, const QByteArray &first, const QByteArray &second,
                    const QString &attempted, bool secondTried)
    {
        QTest::newRow(name) << firstType << first << second << attempted << secondTried;
    }

private slots:
    void startSysInfo_data()
    {
        QTest::addColumn<int>("firstType");     // 0: no value
        QTest::addColumn<QByteArray>("first");  // the program's path
        QTest::addColumn<QByteArray>("second"); // its folder; no value when empty
        QTest::addColumn<QString>("attempted"); // the program started, or none (the message then)
        QTest::addColumn<bool>("secondTried");
        const QByteArray with("C:/with\0", 8);
        row("first names the program", 1, QByteArray("C:/info\0", 8), with, "C:/info", false);
        row("text cut at its first zero", 1, QByteArray("C:/info\0def\0", 12), with, "C:/info", false);
        row("first names a missing file", 1, QByteArray("C:/none\0", 8), with, "C:/none", false);
        row("double-word unsigned", 4, QByteArray("\xFE\xFF\xFF\xFF", 4), with, "4294967294", false);
        row("expandable first: empty path", 2, QByteArray("C:/info\0", 8), with, "", false);
        row("first fills the buffer", 1, QByteArray(1024, 'x'), with, QString(), false);
        row("first longer than the buffer", 1, QByteArray(1024, 'x') + '\0', with, "C:/with/MSINFO32.EXE", true);
        row("folder with the program", 0, {}, with, "C:/with/MSINFO32.EXE", true);
        row("folder without the program", 0, {}, QByteArray("C:/without\0", 11), QString(), true);
        row("neither value", 0, {}, {}, QString(), true);
    }

    void startSysInfo()
    {
        QFETCH(int, firstType);
        QFETCH(QByteArray, first);
        QFETCH(QByteArray, second);
        QFETCH(QString, attempted);
        FakeRegistry registry;
        if (firstType != 0)
            registry.keys[FirstKey]["PATH"] = {quint32(firstType), first};
        if (!second.isEmpty())
            registry.keys[SecondKey]["MSINFO"] = {Registry::TextType, second};
        const QStringList programs{"C:/info", "C:/with/MSINFO32.EXE"};
        QStringList started;
        const auto exists = [&](const QString &path) { return programs.contains(QDir::fromNativeSeparators(path)); };
        const auto start = [&](const QString &path) {
            started.append(QDir::fromNativeSeparators(path));
            return exists(path);
        };
        QCOMPARE(SystemInfoLauncher(registry, exists, start).startSysInfo(), programs.contains(attempted));
        QCOMPARE(started, attempted.isNull() ? QStringList() : QStringList{attempted});
        QTEST(registry.opened.contains({SecondKey, 0x2003F}), "secondTried");
        QCOMPARE(registry.opened.first(), std::make_pair(FirstKey, quint32(0x2003F)));
        QVERIFY(registry.open.isEmpty()); // every key closed
    }
};

QTEST_GUILESS_MAIN(TestSystemInfoLauncher)
#include "tst_systeminfolauncher.moc"
