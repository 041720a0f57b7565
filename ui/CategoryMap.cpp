#include "CategoryMap.h"

#include "Contrast.h"
#include "Fonts.h"
#include "SvgCursor.h"
#include "Twips.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QApplication>
#include <QCursor>
#include <QFontMetricsF>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPen>
#include <QPointer>
#include <QSvgWidget>

#include <algorithm>

static void initResources()
{
    Q_INIT_RESOURCE(signselection);
}

// The map's regions are classes of their own so that a screen reader is given a button
// for each (see regionAccessible below), not a text or a picture.
class MapRegionLabel final : public QLabel
{
    Q_OBJECT
public:
    using QLabel::QLabel;
};

class MapRegionPicture final : public QSvgWidget
{
    Q_OBJECT
public:
    using QSvgWidget::QSvgWidget;
};

namespace {

struct LabelDesign {
    int index;
    const char *caption;
    double left, top, width, height;
};

// Design positions in twips inside Carte, for the drawing at (180, 240), 4695 x 7170.
constexpr LabelDesign Labels[] = {
    {2, "Teint", 3300, 1380, 435, 255},
    {5, "Tête", 2160, 600, 375, 195},
    {8, "Yeux", 1395, 945, 375, 255},
    {9, "Oreilles", 3300, 1020, 600, 255},
    {10, "Nez", 1350, 1320, 345, 255},
    {11, "Lèvres", 1320, 1680, 555, 255},
    {14, "Gorge", 420, 1920, 495, 255},
    {15, "Peau", 1080, 5520, 435, 255},
    {17, "Expectorations", 420, 3000, 1095, 255},
    {18, "Langue", 3540, 2400, 615, 255},
    {19, "Enduit", 4140, 2400, 555, 255},
    {23, "Transpirations", 2700, 480, 1095, 255},
    {24, "Douleur", 1260, 6480, 615, 255},
    {25, "Sommeil", 2760, 720, 615, 255},
    {26, "Appétit", 4020, 3360, 555, 255},
    {27, "Goût", 3180, 1740, 435, 255},
    {28, "Selles", 480, 5160, 435, 255},
    {29, "Urines", 960, 5160, 495, 255},
    {33, "Gynécologie", 3540, 4500, 975, 255},
    {36, "Voix", 960, 1920, 375, 255},
    {37, "Respiration", 420, 2460, 855, 255},
    {38, "Toux", 900, 2160, 420, 255},
    {43, "Pouls", 600, 3960, 435, 255},
    {45, "Membres", 3240, 5520, 795, 255},
    {49, "Soif", 3660, 1740, 435, 255},
    {50, "Ongles", 480, 4680, 555, 255},
    {51, "Bouche", 3480, 2100, 675, 255},
    {52, "Abdomen", 3540, 3660, 795, 255},
    {53, "Epigastre", 480, 3300, 795, 255},
    {54, "Estomac", 3300, 3360, 615, 255},
    {56, "Hypocondres", 300, 3600, 975, 255},
    {57, "Coeur", 3660, 2820, 495, 255},
    {58, "Thorax", 600, 2820, 555, 255},
    {59, "Sexualité", 3540, 4740, 735, 255},
    {60, "Genoux et Lombes", 3240, 5040, 1395, 255},
    {64, "Abdomen inférieur", 3180, 3960, 1395, 195},
    {65, "Seins", 3600, 3120, 435, 255},
    {66, "Nuque", 360, 2160, 525, 255},
    {67, "Périnée", 3600, 4200, 735, 255},
};

struct PictureDesign {
    int index;
    const char *tip;
    const char *file;
    double left, top, width, height;
};

constexpr PictureDesign Pictures[] = {
    {3, "Morphologie", "morphologie.svg", 3960, 540, 735, 1035},
    {4, "Comportement", "comportement.svg", 360, 5820, 735, 1035},
    {22, "Froid et chaleur", "froid_chaleur.svg", 360, 540, 855, 1155},
    {31, "Médecine Interne", "medecine_interne.svg", 3000, 5880, 795, 1035},
    {62, "Enfants", "enfants.svg", 3900, 5880, 675, 975},
};

constexpr QRectF DesignImage(180, 240, 4695, 7170);

// Where each region lies on the drawing, in the drawing's own units (its design size in
// twips); the labels listed lead to it. Labels beside one of these on the same row
// (Gorge, Nuque, Soif, Enduit, Selles, Appétit) share its line.
struct LeaderDesign {
    int labels[3];
    double x, y;
};

constexpr LeaderDesign Leaders[] = {
    {{8}, 1935, 888},           // Yeux: the right eye
    {{10}, 2128, 1152},         // Nez
    {{11}, 2078, 1335},         // Lèvres
    {{36, 38}, 2030, 1700},     // Voix, Toux: the throat
    {{37}, 1905, 2330},         // Respiration: top of the lung
    {{58}, 1860, 2650},         // Thorax
    {{17}, 1995, 2860},         // Expectorations: base of the lung
    {{53}, 2165, 3020},         // Epigastre
    {{56}, 1880, 3235},         // Hypocondres: under the ribs, by the liver
    {{43}, 1440, 3900},         // Pouls: the wrist
    {{50}, 1462, 4462},         // Ongles: the finger tips
    {{29}, 2110, 4200},         // Urines
    {{15}, 1748, 5330},         // Peau: the thigh
    {{24}, 1850, 6340},         // Douleur: the shin
    {{9}, 2606, 955},           // Oreilles
    {{2}, 2430, 1190},          // Teint: the cheek
    {{27, 51, 18}, 2262, 1335}, // Goût, Bouche, Langue: the mouth
    {{57}, 2270, 2535},         // Coeur
    {{65}, 2440, 2720},         // Seins
    {{54}, 2460, 3190},         // Estomac
    {{52}, 2190, 3560},         // Abdomen: the navel
    {{64}, 2280, 3850},         // Abdomen inférieur
    {{67, 33, 59}, 2250, 4200}, // Périnée, Gynécologie, Sexualité: the pelvis
    {{60}, 2420, 5190},         // Genoux et Lombes: the knee
    {{45}, 2585, 5700},         // Membres: the leg
};

QString resource(const char *file)
{
    return QStringLiteral(":/signselection/") + QString::fromLatin1(file);
}

QColor buttonText()
{
    return QApplication::palette().color(QPalette::ButtonText);
}

// The captions were fitted to MS Sans Serif, which is narrower than the faces standing in
// for it elsewhere; labels are not sized to their text, so the stand-in is condensed just
// enough for every caption to show whole. With the designed face nothing changes.
QFont labelFont()
{
    // Measured once at full width: the stretch scales every advance alike, so the narrowest
    // room over its caption's width gives the stretch at once (each stretch tried is a face
    // of its own to load, which start-up would pay for).
    QFont font = Fonts::msSansSerif(8.25);
    const auto fitting = [](const QFont &face) {
        const QFontMetricsF metrics(face);
        double least = 1;
        for (const LabelDesign &design : Labels)
            least = std::min(least, Twips::toPixels(design.width) /
                                        metrics.horizontalAdvance(QString::fromUtf8(design.caption)));
        return least;
    };
    double scale = fitting(font);
    for (int stretch = std::clamp(int(scale * 100), 60, 100); scale < 1 && stretch >= 60; --stretch) {
        font.setStretch(stretch);
        scale = fitting(font);
    }
    return font;
}

// The body drawing with the leaders on top of it (and so beneath the labels).
class BodyDrawing final : public QSvgWidget
{
public:
    BodyDrawing(const CategoryMap *map, QWidget *parent) : QSvgWidget(resource("corps.svg"), parent), m_map(map) {}

protected:
    void paintEvent(QPaintEvent *event) override
    {
        QSvgWidget::paintEvent(event);
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.translate(-pos());
        const double scale = width() / DesignImage.width();
        painter.setPen(QPen(QColor(0x6a, 0x7a, 0x8b), std::max(1.0, 9 * scale)));
        painter.setBrush(Qt::NoBrush);
        const QList<CategoryMap::Leader> leaders = m_map->leaders();
        for (const CategoryMap::Leader &leader : leaders)
            for (const QPolygonF &stroke : leader.strokes)
                painter.drawPolyline(stroke);
        painter.setPen(Qt::NoPen);
        painter.setBrush(QColor(0x4f, 0x5f, 0x70));
        const double radius = std::max(2.0, 24 * scale);
        for (const CategoryMap::Leader &leader : leaders)
            painter.drawEllipse(leader.region, radius, radius);
    }

private:
    const CategoryMap *m_map;
};

// A region as a screen reader meets it: a button named by its caption, whose press opens
// the region as a click does, and that has the focus while the map's keyboard is on it.
class RegionAccessible final : public QAccessibleWidget
{
public:
    RegionAccessible(QWidget *region, CategoryMap *map) : QAccessibleWidget(region, QAccessible::Button), m_map(map) {}

