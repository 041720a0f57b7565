#pragma once

#include "DatabaseError.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <memory>

class Connection;

// The rows of a SELECT, read in full when it is opened so that the row count is known at
// once. Positions run from the first row to the end position just past the last one.
// Moving on a result with no row does nothing, and moving next past the last row lands on
// the end position and stays there; only reading a field there fails.
class Recordset
{
public:
    // `cells`: the values of every row, row after row, as many per row as there are columns;
    // `path`: the file they were read from, named by the failures.
    Recordset(QStringList columns, QVariantList cells, QString path = {});
    // A result that accepts appended rows for `table` (opened by "SELECT * FROM table").
    Recordset(QStringList columns, QVariantList cells, std::shared_ptr<Connection> connection, QString table);
    ~Recordset();

    int recordCount() const { return m_rowCount; }
    bool isEof() const { return m_position >= m_rowCount; }
    void moveNext();

    // The value of a named column of the current row (names compare without case).
    QVariant field(QStringView name) const;
    // A number that identifies a row of `table` (NumModalité, NumSyndrome, NumCatégorie):
    // a value that is no signed 32-bit whole number is a damaged base, refused with
    // Kind::BadKey, never cut down to one.
    qint32 key(QStringView name, const QString &table) const;
    // A sign's weight, or a sum of weights, from `table`: a value that is empty, not a
    // whole number or past a signed 32-bit number is a damaged base, refused with
    // Kind::BadWeight rather than shown as a number it is not. A whole weight that merely
    // differs from the weight rule is read as it is.
    qint32 weight(QStringView name, const QString &table) const;

    // Appending a row: addNew, then setField for the columns given, then update.
    void addNew();
    void setField(const QString &name, const QVariant &value);
    void update();

    void close();

private:
    int columnIndex(QStringView name) const;
    // The value as a signed 32-bit whole number; `kind` is thrown when it is none.
    qint32 whole(QStringView name, const QString &table, DatabaseError::Kind kind) const;

    QStringList m_columns;
    QVariantList m_cells;
    QString m_path;
    int m_rowCount = 0;
    int m_position = 0;

    std::shared_ptr<Connection> m_connection;
    QString m_table;
    QList<std::pair<QString, QVariant>> m_pending;
    bool m_adding = false;
    // The INSERT of the last update and the columns it names: rows appended one by one
    // mostly name the same columns, and then reuse it as it stands.
    QStringList m_insertColumns;
    QString m_insertText;
};
