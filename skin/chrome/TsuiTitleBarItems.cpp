#include "skin/chrome/TsuiTitleBarItems.h"

#include "skin/chrome/TsuiFormMessages.h"
#include "skin/chrome/TsuiTitleBar.h"
#include "skin/style/StyleResolve.h"

using namespace vocafetch;

namespace {

// First frame (normal) of each kind in the 18-frame button strip; custom buttons have none.
int firstFrameOf(TsuiTitleBarBtnType type)
{
    switch (type) {
    case TsuiTitleBarBtnType::suiControlBox:
        return 1;
    case TsuiTitleBarBtnType::suiHelp:
        return 4;
    case TsuiTitleBarBtnType::suiMax:
        return 7;
    case TsuiTitleBarBtnType::suiMin:
        return 13;
    case TsuiTitleBarBtnType::suiClose:
        return 16;
    case TsuiTitleBarBtnType::suiCustom:
        break;
    }
    return 0;
}

constexpr int RestoreFrame = 10;
constexpr int ButtonFrameCount = 18;

} // namespace

void TsuiTitleBarSection::changed()
{
    if (m_bar)
        m_bar->itemsChanged();
}

void TsuiTitleBarSection::setWidth(int width)
{
    m_width = width;
    changed();
}

void TsuiTitleBarSection::setAlign(TsuiTitleBarAlign align)
{
    if (align == TsuiTitleBarAlign::suiClient && m_bar) {
        const TsuiTitleBarSections &all = m_bar->Sections();
        for (int i = 0; i < all.count(); ++i) {
            if (all.item(i)->Align() == TsuiTitleBarAlign::suiClient) {
                ShowSkinError(QStringLiteral(
                    "Sorry, only one section's Align property can be \"suiClient\""));
                return;
            }
        }
    }
    if (align == TsuiTitleBarAlign::suiClient)
        m_stretch = true;
    m_align = align;
    changed();
}

void TsuiTitleBarSection::setPicture(const QImage &picture)
{
    m_picture = picture;
    if (!picture.isNull() && m_autoSize)
        m_width = picture.width();
    changed();
}

void TsuiTitleBarSection::setStretch(bool stretch)
{
    m_stretch = stretch || m_align == TsuiTitleBarAlign::suiClient;
    changed();
}

void TsuiTitleBarSection::setAutoSize(bool autoSize)
{
    m_autoSize = autoSize;
    if (!m_picture.isNull())
        m_width = m_picture.width();
    changed();
}

void TsuiTitleBarSection::assign(const TsuiTitleBarSection &other)
{
    m_width = other.m_width;
    m_align = other.m_align;
    m_picture = other.m_picture;
    m_stretch = other.m_stretch;
    m_autoSize = other.m_autoSize;
    changed();
}

TsuiTitleBarButton::TsuiTitleBarButton(TsuiTitleBar *bar) : m_bar(bar)
{
    setUIStyle(TsuiUIStyle::DeepBlue);
}

void TsuiTitleBarButton::changed()
{
    if (m_bar)
        m_bar->itemsChanged();
}

void TsuiTitleBarButton::setUIStyle(TsuiUIStyle style)
{
    m_style = style;
    LoadButtonFrames();
    if (m_type == TsuiTitleBarBtnType::suiMax)
        UpdateMaxPictures();
}

void TsuiTitleBarButton::setButtonType(TsuiTitleBarBtnType type)
{
    if (type == TsuiTitleBarBtnType::suiControlBox && m_bar) {
        const TsuiTitleBarButtons &all = m_bar->Buttons();
        for (int i = 0; i < all.count(); ++i) {
            if (all.item(i)->ButtonType() == TsuiTitleBarBtnType::suiControlBox) {
                ShowSkinError(QStringLiteral(
                    "Sorry, only one button's ButtonType property can be \"suiControlBox\""));
                return;
            }
        }
    }
    m_type = type;
    setUIStyle(m_style);
    changed();
}

void TsuiTitleBarButton::setTransparent(bool transparent)
{
    m_transparent = transparent;
    changed();
}

