#include "sound/CharacterSounds.h"
#include "sound/SoundSink.h"

#include <QTest>

namespace {

// Everything the sounds do, in order: "play <path>", "prepare <path>" and "pause <ms>",
// each byte of a path shown as the Latin-1 character of its value.
class Log : public sound::SoundSink {
public:
    QStringList lines;
    void play(const QByteArray &path) override
    {
        lines.append(QStringLiteral("play ") + QString::fromLatin1(path));
    }
    void prepare(const QByteArray &path) override
    {
        lines.append(QStringLiteral("prepare ") + QString::fromLatin1(path));
    }
};

} // namespace

class TestCharacterSounds : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void soundsLettersAndDigits_data();
    void soundsLettersAndDigits();
    void zeroKeepsItsChoiceThroughItsPauses();
    void folderIsAskedForEverySound();
    void folderIsTakenByteForByte_data();
    void folderIsTakenByteForByte();
};

void TestCharacterSounds::soundsLettersAndDigits_data()
{
    QTest::addColumn<QString>("symbol");
    QTest::addColumn<QStringList>("expected");

    const auto play = [](const char *name) {
        return QStringLiteral("play /opt/varnock/morsecode_%1.wav").arg(QLatin1String(name));
    };
    const QString pause = QStringLiteral("pause 300");
    QTest::newRow("E") << QStringLiteral("E") << QStringList{play("E")};
    QTest::newRow("A") << QStringLiteral("A") << QStringList{play("A")};
    QTest::newRow("K") << QStringLiteral("K") << QStringList{play("K")};
    QTest::newRow("Z") << QStringLiteral("Z") << QStringList{play("Z")};
    QTest::newRow("1") << QStringLiteral("1") << QStringList{play("1")};
    QTest::newRow("7") << QStringLiteral("7") << QStringList{play("7")};
    QTest::newRow("9") << QStringLiteral("9") << QStringList{play("9")};
    QTest::newRow("0") << QStringLiteral("0")
                       << QStringList{play("T"), pause, play("T"), pause, play("T"), pause,
                              play("T"), pause, play("T"), pause};
    for (const char *nothing : {"e", "", " ", ",", "?", "AB", ".-", "-", ":", "00", "@", "[", "/"})
        QTest::newRow(nothing) << QString::fromLatin1(nothing) << QStringList();
    QTest::newRow("accented capital") << QStringLiteral("\u00c9") << QStringList();
    QTest::newRow("full-width 7") << QStringLiteral("\uff17") << QStringList();
    QTest::newRow("NUL") << QString(QChar(0)) << QStringList();
}

void TestCharacterSounds::soundsLettersAndDigits()
{
    QFETCH(QString, symbol);
    QFETCH(QStringList, expected);

    Log log;
    sound::CharacterSounds sounds(
        log, [] { return QByteArray("/opt/varnock"); },
        [&](double ms) { log.lines.append(QStringLiteral("pause %1").arg(ms)); });
    sounds.GetSound(symbol);
    QCOMPARE(log.lines, expected);
}

void TestCharacterSounds::zeroKeepsItsChoiceThroughItsPauses()
{
    Log log;
    QString currentSymbol = QStringLiteral("0");
    sound::CharacterSounds sounds(
        log, [] { return QByteArray("/v"); }, [&](double) { currentSymbol = QStringLiteral("E"); });
    sounds.GetSound(currentSymbol);
    QCOMPARE(log.lines, QStringList(5, QStringLiteral("play /v/morsecode_T.wav")));
}

void TestCharacterSounds::folderIsAskedForEverySound()
{
    Log log;
    int asked = 0;
    sound::CharacterSounds sounds(
        log, [&] { return "/moved/" + QByteArray::number(++asked); }, [](double) {});
    sounds.GetSound(QStringLiteral("S"));
    sounds.playRecording(u'E');
    sounds.GetSound(QStringLiteral("S"));
    QCOMPARE(log.lines,
        (QStringList{QStringLiteral("play /moved/1/morsecode_S.wav"),
            QStringLiteral("play /moved/2/morsecode_E.wav"),
            QStringLiteral("play /moved/3/morsecode_S.wav")}));
}

void TestCharacterSounds::folderIsTakenByteForByte_data()
{
    QTest::addColumn<QByteArray>("folder");
    QTest::addColumn<QStringList>("expected");
    // Readied for the dot's recording, then playing a dash.
    const auto readyThenDash = [](const QString &folder) {
        return QStringList{QStringLiteral("prepare %1/morsecode_E.wav").arg(folder),
            QStringLiteral("play %1/morsecode_T.wav").arg(folder)};
    };
    QTest::newRow("Latin-1, not valid UTF-8") << QByteArray(
        "/home/j\xf6rg/M\xfcnzen") << readyThenDash(QStringLiteral("/home/j\u00f6rg/M\u00fcnzen"));
    QTest::newRow("UTF-8") << QByteArray("/home/j\xc3\xb6rg")
                           << readyThenDash(QStringLiteral("/home/j\u00c3\u00b6rg"));
    QTest::newRow("the root") << QByteArray("/") << readyThenDash(QStringLiteral("/"));
    // Not found: nothing is readied, the sound in progress is cut, and nothing is looked for
    // at the root.
    QTest::newRow("not found") << QByteArray() << QStringList{QStringLiteral("play ")};
}

void TestCharacterSounds::folderIsTakenByteForByte()
{
    QFETCH(QByteArray, folder);
    QFETCH(QStringList, expected);
    Log log;
    sound::CharacterSounds sounds(
        log, [&] { return folder; }, [](double) {});
    sounds.prepare();
    sounds.playRecording(u'T');
    QCOMPARE(log.lines, expected);
}

QTEST_GUILESS_MAIN(TestCharacterSounds)
#include "tst_charactersounds.moc"
