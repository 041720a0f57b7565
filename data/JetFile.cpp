#include "JetFile.h"

#include <QFile>

namespace JetFile {

int versionOf(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return 0;
    return versionOfHeader(file.read(HeaderBytes));
}

int versionOfHeader(const QByteArray &head)
{
    if (head.size() < HeaderBytes || head[0] != 0)
        return 0;
    const QByteArray magic = head.mid(4, 15);
    if (magic != "Standard Jet DB" && magic != "Standard ACE DB")
        return 0;
    return head[0x14] == 0 ? 3 : 4;
}

} // namespace JetFile
