// The sound as the audio server plays it, from our player and, beside it, from the one a Qt
// developer would write first on Qt Multimedia: how soon after a start the first sample
// arrives, whether a start cuts the sound it replaces, how long a start holds the window's
// thread, what the window costs while nothing happens, whether every element of a long run
// of letters is heard whole on a busy machine, and what each player does without a server
// and when the server restarts.
//
// Needs an audio server whose default sink is the null sink "null" (scripts/bench starts
// one) and, for the idle window, a display. VARNOCK_AUDIO_SERVER=pipewire tells that the
// server is PipeWire's, which is then also heard as a PipeWire stream of its own.
// VARNOCK_SOUND_CASE picks what runs: unset, everything above on a running server;
// "no-server", the starts with no server to reach; "restart", a restart of the server,
// asked for on the standard output as "restart the audio server" and confirmed by a line
// on the standard input.

#include "BenchMain.h"
#include "PacatPlayer.h"
#include "QtMultimediaPlayer.h"
#include "SoundListener.h"
#include "app/Form1.h"
#include "sound/MonotonicTickCounter.h"
#include "sound/PulsePlayer.h"
#include "sound/QtEventPump.h"
#include "sound/SoundClip.h"

#include <QApplication>
#include <QDir>
#include <QTimer>

#include <poll.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <limits>
#include <random>
#include <string>
#include <string_view>
#include <thread>

