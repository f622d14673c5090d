// The Quorvel program: a few lines over the shell library.
#include <QApplication>
#include <QMainWindow>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QMainWindow window;
    window.setWindowTitle(QStringLiteral("Quorvel Demonstration"));
    window.setFixedSize(800, 600);
    window.show();
    return app.exec();
}
