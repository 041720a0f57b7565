#pragma once

#include <QByteArray>
#include <QDate>
#include <QString>

#include <functional>
#include <optional>

// Where the program finds its files: the folder that holds the program file, and for an
// installed program the shared data folder beside it and the user's own data folder.
namespace AppPaths {

// The application folder as the platform reports it (no trailing separator).
QString applicationFolder();

// The application folder joined with a file name by the platform's own separator.
QString inApplicationFolder(const QString &fileName);

// What a knowledge-base file holds, for telling editions and changes apart: the edition of
// the bundled base it comes from (0 before editions were numbered) and the checksum of its
// knowledge (see KnowledgeBaseReader).
struct Stamp {
    int edition = 0;
    QByteArray checksum;
};

// Why a file operation failed, in the system's words; nothing when it was done.
using Failure = std::optional<QString>;

// The file operations the knowledge-base rule needs; tests replace them to make one fail.
struct FileOperations {
    // Whether the program may create and change files in the folder.
    std::function<bool(const QString &folder)> isWritableFolder;
    std::function<Failure(const QString &folder)> makeFolder;
    std::function<Failure(const QString &from, const QString &to)> copy;
    // Never replaces an existing `to`.
    std::function<Failure(const QString &from, const QString &to)> rename;
    std::function<void(const QString &path)> remove;
    // The file's edition, and the checksum of its knowledge (which reads it whole, so it is
    // asked only when editions differ); nothing when it cannot be read as a knowledge base.
    std::function<std::optional<int>(const QString &path)> edition;
    std::function<QByteArray(const QString &path)> checksum;

    static FileOperations system();
};

// What the program keeps of the user's copy from one run to the next (the settings store):
// the stamp of the bundled base it was made from, and the newest edition the user chose
// not to take in its place. An empty checksum is an origin not known.
struct CopyRecord {
    Stamp madeFrom;
    int keptAgainst = 0;
};
struct CopyMemory {
    std::function<std::optional<CopyRecord>()> read;
    std::function<void(const CopyRecord &)> write;
};

// Why the per-user copy of the knowledge base could not be made.
struct CopyFailure {
    enum class Step { None, MakeFolder, Copy, Rename };
    Step step = Step::None;
    QString target; // the per-user Signes.mdb that was to be made
    QString reason; // the system's text

    explicit operator bool() const { return step != Step::None; }
};

// The knowledge base the program uses, the folder of its help pages and the helper that
// reads Access files.
struct KnowledgeBase {
    KnowledgeBase() = default;
    KnowledgeBase(QString database, QString pageFolder, QString bundled, CopyFailure failure = {},
                  QString importHelper = {})
        : database(std::move(database)), pageFolder(std::move(pageFolder)), bundled(std::move(bundled)),
          failure(std::move(failure)), importHelper(std::move(importHelper))
    {}

    QString database;   // the Signes.mdb the program opens
    QString pageFolder; // INDEX.HTM and the other help pages
    QString bundled;    // the Signes.mdb shipped with the program (the per-user copy's source)
    CopyFailure failure;
    // A newer bundled edition replaced the user's copy, unchanged since it was made: the
    // copy as it was, kept beside it under a dated name.
    QString previousCopy;
    // A newer bundled edition the user may take in place of a copy they changed (0: none to
    // offer), and the dated name their copy would be kept under.
    int newEdition = 0;
    QString keptName;
    // The replacement of an unchanged copy by a newer edition failed: the copy is in place.
    CopyFailure editionFailure;
    QString importHelper; // tessavor-import

    bool isPerUserCopy() const { return database != bundled; }
};

// The knowledge-base rule. When `programFolder` holds Signes.mdb and is writable (the
// build tree, a portable copy), that file is the knowledge base and the help pages are
// beside it. Otherwise the program is installed: the bundled files are the program
// folder's when it holds Signes.mdb, else those of the shared data folder beside
// `programFolder` (<prefix>/bin → <prefix>/share/tessavor), and the knowledge base is the
// per-user copy in `userDataFolder`, made from the bundled Signes.mdb the first time and
// never replaced by the same edition, since it holds the user's edits and rebuilt weights. The copy
// goes to a temporary name, then is renamed; when it fails, nothing is left behind, the
// failure is reported and the bundled file is used as it is. With no Signes.mdb anywhere,
// the program folder's (absent) one is named, so the first query reports it missing.
//
// Editions: `memory` keeps the stamp of the bundled base each copy was made from. When the
// bundled edition is newer than that, a copy whose knowledge is unchanged is replaced (kept
// beside it as Signes-<date>.mdb), and a changed one is never touched: the new edition is
// offered instead (newEdition), once per edition. A copy made before copies were recorded
// is unchanged when its knowledge is that of a bundled base published before.
KnowledgeBase knowledgeBase(const QString &programFolder, const QString &userDataFolder,
                            const FileOperations &files = FileOperations::system(), const CopyMemory &memory = {},
                            QDate today = QDate::currentDate());

// The user takes the offered edition: their copy is kept under kb.keptName and the bundled
// file copied in its place. On a failure their copy stays where it was.
CopyFailure takeNewEdition(const KnowledgeBase &kb, const FileOperations &files = FileOperations::system(),
                           const CopyMemory &memory = {});
// The user keeps their copy: the offered edition is not offered again.
void keepCopy(const KnowledgeBase &kb, const CopyMemory &memory);

// The rule for the running program: its own folder and the user's data folder of the
// platform (~/.local/share/Tessavor on Linux).
KnowledgeBase knowledgeBase(const CopyMemory &memory);

// The import helper: beside the program (the build tree, a portable copy), else in the
// installed helper folder (<prefix>/bin → <prefix>/libexec/tessavor).
QString importHelper(const QString &programFolder);

} // namespace AppPaths
