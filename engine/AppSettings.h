#pragma once

#include "AppPaths.h"
#include "Ranking.h"

#include <QDateTime>
#include <QString>

#include <memory>
#include <optional>

class QSettings;

// The per-user settings store: the application's title ("Tessavor"), section "Settings". The
// values kept are the five method choices, "Méthode 1" … "Méthode 5", "1" or "0", and what
// the program knows of the user's copy of the knowledge base: "Base édition" and "Base
// empreinte", the edition and checksum of the bundled base it was made from, and "Base
// édition gardée", the newest edition the user chose not to take in its place.
class AppSettings
{
public:
    // A file as it was at one moment: the same name with another size or modification time
    // is another file.
    struct FileStamp {
        QString path;
        qint64 size = -1;
        QDateTime modified;
        bool operator==(const FileStamp &) const = default;
    };
    static FileStamp stampOf(const QString &path);

    // The user's own store.
    AppSettings();
    // A store in a file of its own (tests never touch the user's settings).
    explicit AppSettings(const QString &iniFile);
    ~AppSettings();

    static QString methodKey(int method);

    // 0 when the method is stored as not chosen ("0"), else 1: a missing key, and any other
    // value (a 2, a text that is no number), reads as chosen, as its ticked box shows it.
    int readMethod(int method) const;
    // The five, as MéthodeActive holds them (index 0 unused).
    MethodTable readMethods() const;
    // False when the store could not keep it (its file a folder, read-only, on a full disk).
    [[nodiscard]] bool writeMethod(int method, int value);

    // Where the store keeps its values, as the practitioner would look for it.
    QString fileName() const;

    // The record of the user's copy, read and written in this store.
    AppPaths::CopyMemory copyMemory();

    // The knowledge base whose offered conversion crashed the import helper or ran past its
    // time: not offered again at start-up until it changes.
    std::optional<FileStamp> failedImport() const;
    void setFailedImport(const std::optional<FileStamp> &file);

    // The raw text under a key of the section, for tests and diagnostics.
    QString rawValue(const QString &key) const;
    [[nodiscard]] bool setRawValue(const QString &key, const QString &value);

private:
    std::unique_ptr<QSettings> m_settings;
};
