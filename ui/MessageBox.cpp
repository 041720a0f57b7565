#include "MessageBox.h"

#include "AppVersion.h"
#include "BusyPointer.h"

#include <QApplication>
#include <QMessageBox>

#include <deque>

namespace {

bool testing = false;
std::deque<MessageBox::Answer> answers;
QList<MessageBox::Shown> shown;

} // namespace

MessageBox::Answer MessageBox::show(QWidget *parent, const QString &text, Buttons buttons, Icon icon,
                                    const QString &title, const QString &details)
{
    const Shown box{text, title.isEmpty() ? QString::fromLatin1(AppVersion::Title) : title, buttons, icon, details};
    shown.append(box);
    if (!answers.empty()) {
        const Answer a = answers.front();
        answers.pop_front();
        return a;
    }
    if (testing)
        return Answer::Ok;
    return ask(parent, box);
}

MessageBox::Answer MessageBox::ask(QWidget *parent, const Shown &box)
{
    QMessageBox mb(parent);
    mb.setWindowTitle(box.title);
    // Texts carry file names, signs and syndromes as they stand in files the practitioner
    // does not control: read as markup, a name such as "<font size=7>x.mdb" would restyle
    // the box and hide its own tags. No box of the program words itself in markup.
    mb.setTextFormat(Qt::PlainText);
    mb.setText(box.text);
    if (!box.details.isEmpty())
        mb.setDetailedText(box.details);
    switch (box.icon) {
    case Icon::Question:
        mb.setIcon(QMessageBox::Question);
        break;
    case Icon::Exclamation:
        mb.setIcon(QMessageBox::Warning);
        break;
    case Icon::Critical:
        mb.setIcon(QMessageBox::Critical);
        break;
    case Icon::None:
        break;
    }
    if (box.buttons == Buttons::OkCancel) {
        mb.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
        mb.setDefaultButton(QMessageBox::Ok);
        mb.setEscapeButton(QMessageBox::Cancel);
    } else {
        mb.setStandardButtons(QMessageBox::Ok);
    }
    // A box on screen must never hide behind the busy pointer.
    const bool wasBusy = BusyPointer::isBusy();
    if (wasBusy)
        QApplication::setOverrideCursor(Qt::ArrowCursor);
    const int result = mb.exec();
    if (wasBusy)
        QApplication::restoreOverrideCursor();
    return result == QMessageBox::Ok ? Answer::Ok : Answer::Cancel;
}

void MessageBox::setTesting(bool on)
{
    testing = on;
}

void MessageBox::setNextAnswer(Answer answer)
{
    answers.push_back(answer);
}

QList<MessageBox::Shown> MessageBox::takeShown()
{
    return std::exchange(shown, {});
}
