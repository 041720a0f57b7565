#pragma once

#include "ItemList.h"

#include <QApplication>
#include <QDialog>
#include <QHelpEvent>
#include <QTest>
#include <QTimer>
#include <QToolTip>

#include <functional>
#include <type_traits>

// What the window tests do to real widgets, as a person would.
namespace UiTest {

// Runs `whileOpen` on the modal dialog that `open` brings up, once its window is active;
// a dialog that a failed check left open is closed, so that `open` returns. False when no
// such dialog came up.
template <class Dialog = QDialog>
bool whileModal(const std::function<void()> &open, const std::type_identity_t<std::function<void(Dialog *)>> &whileOpen)
{
    bool found = false;
    QTimer timer; // dies with this call: a dialog that never came up leaves nothing behind
    timer.setSingleShot(true);
    QObject::connect(&timer, &QTimer::timeout, [&] {
        if (auto *dialog = qobject_cast<Dialog *>(QApplication::activeModalWidget())) {
            found = QTest::qWaitForWindowActive(dialog);
            whileOpen(dialog);
            if (dialog->isVisible())
                dialog->reject();
        }
    });
    timer.start(0);
    open();
    return found;
}

inline void click(ItemList *list, int entry)
{
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->entryRect(entry).center());
}

// The tip that hovering `entry` shows; empty for none.
inline QString hover(ItemList *list, int entry)
{
    const QPoint at = list->entryRect(entry).center();
    QHelpEvent event(QEvent::ToolTip, at, list->viewport()->mapToGlobal(at));
    QApplication::sendEvent(list->viewport(), &event);
    return QToolTip::isVisible() ? QToolTip::text() : QString();
}

} // namespace UiTest
