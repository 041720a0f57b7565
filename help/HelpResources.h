#pragma once

// The help folder's pictures (toolbar icons, logo) are compiled into its static library;
// the windows that use them call this first so that the linker keeps them.
namespace HelpResources {

void initialise();

} // namespace HelpResources
