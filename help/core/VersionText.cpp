#include "VersionText.h"

#include "AppVersion.h"

namespace VersionText {

QString of(int major, int minor, int revision)
{
    return QStringLiteral("Version %1.%2.%3").arg(major).arg(minor).arg(revision);
}

QString application()
{
    return of(AppVersion::Major, AppVersion::Minor, AppVersion::Revision);
}

} // namespace VersionText
