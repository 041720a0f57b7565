#pragma once

#include "AppSettings.h"
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
// progress window and the messages are hooks: this class decides, the windows show. The
// file is read by the converter given (the import helper, for the program).
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

    // `settings`, when given, keeps the knowledge base whose conversion made the helper fail
    // from one run to the next.
    KnowledgeBaseImport(QString knowledgeBase, Hooks hooks, JetImport::Converter converter, ImportFiles &files,
                        AppSettings *settings = nullptr);
    KnowledgeBaseImport(QString knowledgeBase, Hooks hooks, JetImport::Converter converter,
                        AppSettings *settings = nullptr);

    // Whether this build imports at all (it does when built with libmdb).
    static bool isAvailable();

    const QString &knowledgeBase() const { return m_knowledgeBase; }
    // The date the kept copies are named after; the day of the question unless set.
    void setDate(QDate date) { m_date = date; }

    // `path` was found to be an Access file, or may be one (at start-up). Offers to
    // convert it where it lies when it is the knowledge base, an Access file, this build
    // imports, and the practitioner has not been asked about this very file before: once
    // declined or refused, a file is not offered again in this run until it changes, and
    // each use of the base tells the plain message instead. A file whose reading crashed
    // the helper or ran past its time is not offered again in later runs either, until it
    // changes: the offer would come back at every start. The visit is emptied only if it
    // holds signs, which then come from a former base.
    Outcome offerConversion(const QString &path);

    // The menu command, once the practitioner has chosen `jetPath` (empty: cancelled).
    // The knowledge base is replaced after a confirmation; the visit is emptied. A file
    // that cannot be read, or is no Access file, is refused before any question.
    Outcome replaceBy(const QString &jetPath);

private:
    using Stamp = AppSettings::FileStamp;

    Outcome import(const QString &jetPath, bool emptiesVisit);

    QString m_knowledgeBase;
    Hooks m_hooks;
    JetImport::Converter m_converter;
    ImportFiles &m_files;
    AppSettings *m_settings;
    QDate m_date;
    std::optional<Stamp> m_askedAbout;
    bool m_busy = false;
    bool m_helperFailed = false; // the last import ended with the helper crashed or stopped
};
