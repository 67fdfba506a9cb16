// What a text box costs with 1 KiB, 100 KiB, 1 MiB and 10 MiB of text in it, focused and
// with its caret blinking, on the window as the user sees it: idling, a repaint, a key
// typed in the middle of the text and at its end, a click on Reset, replacing the whole
// text, and the memory held.

#include "BenchMain.h"
#include "app/Form1.h"
#include "fakes/FakePlatform.h"
#include "textbox/TextBox.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QKeyEvent>
#include <QPushButton>
#include <QTimer>

#include <malloc.h>

#include <algorithm>
#include <array>
#include <string>

namespace {

constexpr std::array<std::pair<qsizetype, const char *>, 4> sizes{
    {{1024, "1k"}, {100 * 1024, "100k"}, {1024 * 1024, "1M"}, {10 * 1024 * 1024, "10M"}}};

QString textOfSize(qsizetype size, const QString &words = QStringLiteral("sos paris "))
{
    return words.repeated(size / words.size() + 1).left(size);
}

void runEventLoopFor(int ms)
{
    QTimer::singleShot(ms, [] { QCoreApplication::exit(); });
    QCoreApplication::exec();
}

template <typename Step> double medianMs(int times, Step step)
{
    std::vector<double> spent;
    for (int i = 0; i < times; ++i) {
        QElapsedTimer timer;
        timer.start();
        step();
        spent.push_back(double(timer.nsecsElapsed()) / 1e6);
    }
    std::sort(spent.begin(), spent.end());
    return spent[spent.size() / 2];
}

double residentMiB()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').front().toDouble() / 1024;
    }
    return 0;
}

// What the process holds with a text in the box. The box is given the text, which it shares
// with the benchmark's one copy, as it shares a paste's; the benchmark's other texts are
// gone, and what was freed before is handed back to the system (glibc keeps freed blocks
// of this size otherwise, some 40 MiB after the edits above), so that what is counted is
// what is held: the window, the text, and what the box keeps beside it.
double residentWith(textbox::TextBox &box, const QString &text)
{
    box.setText(text);
    box.repaint();
    malloc_trim(0);
    return residentMiB();
}

void boxes(benchmark::State &state)
{
    FakePlatform fake("/nowhere");
    app::Form1 form(fake.platform());
    form.show();
    form.activateWindow();
    auto *text1 = form.findChild<textbox::TextBox *>(QStringLiteral("Text1"));
    auto *reset = form.findChild<QPushButton *>(QStringLiteral("Command2"));
    runEventLoopFor(500);

    for (auto _ : state) {
        for (const auto &[size, name] : sizes) {
            const QString text = textOfSize(size);
            const std::string suffix = std::string("_") + name;
            text1->setFocus();
            text1->setText(text);
            runEventLoopFor(300);
            state.counters["end_shown" + suffix]
                = text1->characterRect(int(text1->text().size()) - 1).isNull() ? 0 : 1;

            const double before = bench::processCpuMs();
            runEventLoopFor(3000);
            state.counters["idle_percent" + suffix] = 100 * (bench::processCpuMs() - before) / 3000;
            state.counters["repaint_ms" + suffix] = medianMs(21, [&] { text1->repaint(); });
            const auto keyAt = [&](int position) {
                return medianMs(21, [&] {
                    text1->setCursorPosition(position);
                    QKeyEvent press(
                        QEvent::KeyPress, Qt::Key_E, Qt::NoModifier, QStringLiteral("e"));
                    QApplication::sendEvent(text1, &press);
                    text1->repaint();
                });
            };
            state.counters["key_ms" + suffix] = keyAt(int(size / 2));
            state.counters["key_end_ms" + suffix] = keyAt(int(text1->text().size()));
            {
                // What any text held flat must do for a key in its middle: move the half
                // after it along. A copy of the benchmark's own, gone before the memory is
                // read.
                QString flat = text;
                state.counters["move_ms" + suffix]
                    = medianMs(21, [&] { flat.insert(flat.size() / 2, QLatin1Char('e')); });
            }
            {
                const QString other = textOfSize(size, QStringLiteral("cq dx "));
                state.counters["replace_ms" + suffix] = medianMs(5, [&, size = size] {
                    text1->setText(text1->text().size() > size ? other : text);
                    text1->repaint();
                });
            }
            if (size == sizes.back().first)
                state.counters["resident_mib"] = residentWith(*text1, text);
            state.counters["reset_ms" + suffix] = medianMs(5, [&] {
                text1->setText(text);
                reset->click();
                form.repaint();
            });
        }
    }
    // Ten mebibytes within twice what a kibibyte costs; figures at the noise floor count
    // as the floor.
    const auto ratio = [&](const std::string &figure, double floor) {
        return state.counters[figure + "_10M"]
            / std::max(double(state.counters[figure + "_1k"]), floor);
    };
    state.counters["idle_ratio"] = ratio("idle_percent", 0.2);
    state.counters["repaint_ratio"] = ratio("repaint_ms", 0.2);
    state.counters["key_end_ratio"] = ratio("key_end_ms", 0.2);
    // In the middle of ten mebibytes, a key costs what it costs in a kibibyte and the move
    // of the text after it, which no flat text escapes: what is beyond that, against the
    // move.
    state.counters["key_middle_beyond_move"]
        = (state.counters["key_ms_10M"] - state.counters["key_ms_1k"])
        / std::max(double(state.counters["move_ms_10M"]), 0.05);
}
BENCHMARK(boxes)->Iterations(1)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    using bench::counter;
    using bench::Target;
    const std::string run = "boxes/iterations:1";
    std::vector<Target> targets;
    for (const auto &[size, name] : sizes) {
        const std::string at = std::string(" at ") + name;
        const std::string suffix = std::string("_") + name;
        targets.push_back({run, "idle CPU, caret blinking" + at, "%",
            counter("idle_percent" + suffix), Target::AtMost, 1});
        targets.push_back({run, "one repaint, median" + at, "ms", counter("repaint_ms" + suffix),
            Target::AtMost, 2});
        targets.push_back({run, "a key in the middle, shown, median" + at, "ms",
            counter("key_ms" + suffix), Target::AtMost, 5});
        targets.push_back({run, "a key at the end, shown, median" + at, "ms",
            counter("key_end_ms" + suffix), Target::AtMost, 5});
        targets.push_back({run, "a Reset click answered, median" + at, "ms",
            counter("reset_ms" + suffix), Target::AtMost, 50});
        targets.push_back({run, "the whole text replaced, median" + at, "ms",
            counter("replace_ms" + suffix), Target::AtMost, 100});
        targets.push_back({run, "the caret at the end shows the last character" + at, "",
            counter("end_shown" + suffix), Target::AtLeast, 1});
    }
    // The bare window is some 28 MiB and 10 MiB of text 20 MiB as UTF-16.
    targets.push_back({run, "resident memory with 10 MiB in a box", "MiB", counter("resident_mib"),
        Target::AtMost, 100});
    targets.push_back(
        {run, "idle CPU, 10 MiB against 1 KiB", "x", counter("idle_ratio"), Target::AtMost, 2});
    targets.push_back(
        {run, "repaint, 10 MiB against 1 KiB", "x", counter("repaint_ratio"), Target::AtMost, 2});
    targets.push_back({run, "key at the end, 10 MiB against 1 KiB", "x", counter("key_end_ratio"),
        Target::AtMost, 2});
    targets.push_back({run, "key mid 10 MiB, beyond 1 KiB's, against the move", "x",
        counter("key_middle_beyond_move"), Target::AtMost, 3});
    return bench::run(argc, argv, targets);
}