    QAccessible::State state() const override
    {
        QAccessible::State state = QAccessibleWidget::state();
        state.focusable = true;
        state.focused = m_map->keyboardStop()->hasFocus() && m_map->currentRegion() == widget();
        return state;
    }
    QStringList actionNames() const override { return {pressAction()}; }
    void doAction(const QString &name) override
    {
        if (name != pressAction())
            return;
        // Later, as the toolkit's own buttons do: the dialog it opens must not hold up the
        // screen reader's call.
        QMetaObject::invokeMethod(
            m_map,
            [map = m_map, region = QPointer<QWidget>(widget())] {
                if (region)
                    map->open(region);
            },
            Qt::QueuedConnection);
    }
    QStringList keyBindingsForAction(const QString &) const override { return {}; }

private:
    CategoryMap *m_map;
};

QAccessibleInterface *regionAccessible(const QString &key, QObject *object)
{
    if (key != QLatin1String("MapRegionLabel") && key != QLatin1String("MapRegionPicture"))
        return nullptr;
    auto *region = static_cast<QWidget *>(object);
    auto *map = region->parentWidget()
                    ? region->parentWidget()->findChild<CategoryMap *>(QString(), Qt::FindDirectChildrenOnly)
                    : nullptr;
    return map ? new RegionAccessible(region, map) : nullptr;
}

// The frame around the region the keyboard is on: the highlight, dark enough to stand out
// from the labels' face, inside a white line that keeps it apart from the drawing.
class FocusFrame final : public QWidget
{
public:
    explicit FocusFrame(QWidget *parent) : QWidget(parent)
    {
        setAttribute(Qt::WA_TransparentForMouseEvents);
        setFocusPolicy(Qt::NoFocus);
    }
    static constexpr int Margin = 3;

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter painter(this);
        const QColor face = palette().color(QPalette::Button);
        painter.setPen(QPen(Qt::white, 1));
        painter.drawRect(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5));
        painter.setPen(QPen(Contrast::readable(palette().color(QPalette::Highlight), face, 4.5), 2, Qt::SolidLine,
                            Qt::SquareCap, Qt::MiterJoin));
        painter.drawRect(QRectF(rect()).adjusted(2, 2, -2, -2));
    }
};

} // namespace

