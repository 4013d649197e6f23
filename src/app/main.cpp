// Program entry of Prepdesk.
#include <QApplication>
#include <QLabel>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Orvanta"));
    QLabel window(QStringLiteral("Prepdesk"));
    window.resize(800, 600);
    window.show();
    return app.exec();
}
