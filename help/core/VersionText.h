#pragma once

#include <QString>

// "Version " and the three numbers in plain decimal joined by full stops, as the about box
// and the splash show the application's version.
namespace VersionText {

QString of(int major, int minor, int revision);

// The text for this build's own version numbers.
QString application();

} // namespace VersionText
