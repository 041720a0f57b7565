#pragma once

#include <QWidget>

class QLabel;
class QProgressBar;

// frmProgress: the small window shown while the weight table is rebuilt. Its label never
// changes; the bar runs from 0 to 100 with a single-precision value. The bar itself only
// holds whole steps, so it counts in tenths, rounded down so that it never looks finished
// before the end, and the value given is kept as it came.
class ProgressWindow final : public QWidget
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(ProgressWindow)

public:
    static constexpr int StepsPerUnit = 10;

    explicit ProgressWindow(QWidget *parent = nullptr);

    float value() const { return m_value; }
    // Returns true when what the bar shows changed.
    bool setValue(float value);

protected:
    // Only the command that opened the window closes it: the practitioner cannot.
    void closeEvent(QCloseEvent *event) override;

private:
    QLabel *m_titre;
    QProgressBar *m_progression;
    float m_value = 0.0f;
};
