#include "FakeRegistry.h"
#include "IniRegistry.h"
#include "MessageBox.h"
#include "SystemInfoLauncher.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

// The about box's system-information launcher: the registry reader, the order of the two
// look-ups with the one message for every failure, and the store that stands for the
// registry where the platform has none.
class TestSysInfo : public QObject {
    Q_OBJECT

    static inline const QByteArray FirstKey = "SOFTWARE\\Microsoft\\Shared Tools\\MSINFO";
    static inline const QByteArray SecondKey = "SOFTWARE\\Microsoft\\Shared Tools Location";

    QTemporaryDir m_dir;

    static QByteArray text(const QByteArray &value) { return value + '\0'; }
    static QByteArray doubleWord(quint32 value) {
        QByteArray bytes(4, '\0');
        for (int i = 0; i < 4; ++i)
            bytes[i] = static_cast<char>((value >> (8 * i)) & 0xFF);
        return bytes;
    }
    QByteArray withDir(QByteArray value) const { return value.replace("$DIR", QFile::encodeName(m_dir.path())); }

private slots:
    void initTestCase() {
        MessageBox::setTesting(true);
        QVERIFY(QDir(m_dir.path()).mkpath(QStringLiteral("with")));
        QVERIFY(QDir(m_dir.path()).mkpath(QStringLiteral("without")));
        QFile program(m_dir.filePath(QStringLiteral("with/MSINFO32.EXE")));
        QVERIFY(program.open(QIODevice::WriteOnly));
        QFile named(m_dir.filePath(QStringLiteral("sysinfo")));
        QVERIFY(named.open(QIODevice::WriteOnly));
    }

    void init() { MessageBox::takeShown(); }

    void getKeyValue_data() {
        QTest::addColumn<bool>("keyPresent");
        QTest::addColumn<int>("type"); // 0: no such value
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<bool>("expected");
        QTest::addColumn<QString>("expectedValue");

        const QByteArray full(1024, 'x');
        QTest::newRow("missing key") << false << 0 << QByteArray() << false << QString();
        QTest::newRow("missing value") << true << 0 << QByteArray() << false << QString();
        QTest::newRow("text") << true << 1 << text("C:\\Outils\\info.exe") << true
                              << QStringLiteral("C:\\Outils\\info.exe");
        QTest::newRow("text cut at its first zero")
            << true << 1 << QByteArray("abc\0def\0", 8) << true << QStringLiteral("abc");
        QTest::newRow("empty text") << true << 1 << text("") << true << QString();
        QTest::newRow("1023 bytes and a zero")
            << true << 1 << text(QByteArray(1023, 'y')) << true << QString(1023, QLatin1Char('y'));
        QTest::newRow("longer than the buffer") << true << 1 << text(full) << false << QString();
        QTest::newRow("double-word 256") << true << 4 << doubleWord(256) << true << QStringLiteral("256");
        QTest::newRow("double-word, top bit set")
            << true << 4 << doubleWord(0xFFFFFFFE) << true << QStringLiteral("4294967294");
        QTest::newRow("expandable text left as it was")
            << true << 2 << text("%SystemRoot%") << true << QStringLiteral("avant");
    }

    void getKeyValue() {
        QFETCH(bool, keyPresent);
        QFETCH(int, type);
        QFETCH(QByteArray, bytes);
        QFETCH(bool, expected);
        QFETCH(QString, expectedValue);

        FakeRegistry registry;
        if (keyPresent)
            registry.setValue(FirstKey, "Autre", 1, text("autre"));
        if (type != 0)
            registry.setValue(FirstKey, "PATH", quint32(type), bytes);
        QString value = QStringLiteral("avant");
        QCOMPARE(SystemInfoLauncher::getKeyValue(registry, Registry::LocalMachine, QString::fromLatin1(FirstKey),
                                                 QStringLiteral("PATH"), value),
                 expected);
        QCOMPARE(value, expectedValue);

        QCOMPARE(registry.openings.size(), 1);
        QCOMPARE(registry.openings.first().path, FirstKey);
        QCOMPARE(registry.openings.first().options, 0u);
        QCOMPARE(registry.openings.first().access, 0x2003Fu);
        QCOMPARE(registry.closings, keyPresent ? 1 : 0);
    }

    void fullBufferWithoutZeroFailsAndClosesTheKey() {
        FakeRegistry registry;
        registry.setValue(FirstKey, "PATH", 1, QByteArray(1024, 'x'));
        QString value = QStringLiteral("avant");
        QVERIFY_THROWS_EXCEPTION(SystemInfoLauncher::UnterminatedValue,
                                 SystemInfoLauncher::getKeyValue(registry, Registry::LocalMachine,
                                                                 QString::fromLatin1(FirstKey), QStringLiteral("PATH"),
                                                                 value));
        QCOMPARE(registry.closings, 1);
    }

