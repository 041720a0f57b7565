#pragma once

#include <QString>
#include <QToolBar>

class QAction;

// tbToolBar: the visit commands as buttons, each carrying its key ("New", "Open", "Save",
// "Print", "Cut", "Carnet", "Visites") as its action's objectName and data. A click is
// passed on as the key alone. The actions carry no shortcut: Ctrl+N, Ctrl+O and Ctrl+S
// belong to the menu items, which are disabled.
class VisitToolBar final : public QToolBar
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(VisitToolBar)

public:
    explicit VisitToolBar(QWidget *parent = nullptr);

    // The button's action for a key, or nullptr.
    QAction *button(const QString &key) const;

signals:
    void buttonClicked(const QString &key);

private:
    void addButton(const QString &key, const QString &icon, const QString &toolTip);
    void onActionTriggered(QAction *action);
};
