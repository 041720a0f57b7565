#pragma once

#include <QString>

#include <functional>

// Where the program finds its files: the folder that holds the program file, and for an
// installed program the shared data folder beside it and the user's own data folder.
namespace AppPaths {

// The application folder as the platform reports it (no trailing separator).
QString applicationFolder();

// The application folder joined with a file name by the platform's own separator.
QString inApplicationFolder(const QString &fileName);

// The file operations the knowledge-base rule needs. Each returns an empty text on success,
// else the system's reason; tests replace them to make one fail.
struct FileOperations {
    // Whether the program may create and change files in the folder.
    std::function<bool(const QString &folder)> isWritableFolder;
    std::function<QString(const QString &folder)> makeFolder;
    std::function<QString(const QString &from, const QString &to)> copy;
    // Never replaces an existing `to`.
    std::function<QString(const QString &from, const QString &to)> rename;
    std::function<void(const QString &path)> remove;

    static FileOperations system();
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
    QString database;   // the Signes.mdb the program opens
    QString pageFolder; // INDEX.HTM and the other help pages
    QString bundled;    // the Signes.mdb shipped with the program (the per-user copy's source)
    CopyFailure failure;
    QString importHelper; // tessavor-import

    bool isPerUserCopy() const { return database != bundled; }
};

// The knowledge-base rule. When `programFolder` holds Signes.mdb and is writable (the
// build tree, a portable copy), that file is the knowledge base and the help pages are
// beside it. Otherwise the program is installed: the bundled files are the program
// folder's when it holds Signes.mdb, else those of the shared data folder beside
// `programFolder` (<prefix>/bin → <prefix>/share/tessavor), and the knowledge base is the
// per-user copy in `userDataFolder`, made from the bundled Signes.mdb the first time and
// never replaced afterwards, since it holds the user's edits and rebuilt weights. The copy
// goes to a temporary name, then is renamed; when it fails, nothing is left behind, the
// failure is reported and the bundled file is used as it is. With no Signes.mdb anywhere,
// the program folder's (absent) one is named, so the first query reports it missing.
KnowledgeBase knowledgeBase(const QString &programFolder, const QString &userDataFolder,
                            const FileOperations &files = FileOperations::system());

// The rule for the running program: its own folder and the user's data folder of the
// platform (~/.local/share/Tessavor on Linux).
KnowledgeBase knowledgeBase();

// The import helper: beside the program (the build tree, a portable copy), else in the
// installed helper folder (<prefix>/bin → <prefix>/libexec/tessavor).
QString importHelper(const QString &programFolder);

} // namespace AppPaths
