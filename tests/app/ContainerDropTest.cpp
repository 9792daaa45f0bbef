#include "app/ContainerDropTarget.h"
#include "app/ListedFiles.h"
#include "app/MainWindow.h"
#include "support/FakeDialogs.h"

#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QFileInfo>
#include <QListWidget>
#include <QMimeData>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>

#include <gtest/gtest.h>

#include <memory>

using namespace vocafetch;

namespace {

class ContainerDropTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        window = std::make_unique<TForm1>(dialogs);
        window->show();
    }

    QString file(const QString &name, const QByteArray &bytes = "#!AMR\n")
    {
        const QString path = QDir(dir.path()).filePath(name);
        EXPECT_TRUE(QDir(dir.path()).mkpath(QFileInfo(path).path()));
        QFile f(path);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
        return path;
    }

    QString folder(const QString &name) const { return QDir(dir.path()).filePath(name); }

    static std::unique_ptr<QMimeData> urls(const QStringList &paths)
    {
        auto mime = std::make_unique<QMimeData>();
        QList<QUrl> list;
        for (const QString &path : paths)
            list << QUrl::fromLocalFile(path);
        mime->setUrls(list);
        return mime;
    }

    // Drags `mime` over the middle of the window and drops it; returns whether the window
    // accepted the drag when it entered.
    bool dragAndDrop(const QMimeData *mime)
    {
        const QPoint at = window->rect().center();
        QDragEnterEvent enter(at, Qt::CopyAction, mime, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(window.get(), &enter);
        QDropEvent drop(QPointF(at), Qt::CopyAction, mime, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(window.get(), &drop);
        return enter.isAccepted();
    }

    QStringList listed() const
    {
        QStringList names;
        for (int row = 0; row < window->FileDRF->count(); ++row)
            names << window->FileDRF->item(row)->text();
        return names;
    }

    QTemporaryDir dir;
    FakeDialogs dialogs;
    std::unique_ptr<TForm1> window;
};

TEST_F(ContainerDropTest, DroppedFilesOfAnyNameReplaceTheListAsOpeningDoes)
{
    window->ListContainers({file("old.drf")});
    const QString a = file("a.drf"), voice = file("voice.bin"), b = file("B.DRF");
    const auto mime = urls({a, voice, b});

    EXPECT_TRUE(dragAndDrop(mime.get()));
    EXPECT_EQ(listed(), QStringList({"a.drf", "voice.bin", "B.DRF"}));
    EXPECT_EQ(window->DrfPathList, QStringList({a, voice, b}));
}

TEST_F(ContainerDropTest, ADroppedFolderListsEveryFileBelowItInNameOrder)
{
    const QString top = file("in/top.txt");
    const QString first = file("in/sub/a.drf");
    const QString second = file("in/sub/b.dat");
    const QString deep = file("in/sub/deeper/c");
    // A link back to a folder already walked is not walked again; one to a file is listed.
    ASSERT_TRUE(QFile::link(folder("in"), folder("in/sub/loop")));
    ASSERT_TRUE(QFile::link(top, folder("in/sub/top-link")));
    const auto mime = urls({folder("in")});

    EXPECT_TRUE(dragAndDrop(mime.get()));
    EXPECT_EQ(listed(), QStringList({"a.drf", "b.dat", "c", "top-link", "top.txt"}));
    EXPECT_EQ(window->DrfPathList,
              QStringList({first, second, deep, folder("in/sub/top-link"), top}));
}

TEST_F(ContainerDropTest, ADropWithoutLocalFilesIsRefusedAndChangesNothing)
{
    const QString kept = file("kept.drf");
    window->ListContainers({kept});
    auto text = std::make_unique<QMimeData>();
    text->setText(kept);
    auto web = std::make_unique<QMimeData>();
    web->setUrls({QUrl("https://example.org/voice.drf")});

    EXPECT_FALSE(dragAndDrop(text.get()));
    EXPECT_FALSE(dragAndDrop(web.get()));
    EXPECT_EQ(listed(), QStringList({"kept.drf"}));
    EXPECT_EQ(window->DrfPathList, QStringList({kept}));
}

TEST_F(ContainerDropTest, WhatHoldsNoRecordingSaysSoInTheStatusLine)
{
    const QString dump = file("dump.bin", QByteArray(500, 'x'));
    const auto files = urls({dump});
    dragAndDrop(files.get());
    const QRect row = window->FileDRF->visualItemRect(window->FileDRF->item(0));
    QTest::mouseClick(window->FileDRF->viewport(), Qt::LeftButton, {}, row.center());
    EXPECT_EQ(window->statusText(), "Звуковые записи не найдены");
    EXPECT_TRUE(dialogs.errors.isEmpty());

    // An empty folder lists nothing: the list stays, and the status line says so.
    window->setStatusText("Vocafetch");
    ASSERT_TRUE(QDir(dir.path()).mkdir("empty"));
    const auto empty = urls({folder("empty")});
    EXPECT_TRUE(dragAndDrop(empty.get()));
    EXPECT_EQ(listed(), QStringList({"dump.bin"}));
    EXPECT_EQ(window->statusText(), "Звуковые записи не найдены");
}

TEST_F(ContainerDropTest, DroppedContainersScanLikeOpenedOnes)
{
    const auto mime = urls({file("one.drf")});
    dragAndDrop(mime.get());
    const QRect row = window->FileDRF->visualItemRect(window->FileDRF->item(0));
    QTest::mouseClick(window->FileDRF->viewport(), Qt::LeftButton, {}, row.center());
    EXPECT_EQ(window->AMRFiles->model()->rowCount(), 1);
}

TEST(ListedFilesTest, NamedFilesAreMadeAbsoluteInTheirOrder)
{
    const QString here = QDir::current().absolutePath();
    // Names that do not exist are listed too: their load tells why they cannot be read.
    EXPECT_EQ(filesToList({"b.drf", "x.amr", "", "no-such"}),
              QStringList({here + "/b.drf", here + "/x.amr", here + "/no-such"}));
}

} // namespace
