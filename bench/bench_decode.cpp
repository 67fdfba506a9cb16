// Decoding a mebibyte of Morse text: the decode alone, and the whole click of the
// decode button on a real window.

#include "BenchMain.h"
#include "app/Form1.h"
#include "convert/Decode.h"
#include "fakes/FakePlatform.h"
#include "morse/MorseTable.h"
#include "textbox/TextBox.h"

#include <QPushButton>
#include <QRandomGenerator>

namespace {

// Random codes of the table, each followed by a single space.
QString morseOfSize(qsizetype size)
{
    const auto entries = morse::entries();
    QRandomGenerator random(7);
    QString morse;
    while (morse.size() < size) {
        const auto &code = entries[random.bounded(int(entries.size()))].code;
        morse += QStringView(code.data(), qsizetype(code.size()));
        morse += u' ';
    }
    morse.truncate(size);
    return morse;
}

QString mebibyteOfMorse()
{
    return morseOfSize(1024 * 1024);
}

void decodeAlone(benchmark::State &state)
{
    const QString morse = mebibyteOfMorse();
    convert::FormStrings strings;
    for (auto _ : state)
        benchmark::DoNotOptimize(convert::decodeMorse(morse, strings));
    state.SetBytesProcessed(state.iterations() * morse.size());
}
// A median of nine spells of half a second each: one spell can meet a stray load on the machine.
BENCHMARK(decodeAlone)->Repetitions(9)->ReportAggregatesOnly(true)->Unit(benchmark::kMillisecond);

void decodeClick(benchmark::State &state)
{
    FakePlatform fake("/nowhere");
    app::Form1 form(fake.platform());
    form.show();
    form.findChild<textbox::TextBox *>(QStringLiteral("Text2"))->setText(mebibyteOfMorse());
    auto *decodeButton = form.findChild<QPushButton *>(QStringLiteral("Command3"));
    for (auto _ : state)
        decodeButton->click();
}
BENCHMARK(decodeClick)->Unit(benchmark::kMillisecond);

void decodeClickOfTenMebibytes(benchmark::State &state)
{
    FakePlatform fake("/nowhere");
    app::Form1 form(fake.platform());
    form.show();
    form.findChild<textbox::TextBox *>(QStringLiteral("Text2"))
        ->setText(morseOfSize(10 * 1024 * 1024));
    auto *decodeButton = form.findChild<QPushButton *>(QStringLiteral("Command3"));
    for (auto _ : state)
        decodeButton->click();
}
BENCHMARK(decodeClickOfTenMebibytes)->Iterations(3)->Unit(benchmark::kMillisecond);

double megabytesPerSecond(const benchmark::BenchmarkReporter::Run &run)
{
    return run.counters.at("bytes_per_second") / 1e6;
}

} // namespace

int main(int argc, char **argv)
{
    using bench::milliseconds;
    using bench::Target;
    return bench::run(argc, argv,
        {
            {"decodeAlone/repeats:9_median", "decode of 1 MiB of Morse (characters), median of 9",
                "MB/s", megabytesPerSecond, Target::AtLeast, 100},
            {"decodeClick", "decode click on 1 MiB of Morse", "ms", milliseconds, Target::AtMost,
                100},
            {"decodeClickOfTenMebibytes/iterations:3", "decode click on 10 MiB of Morse", "ms",
                milliseconds, Target::AtMost, 300},
        });
}
