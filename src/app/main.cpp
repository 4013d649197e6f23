// Program entry of Prepdesk.
#include "platform/desktop/singleinstance.h"
#include "shell/startup.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    desktop::SingleInstance single(QStringLiteral("Orvanta"));
    if (!StartProgram(&single)) return 0;
    const int rc = app.exec();
    StopProgram();
    return rc;
}
