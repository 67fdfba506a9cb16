#include "sound/PulseOutput.h"
#include "sound/PulsePlayer.h"
#include "sound/SoundClip.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <sndfile.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <numbers>
#include <optional>
#include <vector>

#include <sys/prctl.h>
#include <sys/stat.h>

using namespace std::chrono_literals;

namespace {

// What the sink's monitor is recorded as: the default rate, mono.
constexpr int captureRate = 44100;
constexpr int toneAmplitude = 12000;
// A quarter of a tone's amplitude: far above the silence of the null sink, and crossed by
// the tone in all but a sliver around each zero crossing.
constexpr int toneThreshold = toneAmplitude / 4;
// A start never holds its caller waiting for a file or the server: one that did, on a
// FIFO with no writer say, would hang for good. How briefly a start holds it is a figure
// of bench_sound, judged over many starts; one start here may be preempted on a busy
// machine, so this is a bound no preemption reaches.
constexpr qint64 promptNanoseconds = 1'000'000'000;

struct Tone {
    int milliseconds = 40;
    int amplitude = toneAmplitude;
    int rate = 44100;
    int channels = 1;
    int encoding = SF_FORMAT_PCM_16;
};

// A sine from its first sample to its last at full amplitude, so that its loud span at the
// monitor is its length.
bool writeTone(const QString &path, const Tone &tone)
{
    SF_INFO info{};
    info.samplerate = tone.rate;
    info.channels = tone.channels;
    info.format = SF_FORMAT_WAV | tone.encoding;
    SNDFILE *file = sf_open(QFile::encodeName(path).constData(), SFM_WRITE, &info);
    if (!file)
        return false;
    const sf_count_t frames = sf_count_t(tone.rate) * tone.milliseconds / 1000;
    std::vector<short> samples(std::size_t(frames) * std::size_t(tone.channels));
    for (sf_count_t frame = 0; frame < frames; ++frame) {
        const double phase = 2 * std::numbers::pi * 700 * double(frame) / tone.rate;
        for (int channel = 0; channel < tone.channels; ++channel)
            samples[std::size_t(frame * tone.channels + channel)]
                = short(std::lround(tone.amplitude * std::sin(phase)));
    }
    const bool whole = sf_writef_short(file, samples.data(), frames) == frames;
    return sf_close(file) == 0 && whole;
}

// Run in a child before it starts: a test that crashes leaves no server or recorder behind.
void endWithThisProcess()
{
    ::prctl(PR_SET_PDEATHSIG, SIGKILL);
}

// Sets a variable of this process's environment for as long as it lives.
class EnvironmentOverride {
public:
    EnvironmentOverride(const char *name, const QString &value)
        : name_(name)
        , had_(qEnvironmentVariableIsSet(name))
        , old_(qgetenv(name))
    {
        qputenv(name, value.toLocal8Bit());
    }
    ~EnvironmentOverride()
    {
        if (had_)
            qputenv(name_, old_);
        else
            qunsetenv(name_);
    }
    EnvironmentOverride(const EnvironmentOverride &) = delete;
    EnvironmentOverride &operator=(const EnvironmentOverride &) = delete;

private:
    const char *name_;
    bool had_;
    QByteArray old_;
};

// A private PulseAudio server whose default sink is a null sink "null", with its socket in
// a folder of its own: the one the end-to-end tests sound through.
class AudioServer {
public:
    explicit AudioServer(const QString &folder)
        : folder_(folder)
    {
    }
    ~AudioServer() { stop(); }
    AudioServer(const AudioServer &) = delete;
    AudioServer &operator=(const AudioServer &) = delete;

    QString address() const
    {
        return QStringLiteral("unix:") + folder_ + QStringLiteral("/native");
    }

    // Starts the server and waits until it answers.
    bool start()
    {
        process_.setStandardOutputFile(QProcess::nullDevice());
        process_.setStandardErrorFile(QProcess::nullDevice());
        process_.setChildProcessModifier(endWithThisProcess);
        process_.start(QStringLiteral("bash"), {QStringLiteral(PULSE_SERVER_SCRIPT), folder_});
        if (!process_.waitForStarted(5000))
            return false;
        QElapsedTimer waited;
        waited.start();
        while (waited.elapsed() < 10000 && process_.state() == QProcess::Running) {
            if (pactl({QStringLiteral("info")}, 2000))
                return true;
            QTest::qWait(50);
        }
        return false;
    }

