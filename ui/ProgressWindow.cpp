#include "ProgressWindow.h"

#include "Fonts.h"
#include "Twips.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QLabel>
#include <QProgressBar>

#include <algorithm>
#include <cmath>

ProgressWindow::ProgressWindow(QWidget *parent, const QString &text)
    : QWidget(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint), m_titre(new QLabel(text, this)),
      m_progression(new QProgressBar(this))
{
    setObjectName(QStringLiteral("frmProgress"));
    setFixedSize(Twips::toPixels(5280, 1425));

    m_titre->setObjectName(QStringLiteral("Titre"));
    m_titre->setGeometry(Twips::toPixels(240, 240, 4815, 375));
    m_titre->setFont(Fonts::tahoma(9.75));
    m_titre->setAlignment(Qt::AlignCenter);

    m_progression->setObjectName(QStringLiteral("Progression"));
    m_progression->setGeometry(Twips::toPixels(240, 840, 4695, 255));
    m_progression->setRange(0, 100 * StepsPerUnit);
    m_progression->setValue(0);
    m_progression->setTextVisible(false);
}

bool ProgressWindow::setValue(float value)
{
    m_value = value;
    const int step = static_cast<int>(std::floor(std::clamp(value, 0.0f, 100.0f) * StepsPerUnit));
    if (step == m_progression->value())
        return false;
    m_progression->setValue(step);
    return true;
}

void ProgressWindow::paintNow()
{
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    repaint();
}

void ProgressWindow::closeEvent(QCloseEvent *event)
{
    if (event->spontaneous())
        event->ignore();
    else
        QWidget::closeEvent(event);
}
