#include "Recordset.h"

#include "Connection.h"

#include <sqlite3.h>

#include <limits>

Recordset::Recordset(QStringList columns, QVariantList cells, QString path)
    : m_columns(std::move(columns)), m_cells(std::move(cells)), m_path(std::move(path)),
      m_rowCount(m_columns.isEmpty() ? 0 : static_cast<int>(m_cells.size() / m_columns.size()))
{}

Recordset::Recordset(QStringList columns, QVariantList cells, std::shared_ptr<Connection> connection, QString table)
    : Recordset(std::move(columns), std::move(cells), connection->path())
{
    m_connection = std::move(connection);
    m_table = std::move(table);
}

Recordset::~Recordset() = default;

void Recordset::moveNext()
{
    if (m_position < m_rowCount)
        ++m_position;
}

int Recordset::columnIndex(QStringView name) const
{
    for (qsizetype c = 0; c < m_columns.size(); ++c)
        if (QStringView(m_columns[c]).compare(name, Qt::CaseInsensitive) == 0)
            return int(c);
    return -1;
}

QVariant Recordset::field(QStringView name) const
{
    const int c = columnIndex(name);
    const QString &where = m_path;
    if (c < 0)
        throw DatabaseError(DatabaseError::Kind::NoSuchColumn, where,
                            QStringLiteral("colonne inconnue dans le résultat : %1").arg(name),
                            {{{}, name.toString(), {}, {}, {}}});
    if (isEof())
        throw DatabaseError(DatabaseError::Kind::Failed, where, QStringLiteral("aucun enregistrement courant"));
    return m_cells[qsizetype(m_position) * m_columns.size() + c];
}

qint32 Recordset::whole(QStringView name, const QString &table, DatabaseError::Kind kind) const
{
    const QVariant value = field(name);
    const bool integer = value.typeId() == QMetaType::LongLong;
    const qlonglong number = value.toLongLong();
    if (integer && number >= std::numeric_limits<qint32>::min() && number <= std::numeric_limits<qint32>::max())
        return static_cast<qint32>(number);
    const QString found = value.isNull() ? QString() : value.toString();
    throw DatabaseError(kind, m_path,
                        QStringLiteral("%1.%2 = %3 : ce n'est pas un entier signé de 32 bits")
                            .arg(table, name, value.isNull() ? QStringLiteral("NULL") : found),
                        {{table, name.toString(), found, {}, {}}});
}

qint32 Recordset::key(QStringView name, const QString &table) const
{
    return whole(name, table, DatabaseError::Kind::BadKey);
}

qint32 Recordset::weight(QStringView name, const QString &table) const
{
    return whole(name, table, DatabaseError::Kind::BadWeight);
}

void Recordset::addNew()
{
    if (!m_connection)
        throw DatabaseError(DatabaseError::Kind::Failed, m_path,
                            QStringLiteral("ce résultat n'accepte pas l'ajout de lignes"));
    m_pending.clear();
    m_adding = true;
}

void Recordset::setField(const QString &name, const QVariant &value)
{
    if (!m_adding)
        throw DatabaseError(DatabaseError::Kind::Failed, m_path, QStringLiteral("aucun ajout en cours"));
    for (auto &[column, pending] : m_pending)
        if (column.compare(name, Qt::CaseInsensitive) == 0) {
            pending = value;
            return;
        }
    m_pending.append({name, value});
}

void Recordset::update()
{
    if (!m_adding)
        throw DatabaseError(DatabaseError::Kind::Failed, m_path, QStringLiteral("aucun ajout en cours"));
    m_adding = false;
    bool sameColumns = m_insertColumns.size() == m_pending.size();
    for (qsizetype c = 0; sameColumns && c < m_pending.size(); ++c)
        sameColumns = m_insertColumns[c] == m_pending[c].first;
    if (!sameColumns) {
        m_insertColumns.clear();
        QStringList names;
        QStringList marks;
        for (const auto &[column, value] : std::as_const(m_pending)) {
            m_insertColumns.append(column);
            names.append(QLatin1Char('"') + QString(column).replace(QLatin1Char('"'), QStringLiteral("\"\"")) +
                         QLatin1Char('"'));
            marks.append(QStringLiteral("?"));
        }
        // Values are bound, never written into the text: the same prepared statement then
        // serves every appended row.
        m_insertText = QStringLiteral("INSERT INTO \"%1\" (%2) VALUES (%3)")
                           .arg(QString(m_table).replace(QLatin1Char('"'), QStringLiteral("\"\"")),
                                names.join(QLatin1Char(',')), marks.join(QLatin1Char(',')));
    }
    sqlite3_stmt *stmt = m_connection->prepare(m_insertText);
    int index = 1;
    for (const auto &[column, value] : std::as_const(m_pending)) {
        int rc;
        if (value.isNull())
            rc = sqlite3_bind_null(stmt, index);
        else if (value.typeId() == QMetaType::QString) {
            const QByteArray utf8 = value.toString().toUtf8();
            rc = sqlite3_bind_text(stmt, index, utf8.constData(), int(utf8.size()), SQLITE_TRANSIENT);
        } else if (value.typeId() == QMetaType::Double || value.typeId() == QMetaType::Float)
            rc = sqlite3_bind_double(stmt, index, value.toDouble());
        else
            rc = sqlite3_bind_int64(stmt, index, value.toLongLong());
        m_connection->check(rc);
        ++index;
    }
    const int rc = sqlite3_step(stmt);
    sqlite3_reset(stmt);
    m_connection->check(rc);
    m_pending.clear();
}

void Recordset::close()
{
    m_cells.clear();
    m_rowCount = 0;
    m_position = 0;
    m_connection.reset();
    m_pending.clear();
    m_adding = false;
}