    // What pactl prints with these arguments, in the C locale, or nothing when it fails or
    // does not end within the time given.
    std::optional<QByteArray> pactl(const QStringList &arguments, int milliseconds) const
    {
        QProcessEnvironment environment = clientEnvironment();
        environment.insert(QStringLiteral("LC_ALL"), QStringLiteral("C"));
        QProcess process;
        process.setProcessEnvironment(environment);
        process.start(QStringLiteral("pactl"), arguments);
        if (!process.waitForFinished(milliseconds) || process.exitStatus() != QProcess::NormalExit
            || process.exitCode() != 0)
            return std::nullopt;
        return process.readAllStandardOutput();
    }

    void stop()
    {
        if (process_.state() == QProcess::NotRunning)
            return;
        process_.terminate();
        if (!process_.waitForFinished(5000)) {
            process_.kill();
            process_.waitForFinished(5000);
        }
    }

    // Stops or resumes the server without ending it, as a hung server would be.
    void freeze(bool frozen) { ::kill(pid_t(process_.processId()), frozen ? SIGSTOP : SIGCONT); }

    QProcessEnvironment clientEnvironment() const
    {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("PULSE_SERVER"), address());
        environment.insert(
            QStringLiteral("PULSE_CLIENTCONFIG"), folder_ + QStringLiteral("/client.conf"));
        return environment;
    }

private:
    QString folder_;
    QProcess process_;
};

// A span of sound at the monitor, in captured samples.
struct Burst {
    qsizetype begin = 0;
    qsizetype end = 0;

    double milliseconds() const { return double(end - begin) * 1000 / captureRate; }
};

// The stretches where the capture reaches threshold, split where it stays below for 5 ms.
// The quiet moments of a tone around its zero crossings are far shorter than that.
std::vector<Burst> burstsOf(const std::vector<short> &samples, int threshold)
{
    constexpr qsizetype quietGap = captureRate / 200;
    std::vector<Burst> bursts;
    for (qsizetype i = 0; i < qsizetype(samples.size()); ++i) {
        if (std::abs(samples[std::size_t(i)]) < threshold)
            continue;
        if (bursts.empty() || i - bursts.back().end >= quietGap)
            bursts.push_back({i, i + 1});
        else
            bursts.back().end = i + 1;
    }
    return bursts;
}

QByteArray describe(const std::vector<Burst> &bursts)
{
    QByteArray text = QByteArray::number(bursts.size()) + " burst(s):";
    for (const Burst &burst : bursts)
        text += ' ' + QByteArray::number(burst.milliseconds(), 'f', 1) + " ms";
    return text;
}

// Records the null sink's monitor, as the people at the speakers would hear it.
class MonitorRecorder {
public:
    MonitorRecorder() = default;
    ~MonitorRecorder()
    {
        process_.kill();
        process_.waitForFinished(5000);
    }
    MonitorRecorder(const MonitorRecorder &) = delete;
    MonitorRecorder &operator=(const MonitorRecorder &) = delete;

    bool start(const AudioServer &server)
    {
        process_.setProcessEnvironment(server.clientEnvironment());
        process_.setStandardErrorFile(QProcess::nullDevice());
        process_.setChildProcessModifier(endWithThisProcess);
        process_.start(QStringLiteral("parec"),
            {QStringLiteral("--device=null.monitor"), QStringLiteral("--raw"),
                QStringLiteral("--format=s16le"),
                QStringLiteral("--rate=") + QString::number(captureRate),
                QStringLiteral("--channels=1"), QStringLiteral("--latency-msec=10")});
        // The monitor runs on while nothing plays: its first silence shows it is recording.
        return process_.waitForStarted(5000) && process_.waitForReadyRead(5000);
    }

    // Waits until the capture holds a sample at or above threshold, for up to timeout.
    bool waitForSound(int threshold, std::chrono::milliseconds timeout)
    {
        return waitForSoundLasting(threshold, 0ms, timeout);
    }

