#include "DatabaseError.h"
#include "DatabaseMessage.h"
#include "JetImportText.h"
#include "MessageBox.h"

#include <QLocale>
#include <QTest>

using namespace Qt::StringLiterals;

// What the practitioner reads before and after an import, or when a file is refused: the
// files, the table and the value at fault, and never a list too long to read.
class TestJetImportText : public QObject
{
    Q_OBJECT

    static void contains(const QString &text, const QStringList &told, const QStringList &untold = {})
    {
        for (const QString &t : told)
            QVERIFY2(text.contains(t), qPrintable(t + "\n---\n" + text));
        for (const QString &t : untold)
            QVERIFY2(!text.contains(t), qPrintable(t + "\n---\n" + text));
    }

private slots:
    void summary()
    {
        JetImport::Summary s;
        s.version = 3;
        s.source = s.knowledgeBase = u"/cabinet/Signes.mdb"_s;
        s.keptCopy = u"/cabinet/Signes-access-2026-12-07.mdb"_s;
        std::tie(s.categories, s.modalities, s.syndromes, s.links, s.weights) = std::tuple(44, 572, 143, 2172, 520);
        // Numbers are grouped the French way (the separator is the locale's).
        contains(JetImportText::summary(s),
                 {u"« /cabinet/Signes.mdb » (Jet 3) a été convertie."_s, u"Catégories : 44"_s, u"Modalités : 572"_s,
                  u"Syndromes : 143"_s, u"Liens (Modalité-Syndrome) : "_s + QLocale(QLocale::French).toString(2172),
                  u"Poids (Valorisation) : 520"_s,
                  u"Le fichier Access d'origine est conservé sous le nom « /cabinet/Signes-access-2026-12-07.mdb »."_s},
                 {u"Régénérer"_s, u"non reprises"_s});

        // Replacing a base rather than converting in place says which base and what was kept.
        s.source = u"/cles/Cabinet.mdb"_s;
        s.weightsDiffering = 3;
        s.otherTables = QStringList{u"Consultations"_s};
        s.otherColumns = QStringList{u"Syndromes.Remarque"_s};
        contains(
            JetImportText::summary(s),
            {u"« /cles/Cabinet.mdb » (Jet 3) remplace désormais la base de connaissances « /cabinet/Signes.mdb »"_s,
             u"L'ancienne base est conservée"_s, u"3 poids diffèrent de la règle des poids"_s,
             u"« Régénérer la base »"_s, u"Tables non reprises : Consultations."_s,
             u"Colonnes non reprises : Syndromes.Remarque."_s});
    }

    void question()
    {
        const QString base = u"/cabinet/Signes.mdb"_s, former = u"/cabinet/Signes-2026-12-07.mdb"_s;
        contains(JetImportText::question({base, base, u"/cabinet/Signes-access-2026-12-07.mdb"_s, false}),
                 {u"« /cabinet/Signes.mdb » est une base Access"_s, u"« /cabinet/Signes-access-2026-12-07.mdb »"_s,
                  u"la convertir maintenant"_s},
                 {u"La visite en cours sera vidée"_s});
        contains(JetImportText::question({u"/cles/Cabinet.mdb"_s, base, former, true}),
                 {u"« /cles/Cabinet.mdb » va remplacer la base de connaissances en usage, « /cabinet/Signes.mdb »"_s,
                  u"conservée sous le nom « /cabinet/Signes-2026-12-07.mdb »"_s, u"La visite en cours sera vidée"_s});
        contains(JetImportText::question({u"/cles/Cabinet.mdb"_s, base, QString(), true}), {u"introuvable"_s},
                 {u"conservée"_s});
    }

    // A refusal goes through the database message like every other; past twelve problems
    // the list says how many more.
    void refusals()
    {
        MessageBox::setTesting(true);
        const DatabaseError rows(DatabaseError::Kind::RowCount, u"/c/Signes.mdb"_s, u"rows differ"_s,
                                 {{u"Modalité-Syndrome"_s, {}, u"1900"_s, u"2172"_s, {}}});
        DatabaseMessage::show(nullptr, rows);
        const auto shown = MessageBox::takeShown();
        QCOMPARE(shown.size(), 1);
        QCOMPARE(shown[0].text, JetImportText::problem(rows));
        const QLocale french(QLocale::French);
        contains(shown[0].text, {u"la table « Modalité-Syndrome » annonce %1 lignes, mais %2 seulement"_s.arg(
                                    french.toString(2172), french.toString(1900))});

        QList<DatabaseError::Detail> details;
        for (int i = 1; i <= 15; ++i)
            details.append({u"Modalité-Syndrome"_s,
                            u"NumModalité"_s,
                            QString::number(9000 + i),
                            {},
                            u"NumModalité=%1, NumSyndrome=101"_s.arg(9000 + i)});
        details.append({u"Valorisation"_s, u"NumModalité"_s, u"7"_s, {}, {}});
        contains(JetImportText::problem(
                     DatabaseError(DatabaseError::Kind::MissingReference, u"/c/Signes.mdb"_s, {}, details)),
                 {u"table « Modalité-Syndrome » : le signe n° 9001 n'existe pas (NumModalité=9001, NumSyndrome=101)"_s,
                  u"n° 9012"_s, u"- et 4 autres."_s, u"Aucun fichier n'a été modifié."_s},
                 {u"n° 9013"_s});
    }
};

QTEST_MAIN(TestJetImportText)
#include "tst_jetimporttext.moc"
