#include "DataSource.h"
#include "SignsToCheck.h"
#include "TestSupport.h"

#include <QTest>

#include <tuple>

using namespace Qt::StringLiterals;
using Entries = QList<ListEntry>;
using Sums = QList<std::pair<qint32, qint32>>; // (NumSyndrome, sum) in the ranked order

// Which syndromes lead, which signs each offers and in what order, on a fixture where
// syndromes 1 to 3 share some of their signs.
class TestSignsToCheck : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    DataSource m_source;
    inline static const QStringList Names{"",
                                          "Le Foie envahit la Rate",
                                          "Stagnation du Qi du Foie",
                                          "Vide de Qi de la Rate",
                                          "Vide de Sang du Foie",
                                          "Feu du Cœur"};

    // The ranked list as the main window shows it.
    static Entries ranked(const Sums &sums)
    {
        Entries list;
        for (auto [syndrome, sum] : sums)
            list.append({u"%1  (%2)"_s.arg(Names[syndrome]).arg(sum), syndrome});
        return list;
    }
    static Entries recorded(const QList<qint32> &numbers)
    {
        Entries list;
        for (qint32 n : numbers)
            list.append({u"signe %1"_s.arg(n), n});
        return list;
    }
    // "1: 106 103+3" — a group's syndrome, then each sign to check with the other leading
    // syndromes it points to.
    static QStringList brief(const QList<SignsToCheck::Group> &groups)
    {
        QStringList lines;
        for (const SignsToCheck::Group &group : groups) {
            QString line = QString::number(group.syndrome.data) + u':';
            for (const SignsToCheck::Sign &sign : group.toCheck) {
                QStringList also;
                for (const QString &name : sign.alsoFor)
                    also.append(QString::number(Names.indexOf(name)));
                line += u' ' + QString::number(sign.entry.data) + (also.isEmpty() ? u""_s : u'+' + also.join(u','));
            }
            lines.append(line);
        }
        return lines;
    }

private slots:
    void initTestCase() { m_source.setDatabaseName(TestSupport::makeDatabase(m_dir, u"signstocheck.sql"_s)); }

    // Signs 100 and 101 recorded throughout. Sign 102 points to 1, 2 and 3; 103 to 1 and 3;
    // 108 to 2 and 3; the others to one syndrome each. Each row: the ranked syndromes with
    // their sums, the recorded signs, the groups.
    void groups()
    {
        const QList<qint32> both{100, 101};
        for (const auto &[sums, signes, groups] : std::initializer_list<std::tuple<Sums, QList<qint32>, QStringList>>{
                 {{}, {}, {}}, // nothing ranked
                 // one syndrome leads: its unrecorded signs, heaviest first, equal weights in French
                 // order (appétit, Éructations, Fatigue; Lassitude, Nausées); sign 112, not weighed,
                 // never; six at most
                 {{{1, 15}}, both, {"1: 106 103 102 104 105 114"}},
                 // half the first's sum leads, less does not; a sign of every leader tells nothing
                 {{{1, 18}, {2, 9}, {3, 8}}, both, {"1: 106 103 104 105 114 113", "2: 107 108 109"}},
                 // a sign of two leaders of three: in both, after the others
                 {{{1, 16}, {2, 15}, {3, 14}},
                  both,
                  {"1: 106 104 105 114 113 103+3", "2: 107 109 108+3", "3: 110 103+1 108+2"}},
                 // four at most, a tie settled by the list's order: five qualify; 5 comes before 4
                 // in the list, so 5 leads
                 {{{1, 20}, {2, 18}, {3, 12}, {5, 12}, {4, 12}},
                  both,
                  {"1: 106 104 105 114 113 103+3", "2: 107 109 108+3 102+1,3", "3: 110 103+1 108+2 102+1,2", "5: 116"}},
                 {{{4, 9}, {5, 4}}, {115}, {"4:"}}}) // nothing left to check
            QCOMPARE(brief(SignsToCheck::groups(m_source, ranked(sums), recorded(signes))), groups);
    }

    // What the window and the tip say, and what "Valider" records: each marked sign once,
    // in the window's order, never one already recorded or one the window did not offer.
    void wordsAndRecording()
    {
        const Entries signes = recorded({100, 101});
        const auto groups = SignsToCheck::groups(m_source, ranked({{1, 16}, {2, 15}, {3, 14}}), signes);
        QCOMPARE(groups[0].syndrome.text, u"Le Foie envahit la Rate  (16)"_s);
        QCOMPARE(groups[0].found, u"2 signes retrouvés sur 9 : Ballonnements (8), Irritabilité (7) — somme 15."_s);
        QCOMPARE(SignsToCheck::tipLine(groups[0]), u"À vérifier : appétit faible (9), Éructations (6), Fatigue (6)."_s);
        QCOMPARE(SignsToCheck::spokenName(groups[2], groups[2].toCheck[1]),
                 u"Selles molles (8), pour Vide de Qi de la Rate, aussi Le Foie envahit la Rate"_s);
        QCOMPARE(SignsToCheck::spokenName(groups[2], groups[2].toCheck[0]),
                 u"Teint pâle (7), pour Vide de Qi de la Rate"_s);

        QCOMPARE(SignsToCheck::record(groups, signes, (QSet<qint32>{110, 103, 100, 111})),
                 signes + Entries({{u"Selles molles (8)"_s, 103}, {u"Teint pâle (7)"_s, 110}}));
        QCOMPARE(SignsToCheck::record(groups, signes, QSet<qint32>{}), signes);
    }
};

QTEST_GUILESS_MAIN(TestSignsToCheck)
#include "tst_signstocheck.moc"
