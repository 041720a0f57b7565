#include "SplashWindow.h"

#include "AppVersion.h"
#include "Fonts.h"
#include "HelpResources.h"
#include "InfoLayout.h"
#include "InfoPicture.h"
#include "Twips.h"
#include "VersionText.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QFrame>
#include <QGuiApplication>
#include <QLabel>
#include <QPainter>
#include <QScreen>
#include <QTimer>
#include <qdrawutil.h>

SplashWindow::SplashWindow(QWidget *parent) : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint)
{
    HelpResources::initialise();
    setObjectName(QStringLiteral("frmSplash"));
    setFixedSize(Twips::toPixels(7470, 3375));

    auto *frame = new QFrame(this);
    frame->setObjectName(QStringLiteral("fraMainFrame"));
    frame->setFrameStyle(QFrame::Box | QFrame::Sunken);
    Twips::place(frame, 45, -15, 7380, 3270);

    auto *logo = new InfoPicture(QStringLiteral(":/help/icons/logo.svg"), frame);
    logo->setObjectName(QStringLiteral("picLogo"));
    Twips::place(logo, 360, 480, 1815, 2385);

    QLabel *name = InfoLayout::addLabel(frame, "lblProductName", QString::fromUtf8(AppVersion::ProductName),
                                        Fonts::arial(26.25, true));
    InfoLayout::placeLabel(name, 2520, 720, 4515, 615);
    QLabel *version = InfoLayout::addLabel(frame, "lblVersion", QStringLiteral("Version"), Fonts::arial(12, true));
    version->setText(VersionText::application());
    version->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    // The version grows leftwards from its design place, keeping the right edge under the name.
    InfoLayout::placeLabel(version, 6120, 1800, 885, 285, true);
    QLabel *copyright = InfoLayout::addLabel(frame, "lblCopyright", Copyright, Fonts::arial(8.25));
    InfoLayout::placeLabel(copyright, 4560, 2640, 2415, 255);
}

void SplashWindow::showAndPaint()
{
    if (const QScreen *screen = QGuiApplication::primaryScreen()) {
        QRect place = rect();
        place.moveCenter(screen->availableGeometry().center());
        move(place.topLeft());
    }
    show();
    raise();
    // A window server maps a new window a little later and only then has it painted: wait
    // for that first painting in an event loop of its own, deaf to the practitioner's
    // input and bounded, so that start-up goes on with the splash on screen.
    if (!m_painted) {
        QEventLoop loop;
        m_firstPaint = &loop;
        QTimer::singleShot(MaxWaitMs, &loop, &QEventLoop::quit);
        loop.exec(QEventLoop::ExcludeUserInputEvents);
        m_firstPaint = nullptr;
    }
    if (!m_painted)
        repaint();
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void SplashWindow::paintEvent(QPaintEvent *event)
{
    Q_UNUSED(event)
    // The raised edge of a fixed dialog border, drawn by the window itself as it has no frame.
    QPainter painter(this);
    qDrawWinPanel(&painter, rect(), palette(), false);
    m_painted = true;
    if (m_firstPaint)
        m_firstPaint->quit();
}
