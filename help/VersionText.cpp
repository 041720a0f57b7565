#include "VersionText.h"

#include "AppVersion.h"

QString versionText(int major, int minor, int revision)
{
    return QStringLiteral("Version %1.%2.%3").arg(major).arg(minor).arg(revision);
}

QString applicationVersionText()
{
    return versionText(AppVersion::Major, AppVersion::Minor, AppVersion::Revision);
}
