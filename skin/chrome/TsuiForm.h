#pragma once
// The skinned form frame: dropped on a form (its host window), it takes over the window's frame.
// The host becomes frameless; the frame covers the host but for a border strip it paints in its
// own colour, gives the window rounded top corners through its title bar, shows the title bar
// at its top and the main menu's top-level items as a flat menu bar below it. All other
// controls of the window are children of the frame. The window's FramelessHost makes it
// frameless, reports its activation, resizing and painting, and moves and sizes the host.

#include "skin/chrome/TsuiFormMessages.h"
#include "skin/chrome/TsuiTitleBar.h"
#include "skin/style/FrameStyleSource.h"
#include "skin/style/TsuiUIStyle.h"

#include "skin/chrome/TsuiMainMenu.h"
#include "skin/style/TsuiFileTheme.h"

#include <QFont>
#include <QPointer>
#include <QWidget>

class TsuiFormMenuBar;
namespace vocafetch {
class FramelessHost;
}

Q_DECLARE_METATYPE(TsuiTitleBarButtons *)
Q_DECLARE_METATYPE(TsuiTitleBarSections *)

class TsuiForm : public QWidget, public vocafetch::FrameStyleSource
{
    Q_OBJECT
    Q_INTERFACES(vocafetch::FrameStyleSource)
    Q_PROPERTY(int Width READ width WRITE setFrameWidth)
    Q_PROPERTY(int Height READ height WRITE setFrameHeight)
    Q_PROPERTY(bool TitleBarCustom READ TitleBarCustom WRITE setTitleBarCustom)
    Q_PROPERTY(TsuiFileTheme *FileTheme READ FileTheme WRITE setFileTheme)
    Q_PROPERTY(SkinStyles::TsuiUIStyle UIStyle READ UIStyle WRITE setUIStyle)
    Q_PROPERTY(bool UIStyleAutoUpdateSub READ UIStyleAutoUpdateSub WRITE setUIStyleAutoUpdateSub)
    Q_PROPERTY(quint32 BorderColor READ BorderColor WRITE setBorderColor)
    Q_PROPERTY(int BorderWidth READ BorderWidth WRITE setBorderWidth)
    Q_PROPERTY(bool TitleBarVisible READ TitleBarVisible WRITE setTitleBarVisible)
    Q_PROPERTY(quint32 Color READ Color WRITE setColor)
    Q_PROPERTY(QString Caption READ Caption WRITE setCaption)
    Q_PROPERTY(TsuiTitleBarButtons *TitleBarButtons READ titleBarButtonsProperty WRITE
                   setTitleBarButtonsProperty)
    Q_PROPERTY(TsuiTitleBarSections *TitleBarSections READ titleBarSectionsProperty WRITE
                   setTitleBarSectionsProperty)
    Q_PROPERTY(bool TitleBarDrawAppIcon READ TitleBarDrawAppIcon WRITE setTitleBarDrawAppIcon)
    Q_PROPERTY(QFont Font READ Font WRITE setTitleFont)
    Q_PROPERTY(TsuiMainMenu *Menu READ Menu WRITE setMenu)
    Q_PROPERTY(quint32 MenuBarColor READ MenuBarColor WRITE setMenuBarColor)
    Q_PROPERTY(int MenuBarHeight READ MenuBarHeight WRITE setMenuBarHeight)
    Q_PROPERTY(int RoundCorner READ RoundCorner WRITE setRoundCorner)
    Q_PROPERTY(QString Version READ Version WRITE setVersion)

public:
    // With a window as owner, the frame takes over that window's frame. A second frame on the
    // same window throws TsuiFormError.
    explicit TsuiForm(QWidget *owner = nullptr);
    ~TsuiForm() override;

    static QString secondFrameMessage()
    {
        return QStringLiteral("Sorry, You can create only one TsuiForm component in one form!");
    }

    // Sizes the host so the frame gets this width (plus a border on each side) or height (plus
    // the border and half of it).
    void setFrameWidth(int width);
    void setFrameHeight(int height);

