#pragma once

#include "Registry.h"

#include <QHash>
#include <QList>
#include <QString>

#include <cstring>

// A registry held in memory for the about box's tests: keys under HKEY_LOCAL_MACHINE with
// their values, and a record of every call made to it.
class FakeRegistry final : public Registry {
public:
    struct Value {
        quint32 type = 0;
        QByteArray bytes;
    };
    struct Opening {
        QByteArray path;
        quint32 options = 0;
        quint32 access = 0;
    };

    void setValue(const QByteArray &keyPath, const QByteArray &name, quint32 type, const QByteArray &bytes) {
        m_keys[keyPath].insert(name, Value{type, bytes});
    }
    void addKey(const QByteArray &keyPath) { m_keys[keyPath]; }
    // Every opening is refused, as for a user without the rights asked for.
    void refuseAccess() { m_refused = true; }

    QList<Opening> openings;
    int closings = 0;

    qint32 openKey(quint32 root, const QByteArray &path, quint32 options, quint32 access, Handle &key) override {
        openings.append(Opening{path, options, access});
        if (m_refused)
            return 5; // access denied
        if (root != LocalMachine || !m_keys.contains(path))
            return FileNotFound;
        m_open.insert(++m_lastHandle, path);
        key = m_lastHandle;
        return Success;
    }

    qint32 queryValue(Handle key, const QByteArray &name, quint32 &type, char *data, quint32 &size) override {
        if (!m_open.contains(key))
            return InvalidHandle;
        const auto values = m_keys.value(m_open.value(key));
        if (!values.contains(name))
            return FileNotFound;
        const Value value = values.value(name);
        type = value.type;
        const auto length = static_cast<quint32>(value.bytes.size());
        if (length > size) {
            size = length;
            return MoreData;
        }
        std::memcpy(data, value.bytes.constData(), length);
        size = length;
        return Success;
    }

    qint32 closeKey(Handle key) override {
        ++closings;
        return m_open.remove(key) ? Success : InvalidHandle;
    }

    // Keys opened and not closed yet.
    int openKeys() const { return int(m_open.size()); }

    bool opened(const QByteArray &path) const {
        for (const Opening &opening : openings)
            if (opening.path == path)
                return true;
        return false;
    }

private:
    QHash<QByteArray, QHash<QByteArray, Value>> m_keys;
    QHash<Handle, QByteArray> m_open;
    Handle m_lastHandle = 0;
    bool m_refused = false;
};
