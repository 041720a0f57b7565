#include "Statements.h"

namespace Statements {

QString weightReset()
{
    return QStringLiteral("DELETE * FROM Valorisation");
}

QString weightCount()
{
    return QStringLiteral("SELECT COUNT(`Modalité-Syndrome`.NumSyndrome)") +
           QStringLiteral(" AS Compte, Modalités.NumModalité, IIf(`Compte` < 10, 10 - `Compte`, 1) AS Valeurs ") +
           QStringLiteral(" FROM Modalités INNER JOIN `Modalité-Syndrome` ON Modalités.NumModalité = "
                          "`Modalité-Syndrome`.NumModalité ") +
           QStringLiteral(" GROUP BY Modalités.NumModalité ") +
           QStringLiteral(" ORDER BY COUNT(`Modalité-Syndrome`.NumSyndrome), Modalités.NumModalité;");
}

QString weightTable()
{
    return QStringLiteral("SELECT * FROM Valorisation");
}

QString rankingSignCondition(std::span<const qint32> modalities)
{
    QString condition;
    for (std::size_t i = 0; i < modalities.size(); ++i) {
        if (i > 0)
            condition += QStringLiteral(" OR Valorisation.NumModalité=");
        condition += QString::number(modalities[i]);
    }
    return condition;
}

QString rankingMethodCondition(const std::array<qint32, 6> &activeMethods)
{
    QString condition;
    for (int m = 1; m <= 5; ++m) {
        if (activeMethods[m] != 1)
            continue;
        if (!condition.isEmpty())
            condition += QStringLiteral(" OR Syndromes.NumMéthode=");
        condition += QString::number(m);
    }
    return condition;
}

QString ranking(const QString &signCondition, const QString &methodCondition)
{
    return QStringLiteral("SELECT Sum(Valorisation.Valeur) AS SommeDeValeur, Syndromes.Nom, Syndromes.NumSyndrome ") +
           QStringLiteral("FROM Syndromes INNER JOIN ([Modalité-Syndrome] INNER JOIN Valorisation ON "
                          "[Modalité-Syndrome].NumModalité = Valorisation.NumModalité) ON Syndromes.NumSyndrome = "
                          "[Modalité-Syndrome].NumSyndrome ") +
           QStringLiteral("Where Valorisation.NumModalité= ") + signCondition + QStringLiteral(" ") +
           QStringLiteral("GROUP BY Syndromes.Nom, Syndromes.NumSyndrome, Syndromes.NumMéthode ") +
           QStringLiteral("HAVING Syndromes.NumMéthode= ") + methodCondition + QStringLiteral(" ") +
           QStringLiteral("ORDER BY Sum(Valorisation.Valeur) DESC ;");
}

QString categoryListing(qint32 category)
{
    return QStringLiteral("SELECT Modalités.Modalité, Modalités.NumModalité, Valorisation.Valeur ") +
           QStringLiteral(" FROM Catégories, Modalités, Valorisation ") +
           QStringLiteral(" WHERE Catégories.NumCatégorie = Modalités.NumCatégorie AND Modalités.NumModalité = "
                          "Valorisation.NumModalité AND Catégories.NumCatégorie = ") +
           QString::number(category) + QStringLiteral(" ORDER BY Modalités.Modalité; ");
}

QString syndromeSigns(qint32 syndrome)
{
    return QStringLiteral("SELECT Modalités.Modalité, Modalités.NumModalité, `Modalité-Syndrome`.NumSyndrome, "
                          "Valorisation.Valeur ") +
           QStringLiteral(" FROM Modalités, `Modalité-Syndrome`, Valorisation ") +
           QStringLiteral(" WHERE Modalités.NumModalité = [Modalité-Syndrome].NumModalité ") +
           QStringLiteral(" AND Modalités.NumModalité = Valorisation.NumModalité") +
           QStringLiteral(" AND [Modalité-Syndrome].NumSyndrome = ")
           // The number keeps the blank that number-to-text conversion reserves for a sign,
           // so two blanks stand after the equals sign.
           + QStringLiteral(" ") + QString::number(syndrome) + QStringLiteral(" ORDER BY Modalités.Modalité;");
}

QString signSyndromes(qint32 modality)
{
    return QStringLiteral("SELECT [Modalité-Syndrome].NumModalité, Syndromes.Nom ") +
           QStringLiteral(" FROM Syndromes INNER JOIN [Modalité-Syndrome] ON Syndromes.NumSyndrome = "
                          "[Modalité-Syndrome].NumSyndrome ") +
           QStringLiteral(" WHERE [Modalité-Syndrome].NumModalité = ") + QString::number(modality) +
           QStringLiteral(";");
}

QString signSummary(qint32 modality)
{
    return QStringLiteral("SELECT Catégories.Nom, (SELECT Count(*) FROM [Modalité-Syndrome] WHERE "
                          "[Modalité-Syndrome].NumModalité = ") +
           QString::number(modality) + QStringLiteral(") AS Compte ") +
           QStringLiteral(
               " FROM Catégories INNER JOIN Modalités ON Catégories.NumCatégorie = Modalités.NumCatégorie ") +
           QStringLiteral(" WHERE Modalités.NumModalité = ") + QString::number(modality) + QStringLiteral(";");
}

QString signEntry(qint32 modality)
{
    return QStringLiteral("SELECT Modalités.Modalité, Modalités.NumModalité, Valorisation.Valeur ") +
           QStringLiteral(
               " FROM Modalités INNER JOIN Valorisation ON Modalités.NumModalité = Valorisation.NumModalité ") +
           QStringLiteral(" WHERE Modalités.NumModalité = ") + QString::number(modality) + QStringLiteral(";");
}

namespace {

// Spelled-out ligatures, so that "oedeme" typed finds "Œdème".
QString spelledOut(const QString &column)
{
    return QStringLiteral("replace(replace(replace(replace(%1, 'œ', 'oe'), 'Œ', 'Oe'), 'æ', 'ae'), 'Æ', 'Ae')")
        .arg(column);
}

} // namespace

QString searchIndexCreate()
{
    return QStringLiteral("DROP TABLE IF EXISTS temp.RechercheSignes; "
                          "CREATE VIRTUAL TABLE temp.RechercheSignes USING fts5(Mots, MotsCatégorie, "
                          "Modalité UNINDEXED, NumModalité UNINDEXED, Valeur UNINDEXED, Catégorie UNINDEXED, "
                          "tokenize = 'unicode61 remove_diacritics 2');");
}

QString searchIndexFill()
{
    return QStringLiteral("INSERT INTO temp.RechercheSignes (rowid, Mots, MotsCatégorie, Modalité, NumModalité, "
                          "Valeur, Catégorie) ") +
           QStringLiteral("SELECT row_number() OVER (ORDER BY Catégories.Nom COLLATE FRENCH, Modalités.Modalité "
                          "COLLATE FRENCH), ") +
           spelledOut(QStringLiteral("Modalités.Modalité")) + QStringLiteral(", ") +
           spelledOut(QStringLiteral("Catégories.Nom")) +
           QStringLiteral(", Modalités.Modalité, Modalités.NumModalité, Valorisation.Valeur, Catégories.Nom "
                          "FROM Catégories, Modalités, Valorisation "
                          "WHERE Catégories.NumCatégorie = Modalités.NumCatégorie "
                          "AND Modalités.NumModalité = Valorisation.NumModalité;");
}

QString searchMatches(int limit)
{
    return QStringLiteral("SELECT Modalité, NumModalité, Valeur, Catégorie FROM temp.RechercheSignes "
                          "WHERE RechercheSignes MATCH ?1 ORDER BY rowid LIMIT ") +
           QString::number(limit) + QStringLiteral(";");
}

QString searchCount()
{
    return QStringLiteral("SELECT count(*) AS Compte FROM temp.RechercheSignes WHERE RechercheSignes MATCH ?1;");
}

QString searchIndexDrop()
{
    return QStringLiteral("DROP TABLE IF EXISTS temp.RechercheSignes;");
}

} // namespace Statements
