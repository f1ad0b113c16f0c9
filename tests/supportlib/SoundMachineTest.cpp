#include "SoundMachine.h"

#include <algorithm>
#include <cstdlib>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include <gtest/gtest.h>

#include <QByteArray>
#include <QElapsedTimer>
#include <QFile>
#include <QSet>
#include <QStringList>
#include <QTemporaryDir>
#include <QtEndian>

#include "support/TestEnvironment.h"

namespace {

// What the machine did with one playback it asked for.
struct Started {
    QString resourcePath;
    std::function<void(bool)> finish;
    bool alive = true;
};

class FakePlayback final : public SoundMachine::Playback {
public:
    FakePlayback(std::shared_ptr<Started> record, bool starts, std::optional<bool> endsAtOnce)
        : m_record(std::move(record))
        , m_starts(starts)
        , m_endsAtOnce(endsAtOnce)
    {}
    ~FakePlayback() override { m_record->alive = false; }

    bool play(std::function<void(bool)> finished) override
    {
        if (m_endsAtOnce)
            finished(*m_endsAtOnce);
        else
            m_record->finish = std::move(finished);
        return m_starts;
    }

private:
    std::shared_ptr<Started> m_record;
    bool m_starts;
    std::optional<bool> m_endsAtOnce;
};

struct WavInfo {
    quint16 format = 0;
    quint16 channels = 0;
    quint32 rate = 0;
    quint16 bits = 0;
    QByteArray data;
};

// Walks the RIFF chunks; nullopt when the file is not a WAVE file with both chunks.
std::optional<WavInfo> parseWav(const QByteArray& bytes)
{
    if (bytes.size() < 12 || !bytes.startsWith("RIFF") || bytes.mid(8, 4) != "WAVE")
        return std::nullopt;
    if (qFromLittleEndian<quint32>(bytes.constData() + 4) != quint32(bytes.size() - 8))
        return std::nullopt;
    WavInfo info;
    bool haveFormat = false;
    bool haveData = false;
    qsizetype at = 12;
    while (at + 8 <= bytes.size()) {
        const QByteArray id = bytes.mid(at, 4);
        const auto size = qsizetype(qFromLittleEndian<quint32>(bytes.constData() + at + 4));
        const char* body = bytes.constData() + at + 8;
        if (at + 8 + size > bytes.size())
            return std::nullopt;
        if (id == "fmt " && size >= 16) {
            info.format = qFromLittleEndian<quint16>(body);
            info.channels = qFromLittleEndian<quint16>(body + 2);
            info.rate = qFromLittleEndian<quint32>(body + 4);
            info.bits = qFromLittleEndian<quint16>(body + 14);
            haveFormat = true;
        } else if (id == "data") {
            info.data = QByteArray(body, size);
            haveData = true;
        }
        at += 8 + size + (size & 1);
    }
    if (!haveFormat || !haveData)
        return std::nullopt;
    return info;
}

qint16 sampleAt(const QByteArray& data, qsizetype index)
{
    return qFromLittleEndian<qint16>(data.constData() + 2 * index);
}

} // namespace

class SoundMachineTest : public ::testing::Test {
protected:
    // A machine whose playbacks are fakes: they start (or not) and end when the test says.
    std::unique_ptr<SoundMachine> fakeMachine()
    {
        auto factory = [this](const QString& path) -> std::unique_ptr<SoundMachine::Playback> {
            auto record = std::make_shared<Started>();
            record->resourcePath = path;
            started.push_back(record);
            return std::make_unique<FakePlayback>(record, playbacksStart, playbacksEndAtOnce);
        };
        return std::unique_ptr<SoundMachine>(new SoundMachine(factory));
    }

    TestEnvironment env;
    std::vector<std::shared_ptr<Started>> started;
    bool playbacksStart = true;
    std::optional<bool> playbacksEndAtOnce;
};

TEST_F(SoundMachineTest, TheThreeSoundsPlayTheirOwnBundledResource)
{
    auto machine = fakeMachine();
    const struct {
        void (SoundMachine::*call)();
        const char* name;
    } rows[] = {
        {&SoundMachine::task, "Task-Sound"},
        {&SoundMachine::freetime, "Break-Sound"},
        {&SoundMachine::goal, "Goal-Sound"},
    };
    QSet<QByteArray> contents;
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        (machine.get()->*row.call)();
        EXPECT_EQ(machine->sonido(), QString::fromLatin1(row.name));
        ASSERT_FALSE(started.empty());

        QFile file(started.back()->resourcePath);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << file.fileName().toStdString();
        const QByteArray bytes = file.readAll();
        EXPECT_LT(bytes.size(), 128 * 1024);
        const std::optional<WavInfo> wav = parseWav(bytes);
        ASSERT_TRUE(wav) << "not a WAVE file";
        EXPECT_EQ(wav->format, 1) << "PCM";
        EXPECT_EQ(wav->channels, 1);
        EXPECT_EQ(wav->rate, 44100u);
        EXPECT_EQ(wav->bits, 16);
        const qsizetype samples = wav->data.size() / 2;
        EXPECT_GE(samples, 44100 * 4 / 10);
        EXPECT_LE(samples, 44100 * 12 / 10);

        // Audible, unclipped, and silent at both ends so it starts and stops without a click.
        int peak = 0;
        for (qsizetype i = 0; i < samples; ++i)
            peak = std::max(peak, std::abs(int(sampleAt(wav->data, i))));
        EXPECT_GT(peak, 3000);
        EXPECT_LT(peak, 32767);
        EXPECT_LE(std::abs(int(sampleAt(wav->data, 0))), 64);
        EXPECT_LE(std::abs(int(sampleAt(wav->data, samples - 1))), 64);
        contents.insert(wav->data);
    }
    EXPECT_EQ(contents.size(), 3) << "two sounds are the same";
}

