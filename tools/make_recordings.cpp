// Writes the recordings the program sounds its letters and digits from, one WAV file a
// character, from the Morse table, so that no recording can disagree with the codes the
// program shows.

#include "morse/MorseTable.h"

#include <sndfile.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <numbers>
#include <string>
#include <string_view>
#include <vector>

namespace {

constexpr int sampleRate = 44100;
constexpr double toneHz = 700;
// Half of full scale: loud enough, and far from clipping.
constexpr double amplitude = 0.5 * 32767;
// 36 words a minute on the PARIS standard: a unit of 1200 / 36 = 33.3 ms, 1470 frames.
// The program starts a character every 700 ms, and a listener hears where one ends and
// the next begins only from the silence between them: three units or more. The longest
// recordings, 1 and 9 (17 units, 567 ms), leave four units of silence, so a start that
// comes up to a unit late still leaves three.
constexpr int wordsPerMinute = 36;
constexpr int unitFrames = sampleRate * 1200 / (wordsPerMinute * 1000);
// The keying rises and falls over 5 ms, as CW transmitters key at this speed: a shorter
// edge clicks, and a longer one leaves a 33 ms dot too little time at full loudness.
constexpr int rampFrames = sampleRate * 5 / 1000;

// An element's loudness: a raised cosine from silence over its first 5 ms and back over its
// last, so the ramps stay inside the element's time.
double gain(int frame, int frames)
{
    const int fromEdge = std::min(frame, frames - 1 - frame);
    if (fromEdge >= rampFrames)
        return 1;
    return 0.5 * (1 - std::cos(std::numbers::pi * fromEdge / rampFrames));
}

// A dot sounds for one unit, a dash for three, with one unit of silence between them and
// none before the first or after the last.
std::vector<short> sound(QStringView code)
{
    std::vector<short> samples;
    for (const QChar symbol : code) {
        if (!samples.empty())
            samples.insert(samples.end(), unitFrames, 0);
        const int frames = symbol == u'-' ? 3 * unitFrames : unitFrames;
        for (int frame = 0; frame < frames; ++frame) {
            const double phase = 2 * std::numbers::pi * toneHz * frame / sampleRate;
            samples.push_back(
                static_cast<short>(std::lround(amplitude * gain(frame, frames) * std::sin(phase))));
        }
    }
    return samples;
}

bool write(const std::filesystem::path &path, const std::vector<short> &samples)
{
    SF_INFO info{};
    info.samplerate = sampleRate;
    info.channels = 1;
    info.format = SF_FORMAT_WAV | SF_FORMAT_PCM_16;
    SNDFILE *file = sf_open(path.c_str(), SFM_WRITE, &info);
    if (!file) {
        std::fprintf(stderr, "cannot open %s: %s\n", path.c_str(), sf_strerror(nullptr));
        return false;
    }
    const auto frames = static_cast<sf_count_t>(samples.size());
    const bool written = sf_writef_short(file, samples.data(), frames) == frames;
    if (!written)
        std::fprintf(stderr, "cannot write %s: %s\n", path.c_str(), sf_strerror(file));
    if (sf_close(file) != 0) {
        std::fprintf(stderr, "cannot finish %s\n", path.c_str());
        return false;
    }
    return written;
}

} // namespace

int main(int argc, char *argv[])
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s OUTPUT_FOLDER CHARACTERS\n", argv[0]);
        return 2;
    }
    const std::filesystem::path folder(argv[1]);
    for (const char name : std::string_view(argv[2])) {
        const char16_t character = static_cast<unsigned char>(name);
        const auto code = morse::codeFor(QStringView(&character, 1));
        if (!code) {
            std::fprintf(stderr, "%s: the Morse table has no code for %c\n", argv[0], name);
            return 1;
        }
        if (!write(folder / ("morsecode_" + std::string(1, name) + ".wav"), sound(*code))) {
            std::fprintf(stderr, "%s: the recordings in %s are incomplete\n", argv[0], argv[1]);
            return 1;
        }
    }
    return 0;
}
