// The pacing of the program in real time: what a wait costs the processor and how
// closely it keeps its length, and how a whole encode run keeps its beat.

#include "BenchMain.h"
#include "app/Form1.h"
#include "sound/Module1.h"
#include "sound/MonotonicTickCounter.h"
#include "sound/QtEventPump.h"
#include "sound/SoundSink.h"
#include "textbox/TextBox.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QPushButton>

#include <algorithm>
#include <vector>

namespace {

// Remembers when each sound started, in real time.
class TimedSink : public sound::SoundSink {
public:
    explicit TimedSink(const QElapsedTimer &clock)
        : clock_(clock)
    {
    }
    std::vector<double> starts;
    void play(const QByteArray &) override { starts.push_back(clock_.nsecsElapsed() / 1e6); }

private:
    const QElapsedTimer &clock_;
};

void delayOfOneSecond(benchmark::State &state)
{
    sound::MonotonicTickCounter ticks;
    sound::QtEventPump events;
    double cpu = 0, wall = 0;
    for (auto _ : state) {
        QElapsedTimer timer;
        timer.start();
        const double cpuBefore = bench::processCpuMs();
        sound::Module1::Delay(1000, ticks, events);
        cpu += bench::processCpuMs() - cpuBefore;
        wall += timer.nsecsElapsed() / 1e6;
    }
    state.counters["cpu_percent"] = 100 * cpu / wall;
}
BENCHMARK(delayOfOneSecond)->Iterations(3)->Unit(benchmark::kMillisecond);

void delayLateness(benchmark::State &state)
{
    sound::MonotonicTickCounter ticks;
    sound::QtEventPump events;
    std::vector<double> late;
    for (auto _ : state) {
        // The wait counts from its second reading of the counter; within a millisecond
        // that is its start.
        QElapsedTimer timer;
        timer.start();
        sound::Module1::Delay(20, ticks, events);
        late.push_back(timer.nsecsElapsed() / 1e6 - 20);
    }
    std::sort(late.begin(), late.end());
    state.counters["p95_late_ms"] = late[late.size() * 95 / 100];
}
BENCHMARK(delayLateness)->Iterations(100)->Unit(benchmark::kMillisecond);

void encodeTwentyCharacters(benchmark::State &state)
{
    QElapsedTimer clock;
    clock.start();
    TimedSink sink(clock);
    sound::MonotonicTickCounter ticks;
    sound::QtEventPump events;
    app::Form1 form({sink, ticks, events, [] { return QByteArray("/nowhere"); }, [] {}});
    form.show();
    auto *text1 = form.findChild<textbox::TextBox *>(QStringLiteral("Text1"));
    auto *encode = form.findChild<QPushButton *>(QStringLiteral("Command1"));
    double cpu = 0, wall = 0, spacing = 0;
    for (auto _ : state) {
        sink.starts.clear();
        text1->setText(QStringLiteral("THEQUICKBROWNFOXJUMP"));
        const double cpuBefore = bench::processCpuMs();
        const double wallBefore = clock.nsecsElapsed() / 1e6;
        encode->click();
        cpu += bench::processCpuMs() - cpuBefore;
        wall += clock.nsecsElapsed() / 1e6 - wallBefore;
        spacing = (sink.starts.back() - sink.starts.front()) / double(sink.starts.size() - 1);
    }
    state.counters["cpu_percent"] = 100 * cpu / wall;
    state.counters["start_spacing_ms"] = spacing;
}
BENCHMARK(encodeTwentyCharacters)->Iterations(1)->Unit(benchmark::kMillisecond);

// What one character's code costs to append to a long Morse box on screen, its
// redrawing included.
void appendToLongMorse(benchmark::State &state)
{
    textbox::TextBox box{QString()};
    box.show();
    QString morse;
    while (morse.size() < 100 * 1024)
        morse += QStringLiteral("-.-. --.- ");
    box.setText(morse);
    QCoreApplication::processEvents();
    for (auto _ : state) {
        box.setText(box.text() + QStringLiteral("... "));
        box.repaint();
        state.PauseTiming();
        box.setText(morse);
        state.ResumeTiming();
    }
}
BENCHMARK(appendToLongMorse)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    using bench::counter;
    using bench::milliseconds;
    using bench::Target;
    return bench::run(argc, argv,
        {
            {"delayOfOneSecond/iterations:3", "CPU of a 1 s wait", "%", counter("cpu_percent"),
                Target::AtMost, 2},
            {"delayLateness/iterations:100", "a wait's lateness, 95th percentile", "ms",
                counter("p95_late_ms"), Target::AtMost, 2},
            {"encodeTwentyCharacters/iterations:1", "CPU of a 20-character encode", "%",
                counter("cpu_percent"), Target::AtMost, 2},
            {"encodeTwentyCharacters/iterations:1", "mean spacing of sound starts", "ms",
                counter("start_spacing_ms"), Target::AtMost, 705},
            {"encodeTwentyCharacters/iterations:1", "mean spacing of sound starts", "ms",
                counter("start_spacing_ms"), Target::AtLeast, 695},
            // A tenth of the 700 ms that each character is given.
            {"appendToLongMorse", "append one code to 100 KiB of Morse", "ms", milliseconds,
                Target::AtMost, 70},
        });
}
