#pragma once

#include "SignsToCheck.h"

#include <QDialog>

class ItemList;
class QPushButton;
class QScrollArea;

// frmAVerifier, "Signes à vérifier": a group per syndrome that leads the ranking, headed
// by its name and sum, with the recorded signs that support it and its signs to check,
// each with a check box. Sized, placed and framed like the sign dialog. "Valider" accepts,
// and validated() then says what the recorded signs become; the dialog itself changes no
// list of the main window.
class SignsToCheckDialog final : public QDialog
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(SignsToCheckDialog)

public:
    // `groups` as SignsToCheck::groups made them; `signes` are the recorded signs.
    SignsToCheckDialog(QWidget *parent, QList<SignsToCheck::Group> groups, const QList<ListEntry> &signes);
    ~SignsToCheckDialog() override;

    // Once closed by "Valider": the recorded signs with the marked ones appended.
    QList<ListEntry> validated() const;

protected:
    // Enter presses the focused button and nothing else: in a list it would otherwise
    // press "Valider" before the practitioner has finished marking.
    void keyPressEvent(QKeyEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    // A list that takes the focus is brought whole into view, with its group if it fits.
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QWidget *buildGroups();
    QWidget *buildGroup(int index, QWidget *parent);
    void buildButtons(bool offered);
    // A sign listed under several syndromes is one sign: its mark follows it everywhere.
    void markEverywhere(qint32 number, bool marked);

    QList<SignsToCheck::Group> m_groups;
    QList<ListEntry> m_signes;
    QScrollArea *m_area = nullptr;
    QList<ItemList *> m_lists;
    QPushButton *m_choix[2] = {};
};
