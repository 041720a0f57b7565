#pragma once

#include <QWidget>

class QLabel;
class QProgressBar;

// frmProgress: the small window shown while the weight table is rebuilt, or an Access
// knowledge base is imported. Its label never changes once made; the bar runs from 0 to
// 100 with a single-precision value. The bar itself only
// holds whole steps, so it counts in tenths, rounded down so that it never looks finished
// before the end, and the value given is kept as it came.
class ProgressWindow final : public QWidget
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(ProgressWindow)

public:
    static constexpr int StepsPerUnit = 10;

    static inline const QString RegenerationText =
        QStringLiteral("Régénération de la base en cours, un peu de patience");

    explicit ProgressWindow(QWidget *parent = nullptr, const QString &text = RegenerationText);

    float value() const { return m_value; }
    // Returns true when what the bar shows changed.
    bool setValue(float value);
    // Lets the window system show the window as it is now, without handing the
    // practitioner's clicks and keys to any window: those wait until the command is over.
    void paintNow();

protected:
    // Only the command that opened the window closes it: the practitioner cannot.
    void closeEvent(QCloseEvent *event) override;

private:
    QLabel *m_titre;
    QProgressBar *m_progression;
    float m_value = 0.0f;
};
