#pragma once

// The help window's design values and its resize rule, in twips. The view and the address
// box keep a margin of 50 on either side and the view 100 at the bottom; a window too
// small for the rule gets zero sizes, never negative ones.
struct BrowserLayout {
    static constexpr int ToolBarHeight = 540;
    static constexpr int PanelTop = 540;
    static constexpr int PanelHeight = 675;
    static constexpr int LabelLeft = 45;
    static constexpr int LabelTop = 60;
    static constexpr int LabelWidth = 3075;
    static constexpr int LabelHeight = 255;
    static constexpr int AddressDesignLeft = 45;
    static constexpr int AddressDesignTop = 300;
    static constexpr int AddressLeft = 50;
    static constexpr int AddressHeight = 315;
    static constexpr int ViewLeft = 50;
    static constexpr int ViewTop = PanelTop + PanelHeight;
    static constexpr int InnerWidth = 8910;
    static constexpr int InnerHeight = 6465;
    // The search panel, opened by "Rechercher" between the address panel and the view,
    // which it moves down.
    static constexpr int SearchTop = PanelTop + PanelHeight;
    static constexpr int SearchHeight = 480;

    double addressWidth = 0;
    double viewTop = ViewTop;
    double viewWidth = 0;
    double viewHeight = 0;

    static BrowserLayout forInnerSize(double width, double height, bool searching = false);
};
