#include "Workspace.h"

#include "Database.h"

Workspace::Workspace(QString name, QString user, QString password)
    : m_name(std::move(name)), m_user(std::move(user)), m_password(std::move(password))
{}

std::unique_ptr<Database> Workspace::openDatabase(const QString &path)
{
    return Database::open(path);
}

DbEngine &DbEngine::instance()
{
    static DbEngine engine;
    return engine;
}

std::unique_ptr<Workspace> DbEngine::createWorkspace(const QString &name, const QString &user, const QString &password)
{
    return std::make_unique<Workspace>(name, user, password);
}
