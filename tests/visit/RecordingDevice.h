#pragma once

#include "PrintDevice.h"

#include <QList>
#include <QString>

// A print device that keeps everything it is asked to print, for tests. Lines are measured
// as the printer measures them (ReportFont), so where a report's pages break is where
// they would break on paper. It never breaks a page by itself.
class RecordingDevice final : public PrintDevice
{
public:
    // A test that needs exact positions gives every line the same height, and may start
    // the first page lower than its top.
    explicit RecordingDevice(double fixedLineHeight = 0, double startY = 0)
        : m_fixedLineHeight(fixedLineHeight), m_y(startY)
    {
    }

    struct Line {
        QString text;
        bool empty; // print() with no text
        QString fontName;
        double size;
        bool bold;
        double x;
        double y;
        int page; // from 1
    };

    void setScaleMode(ScaleMode mode) override { m_scaleMode = mode; }
    void setFontName(const QString &name) override { m_fontName = name; }
    void setFontSize(double points) override { m_fontSize = points; }
    void setFontBold(bool bold) override { m_bold = bold; }
    double currentX() const override { return m_x; }
    double currentY() const override { return m_y; }
    void setCurrentX(double cm) override { m_x = cm; }
    void setCurrentY(double cm) override { m_y = cm; }
    void print(const QString &text) override;
    void print() override;
    void newPage() override;
    void endDoc() override { ++m_endDocs; }

    const QList<Line> &lines() const { return m_lines; }
    // The lines that print text, in order.
    QStringList texts() const;
    QList<Line> textLines() const;
    // The y at which each page break came, in order.
    const QList<double> &pageBreaks() const { return m_pageBreaks; }
    int pages() const { return m_page; }
    int endDocs() const { return m_endDocs; }
    ScaleMode scaleMode() const { return m_scaleMode; }
    double lineHeight() const;

private:
    void record(const QString &text, bool empty);

    QList<Line> m_lines;
    QList<double> m_pageBreaks;
    double m_fixedLineHeight;
    ScaleMode m_scaleMode{};
    QString m_fontName;
    double m_fontSize = 12;
    bool m_bold = false;
    double m_x = 0;
    double m_y;
    int m_page = 1;
    int m_endDocs = 0;
};
