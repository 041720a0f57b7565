#include "DatabaseError.h"

DatabaseError::DatabaseError(Kind kind, QString path, QString engineMessage, QList<Detail> details)
    : std::runtime_error((path + QStringLiteral(": ") + engineMessage).toStdString()), m_kind(kind),
      m_path(std::move(path)), m_engineMessage(std::move(engineMessage)), m_details(std::move(details))
{}
