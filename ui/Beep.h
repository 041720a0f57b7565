#pragma once

// The platform's default warning sound. Counts the beeps, for tests.
namespace Beep {

void sound();
int count();

} // namespace Beep
