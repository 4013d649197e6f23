// Plays a MIDI tune once through the General MIDI soundfont, at the program's wave volume.
#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>

#include <memory>
#include <optional>

namespace sound {

class MidiPlayer : public QObject {
    Q_OBJECT

public:
    explicit MidiPlayer(QObject* parent = nullptr);
    ~MidiPlayer() override;

    void setFileName(const QString& path);
    QString fileName() const { return fileName_; }

    // Reads the tune and loads the soundfont. Throws sound::Error when the file is missing or not a
    // Standard MIDI File, or when no soundfont can be loaded; the player is then closed.
    void open();
    bool isOpen() const;
    // Starts the tune from the beginning unless it is already playing; it plays once and stops by
    // itself. Throws sound::Error when not open or when no audio output can be opened.
    void play();
    // Stops the tune and frees the synth; does nothing when closed.
    void close();
    bool isPlaying() const;

    // Renders a tune through the same synth setup and the current wave volume into a 16-bit stereo
    // WAV file, ending when the tune has died away or after maxSeconds. On failure sets error,
    // writes no file and returns false.
    static bool renderToWav(const QString& midi, const QString& wavOut, int maxSeconds,
                            QString* error = nullptr);

    // The soundfont in use: an explicit path (tests), or the first installed General MIDI one.
    static QString soundFontPath();
    static void setSoundFontOverride(std::optional<QString> path);

private:
    struct Engine;
    void startPlayer();

    QString fileName_;
    QByteArray midi_;
    std::unique_ptr<Engine> engine_;
};

} // namespace sound
