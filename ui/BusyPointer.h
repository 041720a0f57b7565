#pragma once

// The program-wide mouse pointer: busy (hourglass) or default. Not a stack: like the
// screen's one pointer, setting it busy twice and default once leaves the default.
namespace BusyPointer {

void setBusy();
void setDefault();
bool isBusy();

// Busy for the life of the scope, and the default pointer again however the work ends.
struct Scope {
    Scope() { setBusy(); }
    ~Scope() { setDefault(); }
    Scope(const Scope &) = delete;
    Scope &operator=(const Scope &) = delete;
};

} // namespace BusyPointer
