#pragma once

#include <QDialog>

class QLabel;
class QPushButton;
class Registry;

// frmAbout: title, version, description, terms of use and rights of the program, with the
// system-information launcher. Modal, centred on its owner; OK is both the default and
// the cancel button, so Enter and Escape close the box.
class AboutDialog final : public QDialog
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(AboutDialog)

public:
    static inline const QString Description =
        QStringLiteral("Aide au diagnostic en médecine traditionnelle chinoise, à partir des signes observés.");
    static inline const QString Disclaimer =
        QStringLiteral("Tessavor aide à la réflexion clinique : il ne remplace ni l'examen du patient ni le "
                       "jugement du praticien, qui reste seul responsable du diagnostic et du traitement.");
    static inline const QString Copyright = QStringLiteral("© 2026 Tessavor — aide au diagnostic en médecine chinoise");

    // The system-information launcher reads `registry`, the platform's when none is given.
    explicit AboutDialog(QWidget *parent = nullptr, Registry *registry = nullptr);

    // Every way of dismissing the box is the OK button.
    void reject() override;

private:
    void startSysInfo();

    Registry &m_registry;
    QPushButton *m_ok;
};
