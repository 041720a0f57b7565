#pragma once

#include "PrintDevice.h"

#include <QList>
#include <QString>

class QPainter;
class QPrinter;

// The print device on a QPrinter, paper or PDF. Lines are gathered page by page and only
// painted when the document ends, so a failure part-way through the report (the database,
// say) leaves no half-printed job behind: the device is simply dropped.
//
// Unlike a bare printer, no line is ever lost off the bottom of a page: a line that would
// not fit in the printable area starts a new page first, at the same x, and the pieces of a
// wrapped line stay together. The report's own page tests come on top of that.
class PrinterDevice final : public PrintDevice
{
public:
    explicit PrinterDevice(QPrinter &printer);

    void setScaleMode(ScaleMode mode) override;
    void setFontName(const QString &name) override;
    void setFontSize(double points) override;
    void setFontBold(bool bold) override;
    double currentX() const override { return m_x; }
    double currentY() const override { return m_y; }
    void setCurrentX(double cm) override { m_x = cm; }
    void setCurrentY(double cm) override { m_y = cm; }
    void print(const QString &text) override;
    void print() override;
    void print(const QStringList &pieces) override;
    double textWidth(const QString &text) const override;
    double printableWidth() const override { return m_printableWidth; }
    void newPage() override;
    // Paints every page on the printer. Throws PrintFailure when the job cannot be opened
    // or completed.
    void endDoc() override;

    int pageCount() const { return static_cast<int>(m_pages.size()); }

private:
    struct Line {
        QString text;
        QString fontName;
        double size;
        bool bold;
        double x;
        double y;
    };

    void paint(QPainter &painter, const Line &line) const;
    QString target() const;
    double lineHeight() const;

    QPrinter &m_printer;
    QList<QList<Line>> m_pages{{}};
    QString m_fontName = QStringLiteral("Times New Roman");
    double m_fontSize = 12;
    bool m_bold = false;
    double m_x = 0;
    double m_y = 0;
    double m_printableHeight;
    double m_printableWidth;
};
