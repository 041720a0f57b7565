#pragma once

#include <QString>

#include <memory>

class Database;

// A session on the engine for one command (the weight rebuild, the printing): it opens
// the database that the command uses and is closed after it. The engine has no users,
// so the user name and password are kept only for the record.
class Workspace
{
public:
    Workspace(QString name, QString user, QString password);
    Q_DISABLE_COPY_MOVE(Workspace)

    std::unique_ptr<Database> openDatabase(const QString &path);
    void close() { m_open = false; }
    bool isOpen() const { return m_open; }
    const QString &userName() const { return m_user; }

private:
    QString m_name;
    QString m_user;
    QString m_password;
    bool m_open = true;
};

// The engine object from which workspaces are made: created on first use and shared.
class DbEngine
{
public:
    static DbEngine &instance();
    std::unique_ptr<Workspace> createWorkspace(const QString &name, const QString &user, const QString &password);

private:
    DbEngine() = default;
};
