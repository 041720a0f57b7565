#include "BrowserLayout.h"

#include <algorithm>

BrowserLayout BrowserLayout::forInnerSize(double width, double height, bool searching)
{
    BrowserLayout layout;
    layout.addressWidth = std::max(0.0, width - 100);
    layout.viewTop = searching ? SearchTop + SearchHeight : ViewTop;
    layout.viewWidth = std::max(0.0, width - 100);
    layout.viewHeight = std::max(0.0, height - layout.viewTop - 100);
    return layout;
}
