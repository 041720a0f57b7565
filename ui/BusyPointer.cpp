#include "BusyPointer.h"

#include <QApplication>

namespace {

bool busy = false;

} // namespace

namespace BusyPointer {

void setBusy()
{
    if (busy)
        return;
    busy = true;
    QApplication::setOverrideCursor(Qt::WaitCursor);
}

void setDefault()
{
    if (!busy)
        return;
    busy = false;
    QApplication::restoreOverrideCursor();
}

bool isBusy()
{
    return busy;
}

} // namespace BusyPointer
