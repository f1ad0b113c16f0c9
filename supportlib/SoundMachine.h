#pragma once

#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <vector>

#include <QObject>
#include <QString>

#include "chimebox_export.h"

// Plays the three short sounds of the timer. The latest sound is held in a slot until it has
// played to its end; a sound it replaces is not stopped and plays out. Main thread only.
class CHIMEBOX_EXPORT SoundMachine : public QObject {
    Q_OBJECT
public:
    // One playing of one sound.
    class Playback {
    public:
        virtual ~Playback();
        // Answers whether playing started. Only then is `finished` called, once, on the main
        // thread: true when the sound played to its end, false when it was interrupted or failed.
        virtual bool play(std::function<void(bool normally)> finished) = 0;
    };
    // Makes the playback of a bundled sound from its resource path.
    using PlaybackFactory = std::function<std::unique_ptr<Playback>(const QString& resourcePath)>;

    static SoundMachine& sharedInstance();
    ~SoundMachine() override;

    void goal();     // "Goal-Sound"
    void freetime(); // "Break-Sound"
    void task();     // "Task-Sound"

    // Plays a bundled sound by name; an unknown name plays nothing.
    void play(const QString& name);
    // The name of the sound held in the slot, until it finishes normally.
    std::optional<QString> sonido() const;

signals:
    // A sound played to its end, whether or not it was still in the slot.
    void soundFinished(const QString& name);

private:
    friend class SoundMachineTest;

    // An empty factory plays through Qt Multimedia.
    explicit SoundMachine(PlaybackFactory factory);
    void playbackFinished(quint64 serial, bool normally);

    struct Held {
        quint64 serial;
        QString name;
    };
    struct InFlight {
        QString name;
        std::unique_ptr<Playback> playback;
    };

    PlaybackFactory m_makePlayback;
    std::optional<Held> m_sonido;
    std::map<quint64, InFlight> m_playing;
    // Finished playbacks wait here for the event loop: they may still be inside their callback.
    std::vector<std::unique_ptr<Playback>> m_retired;
    quint64 m_nextSerial = 1;
};
