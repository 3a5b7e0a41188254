// The floors of bench_startup: the least a Qt Widgets program does to show a window of the login
// window's size and kind (borderless). With "text" in its name it also shows a line of Chinese,
// so it pays what any window with text pays (the font system and the first glyphs), which the
// bare floor does not.
#include <QApplication>
#include <QFileInfo>
#include <QLabel>
#include <QWidget>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QWidget window(nullptr, Qt::Dialog | Qt::FramelessWindowHint);
    window.setWindowTitle(QStringLiteral("登录"));
    window.setFixedSize(489, 310);
    if (QFileInfo(QString::fromLocal8Bit(argv[0])).fileName().contains(QLatin1String("text"))) {
        auto *line = new QLabel(QStringLiteral("股票预警系统 用户登录"), &window);
        line->move(24, 48);
    }
    window.show();
    return QApplication::exec();
}
