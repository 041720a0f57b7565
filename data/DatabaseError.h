#pragma once

#include <QString>

#include <stdexcept>

// A failure of the database engine, carrying the engine's own message. The data layer
// never shows a window: the caller decides what the practitioner sees.
class DatabaseError : public std::runtime_error
{
public:
    enum class Kind {
        Missing,     // the file does not exist
        NotDatabase, // the file exists but is no database we can read
        AccessFile,  // an Access/Jet file, which must be converted first
        Locked,      // another program holds the file longer than we wait
        Failed       // any other failure of the engine (bad statement, missing table...)
    };

    DatabaseError(Kind kind, QString path, QString engineMessage);

    Kind kind() const { return m_kind; }
    const QString &path() const { return m_path; }
    const QString &engineMessage() const { return m_engineMessage; }

private:
    Kind m_kind;
    QString m_path;
    QString m_engineMessage;
};