    bool TitleBarCustom() const { return m_titleBar->Custom(); }
    void setTitleBarCustom(bool custom) { m_titleBar->setCustom(custom); }
    TsuiFileTheme *FileTheme() const { return m_theme; }
    void setFileTheme(TsuiFileTheme *theme);
    TsuiUIStyle UIStyle() const { return m_style; }
    TsuiUIStyle frameStyle() const override { return m_style; }
    // Border colour and width and the fill colour from the style; pushes the style to the title
    // bar, the main menu and (with UIStyleAutoUpdateSub) the direct children.
    void setUIStyle(TsuiUIStyle style);
    bool UIStyleAutoUpdateSub() const { return m_autoUpdateSub; }
    void setUIStyleAutoUpdateSub(bool update) { m_autoUpdateSub = update; }
    // Colours as 0x00BBGGRR values.
    quint32 BorderColor() const { return m_borderColor; }
    void setBorderColor(quint32 color);
    int BorderWidth() const { return m_borderWidth; }
    void setBorderWidth(int width);
    bool TitleBarVisible() const { return m_titleBarVisible; }
    void setTitleBarVisible(bool visible);
    quint32 Color() const { return m_color; }
    void setColor(quint32 color);
    QString Caption() const { return m_titleBar->Caption(); }
    // Also the host's window title.
    void setCaption(const QString &caption);
    const TsuiTitleBarButtons &TitleBarButtons() const { return m_titleBar->Buttons(); }
    void setTitleBarButtons(const TsuiTitleBarButtons &buttons);
    const TsuiTitleBarSections &TitleBarSections() const { return m_titleBar->Sections(); }
    void setTitleBarSections(const TsuiTitleBarSections &sections);
    // The title bar's collections as properties: reading gives the bar's own, writing copies
    // the given one item by item (nullptr changes nothing).
    TsuiTitleBarButtons *titleBarButtonsProperty() const { return &m_titleBar->Buttons(); }
    void setTitleBarButtonsProperty(TsuiTitleBarButtons *buttons);
    TsuiTitleBarSections *titleBarSectionsProperty() const { return &m_titleBar->Sections(); }
    void setTitleBarSectionsProperty(TsuiTitleBarSections *sections);
    bool TitleBarDrawAppIcon() const { return m_titleBar->DrawAppIcon(); }
    void setTitleBarDrawAppIcon(bool draw) { m_titleBar->setDrawAppIcon(draw); }
    // The caption font (the title bar's).
    QFont Font() const { return m_titleBar->font(); }
    void setTitleFont(const QFont &font) { m_titleBar->setFont(font); }
    TsuiMainMenu *Menu() const { return m_menu; }
    // Shows menu's top-level items on the menu bar and follows their changes; nullptr (or the
    // menu's end) removes the menu bar. The window attaches its menu here.
    void setMenu(TsuiMainMenu *menu);
    quint32 MenuBarColor() const { return m_menuBarColor; }
    void setMenuBarColor(quint32 color);
    int MenuBarHeight() const { return m_menuBarHeight; }
    void setMenuBarHeight(int height);
    int RoundCorner() const { return m_titleBar->RoundCorner(); }
    void setRoundCorner(int corner) { m_titleBar->setRoundCorner(corner); }
    QWidget *FormPanel() const { return m_formPanel; }
    // A panel that fills the frame below its title bar and menu bar; the frame itself is
    // refused with a message.
    void setFormPanel(QWidget *panel);
    QString Version() const { return QStringLiteral("4.06"); }
    void setVersion(const QString &) {}

    TsuiTitleBar *TitleBar() const { return m_titleBar; }
    TsuiFormMenuBar *MenuBar() const { return m_menuBar; }
    QWidget *host() const { return m_host; }
    // Whether the host could be resized when the frame took it over.
    bool hostSizeable() const;

    // Places the frame inside the host, leaving the border strips.
    void LayoutFrame();
    // Repaints the border strips on the host.
    void DrawBorder();
    // Paints the border strips of a host of clientSize.
    static void PaintBorder(QPainter *painter, const QSize &clientSize, const QColor &color,
                            int width);
    void RebuildMenuBar();
    void RefreshMenuBar();
    void ApplyMenuBarFont();
    // Sets the style and theme on each direct child that has both properties.
    static void ApplyStyleToChildren(QWidget *frame, TsuiUIStyle style, TsuiFileTheme *theme);
    // Whether the host is the active window of the active application.
    bool IsFormActive() const;

signals:
    // The title bar's custom and help buttons were clicked; Sender is the title bar.
    void OnTitleBarCustomBtnsClick(QObject *Sender, int ButtonIndex);
    void OnTitleBarHelpBtnClick(QObject *Sender, int ButtonIndex);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void takeOverHost();
    void resizeHost(const QSize &size);
    void layoutChildren();
    void hostResized();

    QPointer<QWidget> m_host;
    QPointer<vocafetch::FramelessHost> m_hostAgent;
    TsuiTitleBar *m_titleBar = nullptr;
    TsuiFormMenuBar *m_menuBar = nullptr;
    QPointer<TsuiMainMenu> m_menu;
    QPointer<QWidget> m_formPanel;
    QPointer<TsuiFileTheme> m_theme;
    TsuiUIStyle m_style = TsuiUIStyle::DeepBlue;
    bool m_autoUpdateSub = false;
    quint32 m_borderColor = 0;
    int m_borderWidth = 1;
    quint32 m_color = 0;
    quint32 m_menuBarColor = 0;
    int m_menuBarHeight = 22;
    bool m_titleBarVisible = true;
    QImage m_backgroundPattern;
};
