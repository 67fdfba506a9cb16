#include "morse/MorseTable.h"
#include "tests/Rows.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTest>

#include <sndfile.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <numbers>
#include <vector>

namespace {

constexpr int sampleRate = 44100;
constexpr double toneHz = 700;
constexpr int fullScale = 32767;

constexpr qsizetype frames(double ms)
{
    return static_cast<qsizetype>(ms * sampleRate / 1000 + 0.5);
}

// 36 words a minute on the PARIS standard: 50 units a word, 1200 / 36 ms a unit.
constexpr qsizetype unit = frames(1200.0 / 36);
// An encode starts a character every 700 ms.
constexpr qsizetype step = frames(700);
constexpr qsizetype ramp = frames(5);

const QString letters = QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZ");
const QString digits = QStringLiteral("123456789");

QString pathOf(QChar character)
{
    return QDir(QStringLiteral(RECORDINGS_DIR))
        .filePath(QStringLiteral("morsecode_") + character + QStringLiteral(".wav"));
}

struct Recording {
    SF_INFO info{};
    std::vector<short> samples;
    QString error;
};

Recording read(QChar character)
{
    Recording recording;
    const QByteArray path = QFile::encodeName(pathOf(character));
    SNDFILE *file = sf_open(path.constData(), SFM_READ, &recording.info);
    if (!file) {
        recording.error = QString::fromLocal8Bit(path + ": " + sf_strerror(nullptr));
        return recording;
    }
    // The checks read the samples as one channel at the rate the durations assume.
    if (recording.info.channels != 1 || recording.info.samplerate != sampleRate) {
        recording.error = QString::fromLocal8Bit(path + ": not mono at the expected rate");
        sf_close(file);
        return recording;
    }
    recording.samples.resize(recording.info.frames);
    const auto items = static_cast<sf_count_t>(recording.samples.size());
    if (sf_read_short(file, recording.samples.data(), items) != items)
        recording.error = QString::fromLocal8Bit(path + ": " + sf_strerror(file));
    sf_close(file);
    return recording;
}

struct Span {
    qsizetype begin;
    qsizetype end;
};

// Where each dot and dash of a code belongs: a dot one unit, a dash three, one unit of
// silence between them, starting at the first sample.
std::vector<Span> elementsOf(QStringView code)
{
    std::vector<Span> elements;
    qsizetype at = 0;
    for (const QChar symbol : code) {
        const qsizetype length = symbol == u'-' ? 3 * unit : unit;
        elements.push_back({at, at + length});
        at += length + unit;
    }
    return elements;
}

int magnitude(short sample)
{
    return std::abs(static_cast<int>(sample));
}

int peakOf(const std::vector<short> &samples, qsizetype begin, qsizetype end)
{
    int peak = 0;
    for (qsizetype i = std::max<qsizetype>(begin, 0); i < std::min<qsizetype>(end, samples.size());
         ++i)
        peak = std::max(peak, magnitude(samples[i]));
    return peak;
}

int peakOf(const std::vector<short> &samples)
{
    return peakOf(samples, 0, samples.size());
}

// The loudness around each sample: the largest magnitude within one period of the tone.
std::vector<int> loudnessOf(const std::vector<short> &samples)
{
    const qsizetype halfPeriod = static_cast<qsizetype>(sampleRate / toneHz / 2);
    std::vector<int> loudness(samples.size());
    for (qsizetype i = 0; i < qsizetype(samples.size()); ++i)
        loudness[i] = peakOf(samples, i - halfPeriod, i + halfPeriod + 1);
    return loudness;
}

// The stretches at least half as loud as the loudest moment.
std::vector<Span> toneIn(const std::vector<short> &samples)
{
    const std::vector<int> loudness = loudnessOf(samples);
    const int threshold = peakOf(samples) / 2;
    std::vector<Span> tones;
    for (qsizetype i = 0; i < qsizetype(loudness.size()); ++i) {
        if (loudness[i] < threshold)
            continue;
        if (tones.empty() || tones.back().end != i)
            tones.push_back({i, i});
        tones.back().end = i + 1;
    }
    return tones;
}

bool lasts(qsizetype length, qsizetype expected)
{
    return std::abs(length - expected) <= frames(8);
}

// Reads the code back from the sound alone: a tone of about a unit is a dot, of about three
// a dash. A gap other than about a unit shows as a space, a tone of any other length as '?'.
QString decode(const std::vector<short> &samples)
{
    QString code;
    const std::vector<Span> tones = toneIn(samples);
    for (std::size_t i = 0; i < tones.size(); ++i) {
        if (i > 0 && !lasts(tones[i].begin - tones[i - 1].end, unit))
            code += u' ';
        const qsizetype length = tones[i].end - tones[i].begin;
        code += lasts(length, unit) ? u'.' : lasts(length, 3 * unit) ? u'-' : u'?';
    }
    return code;
}

// The frequency from the rising zero crossings, each placed between its two samples.
double frequencyOf(const std::vector<short> &samples, Span tone)
{
    std::vector<double> crossings;
    for (qsizetype i = tone.begin + 1; i < tone.end; ++i) {
        const double before = samples[i - 1];
        const double after = samples[i];
        if (before < 0 && after >= 0)
            crossings.push_back(i - 1 + before / (before - after));
    }
    if (crossings.size() < 10)
        return 0;
    return (crossings.size() - 1) * sampleRate / (crossings.back() - crossings.front());
}

} // namespace