    // Waits until the capture holds a sound at or above threshold that has lasted at least
    // that long so far, for up to timeout.
    bool waitForSoundLasting(
        int threshold, std::chrono::milliseconds lasting, std::chrono::milliseconds timeout)
    {
        const qsizetype samples = qsizetype(lasting.count()) * captureRate / 1000;
        QElapsedTimer waited;
        waited.start();
        do {
            const std::vector<Burst> bursts = burstsOf(collect(), threshold);
            if (!bursts.empty() && bursts.back().end - bursts.back().begin >= samples)
                return true;
            QTest::qWait(10);
        } while (waited.elapsed() < timeout.count());
        return false;
    }

    // Waits until something sounded at or above threshold and has been followed by quiet, for
    // up to a few seconds, then ends the recording and gives it. Failing that, the test
    // fails as timed out.
    std::vector<short> stopWhenQuiet(int threshold, std::chrono::milliseconds quiet = 150ms)
    {
        const qsizetype quietSamples = qsizetype(quiet.count()) * captureRate / 1000;
        QElapsedTimer waited;
        waited.start();
        std::vector<short> samples = collect();
        for (;; samples = collect()) {
            const std::vector<Burst> bursts = burstsOf(samples, threshold);
            if (!bursts.empty() && qsizetype(samples.size()) - bursts.back().end >= quietSamples)
                break;
            if (waited.elapsed() >= 3000) {
                QTest::qFail(
                    "timed out: no sound followed by quiet within 3 s", __FILE__, __LINE__);
                break;
            }
            QTest::qWait(10);
        }
        process_.kill();
        process_.waitForFinished(5000);
        return samples;
    }

private:
    std::vector<short> collect()
    {
        bytes_ += process_.readAllStandardOutput();
        std::vector<short> samples(std::size_t(bytes_.size()) / sizeof(short));
        std::memcpy(samples.data(), bytes_.constData(), samples.size() * sizeof(short));
        return samples;
    }

    QProcess process_;
    QByteArray bytes_;
};

// A playback stream the server holds, as its mixers show it.
struct PlaybackStream {
    int index = -1;
    bool corked = false;
};

// The server's playback streams, or none with a failure when it does not answer in time.
std::vector<PlaybackStream> playbackStreams(const AudioServer &server)
{
    const std::optional<QByteArray> listing
        = server.pactl({QStringLiteral("list"), QStringLiteral("sink-inputs")}, 5000);
    if (!listing) {
        QTest::qFail("pactl list sink-inputs failed or timed out", __FILE__, __LINE__);
        return {};
    }
    std::vector<PlaybackStream> streams;
    for (const QByteArray &line : listing->split('\n')) {
        const QByteArray field = line.trimmed();
        if (field.startsWith("Sink Input #"))
            streams.push_back({field.sliced(12).toInt(), false});
        else if (field == "Corked: yes" && !streams.empty())
            streams.back().corked = true;
    }
    return streams;
}

// Makes a player as the program does, and says how long that held the caller.
std::unique_ptr<sound::PulsePlayer> timedMake(qint64 &nanoseconds)
{
    QElapsedTimer held;
    held.start();
    auto player = std::make_unique<sound::PulsePlayer>();
    nanoseconds = held.nsecsElapsed();
    return player;
}

qint64 timedEnd(std::unique_ptr<sound::PulsePlayer> &player)
{
    QElapsedTimer held;
    held.start();
    player.reset();
    return held.nsecsElapsed();
}

qint64 timedPlay(sound::PulsePlayer &player, const QString &path)
{
    QElapsedTimer held;
    held.start();
    player.play(QFile::encodeName(path));
    return held.nsecsElapsed();
}

} // namespace

class TestPulsePlayer : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void cleanupTestCase();

    void soundsEveryRecordingWhole_data();
    void soundsEveryRecordingWhole();
    void keepsARecordingOnceDecoded();
    void aPreparedStreamWaitsSilentAndPlaysTheFirstSound();
    void aLaterStartCutsTheSoundInProgress();
    void aStartOfNothingCutsTooAndStaysPrompt();
    void unplayableFilesSoundAsNothing_data();
    void unplayableFilesSoundAsNothing();
    void aLongFirstLoadDoesNotHoldTheCaller();
    void withoutAServerStartsReturnAtOnce();
    void survivesAServerThatHangsOrDies();
    void findsAServerThatComesLaterOrComesBack();

