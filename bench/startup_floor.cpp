// The floor of bench_startup: the least a Qt Widgets program does to show a window of the login
// window's size and kind (borderless), so the client's start-up can be read against it.
#include <QApplication>
#include <QWidget>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QWidget window(nullptr, Qt::Dialog | Qt::FramelessWindowHint);
    window.setWindowTitle(QStringLiteral("登录"));
    window.setFixedSize(489, 310);
    window.show();
    return QApplication::exec();
}
