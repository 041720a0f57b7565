#pragma once

class QFont;
class QLabel;
class QString;
class QWidget;

// Placing the controls of the about box and the splash from their design values in twips.
namespace InfoLayout {

// A label of the about box or the splash, with its design name and font.
QLabel *addLabel(QWidget *parent, const char *name, const QString &text, const QFont &font);

// A one-line label placed at its design rectangle, made larger where its text in its font
// would be cut: taller downwards, and wider to the right, or to the left when it is
// anchored at its right edge.
void placeLabel(QLabel *label, double left, double top, double width, double height, bool anchorRight = false);

} // namespace InfoLayout
