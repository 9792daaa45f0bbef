#include "app/ContainerDropTarget.h"
#include "app/MainWindow.h"
#include "support/FakeDialogs.h"

#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
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

    QString file(const QString &name)
    {
        const QString path = QDir(dir.path()).filePath(name);
        QFile f(path);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("#!AMR\n");
        return path;
    }

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

TEST_F(ContainerDropTest, DroppedContainersReplaceTheListAsOpeningDoes)
{
    window->ListContainers({file("old.drf")});
    const QString a = file("a.drf"), b = file("B.DRF");
    const auto mime = urls({a, file("notes.txt"), b});

    EXPECT_TRUE(dragAndDrop(mime.get()));
    EXPECT_EQ(listed(), QStringList({"a.drf", "B.DRF"}));
    EXPECT_EQ(window->DrfPathList, QStringList({a, b}));
}

TEST_F(ContainerDropTest, ADropWithoutContainersIsRefusedAndChangesNothing)
{
    const QString kept = file("kept.drf");
    window->ListContainers({kept});
    ASSERT_TRUE(QDir(dir.path()).mkdir("folder.drf"));
    const auto mime = urls({file("photo.jpg"), QDir(dir.path()).filePath("folder.drf")});
    auto text = std::make_unique<QMimeData>();
    text->setText(kept);

    EXPECT_FALSE(dragAndDrop(mime.get()));
    EXPECT_FALSE(dragAndDrop(text.get()));
    EXPECT_EQ(listed(), QStringList({"kept.drf"}));
    EXPECT_EQ(window->DrfPathList, QStringList({kept}));
}

TEST_F(ContainerDropTest, DroppedContainersScanLikeOpenedOnes)
{
    const auto mime = urls({file("one.drf")});
    dragAndDrop(mime.get());
    const QRect row = window->FileDRF->visualItemRect(window->FileDRF->item(0));
    QTest::mouseClick(window->FileDRF->viewport(), Qt::LeftButton, {}, row.center());
    EXPECT_EQ(window->AMRFiles->model()->rowCount(), 1);
}

TEST(ContainerFiles, OnlyContainersMadeAbsoluteInTheirOrder)
{
    const QString here = QDir::current().absolutePath();
    EXPECT_EQ(ContainerFilesAmong({"b.drf", "x.amr", "a.Drf", "drf", ""}),
              QStringList({here + "/b.drf", here + "/a.Drf"}));
}

} // namespace
