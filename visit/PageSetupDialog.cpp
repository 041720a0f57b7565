#include "PageSetupDialog.h"

#include "PrintSetup.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QPageSize>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

PageSetupDialog::PageSetupDialog(const QStringList &printers, std::function<QStringList(const QString &)> papersOf,
                                 const PageChoice &initial, QWidget *parent)
    : QDialog(parent), m_papersOf(std::move(papersOf))
{
    setObjectName(QStringLiteral("dlgMiseEnPage"));
    setWindowTitle(QStringLiteral("Mise en page"));

    // Made in the order Tab goes through them.
    QGroupBox *printer = printerBox(printers, initial.printer);
    QGroupBox *orientation = orientationBox(initial.layout.orientation());
    QGroupBox *margins = marginBox(initial.layout.margins(QPageLayout::Millimeter));
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("OK"));
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("Annuler"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(printer);
    auto *row = new QHBoxLayout;
    row->addWidget(orientation);
    row->addWidget(margins);
    layout->addLayout(row);
    layout->addWidget(buttons);

    fillPapers(initial.layout.pageSize());
    connect(m_printers, &QComboBox::currentIndexChanged, this,
            [this] { fillPapers(m_papers->currentData().value<QPageSize>()); });
}

QGroupBox *PageSetupDialog::printerBox(const QStringList &printers, const QString &current)
{
    m_printers = new QComboBox(this);
    m_printers->setObjectName(QStringLiteral("cboImprimante"));
    m_printers->addItems(printers);
    if (printers.isEmpty()) {
        m_printers->addItem(QStringLiteral("Aucune imprimante installée"));
        m_printers->setEnabled(false);
    } else {
        m_printers->setCurrentIndex(std::max(0, int(printers.indexOf(current))));
    }
    m_papers = new QComboBox(this);
    m_papers->setObjectName(QStringLiteral("cboPapier"));

    auto *box = new QGroupBox(QStringLiteral("Imprimante"), this);
    auto *form = new QFormLayout(box);
    form->addRow(QStringLiteral("&Nom :"), m_printers);
    form->addRow(QStringLiteral("&Papier :"), m_papers);
    return box;
}

QGroupBox *PageSetupDialog::orientationBox(QPageLayout::Orientation current)
{
    auto *box = new QGroupBox(QStringLiteral("Orientation"), this);
    m_portrait = new QRadioButton(QStringLiteral("P&ortrait"), box);
    m_portrait->setObjectName(QStringLiteral("optPortrait"));
    m_landscape = new QRadioButton(QStringLiteral("P&aysage"), box);
    m_landscape->setObjectName(QStringLiteral("optPaysage"));
    auto *column = new QVBoxLayout(box);
    column->addWidget(m_portrait);
    column->addWidget(m_landscape);
    (current == QPageLayout::Landscape ? m_landscape : m_portrait)->setChecked(true);
    return box;
}

QGroupBox *PageSetupDialog::marginBox(const QMarginsF &margins)
{
    auto *box = new QGroupBox(QStringLiteral("Marges (mm)"), this);
    auto *grid = new QGridLayout(box);
    const struct {
        const char *name;
        const char *label;
        double value;
        int row, column;
    } fields[4] = {{"txtMargeGauche", "&Gauche :", margins.left(), 0, 0},
                   {"txtMargeHaut", "&Haut :", margins.top(), 1, 0},
                   {"txtMargeDroite", "&Droite :", margins.right(), 0, 2},
                   {"txtMargeBas", "&Bas :", margins.bottom(), 1, 2}};
    for (int i = 0; i < 4; ++i) {
        auto *spin = new QDoubleSpinBox(box);
        spin->setObjectName(QString::fromLatin1(fields[i].name));
        spin->setLocale(QLocale(QLocale::French, QLocale::France));
        spin->setDecimals(1);
        spin->setRange(0, 100);
        spin->setValue(fields[i].value);
        auto *label = new QLabel(QString::fromUtf8(fields[i].label), box);
        label->setBuddy(spin);
        grid->addWidget(label, fields[i].row, fields[i].column);
        grid->addWidget(spin, fields[i].row, fields[i].column + 1);
        m_margins[i] = spin;
    }
    return box;
}

void PageSetupDialog::fillPapers(const QPageSize &keep)
{
    QList<QPageSize> sizes;
    if (m_printers->isEnabled()) {
        for (const QString &key : m_papersOf(m_printers->currentText())) {
            const QPageSize size = Papers::fromKey(key);
            if (size.isValid() && !sizes.contains(size))
                sizes.append(size);
        }
    }
    if (sizes.isEmpty())
        sizes = Papers::common();
    m_papers->clear();
    for (const QPageSize &size : sizes)
        m_papers->addItem(size.name(), QVariant::fromValue(size));
    // The paper stays when the printer takes it; otherwise the printer's first one.
    m_papers->setCurrentIndex(std::max(0, int(sizes.indexOf(keep))));
}

PageChoice PageSetupDialog::choice() const
{
    PageChoice chosen;
    chosen.printer = m_printers->isEnabled() ? m_printers->currentText() : QString();
    const QMarginsF margins(m_margins[0]->value(), m_margins[1]->value(), m_margins[2]->value(), m_margins[3]->value());
    chosen.layout = QPageLayout(m_papers->currentData().value<QPageSize>(),
                                m_landscape->isChecked() ? QPageLayout::Landscape : QPageLayout::Portrait, margins,
                                QPageLayout::Millimeter);
    return chosen;
}
