#include "VisitReport.h"

#include "Database.h"
#include "PrintDevice.h"
#include "Recordset.h"
#include "Statements.h"

#include <algorithm>

namespace {

const QString FaceName = QStringLiteral("Times New Roman");
constexpr double TitleSize = 12;
constexpr double BodySize = 10;

} // namespace

VisitReport::VisitReport(QList<ListEntry> signes, QList<ListEntry> syndromes, QString databasePath, RegionalClock clock,
                         PrintDevice &device)
    : m_signes(std::move(signes)), m_syndromes(std::move(syndromes)), m_databasePath(std::move(databasePath)),
      m_clock(std::move(clock)), m_device(device)
{}

QString VisitReport::headerText(const RegionalClock &clock, const QDateTime &when)
{
    return QStringLiteral("Etat de la visite en cours le ") + clock.dateText(when) + QStringLiteral(" à ") +
           clock.timeText(when);
}

void VisitReport::print()
{
    std::unique_ptr<Database> db = Database::open(m_databasePath);

    m_device.setScaleMode(PrintDevice::ScaleMode::Centimetres);
    m_device.setFontName(FaceName);
    m_device.setFontSize(TitleSize);
    m_device.setFontBold(true);
    m_device.setCurrentX(5);
    // Date and time are read together, so that a print at midnight cannot pair one day's
    // date with the next day's time.
    line(headerText(m_clock, m_clock.now()));
    emptyLine();
    line(QStringLiteral("Liste des symptômes constatés"));
    emptyLine();

    printSignsSection();
    printSyndromesSection(*db);

    m_device.endDoc();
    db->close();
}

void VisitReport::printSignsSection()
{
    m_device.setFontBold(false);
    m_device.setFontSize(BodySize);
    for (const ListEntry &sign : std::as_const(m_signes)) {
        m_device.setCurrentX(1);
        line(sign.text);
    }
    emptyLine();
}

void VisitReport::printSyndromesSection(Database &db)
{
    m_device.setFontBold(true);
    m_device.setFontSize(TitleSize);
    line(QStringLiteral("Liste des syndromes classés à partir du plus pertinent (Seulement les 5 premiers)"));
    emptyLine();
    m_device.setFontSize(BodySize);

    const int count = std::min(static_cast<int>(m_syndromes.size()), MaxSyndromes);
    for (int i = 0; i < count; ++i) {
        const ListEntry &syndrome = m_syndromes.at(i);
        m_device.setFontBold(true);
        pageTest();
        m_device.setCurrentX(1);
        line(QString::number(i + 1) + QStringLiteral(") ") + syndrome.text);

        const QList<qint32> supporting = supportingSigns(db, syndrome.data);
        m_device.setFontBold(false);
        // By number, in the base's order: a sign whose weight was rebuilt during the visit is
        // still the sign that the ranking counted for this syndrome.
        for (const qint32 number : supporting) {
            for (const ListEntry &sign : std::as_const(m_signes)) {
                if (sign.data != number)
                    continue;
                m_device.setCurrentX(2);
                line(sign.text);
                pageTest();
            }
        }
        emptyLine();
    }
}

QList<qint32> VisitReport::supportingSigns(Database &db, qint32 syndrome) const
{
    std::unique_ptr<Recordset> rs = db.openRecordset(Statements::syndromeSigns(syndrome));
    QList<qint32> numbers;
    numbers.reserve(rs->recordCount());
    for (; !rs->isEof(); rs->moveNext())
        numbers.append(rs->key(u"NumModalité", QStringLiteral("Modalités")));
    rs->close();
    return numbers;
}

void VisitReport::pageTest()
{
    if (m_device.currentY() > PageLimit)
        m_breakPending = true;
}

void VisitReport::emptyLine()
{
    if (m_breakPending)
        ++m_pendingEmptyLines;
    else
        m_device.print();
}

void VisitReport::line(const QString &text)
{
    if (m_breakPending) {
        const double x = m_device.currentX();
        m_device.newPage();
        for (; m_pendingEmptyLines > 0; --m_pendingEmptyLines)
            m_device.print();
        m_device.setCurrentX(x);
        m_breakPending = false;
    }
    const double available = m_device.printableWidth() - m_device.currentX();
    const QStringList pieces = wrap(text, available, [this](const QString &t) { return m_device.textWidth(t); });
    if (pieces.size() > 1)
        m_device.print(pieces);
    else
        m_device.print(text);
}

QStringList VisitReport::wrap(const QString &text, double available,
                              const std::function<double(const QString &)> &width)
{
    // A hair of tolerance, so that a line measured at exactly the width is not cut by rounding.
    const auto fits = [&](const QString &t) { return width(t) <= available + 1e-9; };
    if (available <= 0 || fits(text))
        return {text};
    QStringList pieces;
    QString rest = text;
    while (!rest.isEmpty() && !fits(rest)) {
        // The longest beginning that ends before a blank and fits.
        qsizetype cut = -1;
        for (qsizetype i = rest.indexOf(QLatin1Char(' ')); i > 0; i = rest.indexOf(QLatin1Char(' '), i + 1)) {
            if (!fits(rest.left(i).trimmed()))
                break;
            cut = i;
        }
        QString piece;
        if (cut > 0) {
            piece = rest.left(cut);
            rest = rest.mid(cut);
        } else {
            // No blank to cut at: as many letters as fit, at least one.
            qsizetype n = 1;
            while (n < rest.size() && fits(rest.left(n + 1)))
                ++n;
            piece = rest.left(n);
            rest = rest.mid(n);
        }
        pieces.append(piece.trimmed());
        // The blanks at the cut belong to neither piece.
        qsizetype skip = 0;
        while (skip < rest.size() && rest.at(skip) == QLatin1Char(' '))
            ++skip;
        rest = rest.mid(skip);
    }
    if (!rest.isEmpty())
        pieces.append(rest);
    return pieces;
}
