// The yardstick of the start-up measurement (bench/startup_paired.sh): the smallest Qt
// program with a window of the main window's size, started the same way, so that what the
// toolkit costs by itself is measured beside what the program adds.
#include <QApplication>
#include <QWidget>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QWidget window;
    window.setWindowTitle(QStringLiteral("Fenêtre vide"));
    window.resize(800, 600);
    window.show();
    return QApplication::exec();
}
