#pragma once

#include "ListEntry.h"
#include "RegionalClock.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <functional>

class Database;
class PrintDevice;

// The printed report of the current visit: a dated header, the recorded signs, then the
// five best-ranked syndromes, each followed by those of its supporting signs that were
// recorded. It reads the two lists as given and the knowledge base through a connection
// of its own, and changes nothing.
class VisitReport
{
public:
    VisitReport(QList<ListEntry> signes, QList<ListEntry> syndromes, QString databasePath, RegionalClock clock,
                PrintDevice &device);

    // Opens the database, prints the whole document and ends it, then closes the database.
    // Throws DatabaseError when the database fails (before anything is printed if it cannot
    // be opened); whatever the device throws passes through too.
    void print();

    // A page is finished once a line leaves the position lower than this, in centimetres;
    // exactly at it the page goes on.
    static constexpr double PageLimit = 24.0;
    static constexpr int MaxSyndromes = 5;

    static QString headerText(const RegionalClock &clock, const QDateTime &when);

    // A text cut at blanks into pieces no wider than `available` (a word wider than that
    // alone is cut between letters). A text that fits is one piece.
    static QStringList wrap(const QString &text, double available, const std::function<double(const QString &)> &width);

private:
    void printSignsSection();
    void printSyndromesSection(Database &db);
    // The numbers of the syndrome's signs, in the order of their texts.
    QList<qint32> supportingSigns(Database &db, qint32 syndrome) const;
    void pageTest();
    // Every line goes through these two, so that a page is only started once a line is
    // about to be printed on it, and a line too wide for the page is wrapped.
    void line(const QString &text);
    void emptyLine();

    QList<ListEntry> m_signes;
    QList<ListEntry> m_syndromes;
    QString m_databasePath;
    RegionalClock m_clock;
    PrintDevice &m_device;
    // A page test asked for a new page that no line has needed yet, and the empty lines
    // that will open it.
    bool m_breakPending = false;
    int m_pendingEmptyLines = 0;
};
