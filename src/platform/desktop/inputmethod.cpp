#include "inputmethod.h"

#include <QProcess>
#include <QStandardPaths>
#include <QWidget>

#include <optional>

namespace desktop {

namespace {

InputMethodProvider& provider()
{
    static InputMethodProvider p;
    return p;
}

// A framework tool must answer quickly: the notes window waits for it before it shows.
constexpr int ToolTimeoutMs = 1500;

// Runs a framework tool; its standard output when it ran and succeeded, else nothing.
std::optional<QString> runTool(const QString& program, const QStringList& args)
{
    const QString path = QStandardPaths::findExecutable(program);
    if (path.isEmpty()) return std::nullopt;
    QProcess p;
    p.setProcessChannelMode(QProcess::SeparateChannels);
    p.start(path, args, QIODevice::ReadOnly);
    if (!p.waitForStarted(ToolTimeoutMs)) return std::nullopt;
    if (!p.waitForFinished(ToolTimeoutMs)) {
        p.kill();
        p.waitForFinished(ToolTimeoutMs);
        return std::nullopt;
    }
    if (p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0) return std::nullopt;
    return QString::fromUtf8(p.readAllStandardOutput());
}

struct Engine {
    QString id;
    QString longName;
};

// "ibus list-engine" prints "language: ..." headings and "  <id> - <long name>" lines.
QList<Engine> ibusEngines()
{
    QList<Engine> engines;
    const std::optional<QString> out = runTool(QStringLiteral("ibus"), {QStringLiteral("list-engine")});
    if (!out) return engines;
    for (const QString& line : out->split(u'\n')) {
        if (!line.startsWith(u' ') && !line.startsWith(u'\t')) continue;
        const QString entry = line.trimmed();
        const qsizetype dash = entry.indexOf(QStringLiteral(" - "));
        if (dash <= 0) continue;
        engines.append({entry.left(dash).trimmed(), entry.mid(dash + 3).trimmed()});
    }
    return engines;
}

QString fcitxCurrent()
{
    const std::optional<QString> out = runTool(QStringLiteral("fcitx5-remote"), {QStringLiteral("-n")});
    return out ? out->trimmed() : QString();
}

QStringList frameworkMethods()
{
    QStringList names;
    for (const Engine& e : ibusEngines()) {
        if (!e.longName.isEmpty()) names << e.longName;
        names << e.id;
    }
    const QString current = fcitxCurrent();
    if (!current.isEmpty()) names << current;
    names.removeDuplicates();
    return names;
}

bool frameworkSelect(const QString& name)
{
    for (const Engine& e : ibusEngines())
        if (e.id == name || e.longName == name)
            return runTool(QStringLiteral("ibus"), {QStringLiteral("engine"), e.id}).has_value();
    if (!fcitxCurrent().isEmpty())
        return runTool(QStringLiteral("fcitx5-remote"), {QStringLiteral("-s"), name}).has_value() &&
               fcitxCurrent() == name;
    return false;
}

} // namespace

QStringList installedInputMethods()
{
    if (provider().list) return provider().list();
    return frameworkMethods();
}

bool selectInputMethod(QWidget* widget, const QString& name)
{
    if (name.isEmpty()) return false;
    if (widget) widget->setAttribute(Qt::WA_InputMethodEnabled, true);
    if (provider().select) return provider().select(widget, name);
    return frameworkSelect(name);
}

void setInputMethodProvider(InputMethodProvider p)
{
    provider() = std::move(p);
}

} // namespace desktop
