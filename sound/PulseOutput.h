#pragma once

#include <chrono>
#include <cstddef>
#include <memory>

struct pa_context;
struct pa_operation;
struct pa_stream;
struct pa_threaded_mainloop;

namespace sound {

class SoundClip;

// The program's one connection to the PulseAudio server and its one playback stream. The
// server's callbacks run on a mainloop thread of their own; every member function, whether
// called by start() or by a callback, runs under that mainloop's lock.
//
// The connection is made at construction and, once lost or never made, again on a later
// start, at most every couple of seconds and never on a timer. The stream stays, corked,
// after its sound, so that the next sound starts without linking a new one: while nothing
// plays, nothing here wakes up, and the sink may sleep. A prepared output links it, corked,
// before the first sound.
class PulseOutput {
public:
    PulseOutput();
    ~PulseOutput();
    PulseOutput(const PulseOutput &) = delete;
    PulseOutput &operator=(const PulseOutput &) = delete;

    // Cuts the sound in progress and starts clip, from any thread, without waiting for the
    // server; a null clip only cuts. Every sample of the clip goes to the server unless a
    // later start cuts it; without a server the clip sounds as nothing.
    void start(std::shared_ptr<const SoundClip> clip);

    // Links a corked stream in clip's format as soon as the server is there, unless a stream
    // is there already: the first sound then starts as promptly as later ones, whose stream is
    // kept. Sounds nothing; a null clip leaves it at that.
    void prepare(std::shared_ptr<const SoundClip> clip);

    // From a clip's bytes to the speaker, the sink's own buffer included: small enough that a
    // sound starts and is cut off promptly on any sink, large enough that the server does not
    // wake up for every few samples. PipeWire's PulseAudio server runs its cycle at a quarter
    // of it while the sound plays, which it keeps at no less than 256 frames (5.3 ms).
    static constexpr std::chrono::milliseconds targetLatency{20};

    // A server that is missing or went away is looked for again no sooner than this after
    // the last try, so that a burst of key presses without a server does not turn into a
    // burst of connection attempts.
    static constexpr std::chrono::seconds reconnectInterval{2};

private:
    void connectIfDue();
    void dropContext();
    void play(std::shared_ptr<const SoundClip> clip);
    bool sameFormat(const SoundClip &clip) const;
    void openPrepared();
    bool open(const SoundClip &format, bool corked);
    void resume();
    void feed(std::size_t budget);
    void silence();
    void cancelDrain();
    void endStream();

    static void retire(pa_stream *stream);
    static void onRetiredState(pa_stream *stream, void *);
    static void onContextState(pa_context *context, void *self);
    static void onStreamState(pa_stream *stream, void *self);
    static void onWritable(pa_stream *stream, std::size_t bytes, void *self);
    static void onDrained(pa_stream *stream, int success, void *self);

    pa_threaded_mainloop *mainloop_ = nullptr;
    pa_context *context_ = nullptr;
    std::chrono::steady_clock::time_point nextConnect_;
    // The clip that waits for the connection to come up, and the one whose format the
    // stream is linked in before the first sound.
    std::shared_ptr<const SoundClip> waiting_;
    std::shared_ptr<const SoundClip> prepared_;
    // The stream, kept corked between sounds while the clips share its format; the clip
    // that plays on it, how many of its bytes went to the server, and the request to play
    // them out.
    pa_stream *stream_ = nullptr;
    std::shared_ptr<const SoundClip> clip_;
    std::size_t written_ = 0;
    pa_operation *drain_ = nullptr;
};

} // namespace sound
