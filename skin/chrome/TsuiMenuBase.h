#pragma once
// The look shared by the skinned main menu and the skinned pop-up menu: the style, the sizes and
// colours every item is measured and drawn with, the font rule and the check-mark image. Both
// menu classes inherit it; TsuiMenuStyle reads it when Qt measures or paints an item.

#include "skin/chrome/SkinMenuStyle.h"
#include "skin/style/TsuiUIStyle.h"

#include <QPointer>

#include <array>
#include <cstddef>
#include <memory>

class QAction;
class QMenu;
class QObject;
#include "skin/style/TsuiFileTheme.h"
class TsuiMenuStyle;

class TsuiMenuBase
{
public:
    // self is the menu object itself (for connections); style is its initial UIStyle.
    TsuiMenuBase(QObject *self, TsuiUIStyle style);
    virtual ~TsuiMenuBase();
    TsuiMenuBase(const TsuiMenuBase &) = delete;
    TsuiMenuBase &operator=(const TsuiMenuBase &) = delete;

    TsuiUIStyle UIStyle() const { return m_style; }
    // Applies the style: bar width 26, item and separator heights, separator colour, and the
    // bar, background, font and selection colours from the style entries (or the theme).
    void setUIStyle(TsuiUIStyle style);
    TsuiFileTheme *FileTheme() const { return m_theme; }
    // Stores the theme and applies the current style again; its destruction falls back to
    // DeepBlue.
    void setFileTheme(TsuiFileTheme *theme);

    bool OwnerDraw() const { return true; }
    void setOwnerDraw(bool) {}
    int MenuItemHeight() const { return m_look.itemHeight; }
    void setMenuItemHeight(int height); // ignored under MacOS
    int SeparatorHeight() const { return m_look.separatorHeight; }
    void setSeparatorHeight(int height); // ignored under MacOS
    int BarWidth() const { return m_look.barWidth; }
    void setBarWidth(int width) { m_look.barWidth = width; }
    // Colours as 0x00BBGGRR values.
    quint32 BarColor() const { return menuColor(MenuColor::Bar); }
    void setBarColor(quint32 c) { setMenuColor(MenuColor::Bar, c); }
    quint32 Color() const { return menuColor(MenuColor::Background); }
    void setColor(quint32 c) { setMenuColor(MenuColor::Background, c); }
    quint32 SeparatorColor() const { return menuColor(MenuColor::Separator); }
    void setSeparatorColor(quint32 c) { setMenuColor(MenuColor::Separator, c); }
    quint32 SelectedBorderColor() const { return menuColor(MenuColor::SelectedBorder); }
    void setSelectedBorderColor(quint32 c) { setMenuColor(MenuColor::SelectedBorder, c); }
    quint32 SelectedColor() const { return menuColor(MenuColor::Selected); }
    void setSelectedColor(quint32 c) { setMenuColor(MenuColor::Selected, c); }
    quint32 SelectedFontColor() const { return menuColor(MenuColor::SelectedFont); }
    void setSelectedFontColor(quint32 c) { setMenuColor(MenuColor::SelectedFont, c); }
    quint32 FontColor() const { return menuColor(MenuColor::Font); }
    void setFontColor(quint32 c) { setMenuColor(MenuColor::Font, c); }
    // Stored only; no drawing reads it.
    quint32 BorderColor() const { return m_borderColor; }
    void setBorderColor(quint32 c) { m_borderColor = c; }
    bool FlatMenu() const { return m_flatMenu; }
    void setFlatMenu(bool flat) { m_flatMenu = flat; }
    QString FontName() const { return m_fontName; }
    void setFontName(const QString &name);
    int FontSize() const { return m_fontSize; }
    void setFontSize(int points);
    // Kept for theme and form values; Qt chooses the character set from the text.
    int FontCharset() const { return m_fontCharset; }
    void setFontCharset(int charset) { m_fontCharset = charset; }
    bool UseSystemFont() const { return m_useSystemFont; }
    void setUseSystemFont(bool use);
    // Whether the items' own icons (the menu's image list) are drawn; without it items show no
    // image and a checked item shows the check mark.
    bool ImagesAssigned() const { return m_imagesAssigned; }
    void setImagesAssigned(bool assigned) { m_imagesAssigned = assigned; }

    // The font captions and shortcuts are drawn with: the system menu font, or FontName at
    // FontSize points.
    QFont menuFont() const;
    // The look as the drawing routines take it, for one measure or paint.
    vocafetch::SkinMenuLook look() const;
    // The line colour of the flat border (style entry 15).
    QColor flatBorderColor() const;
    // How the drawing sees action.
    vocafetch::SkinMenuItem itemFor(const QAction *action) const;

    // Hands menu and its whole submenu tree, depth first, to the skinned item drawing: the
    // skin style, the menu font and visible shortcuts.
    void AttachItemHandlers(QMenu *menu);
    TsuiMenuStyle *menuStyle() const { return m_menuStyle.get(); }

protected:
    // Called after anything that changes how the menus are laid out (font, style).
    virtual void menuLookChanged() {}

private:
    // The colours the drawing reads, each kept as set and in the look.
    enum class MenuColor
    {
        Bar,
        Background,
        Separator,
        SelectedBorder,
        Selected,
        SelectedFont,
        Font
    };
    static constexpr std::size_t MenuColorCount = 7;
    quint32 menuColor(MenuColor which) const { return m_colors[std::size_t(which)]; }
    void setMenuColor(MenuColor which, quint32 c);

    void applyStyle();
    void refreshMenus();

    QObject *m_self;
    TsuiUIStyle m_style;
    QPointer<TsuiFileTheme> m_theme;
    vocafetch::SkinMenuLook m_look;
    std::array<quint32, MenuColorCount> m_colors{};
    quint32 m_borderColor = 0;
    bool m_flatMenu = false;
    QString m_fontName = QStringLiteral("MS Sans Serif");
    int m_fontSize = 8;
    int m_fontCharset = 1;
    bool m_useSystemFont = true;
    bool m_imagesAssigned = false;
    QList<QPointer<QMenu>> m_attached;
    std::unique_ptr<TsuiMenuStyle> m_menuStyle;
};