private:
    QString file(const QString &name) const { return folder_.filePath(name); }
    QString tone(const QString &name, const Tone &tone) const;
    void expectOnly(const std::vector<short> &capture, double milliseconds) const;

    QTemporaryDir folder_;
    QTemporaryDir serverFolder_;
    std::unique_ptr<AudioServer> server_;
    std::unique_ptr<EnvironmentOverride> serverAddress_;
};

QString TestPulsePlayer::tone(const QString &name, const Tone &tone) const
{
    const QString path = file(name);
    if (!writeTone(path, tone))
        qFatal("cannot write %s", qPrintable(path));
    return path;
}

// The capture holds one sound, as long as a tone of that many milliseconds, without a gap.
void TestPulsePlayer::expectOnly(const std::vector<short> &capture, double milliseconds) const
{
    const std::vector<Burst> bursts = burstsOf(capture, toneThreshold);
    QVERIFY2(bursts.size() == 1, describe(bursts).constData());
    QVERIFY2(
        std::abs(bursts.front().milliseconds() - milliseconds) <= 2, describe(bursts).constData());
}

void TestPulsePlayer::initTestCase()
{
    QVERIFY(folder_.isValid());
    QVERIFY(serverFolder_.isValid());
    server_ = std::make_unique<AudioServer>(serverFolder_.path());
    QVERIFY2(server_->start(), "pulseaudio did not start");
    serverAddress_ = std::make_unique<EnvironmentOverride>("PULSE_SERVER", server_->address());
}

void TestPulsePlayer::cleanupTestCase()
{
    serverAddress_.reset();
    server_.reset();
}

void TestPulsePlayer::soundsEveryRecordingWhole_data()
{
    QTest::addColumn<int>("milliseconds");
    QTest::addColumn<int>("rate");
    QTest::addColumn<int>("channels");
    QTest::addColumn<int>("encoding");
    QTest::newRow("10 ms, 16-bit mono") << 10 << 44100 << 1 << int(SF_FORMAT_PCM_16);
    QTest::newRow("40 ms, 16-bit mono") << 40 << 44100 << 1 << int(SF_FORMAT_PCM_16);
    QTest::newRow("120 ms, 16-bit mono") << 120 << 44100 << 1 << int(SF_FORMAT_PCM_16);
    QTest::newRow("100 ms, 8-bit stereo at 22050 Hz") << 100 << 22050 << 2 << int(SF_FORMAT_PCM_U8);
}

void TestPulsePlayer::soundsEveryRecordingWhole()
{
    QFETCH(int, milliseconds);
    QFETCH(int, rate);
    QFETCH(int, channels);
    QFETCH(int, encoding);
    Tone shape;
    shape.milliseconds = milliseconds;
    shape.rate = rate;
    shape.channels = channels;
    shape.encoding = encoding;
    const QString path = tone(QStringLiteral("whole.wav"), shape);

    sound::PulsePlayer player;
    MonitorRecorder recorder;
    QVERIFY(recorder.start(*server_));
    QVERIFY(timedPlay(player, path) < promptNanoseconds);
    expectOnly(recorder.stopWhenQuiet(toneThreshold), milliseconds);
}

void TestPulsePlayer::keepsARecordingOnceDecoded()
{
    const QString path = tone(QStringLiteral("kept.wav"), Tone());
    sound::PulsePlayer player;
    MonitorRecorder first;
    QVERIFY(first.start(*server_));
    player.play(QFile::encodeName(path));
    expectOnly(first.stopWhenQuiet(toneThreshold), 40);
    if (QTest::currentTestFailed())
        return;

    QVERIFY(QFile::remove(path));
    MonitorRecorder again;
    QVERIFY(again.start(*server_));
    player.play(QFile::encodeName(path));
    expectOnly(again.stopWhenQuiet(toneThreshold), 40);
}

void TestPulsePlayer::aPreparedStreamWaitsSilentAndPlaysTheFirstSound()
{
    const QString path = tone(QStringLiteral("prepared.wav"), Tone());
    MonitorRecorder recorder;
    QVERIFY(recorder.start(*server_));
    // The players of the tests before may still be leaving.
    QTRY_VERIFY_WITH_TIMEOUT(playbackStreams(*server_).empty(), 5000);

    sound::PulsePlayer player;
    player.prepare(QFile::encodeName(path));
    std::vector<PlaybackStream> streams;
    QTRY_VERIFY_WITH_TIMEOUT((streams = playbackStreams(*server_)).size() == 1, 5000);
    QVERIFY(streams.front().corked);
    const int prepared = streams.front().index;
    QVERIFY(!recorder.waitForSound(toneThreshold, 300ms));

    player.play(QFile::encodeName(path));
    expectOnly(recorder.stopWhenQuiet(toneThreshold), 40);
    // Played on the stream prepared for it, and corked again once heard out.
    QTRY_VERIFY_WITH_TIMEOUT(
        (streams = playbackStreams(*server_)).size() == 1 && streams.front().corked, 5000);
    QCOMPARE(streams.front().index, prepared);
}

