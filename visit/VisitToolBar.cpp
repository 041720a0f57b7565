#include "VisitToolBar.h"

#include <QAction>
#include <QIcon>

VisitToolBar::VisitToolBar(QWidget *parent) : QToolBar(parent)
{
    // The icons live in this static library; its resources must be registered by hand.
    Q_INIT_RESOURCE(VisitIcons);

    setObjectName(QStringLiteral("tbToolBar"));
    setMovable(false);
    setFloatable(false);
    setIconSize(QSize(24, 24));
    addButton(QStringLiteral("New"), QStringLiteral("new"), QStringLiteral("Nouveau"));
    addButton(QStringLiteral("Open"), QStringLiteral("open"), QStringLiteral("Ouvrir"));
    addButton(QStringLiteral("Save"), QStringLiteral("save"), QStringLiteral("Enregistrer"));
    addSeparator();
    addButton(QStringLiteral("Print"), QStringLiteral("print"), QStringLiteral("Imprimer"));
    addSeparator();
    addButton(QStringLiteral("Cut"), QStringLiteral("cut"), QStringLiteral("Supprimer le symptome sélectionné"));
    addSeparator();
    addButton(QStringLiteral("Carnet"), QStringLiteral("carnet"), QStringLiteral("Ouvrir le carnet des clients"));
    addButton(QStringLiteral("Visites"), QStringLiteral("visites"), QStringLiteral("Ouvrir la gestion des visites"));
    connect(this, &QToolBar::actionTriggered, this, &VisitToolBar::onActionTriggered);
}

void VisitToolBar::addButton(const QString &key, const QString &icon, const QString &toolTip)
{
    QAction *action = addAction(QIcon(QStringLiteral(":/visit/icons/%1.svg").arg(icon)), toolTip);
    action->setObjectName(key);
    action->setData(key);
    action->setToolTip(toolTip);
}

QAction *VisitToolBar::button(const QString &key) const
{
    for (QAction *action : actions()) {
        if (!action->isSeparator() && action->data().toString() == key)
            return action;
    }
    return nullptr;
}

void VisitToolBar::onActionTriggered(QAction *action)
{
    const QString key = action->data().toString();
    if (!key.isEmpty())
        emit buttonClicked(key);
}