CategoryMap::CategoryMap(QWidget *carte) : QObject(carte)
{
    initResources();
    QAccessible::installFactory(regionAccessible);

    m_image = new BodyDrawing(this, carte);
    m_image->setObjectName(QStringLiteral("ImageCarte"));
    m_image->setAccessibleName(QStringLiteral("Carte du corps"));
    m_image->setAccessibleDescription(QStringLiteral("Les régions du corps et leurs catégories de signes ; flèches : "
                                                     "région suivante ou précédente ; Entrée : ouvrir la région"));
    m_image->setMouseTracking(true);
    m_image->setFocusPolicy(Qt::TabFocus);
    m_image->installEventFilter(this);
    setImageGeometry(DesignImage);

    const QFont font = labelFont();
    const QCursor hand = handCursor();
    for (const LabelDesign &design : Labels) {
        auto *label = new MapRegionLabel(QString::fromUtf8(design.caption), carte);
        label->setObjectName(QStringLiteral("Localisation_%1").arg(design.index));
        label->setAccessibleName(QString::fromUtf8(design.caption));
        label->setAccessibleDescription(QStringLiteral("Région de la carte : ouvre la liste de ses signes"));
        label->setFont(font);
        label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        label->setWordWrap(false);
        label->setAutoFillBackground(true);
        label->setBackgroundRole(QPalette::Button);
        // Left to itself a label on the button face would draw with ButtonText.
        label->setForegroundRole(QPalette::WindowText);
        setTextColour(label, buttonText());
        label->setCursor(hand);
        label->setMouseTracking(true);
        label->installEventFilter(this);
        m_controls.append({design.index, label, QRectF(design.left, design.top, design.width, design.height), false});
    }
    for (const PictureDesign &design : Pictures) {
        auto *picture = new MapRegionPicture(resource(design.file), carte);
        picture->setObjectName(QStringLiteral("Divers_%1").arg(design.index));
        picture->setToolTip(QString::fromUtf8(design.tip));
        picture->setAccessibleName(QString::fromUtf8(design.tip));
        picture->setAccessibleDescription(QStringLiteral("Catégorie générale : ouvre la liste de ses signes"));
        picture->setCursor(hand);
        picture->installEventFilter(this);
        m_controls.append({design.index, picture, QRectF(design.left, design.top, design.width, design.height), true});
    }

    // Some labels overlap by a pixel or a few; their text sits at the top, so the lower of
    // two overlapping labels goes in front to keep both texts whole.
    QList<const Control *> stacking;
    for (const Control &control : std::as_const(m_controls))
        stacking.append(&control);
    std::stable_sort(stacking.begin(), stacking.end(),
                     [](const Control *a, const Control *b) { return a->twips.top() < b->twips.top(); });
    m_image->lower();
    for (const Control *control : std::as_const(stacking)) {
        Twips::place(control->widget, control->twips);
        control->widget->raise();
    }
    m_focusFrame = new FocusFrame(carte);
    m_focusFrame->setObjectName(QStringLiteral("CadreRégion"));
    m_focusFrame->hide();
}

