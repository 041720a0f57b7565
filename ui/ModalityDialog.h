#pragma once

#include "ModalityChoice.h"

#include <QDialog>

class DataSource;
class ItemList;
class QLabel;
class QLineEdit;
class QPushButton;

// frmModalités: lists the signs of a category or of a syndrome (to mark and record) or
// the syndromes of a sign (read only), deciding which from Shared::signeChoisi and
// Shared::categorieChoisie when it loads; "Valider" brings Signes in line with the marks.
// Both shared numbers are 0 again whenever the dialog has closed, however it closed.
//
// Opened for the search across the whole base, it shows a search field above a shorter
// list: each keystroke lists what the words typed find, with each sign's category beside
// it, and "Valider" touches only the signs it listed or whose mark was changed.
class ModalityDialog final : public QDialog
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(ModalityDialog)

public:
    // Set the shared numbers first, then open with the title: loads, runs modally, closes.
    // Database failures are told to the practitioner (the dialog then opens empty).
    static void open(QWidget *parent, const QString &title, DataSource &listeValeurs, ItemList &signes,
                     const ItemList &syndromes);
    // The search across the whole base, modally.
    static void openSearch(QWidget *parent, DataSource &listeValeurs, ItemList &signes);

    ModalityDialog(QWidget *parent, const QString &title, DataSource &listeValeurs, ItemList &signes,
                   const ItemList &syndromes);
    // The search.
    ModalityDialog(QWidget *parent, DataSource &listeValeurs, ItemList &signes);
    ~ModalityDialog() override;

    // Closing, by a button or otherwise: the shared numbers go back to 0 first.
    void done(int result) override;

protected:
    // Neither Enter nor Escape reaches a button or closes the dialog (in the search
    // field, Enter goes to the list and Escape clears the field, or cancels when empty).
    void keyPressEvent(QKeyEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    ModalityDialog(QWidget *parent, const QString &title, ModalityChoice choice, DataSource &listeValeurs,
                   ItemList &signes);
    void search(const QString &typed);
    void showMarks();
    void valider();
    void annuler();

    ModalityChoice m_choice;
    ItemList &m_signes;
    QLabel *m_titre = nullptr;
    QLineEdit *m_recherche = nullptr;
    ItemList *m_liste = nullptr;
    QPushButton *m_choix[2] = {};
    bool m_searchFailed = false;
};
