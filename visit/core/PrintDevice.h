#pragma once

#include <QString>
#include <QStringList>

// The page-oriented device the visit report prints on, driven line by line. Positions are
// in centimetres from the top-left corner of the printable area; the font in force when a
// line is printed is the one that line keeps.
class PrintDevice
{
public:
    // Only the centimetre is used; the value is the platform's code for it.
    enum class ScaleMode { Centimetres = 7 };

    virtual ~PrintDevice() = default;

    virtual void setScaleMode(ScaleMode mode) = 0;
    virtual void setFontName(const QString &name) = 0;
    virtual void setFontSize(double points) = 0;
    virtual void setFontBold(bool bold) = 0;

    virtual double currentX() const = 0;
    virtual double currentY() const = 0;
    virtual void setCurrentX(double cm) = 0;
    virtual void setCurrentY(double cm) = 0;

    // Prints the text at the current position, then moves to the start of the next line:
    // x back to 0, y down by one line of the current font.
    virtual void print(const QString &text) = 0;
    // An empty line: only moves down one line of the current font.
    virtual void print() = 0;
    // One line too wide for the page, in the pieces it was cut into: each piece at the
    // current x, one under the other, all on the same page; then as print().
    virtual void print(const QStringList &pieces) = 0;

    // Width of a text in the current font, and of the printable area, in centimetres.
    virtual double textWidth(const QString &text) const = 0;
    virtual double printableWidth() const = 0;
    // Finishes the page; the next one starts at (0, 0).
    virtual void newPage() = 0;
    // Finishes the document and hands it over for printing.
    virtual void endDoc() = 0;

protected:
    PrintDevice() = default;
    PrintDevice(const PrintDevice &) = default;
    PrintDevice &operator=(const PrintDevice &) = default;
};
