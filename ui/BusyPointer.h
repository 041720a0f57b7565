#pragma once

// The program-wide mouse pointer: busy (hourglass) or default. Not a stack: like the
// screen's one pointer, setting it busy twice and default once leaves the default.
namespace BusyPointer {

void setBusy();
void setDefault();
bool isBusy();

} // namespace BusyPointer
