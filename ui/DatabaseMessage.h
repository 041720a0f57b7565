#pragma once

#include "AppPaths.h"

#include <QString>

#include <functional>

class DatabaseError;
class QWidget;

// Tells the practitioner, in French, that the knowledge base could not be used: which file,
// why, and what to do. Every window that meets a database failure words it here (the
// import's refusals are worded by JetImportText); the engine's own message, in its own
// language, goes only into the box's details. The program goes on for what does not need
// the database.
namespace DatabaseMessage {

// Why, as a clause: "la table « Valorisation » est absente", "le fichier est endommagé".
QString reason(const DatabaseError &error);
// What the practitioner can do about it, as sentences; empty when there is nothing to do.
QString advice(const DatabaseError &error);
// The whole text of the box: the file, why, and what to do.
QString text(const DatabaseError &error);

// Shows `text(error)` with a beep and the critical icon, the engine's message as details.
void show(QWidget *parent, const DatabaseError &error);
// The same for a command that frames the failure in its own words (`text`) and title.
void show(QWidget *parent, const QString &text, const DatabaseError &error, const QString &title);

// The step a command takes when it met an Access file where the knowledge base should be,
// before it tells the failure: the import's offer. True when the offer was made (and its
// outcome told), so that the command has nothing more to tell.
using ImportOffer = std::function<bool(const DatabaseError &error)>;

// Tells that another program replaced the knowledge base at `path` (or took it away) while
// Tessavor ran, that Tessavor now uses what is there, and whether the visit was emptied.
void showReplaced(QWidget *parent, const QString &path, bool visitEmptied);

// Tells that the user's own copy of the knowledge base could not be made, and that the
// program works for this run on `used`, the bundled file, which it cannot change.
void showCopyFailure(QWidget *parent, const AppPaths::CopyFailure &failure, const QString &used);

} // namespace DatabaseMessage
