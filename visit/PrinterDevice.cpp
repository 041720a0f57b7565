#include "PrinterDevice.h"

#include "PrintFailure.h"
#include "ReportFont.h"

#include <QFileInfo>
#include <QPageLayout>
#include <QPainter>
#include <QPrinter>

PrinterDevice::PrinterDevice(QPrinter &printer)
    : m_printer(printer), m_printableHeight(printer.pageLayout().paintRect(QPageLayout::Millimeter).height() / 10.0),
      m_printableWidth(printer.pageLayout().paintRect(QPageLayout::Millimeter).width() / 10.0)
{}

void PrinterDevice::setScaleMode(ScaleMode)
{
    // Centimetres are the only unit there is.
}

void PrinterDevice::setFontName(const QString &name)
{
    m_fontName = name;
}

void PrinterDevice::setFontSize(double points)
{
    m_fontSize = points;
}

void PrinterDevice::setFontBold(bool bold)
{
    m_bold = bold;
}

double PrinterDevice::lineHeight() const
{
    return ReportFont::lineHeight(m_fontName, m_fontSize, m_bold);
}

void PrinterDevice::print(const QString &text)
{
    const double height = lineHeight();
    // A page that cannot hold even one line takes it anyway, rather than breaking forever.
    if (m_y > 0 && m_y + height > m_printableHeight) {
        m_pages.append(QList<Line>());
        m_y = 0;
    }
    m_pages.last().append({text, m_fontName, m_fontSize, m_bold, m_x, m_y});
    m_x = 0;
    m_y += height;
}

void PrinterDevice::print(const QStringList &pieces)
{
    const double height = lineHeight();
    if (m_y > 0 && m_y + height * pieces.size() > m_printableHeight) {
        m_pages.append(QList<Line>());
        m_y = 0;
    }
    for (const QString &piece : pieces) {
        m_pages.last().append({piece, m_fontName, m_fontSize, m_bold, m_x, m_y});
        m_y += height;
    }
    m_x = 0;
}

double PrinterDevice::textWidth(const QString &text) const
{
    return ReportFont::textWidth(m_fontName, m_fontSize, m_bold, text);
}

void PrinterDevice::print()
{
    m_x = 0;
    m_y += lineHeight();
}

void PrinterDevice::newPage()
{
    m_pages.append(QList<Line>());
    m_x = 0;
    m_y = 0;
}

QString PrinterDevice::target() const
{
    return m_printer.outputFormat() == QPrinter::PdfFormat ? m_printer.outputFileName() : m_printer.printerName();
}

void PrinterDevice::paint(QPainter &painter, const Line &line) const
{
    const double dotsPerCm = m_printer.resolution() / 2.54;
    painter.setFont(ReportFont::font(line.fontName, line.size, line.bold));
    const double baseline = line.y + ReportFont::ascent(line.fontName, line.size, line.bold);
    painter.drawText(QPointF(line.x * dotsPerCm, baseline * dotsPerCm), line.text);
}

void PrinterDevice::endDoc()
{
    const bool toFile = m_printer.outputFormat() == QPrinter::PdfFormat;
    QPainter painter;
    if (!painter.begin(&m_printer))
        throw PrintFailure(PrintFailure::Stage::Start, target(), toFile);
    for (qsizetype page = 0; page < m_pages.size(); ++page) {
        if (page > 0 && !m_printer.newPage()) {
            painter.end();
            throw PrintFailure(PrintFailure::Stage::Page, target(), toFile);
        }
        for (const Line &line : std::as_const(m_pages.at(page)))
            paint(painter, line);
    }
    const bool ended = painter.end();
    if (!ended || (toFile && QFileInfo(m_printer.outputFileName()).size() == 0))
        throw PrintFailure(PrintFailure::Stage::Finish, target(), toFile);
    m_pages = {{}};
    m_x = 0;
    m_y = 0;
}
