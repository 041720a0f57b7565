#pragma once

#include <QColor>
#include <QList>
#include <QObject>
#include <QPolygonF>
#include <QRectF>

class QCursor;
class QLabel;
class QSvgWidget;
class QWidget;

// The category map inside the frame Carte: the body drawing ImageCarte, the 39 region
// labels (Localisation) and the 5 general-category pictures (Divers), each indexed by its
// category number. Geometry is kept in twips relative to Carte, so the layout pass can
// place the drawing and scale the controls without rounding to pixels on the way.
//
// By keyboard the map is one stop of the window's Tab order (the drawing): Down and Right
// go to the next region in reading order (by the top of each, then its left), Up and Left
// to the previous one, Home and End to the first and the last; a frame shows the region
// reached, and Enter or Space opens it as a click does. A screen reader meets each region
// as a button named by its caption (a picture by its category), which it can press.
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

    // The category numbers of the labels, in the design's order.
    static QList<int> labelIndexes();
    QLabel *label(int index) const;
    QWidget *picture(int index) const;

    // The map's stop in the window's Tab order.
    QWidget *keyboardStop() const;
    // The regions in reading order: each its control (a label or a picture).
    QList<QWidget *> readingOrder() const;
    // The region the keyboard is on (the first one until a key or a click moves it), and
    // the frame drawn around it while the map has the keyboard.
    QWidget *currentRegion() const;
    QWidget *focusFrame() const;
    // A region asked to open (a click, Enter or Space, a screen reader's press).
    void open(QWidget *region);

    // The pointing hand shared by the category controls and the method boxes.
    static QCursor handCursor();
    // The red of the label under the pointer.
    static QColor highlightColour() { return QColor(255, 0, 0); }

    // The thin lines from labels to the regions they name, drawn on the picture beneath the
    // labels. They are laid from where the labels and the picture stand now (pixels inside
    // Carte), so they keep joining them however the layout has moved or scaled either.
    // strokes[k] starts at the middle of Localisation(labels[k]); the last stroke ends on
    // the region. Labels sharing one region are gathered by a comb beside them.
    struct Leader {
        QList<int> labels;
        QList<QPolygonF> strokes;
        QPointF region;
    };
    QList<Leader> leaders() const;

    // The pointer moved over Localisation(index): it alone turns red.
    void hoverLabel(int index);
    // The pointer moved over the drawing: no label stays red.
    void hoverImage();

signals:
    // A click on Localisation(index) (picture false) or Divers(index) (picture true).
    void categoryClicked(int index, bool picture);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    struct Control {
        int index;
        QWidget *widget;
        QRectF twips;
        bool picture;
    };

    const Control *find(const QObject *widget) const;
    const Control *find(int index, bool picture) const;
    void setTextColour(QLabel *label, const QColor &colour) const;
    bool keyPressed(int key);
    void setCurrent(QWidget *region);
    void placeFocusFrame();

    QSvgWidget *m_image = nullptr;
    QRectF m_imageTwips;
    QList<Control> m_controls;
    int m_indexSurvole = 0;
    const QWidget *m_pressed = nullptr;
    QWidget *m_current = nullptr;
    QWidget *m_focusFrame = nullptr;
};
