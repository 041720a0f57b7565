#include "RecordingDevice.h"

#include "ReportFont.h"

#include <QStringList>

double RecordingDevice::lineHeight() const
{
    if (m_fixedLineHeight > 0)
        return m_fixedLineHeight;
    return ReportFont::lineHeight(m_fontName, m_fontSize, m_bold);
}

void RecordingDevice::record(const QString &text, bool empty)
{
    m_lines.append({text, empty, m_fontName, m_fontSize, m_bold, m_x, m_y, m_page});
    m_x = 0;
    m_y += lineHeight();
}

void RecordingDevice::print(const QString &text)
{
    record(text, false);
}

void RecordingDevice::print()
{
    record(QString(), true);
}

void RecordingDevice::newPage()
{
    m_pageBreaks.append(m_y);
    ++m_page;
    m_x = 0;
    m_y = 0;
}

QStringList RecordingDevice::texts() const
{
    QStringList all;
    for (const Line &line : m_lines) {
        if (!line.empty)
            all.append(line.text);
    }
    return all;
}

QList<RecordingDevice::Line> RecordingDevice::textLines() const
{
    QList<Line> all;
    for (const Line &line : m_lines) {
        if (!line.empty)
            all.append(line);
    }
    return all;
}
