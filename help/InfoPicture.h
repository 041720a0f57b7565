#pragma once

#include <QSvgRenderer>
#include <QWidget>

// A picture stored with a window: an SVG drawing scaled to the control, its proportions
// kept and centred.
class InfoPicture final : public QWidget
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(InfoPicture)

public:
    InfoPicture(const QString &resource, QWidget *parent = nullptr);

    bool isValid() const { return m_renderer.isValid(); }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QSvgRenderer m_renderer;
};