namespace {

using bench::Clock;
using bench::Listener;
using bench::ListenerKind;
using bench::spinFor;
using bench::spinUntil;

// Our player, and the one Qt Multimedia offers.
enum class Peer { Ours, QtMultimedia };
// Each player with the name its figures go by.
constexpr std::pair<Peer, std::string_view> peers[]
    = {{Peer::Ours, "ours"}, {Peer::QtMultimedia, "qt"}};

std::string_view envOr(const char *name, std::string_view otherwise)
{
    const char *value = std::getenv(name);
    return value && *value ? std::string_view(value) : otherwise;
}

// The server the figures are of, as their labels name it.
std::string serverName()
{
    return std::string(envOr("VARNOCK_AUDIO_SERVER", "no server"));
}

bool onPipeWire()
{
    return serverName() == "pipewire";
}

// The listener that hears first: on PipeWire one of its own streams, as the program's
// sound is not delayed by PipeWire's PulseAudio server on the way back.
std::unique_ptr<Listener> listener()
{
    return bench::listenTo(onPipeWire() ? ListenerKind::PipeWireApi : ListenerKind::PulseAudioApi);
}

QByteArray recording(char character)
{
    return QByteArray(RECORDINGS_DIR "/morsecode_") + character + ".wav";
}

QList<QByteArray> recordings()
{
    QList<QByteArray> paths;
    const QDir folder(QStringLiteral(RECORDINGS_DIR), QStringLiteral("morsecode_*.wav"));
    for (const QString &name : folder.entryList(QDir::Files, QDir::Name))
        paths.append(QFile::encodeName(folder.filePath(name)));
    return paths;
}

std::unique_ptr<sound::SoundSink> player(Peer peer)
{
    if (peer == Peer::Ours)
        return std::make_unique<sound::PulsePlayer>();
    auto qt = std::make_unique<bench::QtMultimediaPlayer>();
    qt->preload(recordings());
    return qt;
}

double ms(Clock::duration duration)
{
    return std::chrono::duration<double, std::milli>(duration).count();
}

double percentile(std::vector<double> values, int percent)
{
    if (values.empty())
        return std::numeric_limits<double>::quiet_NaN();
    std::sort(values.begin(), values.end());
    return values[values.size() * percent / 100];
}

// Key presses come at any moment of the server's cycle; starts a fixed time apart would all
// meet it at the same moment, which on PipeWire's 5 ms cycle decides the figure. Spread over
// 10 ms, from a fixed seed, they meet it everywhere alike.
class Spread {
public:
    Clock::duration next() { return std::chrono::microseconds(jitter_(random_)); }

private:
    std::minstd_rand random_{1};
    std::uniform_int_distribution<int> jitter_{0, 9999};
};

// Starts E and notes how long the start held its caller and, if it was heard, how long after
// the start its first sample came.
void startDot(sound::SoundSink &sink, Listener &monitor, std::vector<double> &latencies,
    std::vector<double> &holds)
{
    monitor.forget();
    const auto started = Clock::now();
    sink.play(recording('E'));
    holds.push_back(ms(Clock::now() - started));
    if (const auto heard = monitor.nextSound())
        latencies.push_back(ms(*heard - started));
}

void startToFirstSample(benchmark::State &state, Peer peer)
{
    const auto sink = player(peer);
    const auto monitor = listener();
    if (!monitor->listening()) {
        state.SkipWithError("no audio server to listen to");
        return;
    }
    std::vector<double> latencies, holds;
    Spread spread;
    for (auto _ : state) {
        spinFor(std::chrono::milliseconds(150) + spread.next());
        startDot(*sink, *monitor, latencies, holds);
    }
    state.counters["median_latency_ms"] = percentile(latencies, 50);
    state.counters["p95_latency_ms"] = percentile(latencies, 95);
    state.counters["heard"] = double(latencies.size());
    state.counters["hold_p95_ms"] = percentile(holds, 95);
}

// The first sound of a window just opened: the player is made and readied as the window
// does it, and the first key comes half a second later, once the window has shown, at any
// moment of the server's cycle.
void firstSound(benchmark::State &state, Peer peer)
{
    const auto monitor = listener();
    if (!monitor->listening()) {
        state.SkipWithError("no audio server to listen to");
        return;
    }
    std::vector<double> latencies, holds;
    Spread spread;
    for (auto _ : state) {
        const auto sink = player(peer);
        sink->prepare(recording('E'));
        spinFor(std::chrono::milliseconds(500) + spread.next());
        startDot(*sink, *monitor, latencies, holds);
        spinFor(std::chrono::milliseconds(100));
    }
    state.counters["median_latency_ms"] = percentile(latencies, 50);
    state.counters["heard"] = double(latencies.size());
}

// A held arrow key starts a sound before the last one ended. O's first dash is heard out,
// and in the silence after it E starts: the new sound must come at once, and O must not
// go on, so that what follows is E's one dot and nothing else.
void replaceInProgress(benchmark::State &state, Peer peer)
{
    const auto sink = player(peer);
    const auto monitor = listener();
    if (!monitor->listening()) {
        state.SkipWithError("no audio server to listen to");
        return;
    }
    const double dotMs
        = bench::toneLengths(sound::SoundClip::fromFile(recording('E'))->samples(), 44100).front();
    const auto dash = std::chrono::milliseconds(100);
    std::vector<double> latencies;
    int cut = 0;
    Spread spread;
    for (auto _ : state) {
        spinFor(std::chrono::milliseconds(300) + spread.next());
        monitor->forget();
        sink->play(recording('O'));
        const auto heard = monitor->nextSound();
        if (!heard)
            continue;
        spinUntil(*heard + dash + std::chrono::milliseconds(8));
        monitor->forget();
        const auto replaced = Clock::now();
        sink->play(recording('E'));
        if (const auto next = monitor->nextSound(std::chrono::milliseconds(500)))
            latencies.push_back(ms(*next - replaced));
        spinFor(std::chrono::milliseconds(700));
        std::vector<double> after;
        for (const bench::HeardTone &tone : monitor->tones()) {
            if (tone.playedAt >= replaced)
                after.push_back(tone.lengthMs);
        }
        cut += after.size() == 1 && std::abs(after.front() - dotMs) <= 2;
    }
    state.counters["median_latency_ms"] = percentile(latencies, 50);
    state.counters["p95_latency_ms"] = percentile(latencies, 95);
    state.counters["cut"] = cut;
}

// Loops that keep every core of the machine busy while they last.
class BusyLoops {
public:
    explicit BusyLoops(int count)
    {
        for (int i = 0; i < count; ++i)
            loops_.emplace_back([](std::stop_token stop) {
                while (!stop.stop_requested()) { }
            });
    }

private:
    std::vector<std::jthread> loops_;
};

// Which of a recording's elements a listener heard whole: matched in order to a tone no
// more than 2 ms shorter or longer, the rest being split, cut or lost.
std::vector<bool> heardWhole(const std::vector<double> &elements, const std::vector<double> &heard)
{
    const auto matches = [](double element, double tone) { return std::abs(tone - element) <= 2; };
    const std::size_t n = elements.size(), m = heard.size();
    std::vector<std::vector<int>> longest(n + 1, std::vector<int>(m + 1, 0));
    for (std::size_t i = n; i-- > 0;) {
        for (std::size_t j = m; j-- > 0;) {
            longest[i][j] = matches(elements[i], heard[j])
                ? longest[i + 1][j + 1] + 1
                : std::max(longest[i + 1][j], longest[i][j + 1]);
        }
    }
    std::vector<bool> whole(n, false);
    for (std::size_t i = 0, j = 0; i < n && j < m;) {
        if (matches(elements[i], heard[j]) && longest[i][j] == longest[i + 1][j + 1] + 1)
            whole[i++] = true, ++j;
        else if (longest[i + 1][j] >= longest[i][j + 1])
            ++i;
        else
            ++j;
    }
    return whole;
}

// Letter after letter, each started once the last has been heard out, as the program sounds
// a text, while two loops keep the machine busy; the letters go in turn to our player and to
// pacat, so that both meet the same machine. Two listeners hear the sink: an element is
// broken when both hear it split or shortened; one that only one of them hears broken was
// lost on that listener's way. What pacat plays broken, the server broke: our player is held
// to breaking no more.
void elementsWhole(benchmark::State &state)
{
    constexpr int wanted = 2000;
    sound::PulsePlayer ours;
    bench::PacatPlayer pacat;
    sound::SoundSink *const sinks[] = {&ours, &pacat};
    const auto first = bench::listenTo(ListenerKind::PulseAudioApi);
    const auto second = listener();
    if (!first->listening() || !second->listening()) {
        state.SkipWithError("no audio server to listen to");
        return;
    }
    struct Letter {
        QByteArray path;
        std::vector<double> elements;
        Clock::duration length;
    };
    std::vector<Letter> letters;
    for (const QByteArray &path : recordings()) {
        const auto clip = sound::SoundClip::fromFile(path);
        const auto frames = clip->samples().size() / std::size_t(clip->channelCount());
        letters.push_back({path, bench::toneLengths(clip->samples(), clip->sampleRate()),
            std::chrono::microseconds(frames * 1000000 / std::size_t(clip->sampleRate()))});
    }
    struct Played {
        Clock::time_point at;
        const Letter *letter;
        std::size_t sink;
    };
    std::vector<Played> played;
    int elements[2] = {};
    for (auto _ : state) {
        const BusyLoops busy(2);
        for (std::size_t n = 0; elements[0] < wanted; ++n) {
            const Letter &letter = letters[n / 2 % letters.size()];
            played.push_back({Clock::now(), &letter, n % 2});
            sinks[n % 2]->play(letter.path);
            elements[n % 2] += int(letter.elements.size());
            // pacat, started late on the busy machine, plays on late: the next letter waits
            // for it to end.
            const auto deadline = Clock::now() + letter.length + std::chrono::seconds(2);
            spinFor(letter.length);
            while (!pacat.ended() && Clock::now() < deadline)
                spinFor(std::chrono::milliseconds(1));
            spinFor(std::chrono::milliseconds(100));
        }
    }
    spinFor(std::chrono::milliseconds(300));

    // Each listener's tones, parted by the start each came after.
    const auto heardAfterEachStart = [&](const Listener &listener) {
        std::vector<std::vector<double>> heard(played.size());
        for (const bench::HeardTone &tone : listener.tones()) {
            const auto after = std::upper_bound(played.begin(), played.end(), tone.playedAt,
                [](Clock::time_point at, const Played &start) { return at < start.at; });
            if (after != played.begin())
                heard[std::size_t(after - played.begin() - 1)].push_back(tone.lengthMs);
        }
        return heard;
    };
    const auto byFirst = heardAfterEachStart(*first);
    const auto bySecond = heardAfterEachStart(*second);
    int broken[2] = {}, brokenForOne[2] = {};
    for (std::size_t k = 0; k < played.size(); ++k) {
        const auto &expected = played[k].letter->elements;
        const auto wholeForFirst = heardWhole(expected, byFirst[k]);
        const auto wholeForSecond = heardWhole(expected, bySecond[k]);
        const std::size_t sink = played[k].sink;
        bool shown = false;
        for (std::size_t i = 0; i < expected.size(); ++i) {
            broken[sink] += !wholeForFirst[i] && !wholeForSecond[i];
            brokenForOne[sink] += wholeForFirst[i] != wholeForSecond[i];
            if (shown || wholeForFirst[i] || wholeForSecond[i])
                continue;
            // What each listener heard of a broken letter, to see the break.
            shown = true;
            std::fprintf(stderr, "%.3f s: %s from %s as",
                ms(played[k].at - played.front().at) / 1000, played[k].letter->path.constData(),
                sink == 0 ? "ours" : "pacat");
            for (const auto *heard : {&byFirst[k], &bySecond[k]}) {
                std::fprintf(stderr, " [");
                for (const double length : *heard)
                    std::fprintf(stderr, " %.1f", length);
                std::fprintf(stderr, " ]");
            }
            std::fprintf(stderr, "\n");
        }
    }
    state.counters["elements"] = elements[0];
    state.counters["broken"] = broken[0];
    state.counters["broken_for_one"] = brokenForOne[0];
    state.counters["elements_pacat"] = elements[1];
    state.counters["broken_pacat"] = broken[1];
    state.counters["broken_for_one_pacat"] = brokenForOne[1];
    state.counters["broken_beyond_pacat"] = broken[0] - broken[1];
}

void idleWindow(benchmark::State &state, Peer peer)
{
    const auto sink = player(peer);
    sound::MonotonicTickCounter ticks;
    sound::QtEventPump events;
    app::Form1 form({*sink, ticks, events, [] { return QByteArray(RECORDINGS_DIR); }, [] {}});
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
    state.counters["cpu_percent"] = percentile(spells, 50);
}

// Starts of every recording with no server to reach: each must return at once and sound as
// nothing, the player's making included.
void noServer(benchmark::State &state, Peer peer)
{
    std::vector<double> holds;
    double making = 0;
    for (auto _ : state) {
        const auto began = Clock::now();
        const auto sink = player(peer);
        making = ms(Clock::now() - began);
        for (const QByteArray &path : recordings()) {
            const auto started = Clock::now();
            sink->play(path);
            holds.push_back(ms(Clock::now() - started));
            spinFor(std::chrono::milliseconds(20));
        }
    }
    state.counters["making_ms"] = making;
    state.counters["longest_start_ms"] = *std::max_element(holds.begin(), holds.end());
}

// Waits for a line on the standard input, at most a minute.
bool lineWithin(std::chrono::seconds limit)
{
    pollfd input{STDIN_FILENO, POLLIN, 0};
    if (poll(&input, 1, int(std::chrono::milliseconds(limit).count())) != 1)
        return false;
    std::string line;
    return bool(std::getline(std::cin, line));
}

// Each player is heard, the server restarts, and each is started again every 250 ms until it
// is heard: how long that takes (infinity: not within 10 s), and the longest start meanwhile.
void serverRestart(benchmark::State &state)
{
    std::vector<std::unique_ptr<sound::SoundSink>> sinks;
    // Heard within a few starts, as a player that loses some starts may need.
    const auto heardWithin = [](sound::SoundSink &sink, Clock::duration limit, double &longest) {
        const auto monitor = listener();
        for (const auto began = Clock::now(); Clock::now() - began < limit;) {
            monitor->forget();
            const auto started = Clock::now();
            sink.play(recording('E'));
            longest = std::max(longest, ms(Clock::now() - started));
            if (monitor->nextSound(std::chrono::milliseconds(250)))
                return true;
        }
        return false;
    };
    for (const auto &[peer, name] : peers) {
        sinks.push_back(player(peer));
        double longest = 0;
        state.counters["heard_before_" + std::string(name)]
            = heardWithin(*sinks.back(), std::chrono::seconds(2), longest);
        spinFor(std::chrono::milliseconds(200));
    }
    for (auto _ : state) {
        std::cout << "restart the audio server" << std::endl;
        if (!lineWithin(std::chrono::seconds(60))) {
            state.SkipWithError("the audio server was not restarted within a minute");
            return;
        }
    }
    for (std::size_t i = 0; i < sinks.size(); ++i) {
        const std::string name(peers[i].second);
        double longest = 0;
        const auto restarted = Clock::now();
        const bool heard = heardWithin(*sinks[i], std::chrono::seconds(10), longest);
        state.counters["recovery_s_" + name]
            = heard ? ms(Clock::now() - restarted) / 1000 : std::numeric_limits<double>::infinity();
        state.counters["longest_start_ms_" + name] = longest;
        spinFor(std::chrono::milliseconds(200));
    }
}

// A figure of our player with its bound, then the same figure of Qt Multimedia's player,
// shown beside it only. Where benchmark or name holds "{}", it stands for the player's name.
std::vector<bench::Target> beside(const std::string &benchmark, const std::string &name,
    const std::string &figure, const std::string &unit, bench::Target::Bound bound, double limit)
{
    const std::string server = serverName();
    const auto of = [](std::string text, std::string_view player) {
        if (const auto at = text.find("{}"); at != std::string::npos)
            text.replace(at, 2, player);
        return text;
    };
    return {
        {of(benchmark, "ours"), figure + ", ours, " + server, unit,
            bench::counter(of(name, "ours")), bound, limit},
        {of(benchmark, "qt"), figure + ", Qt Multimedia, " + server, unit,
            bench::counter(of(name, "qt")), bench::Target::Shown, 0},
    };
}

std::vector<bench::Target> joined(std::initializer_list<std::vector<bench::Target>> lists)
{
    std::vector<bench::Target> all;
    for (const auto &list : lists)
        all.insert(all.end(), list.begin(), list.end());
    return all;
}

} // namespace

