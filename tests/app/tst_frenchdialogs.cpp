#include "RegionalDefaults.h"

#include <QApplication>
#include <QFile>
#include <QFileIconProvider>
#include <QFileSystemModel>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;
using Environment = RegionalDefaults::Environment;

// The toolkit's file dialog on a machine without regional settings: its list of files
// dates, measures and names them in French. This program starts as the program does, on an
// environment emptied of every regional setting (see main() below).
class TestFrenchDialogs : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;

private slots:
    void whenFrenchFormsAreGiven()
    {
        const Environment french{{"LANG", "fr_FR.UTF-8"}};
        for (const Environment &plain :
             {Environment{}, Environment{{"LANG", "C"}}, Environment{{"LANG", "POSIX"}},
              Environment{{"LANG", "C.UTF-8"}}, Environment{{"LC_ALL", "C"}, {"LC_TIME", "POSIX"}}})
            QCOMPARE(RegionalDefaults::withFrenchForms(plain), french);
        // One regional setting of the machine's own among plain ones keeps them all.
        const Environment germanDates{{"LANG", "C.UTF-8"}, {"LC_TIME", "de_DE.UTF-8"}};
        QCOMPARE(RegionalDefaults::withFrenchForms(germanDates), germanDates);
    }

    void fileListInFrench()
    {
        const QString sub = m_dir.filePath(u"Visites"_s);
        QVERIFY(QDir().mkpath(sub));
        QFile file(m_dir.filePath(u"visite.pdf"_s));
        QVERIFY(file.open(QIODevice::WriteOnly));
        QVERIFY(file.setFileTime(QDateTime(QDate(2026, 12, 7), QTime(14, 5)), QFileDevice::FileModificationTime));
        file.close();

        QFileSystemModel model;
        QSignalSpy loaded(&model, &QFileSystemModel::directoryLoaded);
        const QModelIndex root = model.setRootPath(m_dir.path());
        QVERIFY(loaded.wait(5000) || model.rowCount(root) == 2);
        QTRY_COMPARE(model.rowCount(root), 2);

        // Date and size as the file dialog writes them: French, not "7 Dec 2026 14:05:00"
        // and "0 bytes".
        QCOMPARE(model.data(model.index(file.fileName(), 3)).toString(), u"07/12/2026 14:05"_s);
        QCOMPARE(model.data(model.index(file.fileName(), 1)).toString(), u"0 octets"_s);
        // A folder's kind, in French; and the toolkit's own translation for the rest.
        QCOMPARE(model.data(model.index(sub, 2)).toString(), u"Dossier"_s);
        QCOMPARE(QFileIconProvider().type(QFileInfo(sub)), u"Dossier"_s);
        QCOMPARE(model.headerData(3, Qt::Horizontal).toString(), u"Dernière modification"_s);
    }
};

int main(int argc, char *argv[])
{
    for (const char *name : {"LC_ALL", "LC_TIME", "LC_MESSAGES", "LANG", "LANGUAGE"})
        qunsetenv(name);
    RegionalDefaults::frenchFormsBeforeStart();
    QApplication app(argc, argv);
    RegionalDefaults::frenchToolkit();
    TestFrenchDialogs test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_frenchdialogs.moc"
