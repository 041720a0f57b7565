#pragma once

#include "AppPaths.h"

#include <QString>

class DatabaseError;
class QWidget;

// Tells the practitioner, in French, that the knowledge base could not be used: which
// file, and why (missing, not a database, an Access file to convert, locked, or the
// engine's own message). The program goes on for what does not need the database.
namespace DatabaseMessage {

void show(QWidget *parent, const DatabaseError &error);

// Why a file held by another program (an outside editor) cannot be used, and what to do.
QString lockedAdvice();

// Tells that the user's own copy of the knowledge base could not be made, and that the
// program works for this run on `used`, the bundled file, which it cannot change.
void showCopyFailure(QWidget *parent, const AppPaths::CopyFailure &failure, const QString &used);

} // namespace DatabaseMessage