int main(int argc, char **argv)
{
    using bench::counter;
    using bench::Target;
    const std::string server = serverName();
    const std::string ours = ", ours, " + server, reference = ", pacat, " + server;
    const std::string_view soundCase = envOr("VARNOCK_SOUND_CASE", "");
    if (soundCase == "no-server") {
        for (const auto &[peer, name] : peers)
            benchmark::RegisterBenchmark(("noServer/" + std::string(name)).c_str(), noServer, peer)
                ->Iterations(1);
        const std::string run = "noServer/{}/iterations:1";
        return bench::run(argc, argv,
            joined({
                beside(
                    run, "longest_start_ms", "longest start, no server", "ms", Target::AtMost, 1),
                beside(run, "making_ms", "making the player, no server", "ms", Target::AtMost, 100),
            }));
    }
    if (soundCase == "restart") {
        benchmark::RegisterBenchmark("serverRestart", serverRestart)->Iterations(1);
        const std::string run = "serverRestart/iterations:1";
        return bench::run(argc, argv,
            joined({
                beside(run, "heard_before_{}", "heard before a server restart", "", Target::AtLeast,
                    1),
                beside(run, "recovery_s_{}", "heard again after a server restart", "s",
                    Target::AtMost, 3),
                beside(run, "longest_start_ms_{}", "longest start, server restarting", "ms",
                    Target::AtMost, 1),
            }));
    }
    // A start waits for the server's next cycle, half a cycle at the median, and reaches the
    // monitor a cycle later. PipeWire's PulseAudio server cycles no faster than 256 frames
    // at 48 kHz while a sound plays: 8 ms of the figure are its own, and 3 ms more allow
    // for a busy machine. PulseAudio's null sink runs far shorter cycles.
    const double firstSampleMs = onPipeWire() ? 1.5 * 256 * 1000 / 48000 + 3 : 10;
    for (const auto &[peer, name] : peers) {
        benchmark::RegisterBenchmark(
            ("startToFirstSample/" + std::string(name)).c_str(), startToFirstSample, peer)
            ->Iterations(50)
            ->Unit(benchmark::kMillisecond);
        benchmark::RegisterBenchmark(
            ("replaceInProgress/" + std::string(name)).c_str(), replaceInProgress, peer)
            ->Iterations(20)
            ->Unit(benchmark::kMillisecond);
        benchmark::RegisterBenchmark(("firstSound/" + std::string(name)).c_str(), firstSound, peer)
            ->Iterations(20)
            ->Unit(benchmark::kMillisecond);
    }
    benchmark::RegisterBenchmark("elementsWhole", elementsWhole)
        ->Iterations(1)
        ->Unit(benchmark::kSecond);
    for (const auto &[peer, name] : peers)
        benchmark::RegisterBenchmark(("idleWindow/" + std::string(name)).c_str(), idleWindow, peer)
            ->Iterations(5)
            ->Unit(benchmark::kMillisecond);
    const std::string start = "startToFirstSample/{}/iterations:50",
                      replace = "replaceInProgress/{}/iterations:20",
                      first = "firstSound/{}/iterations:20", idle = "idleWindow/{}/iterations:5",
                      whole = "elementsWhole/iterations:1";
    return bench::run(argc, argv,
        joined({
            beside(start, "median_latency_ms", "start to first sample, median", "ms",
                Target::AtMost, firstSampleMs),
            beside(start, "p95_latency_ms", "start to first sample, 95th percentile", "ms",
                Target::Shown, 0),
            beside(start, "heard", "starts heard, of 50", "", Target::AtLeast, 50),
            beside(start, "hold_p95_ms", "a start holds the window, 95th percentile", "ms",
                Target::AtMost, 1),
            beside(replace, "median_latency_ms", "a replacing start to its first sample, median",
                "ms", Target::AtMost, firstSampleMs),
            beside(replace, "cut", "replaced sounds cut at once, of 20", "", Target::AtLeast, 20),
            beside(first, "median_latency_ms",
                "a new window's first sound, start to first sample, median", "ms", Target::AtMost,
                firstSampleMs),
            beside(
                first, "heard", "new windows' first sounds heard, of 20", "", Target::AtLeast, 20),
            beside(idle, "cpu_percent", "CPU of the idle window, median of 5 x 4 s", "%",
                Target::AtMost, 0.5),
            {
                {whole, "elements heard, two busy loops beside" + ours, "", counter("elements"),
                    Target::AtLeast, 2000},
                {whole, "elements heard, two busy loops beside" + reference, "",
                    counter("elements_pacat"), Target::Shown, 0},
                {whole, "elements heard broken by both listeners" + ours, "", counter("broken"),
                    Target::Shown, 0},
                {whole, "elements heard broken by both listeners" + reference, "",
                    counter("broken_pacat"), Target::Shown, 0},
                {whole, "elements broken beyond those broken for pacat" + ours, "",
                    counter("broken_beyond_pacat"), Target::AtMost, 0},
                {whole, "elements heard broken by one listener only" + ours, "",
                    counter("broken_for_one"), Target::Shown, 0},
                {whole, "elements heard broken by one listener only" + reference, "",
                    counter("broken_for_one_pacat"), Target::Shown, 0},
            },
        }));
}
