// The sound layer: the six tunes rendered through the synth, the wave volume, files and soundfonts
// that cannot be played, and the sound-device check.
#include "platform/sound/error.h"
#include "platform/sound/midiplayer.h"
#include "platform/sound/soundcard.h"
#include "platform/sound/volume.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <cmath>
#include <optional>

using sound::MidiPlayer;

namespace {

// 16-bit PCM samples of a WAV file, interleaved.
struct Wav {
    int rate = 0;
    int channels = 0;
    QList<qint16> samples;

    qsizetype frames() const { return channels ? samples.size() / channels : 0; }
    double seconds() const { return rate ? double(frames()) / rate : 0; }
};

quint32 le(const QByteArray& b, qsizetype at, int bytes)
{
    quint32 v = 0;
    for (int i = bytes - 1; i >= 0; --i)
        v = v << 8 | quint8(b[at + i]);
    return v;
}

// Reads a RIFF/WAVE file with 16-bit PCM data; nothing when the layout is not that.
std::optional<Wav> readWav(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return std::nullopt;
    const QByteArray b = file.readAll();
    if (b.size() < 12 || !b.startsWith("RIFF") || b.mid(8, 4) != "WAVE" ||
        le(b, 4, 4) != quint32(b.size() - 8))
        return std::nullopt;
    Wav wav;
    for (qsizetype at = 12; at + 8 <= b.size();) {
        const QByteArray id = b.mid(at, 4);
        const qsizetype size = le(b, at + 4, 4);
        if (at + 8 + size > b.size()) return std::nullopt;
        if (id == "fmt ") {
            if (le(b, at + 8, 2) != 1 || le(b, at + 22, 2) != 16) return std::nullopt;
            wav.channels = int(le(b, at + 10, 2));
            wav.rate = int(le(b, at + 12, 4));
        } else if (id == "data") {
            for (qsizetype i = 0; i + 1 < size; i += 2)
                wav.samples.append(qint16(le(b, at + 8 + i, 2)));
        }
        at += 8 + size;
    }
    if (wav.rate == 0 || wav.channels == 0) return std::nullopt;
    return wav;
}

// Root mean square of samples [from, from + count), as a share of full scale.
double rms(const Wav& wav, qsizetype from, qsizetype count)
{
    double sum = 0;
    const qsizetype end = std::min(from + count, wav.samples.size());
    for (qsizetype i = from; i < end; ++i)
        sum += double(wav.samples[i]) * wav.samples[i];
    return end > from ? std::sqrt(sum / double(end - from)) / 32768.0 : 0;
}

double rms(const Wav& wav)
{
    return rms(wav, 0, wav.samples.size());
}

QString tunePath(const QString& name)
{
    return QStringLiteral(PREPDESK_SOURCE_DIR "/assets/sound/") + name + ".mid";
}

// The volume word the program sets for a level from 1 to 16.
uint32_t wordForLevel(int level)
{
    return uint32_t(level - 1) * 0x11111111u;
}

} // namespace

class TestSound : public QObject {
    Q_OBJECT

    QTemporaryDir dir_;
    uint32_t savedVolume_ = 0;

    Wav renderAt(const QString& midi, int level, int maxSeconds)
    {
        sound::setWaveVolume(wordForLevel(level));
        const QString out = dir_.filePath(QStringLiteral("level%1.wav").arg(level));
        QString error;
        if (!MidiPlayer::renderToWav(midi, out, maxSeconds, &error)) qWarning() << "render failed:" << error;
        return readWav(out).value_or(Wav{});
    }

    QString write(const QString& name, const QByteArray& bytes)
    {
        QFile f(dir_.filePath(name));
        if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size()) return {};
        return f.fileName();
    }