class TestRecordings : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init();

    void exactlyTheLettersAndDigitsButZero();

    void lastsExactlyItsCode_data() { everyCharacter(); }
    void lastsExactlyItsCode();
    void lastsAsLongAsAtThirtySixWordsAMinute_data();
    void lastsAsLongAsAtThirtySixWordsAMinute();
    void leavesACharacterGapInItsStep_data() { everyCharacter(); }
    void leavesACharacterGapInItsStep();
    void decodesToItsCode_data() { everyCharacter(); }
    void decodesToItsCode();
    void soundsAt700Hz_data() { everyCharacter(); }
    void soundsAt700Hz();
    void keysOnTheUnitGrid_data() { everyCharacter(); }
    void keysOnTheUnitGrid();
    void rampsEveryElementInAndOut_data() { everyCharacter(); }
    void rampsEveryElementInAndOut();
    void startsAtOnceAndEndsSoon_data() { everyCharacter(); }
    void startsAtOnceAndEndsSoon();
    void staysWellBelowFullScale_data() { everyCharacter(); }
    void staysWellBelowFullScale();

private:
    static void everyCharacter();

    // The recording of the current row's character, read before each row's checks.
    Recording recording;
};

void TestRecordings::init()
{
    recording = {};
    if (!QTest::currentDataTag())
        return;
    QFETCH(QChar, character);
    recording = read(character);
    QVERIFY2(recording.error.isEmpty(), qPrintable(recording.error));
}

void TestRecordings::everyCharacter()
{
    QTest::addColumn<QChar>("character");
    QTest::addColumn<QString>("code");
    for (const QChar character : letters + digits) {
        const QString name(character);
        QTest::newRow(qPrintable(name))
            << character << morse::codeFor(name).value_or(QStringView()).toString();
    }
}

void TestRecordings::exactlyTheLettersAndDigitsButZero()
{
    QStringList expected;
    for (const QChar character : letters + digits)
        expected << QFileInfo(pathOf(character)).fileName();
    expected.sort();
    const QStringList found
        = QDir(QStringLiteral(RECORDINGS_DIR))
              .entryList({QStringLiteral("morsecode_*.wav")}, QDir::Files, QDir::Name);
    QCOMPARE(found.size(), 35);
    QCOMPARE(found, expected);
    QVERIFY(!QFile::exists(pathOf(u'0')));
}

void TestRecordings::lastsExactlyItsCode()
{
    QFETCH(QString, code);
    QVERIFY(!code.isEmpty());
    const qsizetype sounding = elementsOf(code).back().end;
    const auto length = qsizetype(recording.samples.size());
    QVERIFY2(length >= sounding && length <= sounding + ramp,
        qPrintable(QStringLiteral("%1 frames for %2 of sound").arg(length).arg(sounding)));
}

void TestRecordings::lastsAsLongAsAtThirtySixWordsAMinute_data()
{
    QTest::addColumn<QChar>("character");
    QTest::addColumn<double>("ms");
    addRow("E", QChar(u'E'), 33.3);
    addRow("T", QChar(u'T'), 100.0);
    addRow("S", QChar(u'S'), 166.7);
    addRow("K", QChar(u'K'), 300.0);
    addRow("1", QChar(u'1'), 566.7);
    addRow("9", QChar(u'9'), 566.7);
}

void TestRecordings::lastsAsLongAsAtThirtySixWordsAMinute()
{
    QFETCH(double, ms);
    const auto length = qsizetype(recording.samples.size());
    QVERIFY2(length >= frames(ms - 0.1) && length <= frames(ms + 5),
        qPrintable(QStringLiteral("%1 ms").arg(length * 1000.0 / sampleRate)));
}

void TestRecordings::leavesACharacterGapInItsStep()
{
    // Three units of silence part two characters; a fourth leaves room for a start that
    // comes late.
    const auto length = qsizetype(recording.samples.size());
    QVERIFY2(length + 4 * unit <= step,
        qPrintable(QStringLiteral("%1 ms of the step's 700 ms").arg(length * 1000.0 / sampleRate)));
}