CategoryMap::~CategoryMap() = default;

QWidget *CategoryMap::imageCarte() const
{
    return m_image;
}

QRectF CategoryMap::imageGeometry() const
{
    return m_imageTwips;
}

void CategoryMap::setImageGeometry(const QRectF &twips)
{
    m_imageTwips = twips;
    m_image->setGeometry(
        Twips::toPixels(twips.left(), twips.top(), std::max(0.0, twips.width()), std::max(0.0, twips.height())));
}

void CategoryMap::scaleControls(float facteurX, float facteurY)
{
    for (Control &control : m_controls) {
        QRectF &r = control.twips;
        const QRectF scaled(r.left() * facteurX, r.top() * facteurY, control.picture ? r.width() * facteurX : r.width(),
                            control.picture ? r.height() * facteurX : r.height());
        r = scaled;
        Twips::place(control.widget, control.twips);
    }
    placeFocusFrame();
    m_image->update();
}

QRectF CategoryMap::labelGeometry(int index) const
{
    const Control *control = find(index, false);
    return control ? control->twips : QRectF();
}

QRectF CategoryMap::pictureGeometry(int index) const
{
    const Control *control = find(index, true);
    return control ? control->twips : QRectF();
}

QList<CategoryMap::Leader> CategoryMap::leaders() const
{
    // A comb stands this far from the labels it gathers (pixels).
    constexpr double CombGap = 6;
    const QRectF image = m_image->geometry();
    const auto onImage = [&image](double x, double y) {
        return QPointF(image.left() + x * image.width() / DesignImage.width(),
                       image.top() + y * image.height() / DesignImage.height());
    };
    QList<Leader> all;
    for (const LeaderDesign &design : Leaders) {
        Leader leader;
        leader.region = onImage(design.x, design.y);
        QList<QRectF> rects;
        for (int index : design.labels)
            if (const QLabel *caption = index > 0 ? label(index) : nullptr) {
                leader.labels.append(index);
                rects.append(QRectF(caption->geometry()));
            }
        if (rects.isEmpty())
            continue;
        if (rects.size() == 1) {
            leader.strokes.append(QPolygonF({rects.first().center(), leader.region}));
        } else {
            const bool combOnTheLeft = leader.region.x() < rects.first().center().x();
            double barX = combOnTheLeft ? rects.first().left() : rects.first().right();
            double top = rects.first().center().y();
            double bottom = top;
            for (const QRectF &r : std::as_const(rects)) {
                barX = combOnTheLeft ? std::min(barX, r.left()) : std::max(barX, r.right());
                top = std::min(top, r.center().y());
                bottom = std::max(bottom, r.center().y());
            }
            barX += combOnTheLeft ? -CombGap : CombGap;
            for (const QRectF &r : std::as_const(rects))
                leader.strokes.append(QPolygonF({r.center(), QPointF(barX, r.center().y())}));
            leader.strokes.append(QPolygonF({QPointF(barX, top), QPointF(barX, bottom)}));
            leader.strokes.append(
                QPolygonF({QPointF(barX, std::clamp(leader.region.y(), top, bottom)), leader.region}));
        }
        all.append(leader);
    }
    return all;
}

