#include "sound/PulseOutput.h"

#include "sound/SoundClip.h"

#include <pulse/pulseaudio.h>

#include <algorithm>
#include <utility>

namespace sound {

namespace {

// From a clip's bytes to the speaker, the sink's own buffer included: small enough that a
// sound starts and is cut off promptly on any sink, large enough that the server does not
// wake up for every few samples.
constexpr pa_usec_t targetLatency = 50 * PA_USEC_PER_MSEC;

class MainloopLocker {
public:
    explicit MainloopLocker(pa_threaded_mainloop *mainloop)
        : mainloop_(mainloop)
    {
        pa_threaded_mainloop_lock(mainloop_);
    }
    ~MainloopLocker() { pa_threaded_mainloop_unlock(mainloop_); }
    MainloopLocker(const MainloopLocker &) = delete;
    MainloopLocker &operator=(const MainloopLocker &) = delete;

private:
    pa_threaded_mainloop *mainloop_;
};

} // namespace

PulseOutput::PulseOutput()
    : mainloop_(pa_threaded_mainloop_new())
{
    if (!mainloop_)
        return;
    if (pa_threaded_mainloop_start(mainloop_) < 0) {
        pa_threaded_mainloop_free(mainloop_);
        mainloop_ = nullptr;
        return;
    }
    const MainloopLocker locker(mainloop_);
    connectIfDue();
}

PulseOutput::~PulseOutput()
{
    if (!mainloop_)
        return;
    {
        const MainloopLocker locker(mainloop_);
        cut();
        dropContext();
    }
    pa_threaded_mainloop_stop(mainloop_);
    pa_threaded_mainloop_free(mainloop_);
}

void PulseOutput::start(std::shared_ptr<const SoundClip> clip)
{
    if (!mainloop_)
        return;
    const MainloopLocker locker(mainloop_);
    cut();
    if (!clip)
        return;
    if (context_ && pa_context_get_state(context_) == PA_CONTEXT_READY) {
        open(std::move(clip));
    } else {
        waiting_ = std::move(clip);
        connectIfDue();
    }
}

void PulseOutput::connectIfDue()
{
    if (context_ && PA_CONTEXT_IS_GOOD(pa_context_get_state(context_)))
        return;
    const auto now = std::chrono::steady_clock::now();
    if (now < nextConnect_)
        return;
    nextConnect_ = now + reconnectInterval;

    dropContext();
    // The server and its mixers show the streams under the program's name and icon, tied
    // to its desktop entry by the same id.
    pa_proplist *identity = pa_proplist_new();
    pa_proplist_sets(identity, PA_PROP_APPLICATION_NAME, "Varnock");
    pa_proplist_sets(identity, PA_PROP_APPLICATION_ID, "org.varnock.Varnock");
    pa_proplist_sets(identity, PA_PROP_APPLICATION_ICON_NAME, "org.varnock.Varnock");
    context_
        = pa_context_new_with_proplist(pa_threaded_mainloop_get_api(mainloop_), nullptr, identity);
    pa_proplist_free(identity);
    if (!context_)
        return;
    pa_context_set_state_callback(context_, &PulseOutput::onContextState, this);
    // Without autospawn: a program that only beeps must not start a sound server of its own.
    // A refusal shows in the context's state.
    pa_context_connect(context_, nullptr, PA_CONTEXT_NOAUTOSPAWN, nullptr);
}

void PulseOutput::dropContext()
{
    if (!context_)
        return;
    pa_context_set_state_callback(context_, nullptr, nullptr);
    pa_context_disconnect(context_);
    pa_context_unref(context_);
    context_ = nullptr;
}

void PulseOutput::open(std::shared_ptr<const SoundClip> clip)
{
    if (clip->sampleRate() > int(PA_RATE_MAX) || clip->channelCount() > int(PA_CHANNELS_MAX))
        return;
    const pa_sample_spec spec{
        PA_SAMPLE_S16NE, uint32_t(clip->sampleRate()), uint8_t(clip->channelCount())};
    if (!pa_sample_spec_valid(&spec))
        return;
    pa_stream *stream = pa_stream_new(context_, "Morse code", &spec, nullptr);
    if (!stream)
        return;
    pa_buffer_attr buffer;
    buffer.maxlength = uint32_t(-1);
    buffer.tlength = uint32_t(pa_usec_to_bytes(targetLatency, &spec));
    buffer.prebuf = uint32_t(-1);
    buffer.minreq = uint32_t(-1);
    buffer.fragsize = uint32_t(-1);
    // Adjusting the latency makes the sink shorten its own buffer to fit the target.
    if (pa_stream_connect_playback(
            stream, nullptr, &buffer, PA_STREAM_ADJUST_LATENCY, nullptr, nullptr)
        < 0) {
        pa_stream_unref(stream);
        return;
    }
    pa_stream_set_state_callback(stream, &PulseOutput::onStreamState, this);
    pa_stream_set_write_callback(stream, &PulseOutput::onWritable, this);
    stream_ = stream;
    clip_ = std::move(clip);
    written_ = 0;
}

// Hands the server up to budget more bytes of the clip, and once it has them all asks it to
// play them out: a clip shorter than the prebuffer would otherwise never start.
void PulseOutput::feed(std::size_t budget)
{
    const std::vector<short> &samples = clip_->samples();
    const std::size_t total = samples.size() * sizeof(short);
    const std::size_t frameBytes = sizeof(short) * std::size_t(clip_->channelCount());
    std::size_t length = std::min(total - written_, budget);
    length -= length % frameBytes;
    if (length == 0)
        return;
    const auto *bytes = reinterpret_cast<const char *>(samples.data());
    if (pa_stream_write(stream_, bytes + written_, length, nullptr, 0, PA_SEEK_RELATIVE) < 0)
        return;
    written_ += length;
    if (written_ == total) {
        if (pa_operation *drain = pa_stream_drain(stream_, &PulseOutput::onDrained, this))
            pa_operation_unref(drain);
    }
}

void PulseOutput::cut()
{
    waiting_.reset();
    endStream();
}

void PulseOutput::endStream()
{
    if (!stream_)
        return;
    retire(std::exchange(stream_, nullptr));
    clip_.reset();
}

// Lets go of a stream for good. The server is told to drop it at once; one it has not yet
// confirmed cannot be dropped before it is, so it goes as soon as it is confirmed.
void PulseOutput::retire(pa_stream *stream)
{
    pa_stream_set_write_callback(stream, nullptr, nullptr);
    if (pa_stream_get_state(stream) == PA_STREAM_CREATING) {
        pa_stream_set_state_callback(stream, &PulseOutput::onRetiredState, nullptr);
        return;
    }
    pa_stream_set_state_callback(stream, nullptr, nullptr);
    if (pa_stream_get_state(stream) == PA_STREAM_READY)
        pa_stream_disconnect(stream);
    pa_stream_unref(stream);
}

void PulseOutput::onRetiredState(pa_stream *stream, void *)
{
    if (pa_stream_get_state(stream) != PA_STREAM_CREATING)
        retire(stream);
}

void PulseOutput::onContextState(pa_context *context, void *self)
{
    auto *output = static_cast<PulseOutput *>(self);
    switch (pa_context_get_state(context)) {
    case PA_CONTEXT_READY:
        if (output->waiting_)
            output->open(std::exchange(output->waiting_, nullptr));
        break;
    case PA_CONTEXT_FAILED:
    case PA_CONTEXT_TERMINATED:
        output->waiting_.reset();
        break;
    default:
        break;
    }
}

void PulseOutput::onStreamState(pa_stream *stream, void *self)
{
    auto *output = static_cast<PulseOutput *>(self);
    switch (pa_stream_get_state(stream)) {
    case PA_STREAM_READY:
        // The whole clip at once, as far as the server's queue takes it: a clip that is
        // already there plays through even when this thread is late to its next request.
        output->feed(pa_stream_get_buffer_attr(stream)->maxlength);
        break;
    case PA_STREAM_FAILED:
    case PA_STREAM_TERMINATED:
        output->endStream();
        break;
    default:
        break;
    }
}

void PulseOutput::onWritable(pa_stream *, std::size_t bytes, void *self)
{
    static_cast<PulseOutput *>(self)->feed(bytes);
}

// Once the server has played a clip out, the stream goes, so that an idle sink may sleep.
void PulseOutput::onDrained(pa_stream *stream, int success, void *self)
{
    auto *output = static_cast<PulseOutput *>(self);
    if (success && stream == output->stream_)
        output->endStream();
}

} // namespace sound
