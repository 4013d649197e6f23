// make-bank: builds the sample question bank (or a small fixture, or a large benchmark
// bank) into a new database file.
#include "bank.h"

#include "platform/db/error.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QStringList>

#include <cstdio>
#include <exception>

namespace {

constexpr int ExitError = 1;
constexpr int ExitFileExists = 2;

void printErr(const QString& text)
{
    std::fprintf(stderr, "make-bank: %s\n", text.toLocal8Bit().constData());
}

int usage(const QString& problem)
{
    printErr(problem);
    std::fprintf(stderr, "usage: make-bank --out FILE [--seed N] [--questions N] [--small]\n");
    return ExitError;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    makebank::Options options;
    QString out;
    const QStringList args = app.arguments().mid(1);
    for (int i = 0; i < args.size(); ++i) {
        const QString& a = args[i];
        const bool hasValue = i + 1 < args.size();
        if (a == QLatin1String("--small")) {
            options.small = true;
        } else if (a == QLatin1String("--out") && hasValue) {
            out = args[++i];
        } else if (a == QLatin1String("--seed") && hasValue) {
            bool ok = false;
            options.seed = args[++i].toULongLong(&ok);
            if (!ok) return usage(QStringLiteral("--seed needs a non-negative whole number"));
        } else if (a == QLatin1String("--questions") && hasValue) {
            bool ok = false;
            options.total = args[++i].toInt(&ok);
            if (!ok || options.total <= 0)
                return usage(QStringLiteral("--questions needs a positive whole number"));
        } else {
            return usage(QStringLiteral("unknown or incomplete option: ") + a);
        }
    }
    if (out.isEmpty()) return usage(QStringLiteral("--out is required"));
    if (options.small && options.total > 0)
        return usage(QStringLiteral("--small and --questions exclude each other"));
    // The learner's progress lives in the bank: never replace an existing file.
    if (QFileInfo::exists(out)) {
        printErr(QStringLiteral("%1 already exists; it is left as it is").arg(out));
        return ExitFileExists;
    }

    try {
        const makebank::Bank bank = makebank::buildBank(options);
        makebank::writeBank(bank, out);
        std::printf("%s: %d questions, %d shared stems, %d chapter rows, %d articles\n",
                    out.toLocal8Bit().constData(), int(bank.questions.size()), int(bank.stems.size()),
                    int(bank.chapters.size()), int(bank.articles.size()));
    } catch (const db::Error& e) {
        printErr(QStringLiteral("database error: ") + e.message());
        return ExitError;
    } catch (const std::exception& e) {
        printErr(QString::fromUtf8(e.what()));
        return ExitError;
    }
    return 0;
}
