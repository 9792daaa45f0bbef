// The window's recording tools: tool tips with each recording's format and duration, the clean
// cut of the three save commands, saving as WAV and listening.
#include "ListRows.h"
#include "SampleContainers.h"
#include "ShownWindow.h"
#include "app/MainWindow.h"
#include "extract/io/SyncCalls.h"
#include "message/MmsBuilder.h"
#include "support/ContainerBytes.h"
#include "support/FakeDialogs.h"

#include <QAbstractButton>
#include <QAction>
#include <QDateTime>
#include <QFile>
#include <QListWidget>
#include <QLocale>
#include <QTemporaryDir>
#include <QTest>
#include <QtEndian>

#include <gtest/gtest.h>

#include <memory>

using namespace vocafetch;

using namespace RecGen;

namespace {

const QString NoDeviceText = QStringLiteral("Нет устройства для воспроизведения звука");

class MainWindowCleanCutTest : public ::testing::Test, public ShownWindow
{
protected:
    void SetUp() override { ASSERT_NO_FATAL_FAILURE(showWindow()); }

    void load(const QByteArray &bytes)
    {
        dialogs.answers << QStringList{writeFile(QDir(dir.path()), "c.drf", bytes)};
        window->N2->trigger();
        const QRect rect = window->FileDRF->visualItemRect(window->FileDRF->item(0));
        QTest::mouseClick(window->FileDRF->viewport(), Qt::LeftButton, {}, rect.center());
        ASSERT_EQ(rowCount(window->AMRFiles), window->AmrStartList.size());
    }

    void select(int row) { selectRow(window->AMRFiles, row); }

