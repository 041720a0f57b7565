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

QString VisitReport::signText(const QString &modalite, qint64 valeur)
{
    return modalite + QStringLiteral(" (") + QString::number(valeur) + QStringLiteral(")");
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
    m_device.print(headerText(m_clock, m_clock.now()));
    m_device.print();
    m_device.print(QStringLiteral("Liste des symptômes constatés"));
    m_device.print();

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
        m_device.print(sign.text);
    }
    m_device.print();
}

void VisitReport::printSyndromesSection(Database &db)
{
    m_device.setFontBold(true);
    m_device.setFontSize(TitleSize);
    m_device.print(QStringLiteral("Liste des syndromes classés à partir du plus pertinent (Seulement les 5 premiers)"));
    m_device.print();
    m_device.setFontSize(BodySize);

    const int count = std::min(static_cast<int>(m_syndromes.size()), MaxSyndromes);
    for (int i = 0; i < count; ++i) {
        const ListEntry &syndrome = m_syndromes.at(i);
        m_device.setFontBold(true);
        pageTest();
        m_device.setCurrentX(1);
        m_device.print(QString::number(i + 1) + QStringLiteral(") ") + syndrome.text);

        const QStringList supporting = supportingSigns(db, syndrome.data);
        m_device.setFontBold(false);
        for (const QString &text : supporting) {
            for (const ListEntry &sign : std::as_const(m_signes)) {
                if (text != sign.text)
                    continue;
                m_device.setCurrentX(2);
                m_device.print(text);
                pageTest();
            }
        }
        m_device.print();
    }
}

QStringList VisitReport::supportingSigns(Database &db, qint32 syndrome) const
{
    std::unique_ptr<Recordset> rs = db.openRecordset(Statements::syndromeSigns(syndrome));
    rs->moveLast();
    rs->moveFirst();
    const int rows = rs->recordCount();
    QStringList texts;
    texts.reserve(rows);
    for (int row = 0; row < rows; ++row) {
        texts.append(signText(rs->field(u"Modalité").toString(), rs->field(u"Valeur").toLongLong()));
        rs->moveNext();
    }
    rs->close();
    return texts;
}

void VisitReport::pageTest()
{
    if (m_device.currentY() > PageLimit)
        m_device.newPage();
}
