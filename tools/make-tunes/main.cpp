// make-tunes: writes the six background tunes as Standard MIDI Files.
//   make-tunes --out <folder>
#include "tunes.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QSaveFile>
#include <QTextStream>

#include <stdexcept>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QCommandLineParser parser;
    parser.setApplicationDescription("Writes the background tunes 乐曲01.mid to 乐曲06.mid.");
    parser.addHelpOption();
    parser.addOption({"out", "Folder to write the tunes into.", "folder"});
    parser.process(app);
    QTextStream err(stderr);
    if (!parser.isSet("out")) {
        err << "make-tunes: --out <folder> is required\n";
        return 2;
    }
    const QDir out(parser.value("out"));
    if (!QDir().mkpath(out.path())) {
        err << "make-tunes: cannot create " << out.path() << "\n";
        return 1;
    }

    QTextStream cout(stdout);
    try {
        quint32 seed = 0x5EED0001;
        for (const Tune& tune : allTunes()) {
            double seconds = 0;
            const QByteArray midi = toMidi(tune.piece, seed++, &seconds);
            QSaveFile file(out.filePath(tune.fileName));
            if (!file.open(QIODevice::WriteOnly) || file.write(midi) != midi.size() || !file.commit()) {
                err << "make-tunes: cannot write " << file.fileName() << ": " << file.errorString() << "\n";
                return 1;
            }
            cout << tune.fileName << "  " << tune.description << "  " << QString::number(seconds, 'f', 1)
                 << " s\n";
        }
    } catch (const std::invalid_argument& e) {
        err << "make-tunes: " << e.what() << "\n";
        return 1;
    }
    return 0;
}
