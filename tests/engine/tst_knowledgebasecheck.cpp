#include "Database.h"
#include "KnowledgeBaseCheck.h"
#include "TestSupport.h"

#include <QTest>

using namespace Qt::StringLiterals;
using Cases = std::initializer_list<std::pair<QString, QString>>; // a fault, then what is said of it

// The checker of a knowledge base, each rule on a small base that breaks it alone.
const KnowledgeBaseCheck::Published Published{{{203, 227}, {1801, 1808}, {4301, 4309}}, {{501, 508}}};
// Syndrome 508 given every sign of 507: 507 is swallowed by its combination.
const QString Swallowed =
    u"INSERT INTO \"Modalité-Syndrome\" SELECT NumModalité, 508 FROM \"Modalité-Syndrome\" WHERE NumSyndrome = 507"_s;
class TestKnowledgeBaseCheck : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;

    KnowledgeBaseCheck checkAfter(const QString &fixture, const QString &fault)
    {
        const QString path = TestSupport::makeDatabase(m_dir, fixture);
        if (!fault.isEmpty())
            Database::open(path)->executeNative(fault);
        return KnowledgeBaseCheck::read(path);
    }

private slots:
    void remarks()
    {
        QCOMPARE(checkAfter(u"checked.sql"_s, {}).structural(), QStringList());
        // Without the replacement table (an older or imported base), signs with no link are
        // taken as retired, so the same base reads as sound.
        QCOMPARE(checkAfter(u"checked.sql"_s, u"DROP TABLE \"Remplacements\""_s).structural(), QStringList());
        // Each fault alone is remarked once.
        for (const auto &[fault, remark] : Cases{
                 // a link to no sign
                 {u"INSERT INTO \"Modalité-Syndrome\" VALUES (1899, 501)"_s,
                  u"Un lien du syndrome 501 désigne le signe 1899, absent"_s},
                 // a link to no syndrome
                 {u"INSERT INTO \"Modalité-Syndrome\" VALUES (1801, 599)"_s, u"désigne le syndrome 599, absent"_s},
                 // a link given twice
                 {u"INSERT INTO \"Modalité-Syndrome\" VALUES (1801, 502)"_s,
                  u"au signe 1801 « Langue pâle » figure 2 fois"_s},
                 // a sign of no category
                 {u"UPDATE \"Modalités\" SET NumCatégorie = 99 WHERE NumModalité = 2401"_s, u"catégorie 99, absente"_s},
                 // a syndrome of no method
                 {u"UPDATE \"Syndromes\" SET NumMéthode = 7 WHERE NumSyndrome = 502"_s,
                  u"la méthode 7, qui n'existe"_s},
                 // a replacement naming no sign
                 {u"INSERT INTO \"Remplacements\" VALUES (1806, 1899)"_s, u"Remplacements désigne le signe 1899"_s},
                 // a replacement given to a live sign
                 {u"INSERT INTO \"Remplacements\" VALUES (1801, 1807)"_s, u"1801 « Langue pâle » est lié à des"_s},
                 // a replacement itself retired
                 {u"INSERT INTO \"Remplacements\" VALUES (1806, 4326)"_s,
                  u"remplacé par le signe 4326 « Pouls fin et rapide », lui-même retiré"_s},
                 // a sign added without a link
                 {u"INSERT INTO \"Modalités\" VALUES (1850, 'Langue longue', 18)"_s,
                  u"1850 « Langue longue » n'est lié à aucun syndrome"_s},
                 // a syndrome that cannot rise above 6
                 {u"UPDATE \"Modalité-Syndrome\" SET NumSyndrome = 502 WHERE NumSyndrome = 501 AND NumModalité <> 1802;"
                  "INSERT INTO \"Syndromes\" VALUES (504, 'Autre', 5), (505, 'Encore', 5);"
                  "INSERT INTO \"Modalité-Syndrome\" VALUES (1802, 502), (1802, 504), (1801, 504), "
                  "(1802, 505), (4302, 505)"_s,
                  u"501 « Chaleur » ne peut jamais dépasser 6 : tous ses signes ensemble pèsent 6."_s},
                 // two texts of a category equal but for accents, case and plural
                 {u"INSERT INTO \"Modalités\" VALUES (1850, 'langues pales', 18);"
                  "INSERT INTO \"Modalité-Syndrome\" VALUES (1850, 502)"_s,
                  u"1801 « Langue pâle » et 1850 « langues pales » ont le même texte"_s}}) {
            const QStringList remarks = checkAfter(u"checked.sql"_s, fault).structural();
            QVERIFY2(remarks.size() == 1 && remarks[0].contains(remark), qPrintable(remarks.join(u'\n')));
        }
    }

    void bundledFaults()
    {
        const KnowledgeBaseCheck check = checkAfter(u"bundled.sql"_s, {});
        QStringList figures;
        QCOMPARE(check.bundled(Published, {{u"langue 1 et pouls 1"_s, 501, {1801, 4301}}}) + check.trials(figures),
                 QStringList());
        QCOMPARE(figures.size(), 2); // the even draws, then the one method's
        // Each fault alone is found once.
        for (const auto &[fault, found] : Cases{
                 // a published number gone
                 {u"DELETE FROM \"Modalité-Syndrome\" WHERE NumModalité = 227; DELETE FROM \"Modalités\" WHERE "
                  "NumModalité = 227"_s,
                  u"Le signe publié 227 n'a plus de ligne."_s},
                 // a category with too few signs
                 {u"INSERT INTO \"Catégories\" VALUES (45, 'Membres')"_s,
                  u"La catégorie 45 « Membres » ne propose que 0 signes"_s},
                 // a syndrome of four signs
                 {u"DELETE FROM \"Modalité-Syndrome\" WHERE NumModalité = 203"_s,
                  u"Il manque au syndrome 501 « Syndrome 1 » : 5 signes."_s},
                 // a syndrome without a pulse
                 {u"DELETE FROM \"Modalité-Syndrome\" WHERE NumModalité = 4308"_s, u"508 « Syndrome 8 » : un pouls."_s},
                 // a part swallowed by its combination
                 {Swallowed, u"Le syndrome 507 « Syndrome 7 » tient dans 508 « Syndrome 8 » les deux tiers"_s}}) {
            const QStringList faults = checkAfter(u"bundled.sql"_s, fault).bundled(Published, {});
            QVERIFY2(faults.size() == 1 && faults[0].contains(found), qPrintable(faults.join(u'\n')));
        }
    }

    // A presentation ranks its syndrome first only above every other, and a syndrome that
    // its combination swallows fails both trials.
    void presentationsAndTrials()
    {
        const KnowledgeBaseCheck sound = checkAfter(u"bundled.sql"_s, {});
        const QStringList faults = sound.bundled(
            Published, {{u"un signe d'un autre"_s, 502, {1801}}, {u"deux signes à lui"_s, 501, {1801, 4301}}});
        QVERIFY2(faults.size() == 1 && faults[0].contains(u"« un signe d'un autre »"), qPrintable(faults.join(u'\n')));
        QCOMPARE(sound.position(501, {1801, 4301, 1802}), 1);
        QCOMPARE(sound.position(501, {1801, 1802}), 2); // equal to another: not first
        QStringList figures;
        const QStringList trials = checkAfter(u"bundled.sql"_s, Swallowed).trials(figures);
        QVERIFY2(
            trials.size() == 2 && trials[0].contains(u"premier de sa méthode") &&
                trials[1].contains(u"le syndrome 507 « Syndrome 7 » n'est premier seul de sa méthode que dans 0,0 %"),
            qPrintable(trials.join(u'\n')));
    }
};

QTEST_GUILESS_MAIN(TestKnowledgeBaseCheck)
#include "tst_knowledgebasecheck.moc"
