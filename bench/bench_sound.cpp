// The sound as the audio server gets it: how soon after a start the first sample
// arrives, how long a start holds the window's thread, and what the window costs while
// nothing happens. Needs an audio server whose default sink is the null sink "null"
// (scripts/bench starts one) and, for the idle window, a display. With
// VARNOCK_AUDIO_SERVER=pipewire the sound is heard as a PipeWire stream of its own.

#include "BenchMain.h"
#include "app/Form1.h"
#include "sound/MonotonicTickCounter.h"
#include "sound/PulsePlayer.h"
#include "sound/QtEventPump.h"

#include <QApplication>
#include <QTimer>

#include <pipewire/pipewire.h>
#include <pulse/simple.h>
#include <spa/param/audio/format-utils.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdlib>
#include <memory>
#include <optional>
#include <random>
#include <string_view>
#include <thread>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

// Notes when sound arrives at a listener: the time the first loud sample came after a
// quiet stretch.
class Listener {
public:
    virtual ~Listener() = default;

    virtual bool listening() const = 0;

    // The time the first loud sample arrived since the last call, if one came within a
    // second.
    std::optional<Clock::time_point> nextSound()
    {
        const auto deadline = Clock::now() + std::chrono::seconds(1);
        while (Clock::now() < deadline) {
            if (const auto at = heardAt_.exchange(0))
                return Clock::time_point(Clock::duration(at));
            std::this_thread::sleep_for(std::chrono::microseconds(100));
        }
        return std::nullopt;
    }

    void forget() { heardAt_ = 0; }

protected:
    // A stretch of samples as it arrives.
    void arrived(const short *samples, std::size_t count)
    {
        const bool loudNow = std::any_of(
            samples, samples + count, [](short sample) { return std::abs(sample) > 500; });
        if (loudNow && !loud_)
            heardAt_ = Clock::now().time_since_epoch().count();
        loud_ = loudNow;
    }

private:
    bool loud_ = false;
    std::atomic<Clock::rep> heardAt_ = 0;
};

// Reads the null sink's monitor through the PulseAudio API a millisecond at a time.
class PulseMonitor final : public Listener {
public:
    PulseMonitor()
    {
        const pa_sample_spec spec{PA_SAMPLE_S16LE, 44100, 1};
        pa_buffer_attr attributes{};
        attributes.maxlength = std::uint32_t(-1);
        attributes.fragsize = chunkFrames * sizeof(short);
        int error = 0;
        stream_ = pa_simple_new(nullptr, "varnock-bench", PA_STREAM_RECORD, "null.monitor",
            "monitor", &spec, nullptr, &attributes, &error);
        if (stream_)
            reader_ = std::thread([this] { read(); });
    }

    ~PulseMonitor() override
    {
        stop_ = true;
        if (reader_.joinable())
            reader_.join();
        if (stream_)
            pa_simple_free(stream_);
    }

    bool listening() const override { return stream_ != nullptr; }

private:
    static constexpr int chunkFrames = 44;

    void read()
    {
        short chunk[chunkFrames];
        while (!stop_) {
            if (pa_simple_read(stream_, chunk, sizeof chunk, nullptr) < 0)
                return;
            arrived(chunk, chunkFrames);
        }
    }

    pa_simple *stream_ = nullptr;
    std::thread reader_;
    std::atomic<bool> stop_ = false;
};

// Reads the null sink's monitor as a PipeWire stream of its own. Through PipeWire's
// PulseAudio server a reader gets its samples only once 256 frames have gathered, up to
// 5.3 ms after the cycle that made them, which would weigh on the figure; this one gets
// each cycle's samples as the cycle ends. It asks for the same 256-frame cycle that a
// PulseAudio reader gets at the most, so that it never makes the server run faster than
// one would.
class PipeWireMonitor final : public Listener {
public:
    PipeWireMonitor()
    {
        pw_init(nullptr, nullptr);
        events_.version = PW_VERSION_STREAM_EVENTS;
        events_.process = [](void *self) { static_cast<PipeWireMonitor *>(self)->process(); };
        loop_ = pw_thread_loop_new("bench-monitor", nullptr);
        pw_properties *properties = pw_properties_new(PW_KEY_MEDIA_TYPE, "Audio",
            PW_KEY_MEDIA_CATEGORY, "Capture", PW_KEY_STREAM_CAPTURE_SINK, "true",
            PW_KEY_TARGET_OBJECT, "null", PW_KEY_NODE_LATENCY, "256/48000", nullptr);
        stream_ = pw_stream_new_simple(
            pw_thread_loop_get_loop(loop_), "varnock-bench", properties, &events_, this);
        spa_audio_info_raw format{};
        format.format = SPA_AUDIO_FORMAT_S16;
        format.rate = 48000;
        format.channels = 1;
        format.position[0] = SPA_AUDIO_CHANNEL_MONO;
        std::uint8_t buffer[1024];
        spa_pod_builder builder{};
        builder.data = buffer;
        builder.size = sizeof buffer;
        const spa_pod *parameters[]
            = {spa_format_audio_raw_build(&builder, SPA_PARAM_EnumFormat, &format)};
        connected_ = pw_stream_connect(stream_, PW_DIRECTION_INPUT, PW_ID_ANY,
                         pw_stream_flags(PW_STREAM_FLAG_AUTOCONNECT | PW_STREAM_FLAG_MAP_BUFFERS
                             | PW_STREAM_FLAG_RT_PROCESS),
                         parameters, 1)
            == 0;
        pw_thread_loop_start(loop_);
    }

