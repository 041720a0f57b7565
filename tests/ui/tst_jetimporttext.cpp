#include "DatabaseError.h"
#include "DatabaseMessage.h"
#include "JetImportText.h"
#include "MessageBox.h"

#include <QLocale>
#include <QTest>

using Kind = DatabaseError::Kind;

// What the practitioner reads after an import, or when a file is refused: the table and
// the value at fault, and never a list too long to read.
class TestJetImportText : public QObject
{
    Q_OBJECT

    static JetImport::Summary summary()
    {
        JetImport::Summary s;
        s.version = 3;
        s.source = QStringLiteral("/cabinet/Signes.mdb");
        s.knowledgeBase = QStringLiteral("/cabinet/Signes.mdb");
        s.keptCopy = QStringLiteral("/cabinet/Signes-access-2026-12-07.mdb");
        s.categories = 44;
        s.modalities = 572;
        s.syndromes = 143;
        s.links = 2172;
        s.weights = 520;
        return s;
    }

private slots:
    void initTestCase() { MessageBox::setTesting(true); }

    void summaryCountsAndKeptCopy()
    {
        JetImport::Summary s = summary();
        QString text = JetImportText::summary(s);
        // Numbers are grouped the French way (the separator is the locale's).
        const QString links = QStringLiteral("Liens (Modalité-Syndrome) : ") + QLocale(QLocale::French).toString(2172);
        for (const QString &expected :
             {QStringLiteral("(Jet 3)"), QStringLiteral("Catégories : 44"), QStringLiteral("Modalités : 572"),
              QStringLiteral("Syndromes : 143"), links, QStringLiteral("Poids (Valorisation) : 520"),
              QStringLiteral("« /cabinet/Signes-access-2026-12-07.mdb »")})
            QVERIFY2(text.contains(expected), qPrintable(expected));
        QVERIFY(!text.contains(QStringLiteral("Régénérer")));
        QVERIFY(!text.contains(QStringLiteral("non reprises")));
        QVERIFY(text.contains(QStringLiteral("« /cabinet/Signes.mdb » (Jet 3) a été convertie.")));
        QVERIFY(text.contains(QStringLiteral("Le fichier Access d'origine est conservé")));

        s.weightsDiffering = 3;
        s.otherTables = QStringList{QStringLiteral("Consultations")};
        s.otherColumns = QStringList{QStringLiteral("Syndromes.Remarque")};
        text = JetImportText::summary(s);
        QVERIFY(text.contains(QStringLiteral("3 poids diffèrent de la règle des poids")));
        QVERIFY(text.contains(QStringLiteral("« Régénérer la base »")));
        QVERIFY(text.contains(QStringLiteral("Tables non reprises : Consultations.")));
        QVERIFY(text.contains(QStringLiteral("Colonnes non reprises : Syndromes.Remarque.")));

        // Replacing a base rather than converting in place says which base and what was kept.
        s.source = QStringLiteral("/cles/Cabinet.mdb");
        text = JetImportText::summary(s);
        QVERIFY(text.contains(QStringLiteral("« /cles/Cabinet.mdb » (Jet 3) remplace désormais la base de "
                                             "connaissances « /cabinet/Signes.mdb »")));
        QVERIFY(text.contains(QStringLiteral("L'ancienne base est conservée")));
    }

    void questionSaysWhatWillHappen_data()
    {
        QTest::addColumn<QString>("source");
        QTest::addColumn<QString>("keptCopy");
        QTest::addColumn<bool>("emptiesVisit");
        QTest::addColumn<QStringList>("told");
        QTest::addColumn<QStringList>("untold");
        const QString base = QStringLiteral("/cabinet/Signes.mdb");
        const QString access = QStringLiteral("/cabinet/Signes-access-2026-12-07.mdb");
        const QString former = QStringLiteral("/cabinet/Signes-2026-12-07.mdb");
        const QString visit = QStringLiteral("La visite en cours sera vidée");
        QTest::newRow("conversion") << base << access << false
                                    << QStringList{"« /cabinet/Signes.mdb » est une base Access", "« " + access + " »",
                                                   "la convertir maintenant"}
                                    << QStringList{visit};
        QTest::newRow("conversion of a visit's base") << base << access << true << QStringList{visit} << QStringList{};
        QTest::newRow("replacement") << QStringLiteral("/cles/Cabinet.mdb") << former << true
                                     << QStringList{"« /cles/Cabinet.mdb » va remplacer la base de connaissances en "
                                                    "usage, « /cabinet/Signes.mdb »",
                                                    "conservée sous le nom « " + former + " »", visit}
                                     << QStringList{};
        QTest::newRow("replacement of a missing base") << QStringLiteral("/cles/Cabinet.mdb") << QString() << true
                                                       << QStringList{"introuvable"} << QStringList{"conservée"};
    }

    void questionSaysWhatWillHappen()
    {
        QFETCH(QString, source);
        QFETCH(QString, keptCopy);
        QFETCH(bool, emptiesVisit);
        QFETCH(QStringList, told);
        QFETCH(QStringList, untold);
        const QString text =
            JetImportText::question({source, QStringLiteral("/cabinet/Signes.mdb"), keptCopy, emptiesVisit});
        for (const QString &t : told)
            QVERIFY2(text.contains(t), qPrintable(t + "\n---\n" + text));
        for (const QString &t : untold)
            QVERIFY2(!text.contains(t), qPrintable(t + "\n---\n" + text));
    }

    void longListsAreCut()
    {
        QList<DatabaseError::Detail> details;
        for (int i = 1; i <= 15; ++i)
            details.append({QStringLiteral("Modalité-Syndrome"),
                            QStringLiteral("NumModalité"),
                            QString::number(9000 + i),
                            {},
                            QStringLiteral("NumModalité=%1, NumSyndrome=101").arg(9000 + i)});
        details.append({QStringLiteral("Valorisation"), QStringLiteral("NumModalité"), QStringLiteral("7"), {}, {}});
        const QString text =
            JetImportText::problem(DatabaseError(Kind::MissingReference, QStringLiteral("/c/Signes.mdb"), {}, details));
        QVERIFY(text.contains(QStringLiteral("table « Modalité-Syndrome » : le signe n° 9001 n'existe pas "
                                             "(NumModalité=9001, NumSyndrome=101)")));
        QVERIFY(text.contains(QStringLiteral("n° 9012")));
        QVERIFY(!text.contains(QStringLiteral("n° 9013")));
        QVERIFY(text.contains(QStringLiteral("- et 4 autres.")));
        QVERIFY(text.contains(QStringLiteral("Aucun fichier n'a été modifié.")));
    }

    void refusalsGoThroughTheDatabaseMessage()
    {
        MessageBox::takeShown();
        const DatabaseError error(
            Kind::RowCount, QStringLiteral("/c/Signes.mdb"), QStringLiteral("rows differ"),
            {{QStringLiteral("Modalité-Syndrome"), {}, QStringLiteral("1900"), QStringLiteral("2172"), {}}});
        DatabaseMessage::show(nullptr, error);
        const auto shown = MessageBox::takeShown();
        QCOMPARE(shown.size(), 1);
        QCOMPARE(shown[0].text, JetImportText::problem(error));
        const QLocale french(QLocale::French);
        QVERIFY(shown[0].text.contains(QStringLiteral("la table « Modalité-Syndrome » annonce %1 lignes, mais %2 "
                                                      "seulement")
                                           .arg(french.toString(2172), french.toString(1900))));
    }
};

QTEST_MAIN(TestJetImportText)
#include "tst_jetimporttext.moc"