void TestPulsePlayer::aLaterStartCutsTheSoundInProgress()
{
    Tone quietAndLong;
    quietAndLong.milliseconds = 3000;
    quietAndLong.amplitude = 5000;
    const QString first = tone(QStringLiteral("first.wav"), quietAndLong);
    Tone loudAndShort;
    loudAndShort.milliseconds = 60;
    loudAndShort.amplitude = 16000;
    const QString second = tone(QStringLiteral("second.wav"), loudAndShort);

    sound::PulsePlayer player;
    MonitorRecorder recorder;
    QVERIFY(recorder.start(*server_));
    player.play(QFile::encodeName(first));
    QVERIFY(recorder.waitForSoundLasting(quietAndLong.amplitude / 2, 100ms, 2s));
    player.play(QFile::encodeName(second));
    const std::vector<short> capture = recorder.stopWhenQuiet(quietAndLong.amplitude / 4);

    // Above the first tone's peaks: the second alone, or mixed with whatever is left of the first.
    const int secondOnly = (quietAndLong.amplitude + loudAndShort.amplitude) / 2;
    const std::vector<Burst> loud = burstsOf(capture, secondOnly);
    QVERIFY2(loud.size() == 1, describe(loud).constData());
    QVERIFY2(std::abs(loud.front().milliseconds() - 60) <= 2, describe(loud).constData());
    const std::vector<Burst> any = burstsOf(capture, quietAndLong.amplitude / 4);
    QVERIFY2(!any.empty() && any.back().end - loud.front().end < captureRate / 500,
        describe(any).constData());
    const double heardOfFirst = double(loud.front().begin - any.front().begin) * 1000 / captureRate;
    // The first was heard for the 100 ms waited for, and cut long before its end.
    QVERIFY2(
        heardOfFirst > 90 && heardOfFirst < 2000, QByteArray::number(heardOfFirst).constData());
}

void TestPulsePlayer::aStartOfNothingCutsTooAndStaysPrompt()
{
    Tone long_;
    long_.milliseconds = 3000;
    const QString path = tone(QStringLiteral("long.wav"), long_);

    sound::PulsePlayer player;
    MonitorRecorder recorder;
    QVERIFY(recorder.start(*server_));
    player.play(QFile::encodeName(path));
    QVERIFY(recorder.waitForSound(long_.amplitude / 2, 2s));
    QVERIFY(timedPlay(player, file(QStringLiteral("missing.wav"))) < promptNanoseconds);
    const std::vector<Burst> bursts
        = burstsOf(recorder.stopWhenQuiet(toneThreshold, 300ms), toneThreshold);
    QVERIFY2(
        bursts.size() == 1 && bursts.front().milliseconds() < 2000, describe(bursts).constData());
}

