// What a screen reader finds in the main window: QAccessible's tree walked from the window.
#include "ListRows.h"
#include "app/MainWindow.h"
#include "skin/chrome/TsuiTitleBar.h"
#include "skin/chrome/TsuiTitleBarPopupMenu.h"
#include "skin/controls/SkinnedStatusBar.h"
#include "support/ContainerBytes.h"
#include "support/FakeDialogs.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QAccessibleActionInterface>
#include <QListView>
#include <QListWidget>
#include <QMenu>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>
#include <vector>

using namespace vocafetch;

namespace {

struct Node
{
    QAccessibleInterface *iface;
    QAccessible::Role role;
    QString name;
    QString description;
};

void walk(QAccessibleInterface *iface, std::vector<Node> &nodes)
{
    if (!iface || !iface->isValid())
        return;
    nodes.push_back({iface, iface->role(), iface->text(QAccessible::Name),
                     iface->text(QAccessible::Description)});
    for (int i = 0; i < iface->childCount(); ++i)
        walk(iface->child(i), nodes);
}

std::vector<Node> treeOf(QWidget *window)
{
    std::vector<Node> nodes;
    walk(QAccessible::queryAccessibleInterface(window), nodes);
    return nodes;
}

std::vector<Node> childrenOf(const Node &node)
{
    std::vector<Node> children;
    for (int i = 0; i < node.iface->childCount(); ++i) {
        QAccessibleInterface *child = node.iface->child(i);
        children.push_back({child, child->role(), child->text(QAccessible::Name),
                            child->text(QAccessible::Description)});
    }
    return children;
}

const Node *findRole(const std::vector<Node> &nodes, QAccessible::Role role)
{
    for (const Node &node : nodes)
        if (node.role == role)
            return &node;
    return nullptr;
}

const Node *findObject(const std::vector<Node> &nodes, const QObject *object)
{
    for (const Node &node : nodes)
        if (node.iface->object() == object)
            return &node;
    return nullptr;
}

QStringList namesOf(const std::vector<Node> &nodes)
{
    QStringList names;
    for (const Node &node : nodes)
        names << node.name;
    return names;
}

class AccessibilityTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        window = std::make_unique<TForm1>(dialogs);
        window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    }

    QTemporaryDir dir;
    FakeDialogs dialogs;
    std::unique_ptr<TForm1> window;
};

TEST_F(AccessibilityTest, EveryControlHasANameAndADescription)
{
    const std::vector<Node> tree = treeOf(window.get());
    const std::pair<QObject *, const char *> controls[] = {
        {window->FileDRF, "Контейнеры"},   {window->AMRFiles, "Записи"},
        {window->suiButton4, "Открыть"},   {window->suiButton1, "Считать с телефона"},
        {window->suiButton2, "Сохранить"}, {window->suiButton3, "Сохранить все"},
        {window->StatusBar1, "Vocafetch"},
    };
    for (const auto &[object, name] : controls) {
        const Node *node = findObject(tree, object);
        ASSERT_NE(node, nullptr) << object->objectName().toStdString();
        EXPECT_EQ(node->name, QString::fromUtf8(name));
        EXPECT_FALSE(node->description.isEmpty()) << object->objectName().toStdString();
    }
    for (const Node &node : tree) {
        const bool control = node.role == QAccessible::Button ||
                             node.role == QAccessible::ButtonMenu ||
                             node.role == QAccessible::MenuItem || node.role == QAccessible::List;
        if (control) {
            EXPECT_FALSE(node.name.isEmpty()) << int(node.role);
        }
    }
    EXPECT_EQ(findObject(tree, window->StatusBar1)->role, QAccessible::StatusBar);
}

