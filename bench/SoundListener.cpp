#include "SoundListener.h"

#include <QCoreApplication>

#include <pipewire/pipewire.h>
#include <pulse/simple.h>
#include <spa/param/audio/format-utils.h>

#include <cstdlib>
#include <thread>

namespace bench {

ToneSplitter::ToneSplitter(int rate, Started started, Found found)
    : hold_(rate / 1000)
    , started_(std::move(started))
    , found_(std::move(found))
{
}

void ToneSplitter::feed(const short *samples, std::size_t count)
{
    for (std::size_t i = 0; i < count; ++i, ++position_) {
        if (std::abs(samples[i]) < loudness)
            continue;
        if (first_ >= 0 && position_ - lastLoud_ > hold_)
            finish();
        if (first_ < 0) {
            first_ = position_;
            started_(first_);
        }
        lastLoud_ = position_;
    }
    if (first_ >= 0 && position_ - 1 - lastLoud_ > hold_)
        finish();
}

void ToneSplitter::finish()
{
    if (first_ < 0)
        return;
    found_(first_, lastLoud_ + 1 - first_);
    first_ = -1;
}

std::vector<double> toneLengths(const std::vector<short> &samples, int rate)
{
    std::vector<double> lengths;
    ToneSplitter splitter(
        rate, [](long) {}, [&](long, long length) { lengths.push_back(length * 1000.0 / rate); });
    splitter.feed(samples.data(), samples.size());
    splitter.finish();
    return lengths;
}

Listener::Listener(int rate, Reads reads)
    : rate_(rate)
    , reads_(reads)
    , splitter_(
          rate,
          [this](long first) {
              toneAt_ = reads_ == OnTime ? blockAt_ : origins_.front().second + samplesTime(first);
              heardAt_ = blockAt_.time_since_epoch().count();
          },
          [this](long, long length) {
              const std::lock_guard locker(mutex_);
              tones_.push_back({toneAt_, length * 1000.0 / rate_});
          })
{
}

Clock::duration Listener::samplesTime(long samples) const
{
    return std::chrono::duration_cast<Clock::duration>(
        std::chrono::duration<double>(double(samples) / rate_));
}

void Listener::arrived(const short *samples, std::size_t count)
{
    blockAt_ = Clock::now();
    position_ += long(count);
    const Clock::time_point origin = blockAt_ - samplesTime(position_);
    while (!origins_.empty() && origins_.back().second >= origin)
        origins_.pop_back();
    origins_.emplace_back(blockAt_, origin);
    while (origins_.front().first < blockAt_ - std::chrono::seconds(1))
        origins_.pop_front();
    splitter_.feed(samples, count);
}

std::optional<Clock::time_point> Listener::nextSound(Clock::duration within)
{
    const auto deadline = Clock::now() + within;
    while (Clock::now() < deadline) {
        if (const auto at = heardAt_.exchange(0))
            return Clock::time_point(Clock::duration(at));
        spinFor(std::chrono::microseconds(100));
    }
    return std::nullopt;
}

std::vector<HeardTone> Listener::tones() const
{
    const std::lock_guard locker(mutex_);
    return tones_;
}

void spinUntil(Clock::time_point until)
{
    do {
        QCoreApplication::processEvents();
        std::this_thread::sleep_for(std::min<Clock::duration>(
            std::chrono::microseconds(100), std::max<Clock::duration>(until - Clock::now(), {})));
    } while (Clock::now() < until);
}

namespace {

constexpr int pulseRate = 44100;

// Reads the null sink's monitor through the PulseAudio API a millisecond at a time.
class PulseMonitor final : public Listener {
public:
    PulseMonitor()
        : Listener(pulseRate, Queued)
    {
        const pa_sample_spec spec{PA_SAMPLE_S16LE, pulseRate, 1};
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
    static constexpr int chunkFrames = pulseRate / 1000;

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

constexpr int pipeWireRate = 48000;

// Reads the null sink's monitor as a PipeWire stream of its own. Through PipeWire's
// PulseAudio server a reader gets its samples only once 256 frames have gathered, up to
// 5.3 ms after the cycle that made them, which would weigh on the figure; this one gets
// each cycle's samples as the cycle ends. It asks for the same 256-frame cycle that a
// PulseAudio reader gets at the most, so that it never makes the server run faster than
// one would.
class PipeWireMonitor final : public Listener {
public:
    PipeWireMonitor()
        : Listener(pipeWireRate, OnTime)
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
        format.rate = pipeWireRate;
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

} // namespace

std::unique_ptr<Listener> listenTo(ListenerKind kind)
{
    if (kind == ListenerKind::PipeWireApi)
        return std::make_unique<PipeWireMonitor>();
    return std::make_unique<PulseMonitor>();
}

} // namespace bench
