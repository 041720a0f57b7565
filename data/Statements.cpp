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
           QString::number(modality) + QStringLiteral(") AS Compte, ") +
           QStringLiteral("(SELECT Valorisation.Valeur FROM Valorisation WHERE Valorisation.NumModalité = ") +
           QString::number(modality) + QStringLiteral(") AS Valeur ") +
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

QString searchableSigns()
{
    return QStringLiteral("SELECT Modalités.Modalité, Modalités.NumModalité, Valorisation.Valeur, Catégories.Nom AS "
                          "Catégorie FROM Catégories, Modalités, Valorisation "
                          "WHERE Catégories.NumCatégorie = Modalités.NumCatégorie "
                          "AND Modalités.NumModalité = Valorisation.NumModalité;");
}

QString replacementTableCount()
{
    return QStringLiteral(
        "SELECT count(*) AS Compte FROM sqlite_master WHERE type = 'table' AND name = 'Remplacements';");
}

QString retiredSigns()
{
    return QStringLiteral("SELECT Modalités.Modalité, Modalités.NumModalité, Catégories.Nom AS Catégorie "
                          "FROM Catégories, Modalités WHERE Catégories.NumCatégorie = Modalités.NumCatégorie "
                          "AND Modalités.NumModalité NOT IN (SELECT NumModalité FROM Valorisation);");
}

QString replacements()
{
    return QStringLiteral("SELECT Remplacements.NumModalité, Modalités.Modalité, Remplacements.NumRemplaçante, "
                          "Valorisation.Valeur FROM Remplacements, Modalités, Valorisation "
                          "WHERE Modalités.NumModalité = Remplacements.NumRemplaçante "
                          "AND Valorisation.NumModalité = Remplacements.NumRemplaçante "
                          "ORDER BY Remplacements.rowid;");
}

} // namespace Statements