QList<int> CategoryMap::labelIndexes()
{
    QList<int> indexes;
    for (const LabelDesign &design : Labels)
        indexes.append(design.index);
    return indexes;
}

QLabel *CategoryMap::label(int index) const
{
    const Control *control = find(index, false);
    return control ? static_cast<QLabel *>(control->widget) : nullptr;
}

QWidget *CategoryMap::picture(int index) const
{
    const Control *control = find(index, true);
    return control ? control->widget : nullptr;
}

QCursor CategoryMap::handCursor()
{
    static const QCursor cursor = [] {
        initResources();
        return SvgCursor::fromResource(resource("main.svg"), 12, 1);
    }();
    return cursor;
}

void CategoryMap::hoverLabel(int index)
{
    if (m_indexSurvole == index)
        return;
    const QColor normal = buttonText();
    for (const Control &control : std::as_const(m_controls))
        if (!control.picture)
            setTextColour(static_cast<QLabel *>(control.widget), control.index == index ? highlightColour() : normal);
    m_indexSurvole = index;
}

void CategoryMap::hoverImage()
{
    const QColor normal = buttonText();
    for (const Control &control : std::as_const(m_controls))
        if (!control.picture)
            setTextColour(static_cast<QLabel *>(control.widget), normal);
    m_indexSurvole = 0;
}