    void refusedAccessReadsLikeAMissingKey() {
        FakeRegistry registry;
        registry.setValue(FirstKey, "PATH", 1, text("C:\\info.exe"));
        registry.refuseAccess();
        QString value = QStringLiteral("avant");
        QVERIFY(!SystemInfoLauncher::getKeyValue(registry, Registry::LocalMachine, QString::fromLatin1(FirstKey),
                                                 QStringLiteral("PATH"), value));
        QCOMPARE(value, QString());
        QCOMPARE(registry.closings, 0);
    }

    void startSysInfo_data() {
        QTest::addColumn<int>("firstType"); // 0: no value
        QTest::addColumn<QByteArray>("first");
        QTest::addColumn<int>("secondType");
        QTest::addColumn<QByteArray>("second");
        QTest::addColumn<QString>("started"); // the program started, empty when none
        QTest::addColumn<bool>("secondTried");

        const QString separator = QDir::separator();
        QTest::newRow("first value names the program")
            << 1 << text("$DIR/sysinfo") << 1 << text("$DIR/with") << QStringLiteral("$DIR/sysinfo") << false;
        QTest::newRow("first value names a missing file")
            << 1 << text("$DIR/nothing") << 1 << text("$DIR/with") << QString() << false;
        QTest::newRow("second value names a folder with the program")
            << 0 << QByteArray() << 1 << text("$DIR/with") << QStringLiteral("$DIR/with") + separator + "MSINFO32.EXE"
            << true;
        QTest::newRow("second value names a folder without the program")
            << 0 << QByteArray() << 1 << text("$DIR/without") << QString() << true;
        QTest::newRow("neither value") << 0 << QByteArray() << 0 << QByteArray() << QString() << true;
        QTest::newRow("expandable first value: empty path, second not tried")
            << 2 << text("$DIR/sysinfo") << 1 << text("$DIR/with") << QString() << false;
        QTest::newRow("double-word first value")
            << 4 << doubleWord(256) << 1 << text("$DIR/with") << QString() << false;
        QTest::newRow("first value fills the buffer")
            << 1 << QByteArray(1024, 'x') << 1 << text("$DIR/with") << QString() << false;
        QTest::newRow("second value fills the buffer")
            << 0 << QByteArray() << 1 << QByteArray(1024, 'x') << QString() << true;
    }

    void startSysInfo() {
        QFETCH(int, firstType);
        QFETCH(QByteArray, first);
        QFETCH(int, secondType);
        QFETCH(QByteArray, second);
        QFETCH(QString, started);
        QFETCH(bool, secondTried);
        started.replace(QStringLiteral("$DIR"), m_dir.path());

        FakeRegistry registry;
        if (firstType != 0)
            registry.setValue(FirstKey, "PATH", quint32(firstType), withDir(first));
        if (secondType != 0)
            registry.setValue(SecondKey, "MSINFO", quint32(secondType), withDir(second));
        QStringList starts;
        // Starting succeeds for an existing file only, as it does for a program.
        SystemInfoLauncher launcher(registry, {}, [&starts](const QString &path) {
            starts.append(path);
            return QFileInfo(path).isFile();
        });

        QCOMPARE(launcher.startSysInfo(nullptr), !started.isEmpty());
        if (!started.isEmpty())
            QCOMPARE(starts, QStringList{started});
        QCOMPARE(registry.opened(SecondKey), secondTried);
        QCOMPARE(registry.openKeys(), 0);
        const QList<MessageBox::Shown> shown = MessageBox::takeShown();
        if (started.isEmpty()) {
            QCOMPARE(shown.size(), 1);
            QCOMPARE(shown.first().text,
                     QStringLiteral("Les informations système ne sont pas disponibles pour l'instant"));
            QCOMPARE(shown.first().title, QStringLiteral("Tessavor"));
            QCOMPARE(shown.first().icon, MessageBox::Icon::None);
            QCOMPARE(shown.first().buttons, MessageBox::Buttons::Ok);
        } else {
            QCOMPARE(shown.size(), 0);
        }
    }

