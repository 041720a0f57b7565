#pragma once

#include <QMargins>
#include <QPoint>
#include <QRect>
#include <QSize>

#include <optional>

class QWidget;

// Where a top-level window opens: its outer size, frame included, centred on the screen's
// available area (the screen without its panels), and kept inside that area when the screen
// is too small for it, so that its title bar and menus are always within reach.
namespace WindowPlacement {

struct Placement {
    QPoint framePosition; // the outer top-left corner
    QSize clientSize;     // the size inside the frame
};

// `outer`: the wished outer size; `frame`: the window system's margins around the client
// area (none before it has told them); `minimumClient`: the smallest client size the
// window accepts, which wins over a screen smaller still.
Placement place(QSize outer, QMargins frame, QRect available, QSize minimumClient);

// What the window system says about a window: the available area of its screen, and the
// margins of its frame as they stand (zero until the window system has framed it).
QRect availableArea(const QWidget *window);
QMargins frameMargins(const QWidget *window);

// Centres a dialog, at its present size, on its parent's screen (the primary one without a
// parent), as the sign dialogs open.
void centreOnScreen(QWidget *dialog);

// Test seam: offscreen windows have no frame and one fixed screen. While set, these stand
// for what the window system says; std::nullopt gives the word back to it.
void setAvailableAreaForTesting(std::optional<QRect> area);
void setFrameMarginsForTesting(std::optional<QMargins> margins);

} // namespace WindowPlacement
