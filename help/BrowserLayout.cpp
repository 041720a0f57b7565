#include "BrowserLayout.h"

#include <algorithm>

BrowserLayout BrowserLayout::forInnerSize(double width, double height)
{
    BrowserLayout layout;
    layout.addressWidth = std::max(0.0, width - 100);
    layout.viewWidth = std::max(0.0, width - 100);
    layout.viewHeight = std::max(0.0, height - (PanelTop + PanelHeight) - 100);
    return layout;
}
