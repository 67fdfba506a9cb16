#pragma once

// Listens to the null sink "null" the way a person hears it: as tones, each a stretch of
// samples loud at least once every millisecond. Two listeners of different kinds hear the
// same sink through different clients, so that a gap both of them hear is in what the sink
// played, not in the way one of them was fed.

#include <atomic>
#include <chrono>
#include <cstddef>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <vector>

namespace bench {

using Clock = std::chrono::steady_clock;

// Parts a stream of 16-bit mono samples into tones: a tone ends when no sample has been
// loud for a millisecond, shorter than any hole a listener would hear.
class ToneSplitter {
public:
    // A tone's first sample and, once it ended, its length, counted in samples since the
    // stream began.
    using Started = std::function<void(long first)>;
    using Found = std::function<void(long first, long length)>;

    ToneSplitter(int rate, Started started, Found found);

    void feed(const short *samples, std::size_t count);
    // Ends the tone in progress, as silence would.
    void finish();

    static constexpr int loudness = 500; // well above the silence, well below the tone

private:
    int hold_;
    Started started_;
    Found found_;
    long position_ = 0;
    long first_ = -1;
    long lastLoud_ = -1;
};

// The tones of a recording, as lengths in milliseconds.
std::vector<double> toneLengths(const std::vector<short> &samples, int rate);

struct HeardTone {
    // When its first sample played: as it arrived when the listener is handed each block on
    // time, else by its place in the stream from the blocks of the last second that arrived
    // soonest, so that a read that falls behind does not move it.
    Clock::time_point playedAt;
    double lengthMs;
};

class Listener {
public:
    virtual ~Listener() = default;

    virtual bool listening() const = 0;

    // The time the first loud sample arrived after a quiet stretch since the last call or
    // forget(), if one came before the deadline; polls events on the way.
    std::optional<Clock::time_point> nextSound(Clock::duration within = std::chrono::seconds(1));
    void forget() { heardAt_ = 0; }

    // Every tone heard whole since the listener began, in order.
    std::vector<HeardTone> tones() const;

protected:
    // A listener whose blocks are handed to it as they are made, on time, or one that reads
    // them from a queue, when it gets to it.
    enum Reads { OnTime, Queued };
    Listener(int rate, Reads reads);
    // A block of samples as it arrives.
    void arrived(const short *samples, std::size_t count);

private:
    Clock::duration samplesTime(long samples) const;

    int rate_;
    Reads reads_;
    ToneSplitter splitter_;
    long position_ = 0; // samples so far
    Clock::time_point blockAt_; // when the block being split arrived
    // The time the stream's first sample would have played by each block of the last second,
    // the soonest first: arrival minus the samples so far.
    std::deque<std::pair<Clock::time_point, Clock::time_point>> origins_;
    Clock::time_point toneAt_; // when the tone in progress played
    mutable std::mutex mutex_;
    std::vector<HeardTone> tones_;
    std::atomic<Clock::rep> heardAt_ = 0;
};

enum class ListenerKind { PulseAudioApi, PipeWireApi };

std::unique_ptr<Listener> listenTo(ListenerKind kind);

// Spins the Qt event loop of the calling thread until the time given: a peer player that
// feeds its sound from that thread's events needs it spun, and ours does not mind.
void spinUntil(Clock::time_point until);
inline void spinFor(Clock::duration spell)
{
    spinUntil(Clock::now() + spell);
}

} // namespace bench
