#pragma once

#include "ModalityChoice.h"

#include <QDialog>

class ItemList;
class QLabel;
class QLineEdit;
class QPushButton;

// frmModalités: lists what its opener loaded into a ModalityChoice (the signs of a
// category or of a syndrome to mark and record, or the syndromes of a sign, read only)
// with the recorded signs marked; "Valider" accepts, and validated() then says what the
// recorded signs become. The dialog itself changes no list of the main window.
//
// For the search across the whole base it shows a search field above a shorter list:
// each keystroke lists what the words typed find, with each sign's category beside it, and
// "Valider" touches only the signs it listed or whose mark was changed.
class ModalityDialog final : public QDialog
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(ModalityDialog)

public:
    // `choice` is loaded already; `signes` are the recorded signs.
    ModalityDialog(QWidget *parent, const QString &title, ModalityChoice choice, const QList<ListEntry> &signes);
    ~ModalityDialog() override;

    // Once closed by "Valider": the recorded signs brought in line with the marks.
    QList<ListEntry> validated() const;

protected:
    // Enter presses the button that has the keyboard and no other; Escape closes nothing
    // (in the search field, Enter goes to the list and Escape clears the field, or cancels
    // when it is empty).
    void keyPressEvent(QKeyEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    void buildTitle(const QString &title);
    void buildList(const QString &title);
    void buildSearchField();
    void buildButtons();
    void search(const QString &typed);
    void showMarks();

    ModalityChoice m_choice;
    QList<ListEntry> m_signes;
    QLabel *m_titre = nullptr;
    QLineEdit *m_recherche = nullptr;
    ItemList *m_liste = nullptr;
    QPushButton *m_choix[2] = {};
    bool m_searchFailed = false;
};