void TsuiTitleBarButton::setTop(int top)
{
    m_top = top;
    changed();
}

void TsuiTitleBarButton::setVisible(bool visible)
{
    m_visible = visible;
    changed();
}

void TsuiTitleBarButton::setPicNormal(const QImage &picture)
{
    m_picNormal = picture;
    changed();
}

void TsuiTitleBarButton::setPicMouseOn(const QImage &picture)
{
    m_picMouseOn = picture;
    changed();
}

void TsuiTitleBarButton::setPicMouseDown(const QImage &picture)
{
    m_picMouseDown = picture;
    changed();
}

void TsuiTitleBarButton::loadFrames(int first)
{
    const TsuiFileTheme *theme = m_bar ? m_bar->FileTheme() : nullptr;
    ResolvedBitmap(m_style, theme, StyleEntry::TitleBarButtonImage, &m_picNormal, ButtonFrameCount,
                   first);
    ResolvedBitmap(m_style, theme, StyleEntry::TitleBarButtonImage, &m_picMouseOn, ButtonFrameCount,
                   first + 1);
    ResolvedBitmap(m_style, theme, StyleEntry::TitleBarButtonImage, &m_picMouseDown,
                   ButtonFrameCount, first + 2);
}

void TsuiTitleBarButton::LoadButtonFrames()
{
    const TsuiFileTheme *theme = m_bar ? m_bar->FileTheme() : nullptr;
    m_transparent = ResolvedBool(m_style, theme, StyleEntry::TitleBarButtonTransparentBool);
    const int first = firstFrameOf(m_type);
    if (first == 0) {
        changed();
        return;
    }
    loadFrames(first);
    m_top = ResolvedInt(m_style, theme, StyleEntry::TitleBarButtonTopInt);
    changed();
}

bool TsuiTitleBarButton::formMaximized() const
{
    const QWidget *form = m_bar ? m_bar->parentForm() : nullptr;
    return form && form->isMaximized();
}

void TsuiTitleBarButton::UpdateMaxPictures()
{
    if (m_type != TsuiTitleBarBtnType::suiMax || (m_bar && m_bar->Custom()))
        return;
    loadFrames(formMaximized() ? RestoreFrame : firstFrameOf(TsuiTitleBarBtnType::suiMax));
    changed();
}

void TsuiTitleBarButton::assign(const TsuiTitleBarButton &other)
{
    m_visible = other.m_visible;
    m_type = other.m_type;
    m_transparent = other.m_transparent;
    m_top = other.m_top;
    m_style = other.m_style;
    m_picNormal = other.m_picNormal;
    m_picMouseOn = other.m_picMouseOn;
    m_picMouseDown = other.m_picMouseDown;
    m_controlBoxMenu = other.m_controlBoxMenu;
    changed();
}

template <class Item> Item *TsuiTitleBarCollection<Item>::add()
{
    m_items.push_back(std::make_unique<Item>(m_bar));
    if (m_bar)
        m_bar->itemsChanged();
    return m_items.back().get();
}

template <class Item> void TsuiTitleBarCollection<Item>::removeAt(int i)
{
    if (i < 0 || i >= count())
        return;
    m_items.erase(m_items.begin() + i);
    if (m_bar)
        m_bar->itemsChanged();
}

template <class Item> void TsuiTitleBarCollection<Item>::clear()
{
    m_items.clear();
    if (m_bar)
        m_bar->itemsChanged();
}

template <class Item> void TsuiTitleBarCollection<Item>::assign(const TsuiTitleBarCollection &other)
{
    if (&other == this)
        return;
    m_items.clear();
    for (const auto &source : other.m_items) {
        // Copied without the checks of the setters: the source already obeys them.
        m_items.push_back(std::make_unique<Item>(m_bar));
        m_items.back()->assign(*source);
    }
    if (m_bar)
        m_bar->itemsChanged();
}

template class TsuiTitleBarCollection<TsuiTitleBarSection>;
template class TsuiTitleBarCollection<TsuiTitleBarButton>;
