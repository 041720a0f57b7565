#include "HelpResources.h"

#include <QtGlobal>

// Q_INIT_RESOURCE must be used outside any namespace.
static void initialiseHelpResources()
{
    Q_INIT_RESOURCE(HelpResources);
}

namespace HelpResources {

void initialise()
{
    static const bool done = (initialiseHelpResources(), true);
    Q_UNUSED(done)
}

} // namespace HelpResources