void TestPulsePlayer::unplayableFilesSoundAsNothing_data()
{
    const QString good = tone(QStringLiteral("good.wav"), Tone());
    QFile goodFile(good);
    QVERIFY(goodFile.open(QIODevice::ReadOnly));
    const QByteArray whole = goodFile.readAll();
    const qsizetype dataSize = whole.indexOf("data") + 4;
    const qsizetype format = whole.indexOf("fmt ") + 8;
    const auto patched = [&](qsizetype at, const QByteArray &bytes) {
        return QByteArray(whole).replace(at, bytes.size(), bytes);
    };
    const auto write = [&](const QString &name, const QByteArray &bytes) {
        QFile out(file(name));
        if (!out.open(QIODevice::WriteOnly) || out.write(bytes) != bytes.size())
            qFatal("cannot write %s", qPrintable(name));
        return out.fileName();
    };

    QTest::addColumn<QString>("path");
    QTest::newRow("missing") << file(QStringLiteral("nowhere.wav"));
    QTest::newRow("empty") << write(QStringLiteral("empty.wav"), {});
    QTest::newRow("cut in its header") << write(QStringLiteral("header.wav"), whole.left(30));
    QTest::newRow("cut in its samples")
        << write(QStringLiteral("half.wav"), whole.left(whole.size() / 2));
    QTest::newRow("text") << write(QStringLiteral("text.wav"), "RIFF? no, a note.\n");
    QByteArray noise(4096, Qt::Uninitialized);
    for (qsizetype i = 0; i < noise.size(); ++i)
        noise[i] = char((i * 7919 + 13) % 251);
    QTest::newRow("garbage") << write(QStringLiteral("garbage.wav"), noise);
    QTest::newRow("claims 2 GB of samples")
        << write(QStringLiteral("claims.wav"), patched(dataSize, QByteArray("\0\0\0\x7f", 4)));
    QTest::newRow("claims a rate of 0")
        << write(QStringLiteral("rate0.wav"), patched(format + 4, QByteArray(4, '\0')));
    QTest::newRow("claims a rate of 4 GHz") << write(
        QStringLiteral("rate4g.wav"), patched(format + 4, QByteArray("\0\x28\x6b\xee", 4)));
    QTest::newRow("claims no channels")
        << write(QStringLiteral("channels0.wav"), patched(format + 2, QByteArray(2, '\0')));
    QTest::newRow("claims 200 channels")
        << write(QStringLiteral("channels200.wav"), patched(format + 2, QByteArray("\xc8\0", 2)));
    QTest::newRow("claims a rate of 1 Hz, an hour long")
        << write(QStringLiteral("rate1.wav"), patched(format + 4, QByteArray("\1\0\0\0", 4)));
    Tone overLong;
    overLong.milliseconds = (sound::SoundClip::maxDurationSeconds + 1) * 1000;
    overLong.rate = 8000;
    overLong.encoding = SF_FORMAT_PCM_U8;
    QTest::newRow("longer than a minute") << tone(QStringLiteral("overlong.wav"), overLong);
    QVERIFY(QDir(folder_.path()).mkpath(QStringLiteral("folder.wav")));
    QTest::newRow("a folder") << file(QStringLiteral("folder.wav"));
    QVERIFY(::mkfifo(QFile::encodeName(file(QStringLiteral("fifo.wav"))).constData(), 0600) == 0);
    QTest::newRow("a FIFO without a writer") << file(QStringLiteral("fifo.wav"));
}

void TestPulsePlayer::unplayableFilesSoundAsNothing()
{
    QFETCH(QString, path);
    Tone humming;
    humming.milliseconds = 3000;
    humming.amplitude = 5000;
    const QString hum = tone(QStringLiteral("hum.wav"), humming);
    sound::PulsePlayer player;
    MonitorRecorder cut;
    QVERIFY(cut.start(*server_));
    player.play(QFile::encodeName(hum));
    QVERIFY(cut.waitForSound(humming.amplitude / 2, 2s));
    // The start is seen served when it silences the tone in progress, long before its end.
    QVERIFY(timedPlay(player, path) < promptNanoseconds);
    const std::vector<Burst> hummed
        = burstsOf(cut.stopWhenQuiet(humming.amplitude / 4), humming.amplitude / 4);
    QVERIFY2(hummed.size() == 1 && hummed.front().milliseconds() < 2000, describe(hummed));
    MonitorRecorder recorder;
    QVERIFY(recorder.start(*server_));
    // Whatever the file did, the player still serves the next start, and only that sounds.
    player.play(QFile::encodeName(file(QStringLiteral("good.wav"))));
    expectOnly(recorder.stopWhenQuiet(toneThreshold), 40);
}

