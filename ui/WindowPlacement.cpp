#include "WindowPlacement.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

#include <algorithm>

namespace WindowPlacement {

namespace {

std::optional<QRect> testArea;
std::optional<QMargins> testMargins;

// Centred on the available span, or at its start when the window is longer than it.
int centred(int start, int span, int length)
{
    return length >= span ? start : start + (span - length) / 2;
}

} // namespace

Placement place(QSize outer, QMargins frame, QRect available, QSize minimumClient)
{
    const int frameWidth = frame.left() + frame.right();
    const int frameHeight = frame.top() + frame.bottom();
    const QSize fitted = outer.boundedTo(available.size());
    const QSize client(std::max(fitted.width() - frameWidth, minimumClient.width()),
                       std::max(fitted.height() - frameHeight, minimumClient.height()));
    const QPoint corner(centred(available.left(), available.width(), client.width() + frameWidth),
                        centred(available.top(), available.height(), client.height() + frameHeight));
    return {corner, client};
}

QRect availableArea(const QWidget *window)
{
    if (testArea)
        return *testArea;
    const QScreen *screen = window ? window->screen() : QGuiApplication::primaryScreen();
    return screen ? screen->availableGeometry() : QRect();
}

QMargins frameMargins(const QWidget *window)
{
    if (testMargins)
        return *testMargins;
    if (!window)
        return {};
    const QRect inner = window->geometry();
    const QRect outer = window->frameGeometry();
    return {inner.left() - outer.left(), inner.top() - outer.top(), outer.right() - inner.right(),
            outer.bottom() - inner.bottom()};
}

void setAvailableAreaForTesting(std::optional<QRect> area)
{
    testArea = area;
}

void setFrameMarginsForTesting(std::optional<QMargins> margins)
{
    testMargins = margins;
}

void centreOnScreen(QWidget *dialog)
{
    const QWidget *parent = dialog->parentWidget();
    QScreen *screen = parent ? parent->screen() : QGuiApplication::primaryScreen();
    if (!screen)
        return;
    QRect frame(QPoint(0, 0), dialog->size());
    frame.moveCenter(screen->geometry().center());
    dialog->move(frame.topLeft());
}

} // namespace WindowPlacement
