#pragma once

#include <QFont>

// The typefaces the windows are designed with. Where a face is missing (any machine but
// Windows), a metric-compatible or close one takes its place, chosen here once.
namespace Fonts {

// Registers the substitutions; called once at start-up (and by tests that look at fonts).
void installSubstitutions();

QFont tahoma(double pointSize, bool bold = false);
QFont msSansSerif(double pointSize, bool bold = false);
QFont arial(double pointSize, bool bold = false, bool italic = false);

} // namespace Fonts
