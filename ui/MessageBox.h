#pragma once

#include <QList>
#include <QString>

class QWidget;

// Message boxes as the program uses them: a text, a title (the application's title when
// none is given), OK or OK and Cancel, an icon, and details the practitioner can unfold
// (the engine's own words behind a French message); returns the button pressed.
// Test seam: a test queues the answers in advance, so no box ever blocks offscreen; every
// box shown is recorded.
class MessageBox
{
public:
    enum class Buttons { Ok, OkCancel };
    enum class Icon { None, Question, Exclamation, Critical };
    enum class Answer { Ok, Cancel };

    struct Shown {
        QString text;
        QString title;
        Buttons buttons;
        Icon icon;
        QString details;
    };

    static Answer show(QWidget *parent, const QString &text, Buttons buttons = Buttons::Ok, Icon icon = Icon::None,
                       const QString &title = QString(), const QString &details = QString());

    // Test seam. While answers are queued, boxes are not shown but answered from the queue;
    // with an empty queue and testing on, they are answered Ok (or Cancel for OkCancel
    // when setDefaultAnswer says so).
    static void setTesting(bool on);
    static void setNextAnswer(Answer answer);
    static QList<Shown> takeShown();

private:
    static Answer ask(QWidget *parent, const Shown &box);
};
