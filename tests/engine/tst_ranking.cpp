#include "DataSource.h"
#include "DatabaseError.h"
#include "Explanations.h"
#include "Ranking.h"
#include "TestSupport.h"

#include <QTest>

#include <tuple>

using namespace Qt::StringLiterals;
using Entries = QList<ListEntry>;

// The ranked list and what hovering its entries says, on a fixture whose weights put sums
// right at the threshold.
class TestRanking : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    DataSource m_source;
    static constexpr MethodTable All{0, 1, 1, 1, 1, 1};

    static Entries signs(const QList<qint32> &numbers)
    {
        Entries list;
        for (qint32 n : numbers)
            list.append({u"signe %1"_s.arg(n), n});
        return list;
    }

private slots:
    void initTestCase() { m_source.setDatabaseName(TestSupport::makeDatabase(m_dir, u"ranking.sql"_s)); }

    // Signs 10 to 13 weigh 6, 1, 9 and 7; syndromes 1 (method 1) and 2 (method 2) have two
    // signs, syndrome 3 (method 5) only sign 12. Each row: the recorded signs, the methods
    // chosen, the ranked list.
    void ranking()
    {
        for (const auto &[recorded, methods, ranked] :
             std::initializer_list<std::tuple<QList<qint32>, MethodTable, Entries>>{
                 {{10}, All, {}}, // a sum of 6 is not listed; a sum of 7 is
                 {{10, 11}, All, {{u"Vide de Qi  (7)"_s, 1}}},
                 // highest sum first
                 {{12, 13, 10},
                  All,
                  {{u"Chaleur  (16)"_s, 2}, {u"Vide de Qi  (15)"_s, 1}, {u"Vide de Yin du Rein  (9)"_s, 3}}},
                 // methods not chosen are left out; a sign recorded twice counts once
                 {{12, 13}, {0, 0, 0, 0, 0, 1}, {{u"Vide de Yin du Rein  (9)"_s, 3}}},
                 {{12, 12}, {0, 0, 1, 0, 0, 0}, {{u"Chaleur  (9)"_s, 2}}}})
            QCOMPARE(Ranking::classerSyndromes(m_source, signs(recorded), methods), ranked);
    }

    void noQueryWithoutSignsOrMethods()
    {
        // A missing file would fail at the first query: none is sent.
        DataSource nowhere;
        nowhere.setDatabaseName(m_dir.filePath(u"absent.mdb"_s));
        QVERIFY(Ranking::classerSyndromes(nowhere, {}, All).isEmpty());
        QVERIFY(Ranking::classerSyndromes(nowhere, signs({12}), {0, 0, 0, 0, 0, 0}).isEmpty());
        QVERIFY_THROWS_EXCEPTION(DatabaseError, Ranking::classerSyndromes(nowhere, signs({12}), All));
    }

    // What hovering an entry says, word for word (the main window's tips show these).
    void explanations()
    {
        const auto syndrome = [this](qint32 number, const QList<qint32> &recorded) {
            return Explanations::syndromeText(Explanations::syndromeSigns(m_source, number, signs(recorded)));
        };
        QCOMPARE(syndrome(1, {11, 10, 11}), u"2 signes retrouvés sur 3 : Signe de poids six (6), Signe de poids un "
                                            "(1) — somme 7. Autres signes : Signe de poids neuf (9)."_s);
        QCOMPARE(syndrome(2, {13, 12}),
                 u"2 signes retrouvés sur 2 : Signe de poids neuf (9), Signe de poids sept (7) — somme 16."_s);
        QCOMPARE(syndrome(3, {10}), u"Aucun signe retrouvé sur 1. Autres signes : Signe de poids neuf (9)."_s);
        QCOMPARE(Explanations::signText(m_source, 12), u"Catégorie : Pouls — poids 9 — indique 3 syndromes."_s);
        QCOMPARE(Explanations::signText(m_source, 13), u"Catégorie : Pouls — poids 7 — indique 1 syndrome."_s);
        QCOMPARE(Explanations::signText(m_source, 99), QString());
    }
};

QTEST_GUILESS_MAIN(TestRanking)
#include "tst_ranking.moc"
