#include "DataSource.h"

#include "Database.h"
#include "Recordset.h"

DataSource::DataSource() = default;
DataSource::~DataSource() = default;

void DataSource::setDatabaseName(const QString &path)
{
    if (path == m_databaseName)
        return;
    m_recordset.reset();
    m_database.reset();
    m_databaseName = path;
}

Database &DataSource::database()
{
    if (!m_database)
        m_database = Database::open(m_databaseName); // a failed open is retried next time
    return *m_database;
}

void DataSource::close()
{
    m_recordset.reset();
    m_database.reset();
}

void DataSource::refresh()
{
    m_recordset.reset();
    m_recordset = database().openRecordset(m_recordSource);
}
