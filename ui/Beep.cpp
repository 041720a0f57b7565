#include "Beep.h"

#include <QApplication>

namespace {

int beeps = 0;

} // namespace

namespace Beep {

void sound()
{
    ++beeps;
    QApplication::beep();
}

int count()
{
    return beeps;
}

} // namespace Beep