void TestRecordings::decodesToItsCode()
{
    QFETCH(QString, code);
    QCOMPARE(decode(recording.samples), code);
}

void TestRecordings::soundsAt700Hz()
{
    QFETCH(QString, code);
    const std::vector<Span> tones = toneIn(recording.samples);
    QCOMPARE(qsizetype(tones.size()), code.size());
    for (const Span tone : tones) {
        const double frequency = frequencyOf(recording.samples, tone);
        QVERIFY2(std::abs(frequency - toneHz) <= 3,
            qPrintable(QStringLiteral("%1 Hz at %2").arg(frequency).arg(tone.begin)));
    }
}

void TestRecordings::keysOnTheUnitGrid()
{
    QFETCH(QString, code);
    const std::vector<short> &samples = recording.samples;
    const int peak = peakOf(samples);
    const int audible = peak / 100;
    const std::vector<int> loudness = loudnessOf(samples);

    qsizetype silenceFrom = 0;
    for (const Span element : elementsOf(code)) {
        QVERIFY(element.end <= qsizetype(samples.size()));
        QVERIFY2(peakOf(samples, silenceFrom, element.begin) <= audible,
            qPrintable(QStringLiteral("sound before %1").arg(element.begin)));
        // Sound sets in at the element's start and lasts to its end.
        QVERIFY(peakOf(samples, element.begin, element.begin + frames(1)) > audible);
        QVERIFY(peakOf(samples, element.end - frames(1), element.end) > audible);
        // Full loudness throughout, once the ramps are done.
        const auto quietest = std::min_element(
            loudness.begin() + element.begin + ramp, loudness.begin() + element.end - ramp);
        QVERIFY2(*quietest >= peak * 97 / 100,
            qPrintable(QStringLiteral("only %1 of %2 at %3")
                           .arg(*quietest)
                           .arg(peak)
                           .arg(quietest - loudness.begin())));
        silenceFrom = element.end;
    }
    QVERIFY2(peakOf(samples, silenceFrom, samples.size()) <= audible, "sound after the last");
}

void TestRecordings::rampsEveryElementInAndOut()
{
    QFETCH(QString, code);
    const std::vector<short> &samples = recording.samples;
    const int peak = peakOf(samples);

    for (const Span element : elementsOf(code)) {
        QVERIFY(element.end <= qsizetype(samples.size()));
        // A raised cosine over 5 ms is at a third after 2 ms and at nine tenths after 4 ms.
        QVERIFY(magnitude(samples[element.begin]) <= peak / 100);
        QVERIFY(peakOf(samples, element.begin, element.begin + frames(2)) <= peak * 4 / 10);
        QVERIFY(peakOf(samples, element.begin, element.begin + frames(4)) <= peak * 95 / 100);
        QVERIFY(magnitude(samples[element.end - 1]) <= peak / 100);
        QVERIFY(peakOf(samples, element.end - frames(2), element.end) <= peak * 4 / 10);
        QVERIFY(peakOf(samples, element.end - frames(4), element.end) <= peak * 95 / 100);
    }
    // No step anywhere steeper than the tone itself takes at its loudest.
    const double steepest = peak * 2 * std::sin(std::numbers::pi * toneHz / sampleRate) + 2;
    for (std::size_t i = 1; i < samples.size(); ++i)
        QVERIFY2(std::abs(samples[i] - samples[i - 1]) <= steepest,
            qPrintable(
                QStringLiteral("a step of %1 at %2").arg(samples[i] - samples[i - 1]).arg(i)));
}

void TestRecordings::startsAtOnceAndEndsSoon()
{
    const std::vector<short> &samples = recording.samples;
    const int audible = peakOf(samples) / 100;
    const auto isAudible = [audible](short sample) { return magnitude(sample) > audible; };

    const auto first = std::find_if(samples.begin(), samples.end(), isAudible);
    QVERIFY(first != samples.end());
    QVERIFY2(first - samples.begin() < frames(1),
        qPrintable(QStringLiteral("silent for %1 frames").arg(first - samples.begin())));
    const auto last = std::find_if(samples.rbegin(), samples.rend(), isAudible);
    QVERIFY2(last - samples.rbegin() < frames(5) + frames(1),
        qPrintable(QStringLiteral("silent for %1 frames at the end").arg(last - samples.rbegin())));
}

void TestRecordings::staysWellBelowFullScale()
{
    const int peak = peakOf(recording.samples);
    QVERIFY2(peak >= fullScale / 4 && peak <= fullScale * 3 / 4,
        qPrintable(QStringLiteral("peak %1").arg(peak)));
}

QTEST_GUILESS_MAIN(TestRecordings)
#include "tst_recordings.moc"
