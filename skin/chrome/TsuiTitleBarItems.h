#pragma once
// The section pictures and the buttons of a skinned title bar, and their collections. Every
// change repaints the bar they belong to.

#include "skin/chrome/TsuiTitleBarLayout.h"
#include "skin/style/TsuiUIStyle.h"

#include <QImage>
#include <QMenu>
#include <QPointer>

#include <memory>
#include <vector>

class TsuiTitleBar;

// One picture of the bar: a left end, a right end or the stretched middle.
class TsuiTitleBarSection
{
public:
    explicit TsuiTitleBarSection(TsuiTitleBar *bar) : m_bar(bar) {}

    int Width() const { return m_width; }
    void setWidth(int width);
    TsuiTitleBarAlign Align() const { return m_align; }
    // A second suiClient section is refused with a message; suiClient always stretches.
    void setAlign(TsuiTitleBarAlign align);
    const QImage &Picture() const { return m_picture; }
    // With AutoSize the width follows the picture.
    void setPicture(const QImage &picture);
    bool Stretch() const { return m_stretch; }
    void setStretch(bool stretch);
    bool AutoSize() const { return m_autoSize; }
    void setAutoSize(bool autoSize);

    void assign(const TsuiTitleBarSection &other);

private:
    void changed();

    TsuiTitleBar *m_bar;
    int m_width = 10;
    TsuiTitleBarAlign m_align = TsuiTitleBarAlign::suiLeft;
    QImage m_picture;
    bool m_stretch = false;
    bool m_autoSize = false;
};

// One button of the bar with its three pictures (normal, mouse over, pressed).
class TsuiTitleBarButton
{
public:
    // A new button is a visible, opaque suiCustom button at top 2 in the DeepBlue style.
    explicit TsuiTitleBarButton(TsuiTitleBar *bar);

    TsuiUIStyle UIStyle() const { return m_style; }
    // Loads the style's pictures and top for the button's kind (custom buttons keep theirs).
    void setUIStyle(TsuiUIStyle style);
    TsuiTitleBarBtnType ButtonType() const { return m_type; }
    // A second suiControlBox is refused with a message and the old type stays.
    void setButtonType(TsuiTitleBarBtnType type);
    bool Transparent() const { return m_transparent; }
    void setTransparent(bool transparent);
    int Top() const { return m_top; }
    void setTop(int top);
    QMenu *ControlBoxMenu() const { return m_controlBoxMenu; }
    void setControlBoxMenu(QMenu *menu) { m_controlBoxMenu = menu; }
    bool Visible() const { return m_visible; }
    void setVisible(bool visible);
    const QImage &PicNormal() const { return m_picNormal; }
    void setPicNormal(const QImage &picture);
    const QImage &PicMouseOn() const { return m_picMouseOn; }
    void setPicMouseOn(const QImage &picture);
    const QImage &PicMouseDown() const { return m_picMouseDown; }
    void setPicMouseDown(const QImage &picture);

    // Takes the pictures of the button's kind from its style (or the bar's theme).
    void LoadButtonFrames();
    // A maximise button shows the restore pictures while its form is maximised.
    void UpdateMaxPictures();

    void assign(const TsuiTitleBarButton &other);

private:
    void changed();
    bool formMaximized() const;
    void loadFrames(int first);

    TsuiTitleBar *m_bar;
    bool m_visible = true;
    TsuiTitleBarBtnType m_type = TsuiTitleBarBtnType::suiCustom;
    bool m_transparent = false;
    int m_top = 2;
    TsuiUIStyle m_style = TsuiUIStyle::DeepBlue;
    QImage m_picNormal;
    QImage m_picMouseOn;
    QImage m_picMouseDown;
    QPointer<QMenu> m_controlBoxMenu;
};

// An owned, ordered collection of sections or buttons of one bar.
template <class Item> class TsuiTitleBarCollection
{
public:
    explicit TsuiTitleBarCollection(TsuiTitleBar *bar) : m_bar(bar) {}

    int count() const { return int(m_items.size()); }
    Item *item(int i) const { return m_items.at(size_t(i)).get(); }
    Item *add();
    void removeAt(int i);
    void clear();
    // Copies other item by item.
    void assign(const TsuiTitleBarCollection &other);

private:
    TsuiTitleBar *m_bar;
    std::vector<std::unique_ptr<Item>> m_items;
};

using TsuiTitleBarSections = TsuiTitleBarCollection<TsuiTitleBarSection>;
using TsuiTitleBarButtons = TsuiTitleBarCollection<TsuiTitleBarButton>;
