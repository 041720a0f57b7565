#include "Schema.h"

namespace Schema {

QString createStatements()
{
    const QString tables = QStringLiteral(R"(
CREATE TABLE "Catégories" (
    "NumCatégorie" INTEGER PRIMARY KEY,
    "Nom" TEXT
);
CREATE TABLE "Modalités" (
    "NumModalité" INTEGER PRIMARY KEY,
    "Modalité" TEXT NOT NULL,
    "NumCatégorie" INTEGER NOT NULL
);
CREATE TABLE "Syndromes" (
    "NumSyndrome" INTEGER PRIMARY KEY,
    "Nom" TEXT NOT NULL,
    "NumMéthode" INTEGER NOT NULL
);
CREATE TABLE "Modalité-Syndrome" (
    "NumModalité" INTEGER NOT NULL,
    "NumSyndrome" INTEGER NOT NULL
);
CREATE TABLE "Valorisation" (
    "NumModalité" INTEGER PRIMARY KEY,
    "Valeur" INTEGER
);
CREATE TABLE "Remplacements" (
    "NumModalité" INTEGER NOT NULL,
    "NumRemplaçante" INTEGER NOT NULL
);
)");
    const QString indexes = QStringLiteral(R"(
CREATE INDEX "Modalités_NumCatégorie" ON "Modalités" ("NumCatégorie");
CREATE INDEX "Modalité-Syndrome_NumModalité" ON "Modalité-Syndrome" ("NumModalité", "NumSyndrome");
CREATE INDEX "Modalité-Syndrome_NumSyndrome" ON "Modalité-Syndrome" ("NumSyndrome", "NumModalité");
CREATE INDEX "Remplacements_NumModalité" ON "Remplacements" ("NumModalité");
)");
    return tables + indexes;
}

} // namespace Schema
