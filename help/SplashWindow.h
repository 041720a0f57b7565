#pragma once

#include <QWidget>

class QEventLoop;

// frmSplash: the product's name, version and logo while the program starts. A fixed,
// borderless panel centred on the screen, with no reaction of its own: start-up shows it
// and removes it.
class SplashWindow final : public QWidget
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(SplashWindow)

public:
    static inline const QString Copyright = QStringLiteral("© 2026 Tessavor");

    explicit SplashWindow(QWidget *parent = nullptr);

    // Centres and shows the window and has it painted before returning, so that it is on
    // screen while start-up goes on without an event loop. Waits at most MaxWaitMs for the
    // window system to put it on screen.
    void showAndPaint();

    static constexpr int MaxWaitMs = 200;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    bool m_painted = false;
    QEventLoop *m_firstPaint = nullptr;
};
