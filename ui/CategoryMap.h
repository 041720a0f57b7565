#pragma once

#include <QCursor>
#include <QObject>
#include <QRectF>

class QWidget;

// The category map inside the frame Carte: the body drawing ImageCarte, the 39 region
// labels (Localisation) and the 5 general-category pictures (Divers), each indexed by its
// category number. Geometry is kept in twips relative to Carte, so the layout pass can
// place the drawing and scale the controls without rounding to pixels on the way.
class CategoryMap final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(CategoryMap)

public:
    // Creates the drawing and the 44 controls as children of `carte`, at their design
    // positions.
    explicit CategoryMap(QWidget *carte);
    ~CategoryMap() override;

    QWidget *imageCarte() const;
    QRectF imageGeometry() const; // twips
    void setImageGeometry(const QRectF &twips);

    // The second and later layout passes: every label's Left and Top, and every picture's
    // Left, Top, Width and Height (the latter two by facteurX), multiplied by the factors.
    void scaleControls(float facteurX, float facteurY);

    QRectF labelGeometry(int index) const;   // twips
    QRectF pictureGeometry(int index) const; // twips
    int indexSurvole() const;

    // The pointing-hand pointer shared by every category control and method box.
    static QCursor handCursor();

signals:
    // A click on Localisation(index) (picture false) or Divers(index) (picture true).
    void categoryClicked(int index, bool picture);
};