TEST_F(SoundMachineTest, AnUnknownNamePlaysNothingAndEmptiesTheSlot)
{
    auto machine = fakeMachine();
    for (const char* name :
         {"No-Such-Sound", "", "task-sound", "Task-Sound.wav", "../sounds/Task-Sound"}) {
        SCOPED_TRACE(name);
        machine->task();
        const std::size_t before = started.size();
        machine->play(QString::fromLatin1(name));
        EXPECT_EQ(started.size(), before) << "a playback was made";
        EXPECT_EQ(machine->sonido(), std::nullopt);
    }
}

TEST_F(SoundMachineTest, ALaterSoundTakesTheSlotAndOnlyItsOwnEndEmptiesIt)
{
    auto machine = fakeMachine();
    QStringList finished;
    QObject::connect(machine.get(), &SoundMachine::soundFinished, machine.get(),
                     [&finished](const QString& name) { finished.append(name); });

    machine->task();
    machine->goal();
    ASSERT_EQ(started.size(), 2u);
    EXPECT_EQ(machine->sonido(), QStringLiteral("Goal-Sound"));
    EXPECT_TRUE(started[0]->alive) << "the replaced sound was cut off";

    started[0]->finish(true);
    EXPECT_EQ(machine->sonido(), QStringLiteral("Goal-Sound"));
    EXPECT_TRUE(processEventsUntil([this] { return !started[0]->alive; }))
        << "a finished playback is never released";

    started[1]->finish(true);
    EXPECT_EQ(machine->sonido(), std::nullopt);
    EXPECT_EQ(finished, QStringList({QStringLiteral("Task-Sound"), QStringLiteral("Goal-Sound")}));
    EXPECT_TRUE(processEventsUntil([this] { return !started[1]->alive; }));
}

TEST_F(SoundMachineTest, AnInterruptedPlaybackLeavesTheSlot)
{
    auto machine = fakeMachine();
    int finishedSignals = 0;
    QObject::connect(machine.get(), &SoundMachine::soundFinished, machine.get(),
                     [&finishedSignals] { ++finishedSignals; });

    machine->task();
    started[0]->finish(false);
    EXPECT_EQ(machine->sonido(), QStringLiteral("Task-Sound"));
    EXPECT_EQ(finishedSignals, 0);
    EXPECT_TRUE(processEventsUntil([this] { return !started[0]->alive; }));
}

TEST_F(SoundMachineTest, APlaybackThatDoesNotStartStillFillsTheSlot)
{
    playbacksStart = false;
    auto machine = fakeMachine();
    machine->goal();
    EXPECT_EQ(machine->sonido(), QStringLiteral("Goal-Sound"));
    EXPECT_FALSE(started[0]->alive) << "kept a playback that will never report";
}

TEST_F(SoundMachineTest, AnEndReportedFromInsidePlayCounts)
{
    auto machine = fakeMachine();
    playbacksEndAtOnce = false;
    machine->task();
    EXPECT_EQ(machine->sonido(), QStringLiteral("Task-Sound"));
    playbacksEndAtOnce = true;
    machine->goal();
    EXPECT_EQ(machine->sonido(), std::nullopt);
    EXPECT_TRUE(processEventsUntil([this] { return !started[0]->alive && !started[1]->alive; }));
}

// The real Qt Multimedia path on a machine with no sound server, as on CI.
TEST_F(SoundMachineTest, WithoutAnAudioOutputPlayingIsQuietAndQuick)
{
    QTemporaryDir noServer;
    // Points PulseAudio at nothing, in case this machine does have a server.
    const QByteArray previousServer = qgetenv("PULSE_SERVER");
    qputenv("PULSE_SERVER", ("unix:" + noServer.path() + "/none").toUtf8());

    static int messages = 0;
    messages = 0;
    const QtMessageHandler previous = qInstallMessageHandler(
        [](QtMsgType, const QMessageLogContext&, const QString&) { ++messages; });
    QElapsedTimer elapsed;
    elapsed.start();
    SoundMachine& machine = SoundMachine::sharedInstance();
    for (int round = 0; round < 2; ++round) {
        machine.task();
        machine.freetime();
        machine.goal();
    }
    const qint64 took = elapsed.elapsed();
    // Loading is asynchronous: give any late complaint a moment to arrive.
    processEventsUntil([] { return false; }, 250);
    qInstallMessageHandler(previous);
    if (previousServer.isEmpty())
        qunsetenv("PULSE_SERVER");
    else
        qputenv("PULSE_SERVER", previousServer);

    EXPECT_LT(took, 2000);
    EXPECT_EQ(machine.sonido(), QStringLiteral("Goal-Sound"));
    // At most Qt's one-time note that it could not reach the sound server.
    EXPECT_LE(messages, 1);
}
