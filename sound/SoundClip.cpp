#include "sound/SoundClip.h"

#include <sndfile.h>

#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace sound {

namespace {

// A file descriptor that closes when it goes out of scope.
class ScopedDescriptor {
public:
    explicit ScopedDescriptor(int descriptor)
        : descriptor_(descriptor)
    {
    }
    ~ScopedDescriptor()
    {
        if (descriptor_ >= 0)
            ::close(descriptor_);
    }
    ScopedDescriptor(const ScopedDescriptor &) = delete;
    ScopedDescriptor &operator=(const ScopedDescriptor &) = delete;

    int get() const { return descriptor_; }

private:
    int descriptor_;
};

struct SndFileCloser {
    void operator()(SNDFILE *file) const { sf_close(file); }
};

// Bytes one sample takes in the file, for the encodings that store every sample alike;
// 0 for the others.
int storedSampleBytes(int format)
{
    switch (format & SF_FORMAT_SUBMASK) {
    case SF_FORMAT_PCM_S8:
    case SF_FORMAT_PCM_U8:
    case SF_FORMAT_ULAW:
    case SF_FORMAT_ALAW:
        return 1;
    case SF_FORMAT_PCM_16:
        return 2;
    case SF_FORMAT_PCM_24:
        return 3;
    case SF_FORMAT_PCM_32:
    case SF_FORMAT_FLOAT:
        return 4;
    case SF_FORMAT_DOUBLE:
        return 8;
    default:
        return 0;
    }
}

// libsndfile reads a WAV whose data chunk claims more than the file holds as if it were
// shorter, and only notes it in its log. Such a file is an unfinished copy or lies about
// itself; playing it would sound a fragment and keep it in place of the whole recording.
bool holdsWhatItDeclares(SNDFILE *file, const SF_INFO &info)
{
    const int sampleBytes = storedSampleBytes(info.format);
    SF_CHUNK_INFO wanted{};
    std::memcpy(wanted.id, "data", 4);
    wanted.id_size = 4;
    const SF_CHUNK_ITERATOR *chunk = sf_get_chunk_iterator(file, &wanted);
    SF_CHUNK_INFO data{};
    if (sampleBytes == 0 || !chunk || sf_get_chunk_size(chunk, &data) != SF_ERR_NO_ERROR)
        return true;
    const sf_count_t frameBytes = sf_count_t(sampleBytes) * info.channels;
    return data.datalen < (info.frames + 1) * frameBytes;
}

bool withinLimits(const SF_INFO &info)
{
    const sf_count_t frameBytes = sf_count_t(sizeof(short)) * info.channels;
    return info.frames > 0 && info.channels > 0 && info.samplerate > 0
        && info.frames <= sf_count_t(SoundClip::maxDurationSeconds) * info.samplerate
        && info.frames <= SoundClip::maxDecodedBytes / frameBytes;
}

} // namespace

SoundClip::SoundClip(int sampleRate, int channelCount, std::vector<short> samples)
    : sampleRate_(sampleRate)
    , channelCount_(channelCount)
    , samples_(std::move(samples))
{
}

std::shared_ptr<const SoundClip> SoundClip::fromFile(const QByteArray &path)
{
    // Opened without blocking and checked to be a regular file, so that a FIFO or a device
    // under a recording's name cannot hang the loading for good.
    const ScopedDescriptor descriptor(::open(path.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
    struct stat status { };
    if (descriptor.get() < 0 || ::fstat(descriptor.get(), &status) != 0 || !S_ISREG(status.st_mode))
        return nullptr;

    SF_INFO info{};
    const std::unique_ptr<SNDFILE, SndFileCloser> file(
        sf_open_fd(descriptor.get(), SFM_READ, &info, SF_FALSE));
    if (!file || !withinLimits(info) || !holdsWhatItDeclares(file.get(), info))
        return nullptr;

    std::vector<short> samples(std::size_t(info.frames) * std::size_t(info.channels));
    if (sf_readf_short(file.get(), samples.data(), info.frames) != info.frames)
        return nullptr;
    return std::shared_ptr<const SoundClip>(
        new SoundClip(info.samplerate, info.channels, std::move(samples)));
}

} // namespace sound
