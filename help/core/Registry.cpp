#include "Registry.h"

#include "IniRegistry.h"
#include "WindowsRegistry.h"

Registry &Registry::system()
{
#ifdef Q_OS_WIN
    static WindowsRegistry registry;
#else
    static IniRegistry registry(IniRegistry::systemFile());
#endif
    return registry;
}
