#pragma once

#include <QByteArray>
#include <QtGlobal>

#include <memory>
#include <vector>

namespace sound {

// A recording decoded into memory as interleaved 16-bit samples at its own rate and channel
// count, ready to hand to the audio server as it is.
class SoundClip {
public:
    // Decodes the recording at path, or gives null when it cannot be played whole: missing,
    // not a regular file, not understood by libsndfile, empty, shorter than its header says,
    // or longer than maxDurationSeconds.
    static std::shared_ptr<const SoundClip> fromFile(const QByteArray &path);

    int sampleRate() const { return sampleRate_; }
    int channelCount() const { return channelCount_; }
    const std::vector<short> &samples() const { return samples_; }

    // Recordings are a few hundred milliseconds of Morse; a minute is far beyond any of them,
    // and so is 32 MiB of decoded samples (a minute at 48 kHz in 8 channels needs 44 MiB). A
    // file past either limit is refused before a sample is read, so that a huge file dropped
    // into the folder neither stalls the player nor fills the memory.
    static constexpr int maxDurationSeconds = 60;
    static constexpr qsizetype maxDecodedBytes = 32 * 1024 * 1024;

private:
    SoundClip(int sampleRate, int channelCount, std::vector<short> samples);

    int sampleRate_;
    int channelCount_;
    std::vector<short> samples_;
};

} // namespace sound
