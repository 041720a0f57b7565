#pragma once

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QString>
#include <QVariant>

// Writes small Access (Jet 3 and Jet 4) files for the import tests: no tool on these
// machines writes them, and sample files found elsewhere carry no licence. Only what a
// reader needs to find and read plain tables is written: the header, the catalogue of
// objects, one definition page per table, usage maps and data pages; no index, no
// long value page. Every text fits in a Text column (255 characters at most).
namespace JetWriter {

enum class Format {
    Jet3,          // 2 KiB pages, text in the file's code page (Windows-1252)
    Jet4,          // 4 KiB pages, text as UTF-16
    Jet4Compressed // as Jet4, with each text compressed where the format allows it
};

// LongBinary columns are declared only, every value null (as the catalogue's property
// column may be).
enum class Type { Byte, Integer, LongInteger, Double, Text, LongBinary };

struct Column {
    QString name;
    Type type;
};

// A cell is a null QVariant, a whole number (for the integer types; bytes, integers and
// long integers are stored with their own width, so the caller keeps within it), a
// double, a QString, or a QByteArray written as it is into a text column (a damaged text).
struct Table {
    QString name;
    QList<Column> columns;
    QList<QVariantList> rows;
};

// The written file and where its pages went, so tests can damage it on purpose.
struct Image {
    QByteArray bytes;
    int pageSize = 0;
    QHash<QString, int> definitionPage;                       // table name → its definition page
    QHash<QString, QList<int>> dataPages;                     // table name → its data pages, in order
    QHash<QString, std::pair<qsizetype, qsizetype>> usageMap; // table name → where its usage map lies, and its size
};

Image write(Format format, const QList<Table> &tables);

// Damage that once crashed the reader of a program: a table definition declaring 0xFFFF
// columns, a table definition page of zeros, a usage map with every bit flipped, a usage
// map of no bytes at all (the definition points at an empty row).
enum class Damage { ColumnCount, ZeroedDefinition, FlippedUsageMap, EmptyUsageMap };
void damage(Image &image, const QString &table, Damage damage);
bool writeFile(const QString &path, Format format, const QList<Table> &tables);

// The five tables of a knowledge base (SQLite file) with the column types a practitioner's
// Access base has: long integer keys, text names, byte weights.
QList<Table> tablesOf(const QString &knowledgeBasePath);

// The five tables with the columns and types of a practitioner's base, without rows.
QList<Table> emptyKnowledgeBase();

} // namespace JetWriter