    void aProgramThatCannotStartShowsTheMessage() {
        FakeRegistry registry;
        registry.setValue(FirstKey, "PATH", 1, text(QFile::encodeName(m_dir.filePath(QStringLiteral("absent")))));
        // The platform's own process start, not a stand-in.
        QVERIFY(!SystemInfoLauncher(registry).startSysInfo(nullptr));
        QCOMPARE(MessageBox::takeShown().size(), 1);
    }

    void iniStore_data() {
        QTest::addColumn<QString>("content");
        QTest::addColumn<QByteArray>("key");
        QTest::addColumn<QByteArray>("name");
        QTest::addColumn<int>("status");
        QTest::addColumn<int>("type");
        QTest::addColumn<QByteArray>("bytes");

        const QString msinfo =
            QStringLiteral("; outils\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Shared Tools\\MSINFO]\n"
                           "PATH = /usr/bin/sysinfo\n# fin\n");
        QTest::newRow("text value, with its zero")
            << msinfo << FirstKey << QByteArray("PATH") << 0 << 1 << text("/usr/bin/sysinfo");
        QTest::newRow("names without regard to case")
            << msinfo << QByteArray("software\\MICROSOFT\\shared tools\\msinfo") << QByteArray("path") << 0 << 1
            << text("/usr/bin/sysinfo");
        QTest::newRow("missing value") << msinfo << FirstKey << QByteArray("MSINFO") << 2 << 0 << QByteArray();
        QTest::newRow("missing key") << msinfo << SecondKey << QByteArray("MSINFO") << 2 << 0 << QByteArray();
        QTest::newRow("other root") << QStringLiteral("[HKEY_CURRENT_USER\\SOFTWARE\\Microsoft\\Shared Tools\\MSINFO]\n"
                                                      "PATH=/x\n")
                                    << FirstKey << QByteArray("PATH") << 2 << 0 << QByteArray();
        QTest::newRow("short root name and trailing separator")
            << QStringLiteral("[HKLM\\SOFTWARE\\Microsoft\\Shared Tools Location\\]\nMSINFO=/opt/outils\n") << SecondKey
            << QByteArray("MSINFO") << 0 << 1 << text("/opt/outils");
        QTest::newRow("double-word") << QStringLiteral("[HKLM\\Cle]\nNombre=dword:00000100\n") << QByteArray("Cle")
                                     << QByteArray("Nombre") << 0 << 4 << doubleWord(256);
        QTest::newRow("text with equals sign and accents")
            << QStringLiteral("[HKLM\\Cle]\nChemin=/opt/a=b/système\n") << QByteArray("Cle") << QByteArray("Chemin")
            << 0 << 1 << text(QStringLiteral("/opt/a=b/système").toLocal8Bit());
        QTest::newRow("value outside any key")
            << QStringLiteral("PATH=/x\n") << FirstKey << QByteArray("PATH") << 2 << 0 << QByteArray();
        QTest::newRow("no file") << QString() << FirstKey << QByteArray("PATH") << 2 << 0 << QByteArray();
    }

    void iniStore() {
        QFETCH(QString, content);
        QFETCH(QByteArray, key);
        QFETCH(QByteArray, name);
        QFETCH(int, status);
        QFETCH(int, type);
        QFETCH(QByteArray, bytes);

        const QString path = m_dir.filePath(QStringLiteral("registry.ini"));
        QFile::remove(path);
        if (!content.isNull()) {
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(content.toUtf8());
        }
        IniRegistry registry(path);
        Registry::Handle handle = 0;
        const qint32 opened = registry.openKey(Registry::LocalMachine, key, 0, 0x2003F, handle);
        char buffer[1024] = {};
        quint32 valueType = 0;
        quint32 size = sizeof buffer;
        const qint32 read = opened == 0 ? registry.queryValue(handle, name, valueType, buffer, size) : opened;
        QCOMPARE(read, status);
        if (status == 0) {
            QCOMPARE(int(valueType), type);
            QCOMPARE(QByteArray(buffer, int(size)), bytes);
        }
        if (opened == 0)
            QCOMPARE(registry.closeKey(handle), 0);
    }

    void iniStoreReportsAValueTooLong() {
        const QString path = m_dir.filePath(QStringLiteral("long.ini"));
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("[HKLM\\Cle]\nLong=" + QByteArray(2000, 'z') + "\n");
        file.close();
        IniRegistry registry(path);
        QString value = QStringLiteral("avant");
        QVERIFY(!SystemInfoLauncher::getKeyValue(registry, Registry::LocalMachine, QStringLiteral("Cle"),
                                                 QStringLiteral("Long"), value));
        QCOMPARE(value, QString());
    }
};

QTEST_MAIN(TestSysInfo)
#include "tst_sysinfo.moc"
