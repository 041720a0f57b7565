#pragma once

#include "KnowledgeBaseRows.h"

#include <QDate>
#include <QString>
#include <QStringList>

#include <functional>

class ImportFiles;

// Brings a practitioner's Access (Jet 3 or Jet 4) knowledge base over into a knowledge
// base of the program's own, and never loses anything on the way: the Access file is read
// whole and checked and the new file written beside it under a temporary name and read
// back (by the converter: the import helper, a process of its own), and only then do the
// files change names. Any failure leaves the files as they were, without a temporary
// file, and throws DatabaseError.
class JetImport
{
public:
    // What came over. The weights are brought as they are; `weightsDiffering` counts the
    // signs whose weight is not the one the weight rule gives (10 minus its links, 1 from
    // ten links on; no weight without a link).
    struct Summary {
        int version = 0;       // Jet generation of the file read: 3 or 4
        QString source;        // the Access file read (as it was named)
        QString knowledgeBase; // the knowledge base written
        QString keptCopy;      // where the file replaced now lies; empty if none was
        qint64 categories = 0;
        qint64 modalities = 0;
        qint64 syndromes = 0;
        qint64 links = 0;
        qint64 weights = 0;
        qint64 weightsDiffering = 0;
        QStringList otherTables;                            // tables of the Access file left behind
        QStringList otherColumns;                           // "Table.Column" left behind
        QList<KnowledgeBaseRows::AlteredText> alteredTexts; // brought over as they could be read
    };

    // Receives the work done so far and the work in all (rows read, then rows written).
    using Progress = std::function<void(qint64 done, qint64 total)>;

    // Reads the Access file at `jetPath` and writes its content, checked, as the new file
    // `converted` (which no file bears); returns what came over, the paths left empty. On
    // failure no file is left at `converted`, and it throws DatabaseError.
    using Converter = std::function<Summary(const QString &jetPath, const QString &converted, const Progress &)>;

    JetImport(ImportFiles &files, Converter converter);

    // Whether this build reads Access files at all (the helper is built with libmdb).
    static bool isAvailable();
    // Whether the file is an Access (Jet) file, from its first bytes; works in any build.
    static bool isJetFile(const QString &path);
    // Whether both names lead to one file: replacing a base by itself converts it in place.
    static bool isSameFile(const QString &a, const QString &b);

    void setProgress(Progress progress) { m_progress = std::move(progress); }
    // The date the kept copies are named after; today unless set.
    void setDate(QDate date) { m_date = date; }

    // Converts the Access file at `jetPath` where it lies: the file is renamed
    // "<name>-access-<yyyy-MM-dd>.mdb" (numbered "-2", "-3"... when taken) and the new
    // knowledge base takes its name.
    Summary convertInPlace(const QString &jetPath);

    // Replaces the knowledge base at `basePath` by the content of the Access file at
    // `jetPath`, which is left as it is. The former base is first kept beside it as
    // "<name>-<yyyy-MM-dd>.mdb" (numbered when taken). The caller closes its own
    // connections to `basePath` first and reopens them afterwards.
    Summary replaceWith(const QString &jetPath, const QString &basePath);

    // The name the file now at `basePath` will bear once replaceWith(jetPath, basePath)
    // has run (convertInPlace when both name one file), as things stand and with the date
    // as set; empty when no file lies there. The practitioner is told this very name
    // before the import.
    QString keptCopyName(const QString &jetPath, const QString &basePath);

private:
    // The first name of the form "<stem>.<suffix>", "<stem>-2.<suffix>", ... in `folder`
    // that no file bears.
    QString freeName(const QString &folder, const QString &stem, const QString &suffix);
    Summary convert(const QString &jetPath, const QString &basePath);

    ImportFiles &m_files;
    Converter m_converter;
    Progress m_progress;
    QDate m_date;
};
