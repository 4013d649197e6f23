// Program entry of Prepdesk.
#include "platform/desktop/modal.h"
#include "platform/desktop/singleinstance.h"
#include "shell/startup.h"

#include <QApplication>

namespace {

// The program's general error report: a failure that no window handled is shown to the
// learner in the program's words, and the program goes on instead of ending.
class PrepdeskApplication : public QApplication {
public:
    using QApplication::QApplication;
    bool notify(QObject* receiver, QEvent* event) override
    {
        try {
            return QApplication::notify(receiver, event);
        } catch (const std::exception& e) {
            report(QString::fromUtf8(e.what()));
        } catch (...) {
            report(QStringLiteral("未知错误"));
        }
        return false;
    }

private:
    static void report(const QString& detail)
    {
        desktop::messageBox(nullptr, QMessageBox::Critical, QStringLiteral("错误"),
                            QStringLiteral("操作未能完成。\n\n") + detail);
    }
};

} // namespace

int main(int argc, char* argv[])
{
    PrepdeskApplication app(argc, argv);
    desktop::SingleInstance single(QStringLiteral("Orvanta"));
    if (!StartProgram(&single))
        return 0;
    const int rc = app.exec();
    StopProgram();
    return rc;
}
