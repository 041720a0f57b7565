#pragma once

#include <QString>

#include <memory>

class Database;
class Recordset;

// A bound data source: a database name and a record source (the statement); each
// refresh runs the statement and replaces the current result. The file is opened by the
// first refresh, not before, and stays open for the life of the source or until close().
class DataSource
{
public:
    DataSource();
    ~DataSource();
    Q_DISABLE_COPY_MOVE(DataSource)

    void setDatabaseName(const QString &path);
    const QString &databaseName() const { return m_databaseName; }
    void setRecordSource(const QString &statement) { m_recordSource = statement; }
    const QString &recordSource() const { return m_recordSource; }

    // Runs the record source; throws DatabaseError (the previous result is gone either way).
    void refresh();
    // The source's open database, opened now if no refresh has opened it yet; throws
    // DatabaseError. For statements that are not a record source (the word search).
    Database &database();

    // Lets go of the file: the result and the connection, with its prepared statements,
    // are dropped, and the next refresh opens the file named anew. After the file was
    // replaced, that is the new one.
    void close();

    // The current result, or nullptr before the first successful refresh.
    Recordset *recordset() const { return m_recordset.get(); }

private:
    QString m_databaseName;
    QString m_recordSource;
    std::unique_ptr<Database> m_database;
    std::unique_ptr<Recordset> m_recordset;
};