TEST_F(AccessibilityTest, TheMenuBarIsAMenuBarOfMenuItemsThatOpenTheirMenus)
{
    const std::vector<Node> tree = treeOf(window.get());
    const Node *bar = findRole(tree, QAccessible::MenuBar);
    ASSERT_NE(bar, nullptr);
    const std::vector<Node> titles = childrenOf(*bar);
    EXPECT_EQ(namesOf(titles), QStringList({"Файл", "Справка"}));
    for (const Node &title : titles)
        EXPECT_EQ(title.role, QAccessible::MenuItem);
    // No menu title is a push button any more.
    for (const Node &node : tree) {
        if (node.role == QAccessible::Button) {
            EXPECT_FALSE(node.name == "Файл" || node.name == "Справка");
        }
    }

    QAccessibleActionInterface *actions = titles.at(0).iface->actionInterface();
    ASSERT_NE(actions, nullptr);
    EXPECT_TRUE(titles.at(0).iface->state().collapsed);
    actions->doAction(QAccessibleActionInterface::showMenuAction());
    EXPECT_TRUE(window->N1->isVisible());
    EXPECT_TRUE(titles.at(0).iface->state().expanded);
    window->N1->close();
}

TEST_F(AccessibilityTest, TheTitleBarListsItsButtonsAndTheyPress)
{
    const std::vector<Node> tree = treeOf(window.get());
    const Node *titleBar = findRole(tree, QAccessible::TitleBar);
    ASSERT_NE(titleBar, nullptr);
    EXPECT_EQ(titleBar->name, "Vocafetch");
    const std::vector<Node> buttons = childrenOf(*titleBar);
    // Control box, close, minimise: the order of the bar's collection.
    EXPECT_EQ(namesOf(buttons), QStringList({"Меню окна", "Закрыть", "Свернуть"}));
    ASSERT_EQ(buttons.size(), 3u);
    EXPECT_EQ(buttons[0].role, QAccessible::ButtonMenu);
    EXPECT_EQ(buttons[1].role, QAccessible::Button);
    for (const Node &button : buttons) {
        EXPECT_FALSE(button.description.isEmpty());
        EXPECT_EQ(button.iface->parent(), titleBar->iface);
        // Where the button is painted: a point inside it finds it again.
        const QRect rect = button.iface->rect();
        ASSERT_FALSE(rect.isEmpty());
        EXPECT_EQ(titleBar->iface->childAt(rect.center().x(), rect.center().y()), button.iface);
    }

    buttons[0].iface->actionInterface()->doAction(QAccessibleActionInterface::showMenuAction());
    TsuiTitleBarPopupMenu *menu = window->suiForm1->TitleBar()->windowMenu();
    EXPECT_TRUE(menu->isVisible());
    menu->close();
    buttons[1].iface->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    EXPECT_FALSE(window->isVisible());
}

TEST_F(AccessibilityTest, TheStatusLineIsAnnouncedWhenItChanges)
{
    // Each new text is announced (a name change of the status bar) as it is shown.
    QSignalSpy announced(window->StatusBar1, &SkinnedStatusBar::textChanged);
    ASSERT_TRUE(dir.isValid());
    dialogs.answers << QStringList{
        writeFile(QDir(dir.path()), "c.drf", containerBytes(60, {0, 30}))};
    QTest::mouseClick(window->suiButton4, Qt::LeftButton);
    clickRow(window->FileDRF, 0);
    // Emptied for the load, then the scan's count.
    ASSERT_EQ(announced.count(), 2);
    EXPECT_EQ(announced.at(1).at(0).toString(), "Найдено 2 записей");
    // The same text again is not news.
    window->setStatusText(window->statusText());
    EXPECT_EQ(announced.count(), 2);

    QAccessibleInterface *status = QAccessible::queryAccessibleInterface(window->StatusBar1);
    EXPECT_EQ(status->role(), QAccessible::StatusBar);
    EXPECT_EQ(status->text(QAccessible::Name), "Найдено 2 записей");
    EXPECT_EQ(status->text(QAccessible::Description), "Строка состояния");
}

} // namespace
