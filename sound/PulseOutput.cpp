#include "sound/PulseOutput.h"

#include "sound/SoundClip.h"

#include <pulse/pulseaudio.h>

#include <algorithm>
#include <utility>

namespace sound {

namespace {

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
        waiting_.reset();
        endStream();
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
    waiting_.reset();
    if (!clip) {
        silence();
        return;
    }
    if (context_ && pa_context_get_state(context_) == PA_CONTEXT_READY) {
        play(std::move(clip));
    } else {
        waiting_ = std::move(clip);
        connectIfDue();
    }
}

void PulseOutput::prepare(std::shared_ptr<const SoundClip> clip)
{
    if (!mainloop_ || !clip)
        return;
    const MainloopLocker locker(mainloop_);
    prepared_ = std::move(clip);
    openPrepared();
}

void PulseOutput::openPrepared()
{
    if (prepared_ && !stream_ && context_ && pa_context_get_state(context_) == PA_CONTEXT_READY)
        open(*prepared_, true);
}

// A stream of the clip's format that is kept from an earlier sound, or prepared, plays it at
// once: a new stream must first be linked to the sink, which on PipeWire takes a session
// manager's round trips, some 15 to 30 ms.
void PulseOutput::play(std::shared_ptr<const SoundClip> clip)
{
    cancelDrain();
    if (stream_ && !sameFormat(*clip))
        endStream();
    if (!stream_ && !open(*clip, false))
        return;
    clip_ = std::move(clip);
    written_ = 0;
    // One still being created is fed once it is ready.
    if (pa_stream_get_state(stream_) != PA_STREAM_READY)
        return;
    // What the server holds of the sound before is dropped, and the new one follows it
    // at once: the requests reach the server in this order.
    if (pa_operation *flush = pa_stream_flush(stream_, nullptr, nullptr))
        pa_operation_unref(flush);
    resume();
    feed(pa_stream_get_buffer_attr(stream_)->maxlength);
}

void PulseOutput::resume()
{
    if (pa_stream_is_corked(stream_) != 1)
        return;
    if (pa_operation *uncork = pa_stream_cork(stream_, 0, nullptr, nullptr))
        pa_operation_unref(uncork);
}

bool PulseOutput::sameFormat(const SoundClip &clip) const
{
    const pa_sample_spec *spec = pa_stream_get_sample_spec(stream_);
    return spec && int(spec->rate) == clip.sampleRate() && spec->channels == clip.channelCount();
}

// Cuts the sound in progress and keeps its stream, corked, for the next one; the server
// drops what it had not yet played.
void PulseOutput::silence()
{
    cancelDrain();
    clip_.reset();
    if (!stream_ || pa_stream_get_state(stream_) != PA_STREAM_READY)
        return;
    if (pa_operation *flush = pa_stream_flush(stream_, nullptr, nullptr))
        pa_operation_unref(flush);
    if (pa_operation *cork = pa_stream_cork(stream_, 1, nullptr, nullptr))
        pa_operation_unref(cork);
}

void PulseOutput::cancelDrain()
{
    if (!drain_)
        return;
    pa_operation_cancel(drain_);
    pa_operation_unref(std::exchange(drain_, nullptr));
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
    pa_proplist_sets(identity, PA_PROP_APPLICATION_ID, VARNOCK_APP_ID);
    pa_proplist_sets(identity, PA_PROP_APPLICATION_ICON_NAME, VARNOCK_APP_ID);
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

// Links a stream in the format's rate and channels, corked or playing as soon as it is
// ready, and says whether it could.
bool PulseOutput::open(const SoundClip &format, bool corked)
{
    if (format.sampleRate() > int(PA_RATE_MAX) || format.channelCount() > int(PA_CHANNELS_MAX))
        return false;
    const pa_sample_spec spec{
        PA_SAMPLE_S16NE, uint32_t(format.sampleRate()), uint8_t(format.channelCount())};
    if (!pa_sample_spec_valid(&spec))
        return false;
    pa_stream *stream = pa_stream_new(context_, "Morse code", &spec, nullptr);
    if (!stream)
        return false;
    pa_buffer_attr buffer;
    buffer.maxlength = uint32_t(-1);
    buffer.tlength
        = uint32_t(pa_usec_to_bytes(pa_usec_t(targetLatency.count()) * PA_USEC_PER_MSEC, &spec));
    buffer.prebuf = uint32_t(-1);
    buffer.minreq = uint32_t(-1);
    buffer.fragsize = uint32_t(-1);
    // Adjusting the latency makes the sink shorten its own buffer to fit the target.
    const auto flags = pa_stream_flags_t(
        PA_STREAM_ADJUST_LATENCY | (corked ? PA_STREAM_START_CORKED : PA_STREAM_NOFLAGS));
    if (pa_stream_connect_playback(stream, nullptr, &buffer, flags, nullptr, nullptr) < 0) {
        pa_stream_unref(stream);
        return false;
    }
    pa_stream_set_state_callback(stream, &PulseOutput::onStreamState, this);
    pa_stream_set_write_callback(stream, &PulseOutput::onWritable, this);
    stream_ = stream;
    return true;
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
    if (written_ == total)
        drain_ = pa_stream_drain(stream_, &PulseOutput::onDrained, this);
}

void PulseOutput::endStream()
{
    cancelDrain();
    clip_.reset();
    if (stream_)
        retire(std::exchange(stream_, nullptr));
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
            output->play(std::exchange(output->waiting_, nullptr));
        else
            output->openPrepared();
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
        // already there plays through even when this thread is late to its next request. A
        // prepared stream that was asked for a sound while it was being linked starts corked.
        if (output->clip_) {
            output->resume();
            output->feed(pa_stream_get_buffer_attr(stream)->maxlength);
        }
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
    auto *output = static_cast<PulseOutput *>(self);
    if (output->clip_)
        output->feed(bytes);
}

// Once the server has played a clip out, the stream is corked, so that an idle sink may
// sleep; it stays for the next sound. Only the latest drain calls back: a cut cancels it.
void PulseOutput::onDrained(pa_stream *stream, int success, void *self)
{
    auto *output = static_cast<PulseOutput *>(self);
    if (stream != output->stream_)
        return;
    if (output->drain_)
        pa_operation_unref(std::exchange(output->drain_, nullptr));
    if (!success)
        return;
    output->clip_.reset();
    if (pa_operation *cork = pa_stream_cork(stream, 1, nullptr, nullptr))
        pa_operation_unref(cork);
}

} // namespace sound
