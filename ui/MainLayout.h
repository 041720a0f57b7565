#pragma once

#include <QRectF>

// The main window's layout pass in twips, as plain arithmetic: the window's inner size
// W × H, the toolbar's height T and the status bar's height S give the place of every
// frame and list. Each value read back within the pass is the value assigned earlier,
// after the toolkit's rounding (`quantum`: 15 twips, one pixel, in the window; 0 for no
// rounding). Sizes never go below zero, whatever the window's size.
struct MainLayout {
    QRectF carte;
    QRectF imageCarte; // inside carte
    QRectF liste;
    QRectF syndromes; // inside liste
    QRectF symptomes;
    QRectF signes; // inside symptomes
    QRectF methodes;

    static MainLayout compute(double W, double H, double T, double S, double quantum = 0);

    // The smallest inner size for which no formula needs clamping.
    static double minimumInnerWidth() { return 5400; }
    static double minimumMapHeight() { return 1100; }
};
