#include "Registry.h"
#include "SystemInfoLauncher.h"
#include "VersionText.h"

#include <QDir>
#include <QHash>
#include <QTest>

#include <cstring>
#include <utility>

using namespace Qt::StringLiterals;

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

// The system-information launcher and the version text, without any window.
class TestSystemInfoLauncher : public QObject
{
    Q_OBJECT

    static inline const QByteArray FirstKey = "SOFTWARE\\Microsoft\\Shared Tools\\MSINFO";
    static inline const QByteArray SecondKey = "SOFTWARE\\Microsoft\\Shared Tools Location";

    static QByteArray text(const QByteArray &value) { return value + '\0'; }

private slots:
    void versionText()
    {
        QCOMPARE(VersionText::of(1, 0, 0), u"Version 1.0.0"_s);
        QCOMPARE(VersionText::of(2, 10, 3), u"Version 2.10.3"_s);
    }

    void getKeyValue_data()
    {
        QTest::addColumn<int>("type"); // 0: no such value
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<bool>("read");
        QTest::addColumn<QString>("value");
        QTest::newRow("no value") << 0 << QByteArray() << false << QString();
        QTest::newRow("text cut at its first zero") << 1 << QByteArray("abc\0def\0", 8) << true << u"abc"_s;
        QTest::newRow("longer than the buffer") << 1 << text(QByteArray(1024, 'x')) << false << QString();
        QTest::newRow("double-word 256") << 4 << QByteArray("\x00\x01\x00\x00", 4) << true << u"256"_s;
        QTest::newRow("double-word unsigned") << 4 << QByteArray("\xFE\xFF\xFF\xFF", 4) << true << u"4294967294"_s;
    }

    void getKeyValue()
    {
        QFETCH(int, type);
        QFETCH(QByteArray, bytes);
        QFETCH(bool, read);
        QFETCH(QString, value);
        FakeRegistry registry;
        registry.keys[FirstKey]["Autre"] = {Registry::TextType, text("autre")};
        if (type > 0)
            registry.keys[FirstKey]["PATH"] = {quint32(type), bytes};
        QString keyVal = u"avant"_s;
        QCOMPARE(SystemInfoLauncher::getKeyValue(registry, Registry::LocalMachine, QString::fromLatin1(FirstKey),
                                                 u"PATH"_s, keyVal),
                 read);
        QCOMPARE(keyVal, value);
        QCOMPARE(registry.opened, (QList<std::pair<QByteArray, quint32>>{{FirstKey, 0x2003F}}));
        QVERIFY(registry.open.isEmpty());
    }

    void startSysInfo_data()
    {
        QTest::addColumn<int>("firstType"); // 0: no value
        QTest::addColumn<QByteArray>("first");
        QTest::addColumn<QByteArray>("second"); // no value when empty
        QTest::addColumn<bool>("started");      // otherwise the message is shown
        QTest::addColumn<bool>("secondTried");
        QTest::newRow("first names the program") << 1 << text("C:/info") << text("C:/with") << true << false;
        QTest::newRow("first names a missing file") << 1 << text("C:/none") << text("C:/with") << false << false;
        QTest::newRow("folder with the program") << 0 << QByteArray() << text("C:/with") << true << true;
        QTest::newRow("folder without the program") << 0 << QByteArray() << text("C:/without") << false << true;
        QTest::newRow("neither value") << 0 << QByteArray() << QByteArray() << false << true;
        QTest::newRow("expandable first: empty path") << 2 << text("C:/info") << text("C:/with") << false << false;
        QTest::newRow("first fills the buffer") << 1 << QByteArray(1024, 'x') << text("C:/with") << false << false;
    }

    void startSysInfo()
    {
        QFETCH(int, firstType);
        QFETCH(QByteArray, first);
        QFETCH(QByteArray, second);
        QFETCH(bool, started);
        QFETCH(bool, secondTried);
        FakeRegistry registry;
        if (firstType != 0)
            registry.keys[FirstKey]["PATH"] = {quint32(firstType), first};
        if (!second.isEmpty())
            registry.keys[SecondKey]["MSINFO"] = {Registry::TextType, second};
        // The only programs: finding and starting succeed for them alone.
        const auto program = [](const QString &path) {
            return QStringList{u"C:/info"_s, u"C:/with/MSINFO32.EXE"_s}.contains(QDir::fromNativeSeparators(path));
        };
        QCOMPARE(SystemInfoLauncher(registry, program, program).startSysInfo(), started);
        QCOMPARE(registry.opened.contains({SecondKey, 0x2003F}), secondTried);
        QVERIFY(registry.open.isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestSystemInfoLauncher)
#include "tst_systeminfolauncher.moc"