    // Answers the next save dialog with dir/name and returns that path.
    QString answerSave(const QString &name)
    {
        const QString path = QDir(dir.path()).filePath(name);
        dialogs.answers << QStringList{path};
        return path;
    }
};

TEST_F(MainWindowCleanCutTest, EachRecordingShowsItsFormatAndDurationAsItsToolTip)
{
    load(mixedSample().data() + "#!amr and nothing more");
    const QStringList expected{"AMR-NB\nДлительность: 0:06,0\nПовреждённых кадров: 12",
                               "AMR-WB\nДлительность: 0:03,0",
                               "AMR-NB, каналов: 2\nДлительность: 0:02,0",
                               "AMR-NB\nДлительность: 0:02,4\nобрезана", "Формат не распознан"};
    ASSERT_EQ(rowCount(window->AMRFiles), expected.size());
    for (int row = 0; row < expected.size(); ++row) {
        EXPECT_EQ(rowToolTip(window->AMRFiles, row), expected[row]) << row;
        EXPECT_EQ(rowText(window->AMRFiles, row), QStringLiteral("Запись_%1.amr").arg(row + 1));
    }
}

TEST_F(MainWindowCleanCutTest, AContainersMessageShowsInItsToolTipAndARecordingsAddsItsPart)
{
    using namespace vocafetch::MmsBuild;
    const qint64 sent = 1276063200;
    const QByteArray voice =
        makeRecording(AmrFormat::NarrowBand, 1, encodedSpeechFrames(20, {7}, false)).bytes;
    load(message()
             .header(Date, longInteger(sent))
             .from(encodedString("Иван Петров", 106))
             .header(Subject, encodedString("Из отпуска", 106))
             .body(wellKnownType(MultipartMixed),
                   {{contentType("audio/amr", nameParameter("Голос.amr")), {}, voice}})
             .bytes());
    const QString message =
        QStringLiteral("От: Иван Петров\nДата: %1\nТема: Из отпуска")
            .arg(QLocale().toString(QDateTime::fromSecsSinceEpoch(sent), QLocale::ShortFormat));
    EXPECT_EQ(window->FileDRF->item(0)->toolTip(), message);
    ASSERT_EQ(rowCount(window->AMRFiles), 1);
    EXPECT_TRUE(rowToolTip(window->AMRFiles, 0)
                    .endsWith(message + QStringLiteral("\nЧасть сообщения: Голос.amr")))
        << rowToolTip(window->AMRFiles, 0).toStdString();
}

TEST_F(MainWindowCleanCutTest, CleanCutMakesEverySaveWriteExactlyTheAudio)
{
    const ContainerBuilder builder = mixedSample();
    load(builder.data());
    EXPECT_TRUE(window->CleanCut1->isCheckable());
    EXPECT_FALSE(window->CleanCut1->isChecked());

    // Off: the whole ranges, up to the next recording's start.
    const QString whole = answerSave("whole");
    window->N6->trigger();
    EXPECT_EQ(readFile(whole + "_1.amr"),
              builder.data().mid(builder.starts()[0], builder.starts()[1] - builder.starts()[0]));

    window->CleanCut1->trigger();
    ASSERT_TRUE(window->CleanCut1->isChecked());
    const QList<PlacedRecording> &placed = builder.recordings();
    for (QAction *saveAll : {window->N6, window->AMR1}) {
        const QString chosen = answerSave(saveAll->objectName());
        saveAll->trigger();
        for (int i = 0; i < placed.size(); ++i)
            EXPECT_EQ(readFile(chosen + QStringLiteral("_%1.amr").arg(i + 1)),
                      placed[i].recording.bytes)
                << saveAll->objectName().toStdString() << i;
    }
    select(3); // the one whose last frame is cut off
    const QString one = answerSave("one");
    window->N5->trigger();
    EXPECT_EQ(readFile(one + "_4.amr"), placed[3].recording.bytes);
    EXPECT_FALSE(QFile::exists(one + "_1.amr"));
    EXPECT_TRUE(dialogs.errors.isEmpty());
}

TEST_F(MainWindowCleanCutTest, SaveAsWritesTheFormatOfTheChosenFilter)
{
    const ContainerBuilder builder = mixedSample();
    load(builder.data());
    window->suiPopupMenu1Popup();
    EXPECT_FALSE(window->SaveAs1->isEnabled());
    EXPECT_FALSE(window->Play1->isEnabled());

    select(1); // wide band
    window->suiPopupMenu1Popup();
    EXPECT_TRUE(window->SaveAs1->isEnabled());
    EXPECT_TRUE(window->Play1->isEnabled());
    const QString chosen = answerSave("rec");
    dialogs.filterAnswers << QStringLiteral("WAV (*.wav)");
    window->SaveAs1->trigger();
    const QByteArray wav = readFile(chosen + "_2.wav");
    const qint64 frames = builder.recordings()[1].recording.frames;
    // The samples, then the tags' chunks.
    ASSERT_GT(wav.size(), 44 + frames * 320 * 2);
    EXPECT_EQ(qFromLittleEndian<quint32>(wav.constData() + 24), 16000u);
    EXPECT_EQ(qFromLittleEndian<quint32>(wav.constData() + 40), quint32(frames * 320 * 2));

    // Cancelled: nothing written.
    window->SaveAs1->trigger();
    EXPECT_EQ(QDir(dir.path()).entryList({"*.wav"}).size(), 1);
    EXPECT_TRUE(dialogs.errors.isEmpty());

    // Every recording of the container as FLAC.
    EXPECT_EQ(dialogs.requests.last().filter,
              "AMR (*.amr);;WAV (*.wav);;FLAC (*.flac);;Opus (*.opus);;MP3 (*.mp3)");
    const QString all = answerSave("all");
    dialogs.filterAnswers << QStringLiteral("FLAC (*.flac)");
    window->SaveAllAs1->trigger();
    EXPECT_EQ(QDir(dir.path()).entryList({"all_*.flac"}).size(), builder.recordings().size());
    EXPECT_TRUE(readFile(all + "_1.flac").startsWith("fLaC"));
}

// Saving many files on a slow stick must not wait for the disk once per file.
TEST_F(MainWindowCleanCutTest, SaveAllMakesItsFilesDurableInOneFlush)
{
    const ContainerBuilder builder = largeContainer(2 << 20, 5);
    load(builder.data());
    ASSERT_GT(rowCount(window->AMRFiles), 20);
    const std::uint64_t before = vocafetch::syncCallCount();
    const QString chosen = answerSave("many");
    window->N6->trigger();
    EXPECT_TRUE(dialogs.errors.isEmpty());
    // The data once, then the folder once.
    EXPECT_LE(vocafetch::syncCallCount() - before, 2u);
    EXPECT_EQ(QDir(dir.path()).entryList({"many_*.amr"}).size(), rowCount(window->AMRFiles));
    EXPECT_EQ(readFile(chosen + "_3.amr"),
              builder.data().mid(builder.starts()[2], builder.starts()[3] - builder.starts()[2]));
}

TEST_F(MainWindowCleanCutTest, HeaderlessSearchAddsTheRecordingsThatLostTheirSignature)
{
    const QList<QByteArray> frames = encodedSpeechFrames(120, {7}, false);
    const Recording lost = makeRecording(AmrFormat::NarrowBand, 1, frames);
    const Recording kept = makeRecording(AmrFormat::NarrowBand, 1, frames.mid(0, 60));
    load(QByteArray(32, '\xff') + lost.bytes.mid(6) + QByteArray(8, '\xff') + kept.bytes);
    ASSERT_EQ(rowCount(window->AMRFiles), 1);
    window->Headerless1->trigger();
    ASSERT_EQ(rowCount(window->AMRFiles), 2);
    EXPECT_EQ(window->AmrStartList.size(), 1);
    EXPECT_EQ(window->statusText(), QStringLiteral("Найдено 2 записей"));
    EXPECT_TRUE(rowToolTip(window->AMRFiles, 1).endsWith("без заголовка"));
    // A rebuilt recording is named apart from the intact ones.
    EXPECT_EQ(rowTexts(window->AMRFiles), QStringList({"Запись_1.amr", "Без заголовка_1.amr"}));
    const QString chosen = answerSave("found");
    window->N6->trigger();
    EXPECT_TRUE(readFile(chosen + "_lost_1.amr").startsWith("#!AMR\n"));
    window->Headerless1->trigger();
    EXPECT_EQ(rowCount(window->AMRFiles), 1);
}

TEST_F(MainWindowCleanCutTest, ListeningStartsStopsAndEnds)
{
    const ContainerBuilder builder = mixedSample();
    load(builder.data());
    select(0);
    window->Play1->trigger();
    ASSERT_TRUE(audio->playing);
    EXPECT_EQ(audio->sampleRate, 8000);
    EXPECT_EQ(audio->samples.size(), builder.recordings()[0].recording.frames * 160 * 2);
    EXPECT_EQ(window->statusText(), "Прослушивание: Запись_1.amr");

    // While it plays the item stays usable, so a second click can stop it.
    window->AMRFiles->clearSelection();
    window->suiPopupMenu1Popup();
    EXPECT_TRUE(window->Play1->isEnabled());
    window->Play1->trigger();
    EXPECT_FALSE(audio->playing);
    EXPECT_EQ(window->statusText(), "Прослушивание остановлено");

    select(2);
    window->Play1->trigger();
    EXPECT_EQ(audio->starts, 2);
    audio->playToTheEnd();
    EXPECT_EQ(window->statusText(), "Прослушивание завершено");

    window->Play1->trigger();
    ASSERT_TRUE(audio->playing);
    window->close();
    EXPECT_FALSE(audio->playing);

    audio->hasDevice = false;
    window->Play1->trigger();
    EXPECT_EQ(window->statusText(), NoDeviceText);
    EXPECT_TRUE(dialogs.errors.isEmpty());
}

TEST_F(MainWindowCleanCutTest, ListeningToAnUndecodableRecordingSaysSo)
{
    load(containerBytes(40, {5}));
    select(0);
    window->Play1->trigger();
    EXPECT_FALSE(audio->playing);
    EXPECT_EQ(window->statusText(), "Запись не удаётся декодировать");
}

TEST(MainWindowListening, SystemAudioOutputWithoutADeviceGivesAStatusText)
{
    // The system's own output: the test environment has no sound device, or if it has one the
    // recording plays and a second click stops it.
    QTemporaryDir dir;
    FakeDialogs dialogs;
    TForm1 window(dialogs);
    dialogs.answers << QStringList{writeFile(QDir(dir.path()), "c.drf", mixedSample().data())};
    window.N2->trigger();
    window.FileDRF->item(0)->setSelected(true);
    window.FileDRFClick();
    selectRow(window.AMRFiles, 0);
    window.Play1->trigger();
    if (window.statusText() != NoDeviceText) {
        EXPECT_EQ(window.statusText(), "Прослушивание: Запись_1.amr");
        window.Play1->trigger();
        EXPECT_EQ(window.statusText(), "Прослушивание остановлено");
    }
    EXPECT_TRUE(dialogs.errors.isEmpty());
}

// A container that fails to load leaves nothing of the previous one: no recordings, nothing to
// save, no status and no sound.
TEST_F(MainWindowCleanCutTest, AFailedLoadLeavesNothingToSaveOrHear)
{
    load(mixedSample().data());
    select(0);
    window->Play1->trigger();
    ASSERT_TRUE(audio->playing);
    ASSERT_TRUE(window->AMR1->isEnabled());
    ASSERT_TRUE(window->suiButton3->isEnabled());

    ASSERT_TRUE(QFile::remove(QDir(dir.path()).filePath("c.drf")));
    const QRect rect = window->FileDRF->visualItemRect(window->FileDRF->item(0));
    QTest::mouseClick(window->FileDRF->viewport(), Qt::LeftButton, {}, rect.center());
    ASSERT_EQ(dialogs.errors.size(), 1);
    EXPECT_EQ(rowCount(window->AMRFiles), 0);
    EXPECT_FALSE(window->AMR1->isEnabled());
    EXPECT_FALSE(window->suiButton2->isEnabled());
    EXPECT_FALSE(window->suiButton3->isEnabled());
    EXPECT_EQ(window->statusText(), QString());
    EXPECT_FALSE(audio->playing);
}

} // namespace
