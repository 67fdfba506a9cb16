// Reads raw audio recorded from the sound server (signed 16-bit, mono, 44100 Hz) and
// prints each stretch of tone as "start_ms length_ms", one a line, so that the
// end-to-end tests can check what was heard.

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <vector>

namespace {

constexpr int rate = 44100;
constexpr int window = rate / 1000; // one millisecond
constexpr int threshold = 500; // well above the silence, well below the tone

} // namespace

int main(int argc, char *argv[])
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s RAW_FILE\n", argv[0]);
        return 2;
    }
    std::ifstream file(argv[1], std::ios::binary);
    if (!file) {
        std::fprintf(stderr, "%s: cannot read %s\n", argv[0], argv[1]);
        return 1;
    }
    const std::vector<char> bytes{std::istreambuf_iterator<char>(file), {}};
    std::vector<short> samples(bytes.size() / 2);
    for (std::size_t i = 0; i < samples.size(); ++i)
        samples[i] = static_cast<short>((bytes[2 * i] & 0xff) | (bytes[2 * i + 1] << 8));

    // A tone runs while some sample of each millisecond is loud; its edges are taken to
    // the sample.
    long toneStart = -1;
    long lastLoud = -1;
    for (std::size_t i = 0; i < samples.size(); ++i) {
        if (std::abs(samples[i]) < threshold)
            continue;
        const long at = static_cast<long>(i);
        if (toneStart >= 0 && at - lastLoud > window) {
            std::printf("%.1f %.1f\n", toneStart * 1000.0 / rate,
                (lastLoud + 1 - toneStart) * 1000.0 / rate);
            toneStart = -1;
        }
        if (toneStart < 0)
            toneStart = at;
        lastLoud = at;
    }
    if (toneStart >= 0)
        std::printf(
            "%.1f %.1f\n", toneStart * 1000.0 / rate, (lastLoud + 1 - toneStart) * 1000.0 / rate);
    return 0;
}