bool CategoryMap::eventFilter(QObject *watched, QEvent *event)
{
    switch (event->type()) {
    case QEvent::KeyPress:
        if (watched == m_image && keyPressed(static_cast<QKeyEvent *>(event)->key()))
            return true;
        break;
    case QEvent::FocusIn:
    case QEvent::FocusOut:
        if (watched == m_image) {
            if (!m_current)
                m_current = readingOrder().value(0);
            setCurrent(m_current);
        }
        break;
    case QEvent::MouseMove:
        if (watched == m_image)
            hoverImage();
        else if (const Control *control = find(watched); control && !control->picture)
            hoverLabel(control->index);
        break;
    case QEvent::MouseButtonPress:
        if (static_cast<QMouseEvent *>(event)->button() == Qt::LeftButton)
            m_pressed = find(watched) ? static_cast<QWidget *>(watched) : nullptr;
        break;
    case QEvent::MouseButtonRelease: {
        auto *mouse = static_cast<QMouseEvent *>(event);
        const Control *control = find(watched);
        const bool click = control && mouse->button() == Qt::LeftButton && m_pressed == control->widget &&
                           control->widget->rect().contains(mouse->position().toPoint());
        m_pressed = nullptr;
        if (click) {
            open(control->widget);
            return true;
        }
        break;
    }
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}

const CategoryMap::Control *CategoryMap::find(const QObject *widget) const
{
    for (const Control &control : m_controls)
        if (control.widget == widget)
            return &control;
    return nullptr;
}

const CategoryMap::Control *CategoryMap::find(int index, bool picture) const
{
    for (const Control &control : m_controls)
        if (control.index == index && control.picture == picture)
            return &control;
    return nullptr;
}

void CategoryMap::setTextColour(QLabel *label, const QColor &colour) const
{
    // Only a real change touches the palette: a label keeping its colour is not repainted.
    QPalette palette = label->palette();
    if (palette.color(QPalette::WindowText) == colour && label->testAttribute(Qt::WA_SetPalette))
        return;
    palette.setColor(QPalette::WindowText, colour);
    label->setPalette(palette);
}

QWidget *CategoryMap::keyboardStop() const
{
    return m_image;
}

QList<QWidget *> CategoryMap::readingOrder() const
{
    QList<const Control *> sorted;
    for (const Control &control : m_controls)
        sorted.append(&control);
    std::stable_sort(sorted.begin(), sorted.end(), [](const Control *a, const Control *b) {
        return std::pair(a->twips.top(), a->twips.left()) < std::pair(b->twips.top(), b->twips.left());
    });
    QList<QWidget *> order;
    for (const Control *control : std::as_const(sorted))
        order.append(control->widget);
    return order;
}

QWidget *CategoryMap::currentRegion() const
{
    return m_current ? m_current : readingOrder().value(0);
}

QWidget *CategoryMap::focusFrame() const
{
    return m_focusFrame;
}

void CategoryMap::open(QWidget *region)
{
    const Control *control = find(region);
    if (!control)
        return;
    setCurrent(region);
    // Copied out: the dialog opened from here runs a nested event loop.
    const int index = control->index;
    const bool picture = control->picture;
    emit categoryClicked(index, picture);
}

bool CategoryMap::keyPressed(int key)
{
    const QList<QWidget *> order = readingOrder();
    const qsizetype at = order.indexOf(currentRegion());
    switch (key) {
    case Qt::Key_Down:
    case Qt::Key_Right:
        setCurrent(order.value(std::min(at + 1, order.size() - 1)));
        return true;
    case Qt::Key_Up:
    case Qt::Key_Left:
        setCurrent(order.value(std::max<qsizetype>(at - 1, 0)));
        return true;
    case Qt::Key_Home:
        setCurrent(order.first());
        return true;
    case Qt::Key_End:
        setCurrent(order.last());
        return true;
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Space:
        open(currentRegion());
        return true;
    default:
        return false;
    }
}

void CategoryMap::setCurrent(QWidget *region)
{
    const bool moved = region != m_current;
    m_current = region;
    placeFocusFrame();
    if (moved && m_image->hasFocus() && region) {
        QAccessibleEvent focused(region, QAccessible::Focus);
        QAccessible::updateAccessibility(&focused);
    }
}

void CategoryMap::placeFocusFrame()
{
    if (!m_focusFrame)
        return;
    const bool shown = m_current && m_image->hasFocus();
    if (shown) {
        const int margin = FocusFrame::Margin;
        m_focusFrame->setGeometry(m_current->geometry().adjusted(-margin, -margin, margin, margin));
        m_focusFrame->raise();
    }
    m_focusFrame->setVisible(shown);
}

#include "CategoryMap.moc"
