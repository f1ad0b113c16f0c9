#include "SoundMachine.h"

#include <utility>

#include <QAudioDevice>
#include <QFile>
#include <QMediaDevices>
#include <QMetaObject>
#include <QSoundEffect>
#include <QUrl>

namespace {

const QString soundFolder = QStringLiteral(":/chimebox/sounds/");

std::optional<QString> resourcePath(const QString& name)
{
    if (name.isEmpty() || name.contains(QLatin1Char('/')))
        return std::nullopt;
    const QString path = soundFolder + name + QStringLiteral(".wav");
    if (!QFile::exists(path))
        return std::nullopt;
    return path;
}

// QSoundEffect reads qrc: URLs itself. A new effect per playing lets an earlier sound play out.
class EffectPlayback final : public SoundMachine::Playback {
public:
    explicit EffectPlayback(const QString& resourcePath)
        : m_url(QStringLiteral("qrc") + resourcePath)
    {}

    ~EffectPlayback() override
    {
        // The effect announces its own stop while being destroyed.
        if (m_effect)
            QObject::disconnect(m_effect.get(), nullptr, nullptr, nullptr);
    }

    bool play(std::function<void(bool normally)> finished) override
    {
        // Without an output QSoundEffect warns for every sound and never ends it: stay quiet.
        if (QMediaDevices::audioOutputs().isEmpty())
            return false;
        m_finished = std::move(finished);
        m_effect = std::make_unique<QSoundEffect>();
        QSoundEffect* effect = m_effect.get();
        QObject::connect(effect, &QSoundEffect::playingChanged, effect, [this, effect] {
            // Only a sound read to its last loop ended by itself; a stopped sink leaves loops.
            if (!effect->isPlaying())
                report(effect->loopsRemaining() == 0 && effect->status() != QSoundEffect::Error);
        });
        // A decoding error ends the playing without a playingChanged.
        QObject::connect(effect, &QSoundEffect::statusChanged, effect, [this, effect] {
            if (effect->status() == QSoundEffect::Error)
                report(false);
        });
        effect->setSource(m_url);
        effect->play();
        return true;
    }

private:
    void report(bool normally)
    {
        if (auto finished = std::exchange(m_finished, nullptr))
            finished(normally);
    }

    QUrl m_url;
    std::unique_ptr<QSoundEffect> m_effect;
    std::function<void(bool)> m_finished;
};

} // namespace

SoundMachine::Playback::~Playback() = default;

SoundMachine& SoundMachine::sharedInstance()
{
    // Never destroyed: sounds still playing at exit would otherwise outlive Qt Multimedia's
    // own globals.
    static SoundMachine* instance = new SoundMachine({});
    return *instance;
}

SoundMachine::SoundMachine(PlaybackFactory factory)
    : m_makePlayback(std::move(factory))
{
    if (!m_makePlayback) {
        m_makePlayback = [](const QString& path) -> std::unique_ptr<Playback> {
            return std::make_unique<EffectPlayback>(path);
        };
    }
}

SoundMachine::~SoundMachine() = default;

void SoundMachine::goal()
{
    play(QStringLiteral("Goal-Sound"));
}

void SoundMachine::freetime()
{
    play(QStringLiteral("Break-Sound"));
}

void SoundMachine::task()
{
    play(QStringLiteral("Task-Sound"));
}

void SoundMachine::play(const QString& name)
{
    const std::optional<QString> path = resourcePath(name);
    if (!path) {
        m_sonido.reset();
        return;
    }
    const quint64 serial = m_nextSerial++;
    m_sonido = Held{serial, name};
    std::unique_ptr<Playback> playback = m_makePlayback(*path);
    if (!playback)
        return;
    Playback* raw = playback.get();
    // Held before it starts, in case it reports its end from inside play().
    m_playing.emplace(serial, InFlight{name, std::move(playback)});
    const bool started =
        raw->play([this, serial](bool normally) { playbackFinished(serial, normally); });
    // Whether it started does not change the slot; one that did not will never report.
    if (!started)
        m_playing.erase(serial);
}

std::optional<QString> SoundMachine::sonido() const
{
    if (!m_sonido)
        return std::nullopt;
    return m_sonido->name;
}

void SoundMachine::playbackFinished(quint64 serial, bool normally)
{
    const auto it = m_playing.find(serial);
    if (it == m_playing.end())
        return;
    const QString name = it->second.name;
    m_retired.push_back(std::move(it->second.playback));
    m_playing.erase(it);
    if (m_retired.size() == 1)
        QMetaObject::invokeMethod(
            this, [this] { m_retired.clear(); }, Qt::QueuedConnection);

    if (!normally)
        return;
    if (m_sonido && m_sonido->serial == serial)
        m_sonido.reset();
    emit soundFinished(name);
}
