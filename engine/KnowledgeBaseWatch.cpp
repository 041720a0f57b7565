#include "KnowledgeBaseWatch.h"

KnowledgeBaseWatch::KnowledgeBaseWatch(Identify identify) : m_identify(std::move(identify)) {}

void KnowledgeBaseWatch::watch(const QString &path)
{
    m_path = path;
    accept();
}

bool KnowledgeBaseWatch::replaced() const
{
    return !m_path.isEmpty() && m_identify(m_path) != m_inUse;
}

void KnowledgeBaseWatch::accept()
{
    m_inUse = m_path.isEmpty() ? std::nullopt : m_identify(m_path);
    ++m_generation;
}