private slots:
    void initTestCase()
    {
        QVERIFY(dir_.isValid());
        savedVolume_ = sound::waveVolume();
        QVERIFY2(!MidiPlayer::soundFontPath().isEmpty(), "no General MIDI soundfont installed");
    }

    void cleanup()
    {
        sound::setWaveVolume(savedVolume_);
        sound::setWaveOutputOverride(std::nullopt);
        MidiPlayer::setSoundFontOverride(std::nullopt);
    }

    void tunesPlayOnceAndAreAudible_data()
    {
        QTest::addColumn<QString>("name");
        for (int i = 1; i <= 6; ++i) {
            const QString name = QStringLiteral("乐曲%1").arg(i, 2, 10, QLatin1Char('0'));
            QTest::newRow(name.toUtf8().constData()) << name;
        }
    }

    void tunesPlayOnceAndAreAudible()
    {
        QFETCH(QString, name);
        constexpr int cap = 150;
        const QString out = dir_.filePath(name + ".wav");
        sound::setWaveVolume(wordForLevel(10)); // the start-up level
        QString error;
        QVERIFY2(MidiPlayer::renderToWav(tunePath(name), out, cap, &error), qPrintable(error));
        const std::optional<Wav> wav = readWav(out);
        QVERIFY(wav);
        QCOMPARE(wav->rate, 44100);
        QCOMPARE(wav->channels, 2);

        // A short piece that ends by itself: played once, not cut off by the cap and not repeated.
        QVERIFY2(wav->seconds() > 40 && wav->seconds() < 95, qPrintable(QString::number(wav->seconds())));

        const double level = rms(*wav);
        qInfo("%s: %.1f s, RMS %.4f of full scale (%.1f dBFS)", qPrintable(name), wav->seconds(), level,
              20 * std::log10(level));
        QVERIFY2(level > 0.015, qPrintable(QString::number(level)));

        // Music throughout: no silent second before the closing fade, and the fade is short.
        const qsizetype second = qsizetype(wav->rate) * wav->channels;
        QList<bool> audible;
        for (qsizetype s = 0; s + second <= wav->samples.size(); s += second)
            audible.append(rms(*wav, s, second) > 0.002);
        const qsizetype lastAudible = audible.lastIndexOf(true);
        QVERIFY(lastAudible > 0);
        const qsizetype gap = audible.indexOf(false);
        QVERIFY2(gap < 0 || gap > lastAudible, qPrintable(QStringLiteral("silent at %1 s").arg(gap)));
        QVERIFY2(audible.size() - lastAudible <= 10,
                 qPrintable(QStringLiteral("fades from %1 s").arg(lastAudible)));

        // Headroom left: almost no sample at full scale.
        const auto clipped = std::count_if(wav->samples.cbegin(), wav->samples.cend(),
                                           [](qint16 v) { return v == 32767 || v <= -32767; });
        QVERIFY2(clipped * 10000 < wav->samples.size(), qPrintable(QString::number(clipped)));
    }

    void waveVolumeScalesOutput()
    {
        const QString tune = tunePath(QStringLiteral("乐曲01"));
        const Wav silent = renderAt(tune, 1, 12);
        const Wav middle = renderAt(tune, 8, 12);
        const Wav full = renderAt(tune, 16, 12);
        QCOMPARE(silent.seconds(), 12.0);
        QCOMPARE(middle.seconds(), 12.0);
        QCOMPARE(full.seconds(), 12.0);

        QCOMPARE(rms(silent), 0.0);
        QVERIFY(rms(middle) > 0.01);
        // The output follows the gain in proportion: level 16 is louder than level 8 by their gains' ratio.
        const double expected = double(wordForLevel(16) & 0xFFFF) / double(wordForLevel(8) & 0xFFFF);
        const double measured = rms(full) / rms(middle);
        QVERIFY2(std::abs(measured / expected - 1) < 0.05,
                 qPrintable(QStringLiteral("ratio %1, expected %2").arg(measured).arg(expected)));
    }

    void volumeObserversHearChangesUntilRemoved()
    {
        int calls = 0;
        uint32_t seen = 0;
        const int id = sound::addWaveVolumeObserver([&] {
            ++calls;
            seen = sound::waveVolume();
        });
        sound::setWaveVolume(wordForLevel(5));
        QCOMPARE(calls, 1);
        QCOMPARE(seen, 0x44444444u);
        sound::removeWaveVolumeObserver(id);
        sound::setWaveVolume(wordForLevel(6));
        QCOMPARE(calls, 1);
    }

    void unplayableFilesFailCleanly_data()
    {
        QTest::addColumn<QString>("fileName");
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<bool>("create");
        QTest::newRow("missing") << "none.mid" << QByteArray() << false;
        QTest::newRow("empty") << "empty.mid" << QByteArray() << true;
        QTest::newRow("text") << "text.mid" << QByteArray("这不是乐曲, just text that is long enough")
                              << true;
        QTest::newRow("wave audio") << "wave.mid"
                                    << QByteArray("RIFF\x24\0\0\0WAVEfmt \x10\0\0\0\1\0\2\0", 24) << true;
        QTest::newRow("header without track")
            << "header.mid" << QByteArray("MThd\0\0\0\6\0\1\0\1\1\xE0junkjunk", 22) << true;
    }

    void unplayableFilesFailCleanly()
    {
        QFETCH(QString, fileName);
        QFETCH(QByteArray, content);
        QFETCH(bool, create);
        const QString path = create ? write(fileName, content) : dir_.filePath(fileName);
        QVERIFY(!path.isEmpty());

        MidiPlayer player;
        player.setFileName(path);
        QString message;
        try {
            player.open();
        } catch (const sound::Error& e) {
            message = e.message();
        }
        QVERIFY2(message.contains(path), qPrintable(message));
        QVERIFY(!player.isOpen());
        QVERIFY(!player.isPlaying());

        const QString out = dir_.filePath(fileName + ".wav");
        QString error;
        QVERIFY(!MidiPlayer::renderToWav(path, out, 5, &error));
        QCOMPARE(error, message);
        QVERIFY(!QFile::exists(out));
    }

    void missingSoundFontFailsCleanly_data()
    {
        QTest::addColumn<QString>("font");
        QTest::addColumn<QString>("expected");
        QTest::newRow("missing") << dir_.filePath("none.sf2") << "Soundfont not found";
        QTest::newRow("not a soundfont") << tunePath(QStringLiteral("乐曲02")) << "Not a soundfont";
    }

    void missingSoundFontFailsCleanly()
    {
        QFETCH(QString, font);
        QFETCH(QString, expected);
        MidiPlayer::setSoundFontOverride(font);
        MidiPlayer player;
        player.setFileName(tunePath(QStringLiteral("乐曲01")));
        QString message;
        try {
            player.open();
        } catch (const sound::Error& e) {
            message = e.message();
        }
        QVERIFY2(message.startsWith(expected) && message.contains(font), qPrintable(message));
        QVERIFY(!player.isOpen());
        QString error;
        QVERIFY(!MidiPlayer::renderToWav(player.fileName(), dir_.filePath("font.wav"), 5, &error));
        QCOMPARE(error, message);
    }

    void playNeedsAnOpenTune()
    {
        MidiPlayer player;
        player.setFileName(tunePath(QStringLiteral("乐曲01")));
        QVERIFY_THROWS_EXCEPTION(sound::Error, player.play());
        QVERIFY(!player.isPlaying());
    }

    // Without a sound device play() fails with a reason; with one the tune plays until closed.
    void playEitherPlaysOrFailsCleanly()
    {
        MidiPlayer player;
        player.setFileName(tunePath(QStringLiteral("乐曲05")));
        player.open();
        QVERIFY(player.isOpen());
        QString message;
        try {
            player.play();
        } catch (const sound::Error& e) {
            message = e.message();
        }
        if (message.isEmpty()) {
            QVERIFY(player.isPlaying());
            sound::setWaveVolume(wordForLevel(3));
        } else {
            QVERIFY2(message.startsWith("No audio output could be opened"), qPrintable(message));
            QVERIFY(!player.isPlaying());
            QVERIFY(player.isOpen());
        }
        player.close();
        QVERIFY(!player.isOpen());
        QVERIFY(!player.isPlaying());
    }

    void waveOutputOverride_data()
    {
        QTest::addColumn<bool>("forced");
        QTest::newRow("forced yes") << true;
        QTest::newRow("forced no") << false;
    }

    void waveOutputOverride()
    {
        QFETCH(bool, forced);
        const bool probed = sound::hasWaveOutput();
        sound::setWaveOutputOverride(forced);
        QCOMPARE(sound::hasWaveOutput(), forced);
        sound::setWaveOutputOverride(std::nullopt);
        QCOMPARE(sound::hasWaveOutput(), probed);
    }

    void noSoundCardMeansNoWaveOutput()
    {
        if (!QDir(QStringLiteral("/dev/snd"))
                 .entryList({QStringLiteral("controlC*")}, QDir::System)
                 .isEmpty())
            QSKIP("this machine has a sound card; whether it plays depends on its sound server");
        QVERIFY(!sound::hasWaveOutput());
    }
};

QTEST_GUILESS_MAIN(TestSound)
#include "tst_sound.moc"
