#include "PageSetupDialog.h"

#include <QComboBox>
#include <QDoubleSpinBox>
#include <QPageSize>
#include <QRadioButton>
#include <QTest>

// The page set-up dialog as the practitioner uses it.
class TestPageSetupDialog : public QObject
{
    Q_OBJECT

    static QStringList papersOf(const QString &printer)
    {
        return printer == QStringLiteral("Étiquettes") ? QStringList{"A5", "Letter"} : QStringList{};
    }

    static QPageLayout page(QPageSize::PageSizeId size, QPageLayout::Orientation orientation, const QMarginsF &margins)
    {
        return QPageLayout(QPageSize(size), orientation, margins, QPageLayout::Millimeter);
    }

private slots:
    // The current printer and page are shown; another printer offers its own papers (the
    // common ones when it says nothing), keeping the paper when it has it; what is set is
    // what comes back.
    void showsAndReturnsTheChoice()
    {
        PageSetupDialog dialog({"Bureau", "Cabinet", "Étiquettes"}, &papersOf,
                               {"Cabinet", page(QPageSize::A4, QPageLayout::Portrait, QMarginsF(10, 12, 14, 16))});
        QCOMPARE(dialog.windowTitle(), QStringLiteral("Mise en page"));
        auto *printers = dialog.findChild<QComboBox *>("cboImprimante");
        auto *papers = dialog.findChild<QComboBox *>("cboPapier");
        const auto paper = [papers] { return papers->currentData().value<QPageSize>().id(); };
        QCOMPARE(printers->currentText(), QStringLiteral("Cabinet"));
        QCOMPARE(paper(), QPageSize::A4);
        QCOMPARE(dialog.findChild<QDoubleSpinBox *>("txtMargeBas")->value(), 16.0);
        QVERIFY(dialog.findChild<QRadioButton *>("optPortrait")->isChecked());

        printers->setCurrentText(QStringLiteral("Étiquettes"));
        QCOMPARE(papers->count(), 2);
        QCOMPARE(paper(), QPageSize::A5);
        papers->setCurrentIndex(1);
        printers->setCurrentText(QStringLiteral("Bureau"));
        QVERIFY(papers->count() >= 4);
        QCOMPARE(paper(), QPageSize::Letter);
        dialog.findChild<QRadioButton *>("optPaysage")->setChecked(true);
        dialog.findChild<QDoubleSpinBox *>("txtMargeGauche")->setValue(5);
        QCOMPARE(dialog.choice().printer, QStringLiteral("Bureau"));
        QVERIFY(dialog.choice().layout.isEquivalentTo(
            page(QPageSize::Letter, QPageLayout::Landscape, QMarginsF(5, 12, 14, 16))));
    }

    void withoutPrinters()
    {
        PageSetupDialog dialog({}, &papersOf, {QString(), page(QPageSize::A5, QPageLayout::Portrait, {})});
        auto *printers = dialog.findChild<QComboBox *>("cboImprimante");
        QVERIFY(!printers->isEnabled());
        QCOMPARE(printers->currentText(), QStringLiteral("Aucune imprimante installée"));
        QVERIFY(dialog.choice().printer.isEmpty() && dialog.choice().layout.pageSize().id() == QPageSize::A5);
    }
};

QTEST_MAIN(TestPageSetupDialog)
#include "tst_pagesetupdialog.moc"
