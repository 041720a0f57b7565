#pragma once

#include "JetImport.h"

#include <QDate>
#include <QDateTime>
#include <QString>

#include <functional>
#include <optional>

class DatabaseError;
class ImportFiles;

// When a practitioner's Access knowledge base is brought over, and what becomes of the
// program's connections and of the visit: the offer to convert an Access file found as
// the knowledge base (at start-up, or by a command that opened the base), and the menu
// command that replaces the knowledge base by a chosen Access file. The questions, the
// progress window and the messages are hooks: this class decides, the windows show.
class KnowledgeBaseImport
{
public:
    // What the practitioner is asked before anything changes.
    struct Question {
        QString source;        // the Access file
        QString knowledgeBase; // the knowledge base it becomes (the same file) or replaces
        QString keptCopy;      // where the file now at knowledgeBase will lie; empty if none
        bool emptiesVisit = false;

        bool inPlace() const { return source == knowledgeBase; }
    };

    // Receives the work done so far and the work in all.
    using Progress = JetImport::Progress;
    using Work = std::function<void(const Progress &progress)>;

    struct Hooks {
        // The offer or the confirmation, OK / Annuler; true for OK.
        std::function<bool(const Question &question)> ask;
        // Runs `work` at once, with the progress window when `showProgress`; lets the
        // DatabaseError that `work` throws through.
        std::function<void(bool showProgress, const Work &work)> run;
        // Lets go of every connection the program holds on the knowledge base; the next
        // query opens whatever file then bears its name.
        std::function<void()> closeConnections;
        std::function<bool()> visitHasSigns;
        std::function<void()> emptyVisit;
        std::function<void(const JetImport::Summary &summary)> imported;
        std::function<void(const DatabaseError &error)> refused;
    };

    enum class Outcome {
        NotOffered, // nothing asked: the caller tells what it would have told without import
        Declined,   // the practitioner answered Annuler: nothing changed
        Imported,   // the knowledge base is the converted file, and the summary was shown
        Refused     // the import failed and was told: the files are as they were
    };

    // Access files from this size on get the progress window; smaller ones come over in
    // a fraction of a second, and a window flashing past would only startle.
    static constexpr qint64 ProgressFromBytes = qint64(1) << 20;

    KnowledgeBaseImport(QString knowledgeBase, Hooks hooks, ImportFiles &files);
    KnowledgeBaseImport(QString knowledgeBase, Hooks hooks);

    // Whether this build imports at all (it does when built with libmdb).
    static bool isAvailable();

    const QString &knowledgeBase() const { return m_knowledgeBase; }
    // The date the kept copies are named after; the day of the question unless set.
    void setDate(QDate date) { m_date = date; }

    // `path` was found to be an Access file, or may be one (at start-up). Offers to
    // convert it where it lies when it is the knowledge base, an Access file, this build
    // imports, and the practitioner has not been asked about this very file before: once
    // declined or refused, a file is not offered again until it changes, and each use of
    // the base tells the plain message instead. The visit is emptied only if it holds
    // signs, which then come from a former base.
    Outcome offerConversion(const QString &path);

    // The menu command, once the practitioner has chosen `jetPath` (empty: cancelled).
    // The knowledge base is replaced after a confirmation; the visit is emptied.
    Outcome replaceBy(const QString &jetPath);

private:
    // A file as it was when asked about: the same name with another size or date is
    // another file.
    struct Stamp {
        QString path;
        qint64 size = -1;
        QDateTime modified;
        bool operator==(const Stamp &) const = default;
    };
    static Stamp stampOf(const QString &path);

    Outcome import(const QString &jetPath, bool emptiesVisit);

    QString m_knowledgeBase;
    Hooks m_hooks;
    ImportFiles &m_files;
    QDate m_date;
    std::optional<Stamp> m_askedAbout;
    bool m_busy = false;
};
