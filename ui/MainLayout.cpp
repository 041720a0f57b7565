#include "MainLayout.h"

#include <algorithm>
#include <cmath>

namespace {

struct Rounder {
    double quantum;
    double operator()(double v) const
    {
        if (quantum > 0)
            v = std::round(v / quantum) * quantum;
        return v;
    }
    double size(double v) const { return std::max(0.0, (*this)(v)); }
};

} // namespace

MainLayout MainLayout::compute(double W, double H, double T, double S, double quantum)
{
    const Rounder r{quantum};
    MainLayout l;

    l.carte.setRect(0, r(T), r.size(W / 2.3), 0);
    l.carte.setHeight(r.size(H - T - S));

    l.imageCarte.setRect(r(200), r(300), 0, 0);
    l.imageCarte.setWidth(r.size(l.carte.width() - l.imageCarte.left() - 200));
    l.imageCarte.setHeight(r.size(l.carte.height() - l.imageCarte.top() - 200));

    l.liste.setRect(r(l.carte.width() + 20), l.carte.top(), 0, 0);
    l.liste.setWidth(r.size(W - l.carte.width() - 10));
    l.liste.setHeight(r.size(l.carte.height() / 2));

    l.syndromes.setRect(r(200), r(300), 0, 0);
    l.syndromes.setWidth(r.size(l.liste.width() - l.syndromes.left() - 200));
    l.syndromes.setHeight(r.size(l.liste.height() - l.syndromes.top() - 200));

    l.symptomes.setRect(0, r(l.liste.height() + l.liste.top()), 0, 0);
    l.symptomes.moveLeft(l.liste.left());
    l.symptomes.setWidth(r.size(W - l.carte.width() - 2600));
    l.symptomes.setHeight(r.size(l.carte.height() / 2));

    l.signes.setRect(r(200), r(300), 0, 0);
    l.signes.setWidth(r.size(l.symptomes.width() - l.signes.left() - 200));
    l.signes.setHeight(r.size(l.symptomes.height() - l.signes.top() - 200));

    l.methodes.setRect(r(l.symptomes.width() + l.liste.left() + 20), r(l.liste.height() + l.liste.top()), 0, 0);
    l.methodes.setHeight(r.size(l.carte.height() / 2));
    l.methodes.setWidth(r.size(W - l.methodes.left() - 20));
    return l;
}
