#pragma once

#include <QCursor>
#include <QString>

// Mouse pointers drawn from the program's SVG pictures, at the usual 32 × 32 pixels.
namespace SvgCursor {

// `resource`: the picture's resource path; (hotX, hotY): the pixel that points.
QCursor fromResource(const QString &resource, int hotX, int hotY);

} // namespace SvgCursor
