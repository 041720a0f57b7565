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

    static QStringList items(const QComboBox *box)
    {
        QStringList texts;
        for (int i = 0; i < box->count(); ++i)
            texts.append(box->itemText(i));
        return texts;
    }

private slots:
    // The current printer and page are shown; another printer offers its own papers, keeping
    // the paper when it has it; what is set is what comes back.
    void showsAndReturnsTheChoice()
    {
        const PageChoice initial{"Cabinet", QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                                        QMarginsF(10, 12, 14, 16), QPageLayout::Millimeter)};
        PageSetupDialog dialog({"Bureau", "Cabinet", "Étiquettes"}, &papersOf, initial);
        QCOMPARE(dialog.windowTitle(), QStringLiteral("Mise en page"));
        auto *printers = dialog.findChild<QComboBox *>(QStringLiteral("cboImprimante"));
        auto *papers = dialog.findChild<QComboBox *>(QStringLiteral("cboPapier"));
        QVERIFY(printers && papers);
        QCOMPARE(printers->currentText(), QStringLiteral("Cabinet"));
        QCOMPARE(papers->currentData().value<QPageSize>().id(), QPageSize::A4);
        QCOMPARE(dialog.findChild<QDoubleSpinBox *>(QStringLiteral("txtMargeBas"))->value(), 16.0);
        QVERIFY(dialog.findChild<QRadioButton *>(QStringLiteral("optPortrait"))->isChecked());

        printers->setCurrentText(QStringLiteral("Étiquettes"));
        QCOMPARE(papers->count(), 2); // its own papers only; A4 is not among them
        QCOMPARE(papers->currentData().value<QPageSize>().id(), QPageSize::A5);
        papers->setCurrentIndex(1);
        printers->setCurrentText(QStringLiteral("Bureau")); // says nothing: the common papers
        QVERIFY(items(papers).size() >= 4);
        QCOMPARE(papers->currentData().value<QPageSize>().id(), QPageSize::Letter);

        dialog.findChild<QRadioButton *>(QStringLiteral("optPaysage"))->setChecked(true);
        dialog.findChild<QDoubleSpinBox *>(QStringLiteral("txtMargeGauche"))->setValue(5);
        const PageChoice chosen = dialog.choice();
        QCOMPARE(chosen.printer, QStringLiteral("Bureau"));
        QCOMPARE(chosen.layout.pageSize().id(), QPageSize::Letter);
        QCOMPARE(chosen.layout.orientation(), QPageLayout::Landscape);
        QCOMPARE(chosen.layout.margins(QPageLayout::Millimeter), QMarginsF(5, 12, 14, 16));
    }

    void withoutPrinters()
    {
        PageSetupDialog dialog({}, &papersOf,
                               {QString(), QPageLayout(QPageSize(QPageSize::A5), QPageLayout::Portrait, QMarginsF(),
                                                       QPageLayout::Millimeter)});
        auto *printers = dialog.findChild<QComboBox *>(QStringLiteral("cboImprimante"));
        QVERIFY(!printers->isEnabled());
        QCOMPARE(printers->currentText(), QStringLiteral("Aucune imprimante installée"));
        QCOMPARE(dialog.choice().printer, QString());
        QCOMPARE(dialog.choice().layout.pageSize().id(), QPageSize::A5);
    }
};

QTEST_MAIN(TestPageSetupDialog)
#include "tst_pagesetupdialog.moc"
