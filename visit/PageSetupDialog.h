#pragma once

#include <QDialog>
#include <QPageLayout>
#include <QStringList>

#include <functional>

class QComboBox;
class QDoubleSpinBox;
class QGroupBox;
class QRadioButton;

// What the page set-up shows and returns: the printer and the page.
struct PageChoice {
    QString printer; // empty when no printer is installed
    QPageLayout layout;
};

// "Mise en page": the installed printers (the current one selected), the paper, the
// orientation and the margins. No copies and no page range: the report is printed whole,
// once. Annuler changes nothing.
class PageSetupDialog final : public QDialog
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(PageSetupDialog)

public:
    // `papersOf` gives the short names of the papers a printer takes (empty: it does not
    // say, and the common papers are offered).
    PageSetupDialog(const QStringList &printers, std::function<QStringList(const QString &)> papersOf,
                    const PageChoice &initial, QWidget *parent = nullptr);

    PageChoice choice() const;

private:
    QGroupBox *printerBox(const QStringList &printers, const QString &current);
    QGroupBox *orientationBox(QPageLayout::Orientation current);
    QGroupBox *marginBox(const QMarginsF &margins);
    void fillPapers(const QPageSize &keep);

    std::function<QStringList(const QString &)> m_papersOf;
    QComboBox *m_printers;
    QComboBox *m_papers;
    QRadioButton *m_portrait;
    QRadioButton *m_landscape;
    QDoubleSpinBox *m_margins[4]; // left, top, right, bottom
};