void TestPulsePlayer::aLongFirstLoadDoesNotHoldTheCaller()
{
    Tone longest;
    longest.milliseconds = (sound::SoundClip::maxDurationSeconds - 1) * 1000;
    longest.rate = 48000;
    longest.channels = 2;
    longest.amplitude = 2000;
    const QString path = tone(QStringLiteral("longest.wav"), longest);
    const QString beep = tone(QStringLiteral("beep.wav"), Tone());

    sound::PulsePlayer player;
    MonitorRecorder recorder;
    QVERIFY(recorder.start(*server_));
    QVERIFY(timedPlay(player, path) < promptNanoseconds);
    QVERIFY(recorder.waitForSound(longest.amplitude / 2, 3s));
    QVERIFY(timedPlay(player, beep) < promptNanoseconds);
    const std::vector<short> capture = recorder.stopWhenQuiet(longest.amplitude / 2);
    const std::vector<Burst> any = burstsOf(capture, longest.amplitude / 2);
    const std::vector<Burst> beeps = burstsOf(capture, toneAmplitude / 2);
    QVERIFY2(beeps.size() == 1, describe(beeps).constData());
    QVERIFY2(std::abs(beeps.front().milliseconds() - 40) <= 2, describe(beeps).constData());
    QVERIFY2(any.back().end - beeps.front().end < captureRate / 500, describe(any).constData());
}

void TestPulsePlayer::withoutAServerStartsReturnAtOnce()
{
    const QString path = tone(QStringLiteral("nobody.wav"), Tone());
    QTemporaryDir nowhere;
    const EnvironmentOverride address(
        "PULSE_SERVER", QStringLiteral("unix:") + nowhere.filePath(QStringLiteral("native")));
    qint64 made = 0;
    auto player = timedMake(made);
    QVERIFY(made < promptNanoseconds);
    for (int start = 0; start < 50; ++start) {
        QVERIFY(timedPlay(*player, path) < promptNanoseconds);
        QTest::qWait(2);
    }
    QVERIFY(timedEnd(player) < promptNanoseconds);
}

void TestPulsePlayer::survivesAServerThatHangsOrDies()
{
    QTemporaryDir folder;
    AudioServer doomed(folder.path());
    QVERIFY(doomed.start());
    const EnvironmentOverride address("PULSE_SERVER", doomed.address());
    Tone long_;
    long_.milliseconds = 2000;
    const QString path = tone(QStringLiteral("doomed.wav"), long_);

    // The server stops answering, then goes away, while a sound plays: neither a start nor
    // the player's end waits for it.
    for (const bool hangs : {true, false}) {
        qint64 made = 0;
        auto player = timedMake(made);
        QVERIFY(made < promptNanoseconds);
        MonitorRecorder recorder;
        QVERIFY(recorder.start(doomed));
        player->play(QFile::encodeName(path));
        QVERIFY(recorder.waitForSound(toneThreshold, 2s));
        if (hangs)
            doomed.freeze(true);
        else
            doomed.stop();
        for (int start = 0; start < 5; ++start)
            QVERIFY(timedPlay(*player, path) < promptNanoseconds);
        QVERIFY(timedEnd(player) < promptNanoseconds);
        if (hangs)
            doomed.freeze(false);
    }
}

void TestPulsePlayer::findsAServerThatComesLaterOrComesBack()
{
    const QString path = tone(QStringLiteral("later.wav"), Tone());
    QTemporaryDir folder;
    AudioServer late(folder.path());
    const EnvironmentOverride address("PULSE_SERVER", late.address());
    // The player looks for a server again on a start, once this long has passed since it
    // last looked: a timer started after a look ends after the next is due.
    const auto waitOutReconnectInterval = [](const QElapsedTimer &sinceLook) {
        const qint64 interval
            = std::chrono::milliseconds(sound::PulseOutput::reconnectInterval).count();
        QTest::qWait(int(std::max<qint64>(0, interval + 1 - sinceLook.elapsed())));
    };

    // Made with no server there, it looks for one at once.
    sound::PulsePlayer player;
    QElapsedTimer sinceLook;
    sinceLook.start();
    player.play(QFile::encodeName(path));
    QVERIFY(late.start());
    waitOutReconnectInterval(sinceLook);

    // Each of these starts looks for the server and sounds once it has found it.
    MonitorRecorder found;
    QVERIFY(found.start(late));
    player.play(QFile::encodeName(path));
    sinceLook.restart();
    expectOnly(found.stopWhenQuiet(toneThreshold), 40);
    if (QTest::currentTestFailed())
        return;

    late.stop();
    QVERIFY(late.start());
    waitOutReconnectInterval(sinceLook);
    MonitorRecorder back;
    QVERIFY(back.start(late));
    player.play(QFile::encodeName(path));
    expectOnly(back.stopWhenQuiet(toneThreshold), 40);
}

QTEST_GUILESS_MAIN(TestPulsePlayer)
#include "tst_pulseplayer.moc"