    ~PipeWireMonitor() override
    {
        pw_thread_loop_stop(loop_);
        pw_stream_destroy(stream_);
        pw_thread_loop_destroy(loop_);
    }

    bool listening() const override { return connected_; }

private:
    void process()
    {
        pw_buffer *handed = pw_stream_dequeue_buffer(stream_);
        if (!handed)
            return;
        const spa_data &data = handed->buffer->datas[0];
        if (data.data) {
            const auto *samples = reinterpret_cast<const short *>(
                static_cast<const char *>(data.data) + data.chunk->offset);
            arrived(samples, data.chunk->size / sizeof(short));
        }
        pw_stream_queue_buffer(stream_, handed);
    }

    pw_thread_loop *loop_ = nullptr;
    pw_stream *stream_ = nullptr;
    pw_stream_events events_{};
    bool connected_ = false;
};

bool onPipeWire()
{
    const char *server = std::getenv("VARNOCK_AUDIO_SERVER");
    return server && std::string_view(server) == "pipewire";
}

const QByteArray dot = RECORDINGS_DIR "/morsecode_E.wav";

void startToFirstSample(benchmark::State &state)
{
    sound::PulsePlayer player;
    const std::unique_ptr<Listener> listener = onPipeWire()
        ? std::unique_ptr<Listener>(std::make_unique<PipeWireMonitor>())
        : std::make_unique<PulseMonitor>();
    Listener &monitor = *listener;
    if (!monitor.listening()) {
        state.SkipWithError("no audio server to listen to");
        return;
    }
    std::vector<double> latencies, holds;
    // Key presses come at any moment of the server's cycle; starts a fixed time apart
    // would all meet it at the same moment, which on PipeWire's 5 ms cycle decides the
    // figure. Spread over 10 ms, from a fixed seed, they meet it everywhere alike.
    std::minstd_rand spread(1);
    std::uniform_int_distribution<int> jitter(0, 9999);
    for (auto _ : state) {
        std::this_thread::sleep_for(
            std::chrono::milliseconds(150) + std::chrono::microseconds(jitter(spread)));
        monitor.forget();
        const auto started = Clock::now();
        player.play(dot);
        holds.push_back(std::chrono::duration<double, std::milli>(Clock::now() - started).count());
        if (const auto heard = monitor.nextSound())
            latencies.push_back(
                std::chrono::duration<double, std::milli>(*heard - started).count());
    }
    if (latencies.empty()) {
        state.SkipWithError("nothing was heard");
        return;
    }
    std::sort(latencies.begin(), latencies.end());
    std::sort(holds.begin(), holds.end());
    state.counters["median_latency_ms"] = latencies[latencies.size() / 2];
    state.counters["heard"] = double(latencies.size());
    state.counters["hold_p95_ms"] = holds[holds.size() * 95 / 100];
}
BENCHMARK(startToFirstSample)->Iterations(50)->Unit(benchmark::kMillisecond);

void idleWindow(benchmark::State &state)
{
    sound::PulsePlayer player;
    sound::MonotonicTickCounter ticks;
    sound::QtEventPump events;
    app::Form1 form({player, ticks, events, [] { return QByteArray(RECORDINGS_DIR); }, [] {}});
    form.show();
    QTimer::singleShot(1000, [] { QCoreApplication::exit(); });
    QCoreApplication::exec(); // settles after start-up
    // A median of several spells: one spell can catch a stray wake-up of the machine.
    std::vector<double> spells;
    for (auto _ : state) {
        const double before = bench::processCpuMs();
        QTimer::singleShot(4000, [] { QCoreApplication::exit(); });
        QCoreApplication::exec();
        spells.push_back(100 * (bench::processCpuMs() - before) / 4000);
    }
    std::sort(spells.begin(), spells.end());
    state.counters["cpu_percent"] = spells[spells.size() / 2];
}
BENCHMARK(idleWindow)->Iterations(5)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    using bench::counter;
    using bench::Target;
    // The audio server's name, so that the figures of each server read side by side.
    const char *named = std::getenv("VARNOCK_AUDIO_SERVER");
    const std::string server = named && *named ? std::string(", ") + named : std::string();
    // A start waits for the server's next cycle, half a cycle at the median, and reaches the
    // monitor a cycle later. PipeWire's PulseAudio server cycles no faster than 256 frames
    // at 48 kHz while a sound plays: 8 ms of the figure are its own, and 3 ms more allow
    // for a busy machine. PulseAudio's null sink runs far shorter cycles.
    const double firstSampleMs = onPipeWire() ? 1.5 * 256 * 1000 / 48000 + 3 : 10;
    return bench::run(argc, argv,
        {
            {"startToFirstSample/iterations:50", "start to first sample, median" + server, "ms",
                counter("median_latency_ms"), Target::AtMost, firstSampleMs},
            {"startToFirstSample/iterations:50", "starts heard, of 50" + server, "",
                counter("heard"), Target::AtLeast, 50},
            {"startToFirstSample/iterations:50",
                "a start holds the window, 95th percentile" + server, "ms", counter("hold_p95_ms"),
                Target::AtMost, 1},
            {"idleWindow/iterations:5", "CPU of the idle window, median of 5 x 4 s" + server, "%",
                counter("cpu_percent"), Target::AtMost, 0.5},
        });
}
