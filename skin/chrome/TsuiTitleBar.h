#pragma once
// The skinned caption bar at the top of a skinned form frame: section pictures, the title-bar
// buttons in their normal, hot and pressed pictures, and the caption shortened with "..."; the
// buttons minimise, maximise/restore, close or open the window menu, and the bar gives its form
// rounded top corners. The bar registers its caption area and its buttons with its window's
// FramelessHost, which moves and sizes the window from presses off the buttons.

#include "skin/chrome/TsuiTitleBarItems.h"
#include "skin/chrome/TsuiTitleBarLayout.h"
#include "skin/style/TsuiUIStyle.h"

#include <QFont>
#include <QPointer>
#include <QWidget>

#include <map>
#include <memory>
#include <optional>

#include "skin/style/TsuiFileTheme.h"
class TsuiTitleBarPopupMenu;
namespace vocafetch {
class FramelessHost;
}

class TsuiTitleBar : public QWidget
{
    Q_OBJECT
    Q_PROPERTY(bool Custom READ Custom WRITE setCustom)
    Q_PROPERTY(TsuiFileTheme *FileTheme READ FileTheme WRITE setFileTheme)
    Q_PROPERTY(SkinStyles::TsuiUIStyle UIStyle READ UIStyle WRITE setUIStyle)
    Q_PROPERTY(bool AutoSize READ AutoSize WRITE setAutoSize)
    Q_PROPERTY(int ButtonInterval READ ButtonInterval WRITE setButtonInterval)
    Q_PROPERTY(QString Caption READ Caption WRITE setCaption)
    Q_PROPERTY(bool FormActive READ FormActive WRITE setFormActive)
    Q_PROPERTY(int LeftBtnXOffset READ LeftBtnXOffset WRITE setLeftBtnXOffset)
    Q_PROPERTY(int RightBtnXOffset READ RightBtnXOffset WRITE setRightBtnXOffset)
    Q_PROPERTY(bool DrawAppIcon READ DrawAppIcon WRITE setDrawAppIcon)
    Q_PROPERTY(int RoundCorner READ RoundCorner WRITE setRoundCorner)

public:
    // Four buttons (control box, close, maximise, minimise), white bold Tahoma, and the style of
    // owner's form (DeepBlue when owner is a frame, not a form).
    explicit TsuiTitleBar(QWidget *owner = nullptr);
    ~TsuiTitleBar() override;

    bool Custom() const { return m_custom; }
    void setCustom(bool custom) { m_custom = custom; }
    TsuiFileTheme *FileTheme() const { return m_theme; }
    void setFileTheme(TsuiFileTheme *theme);
    TsuiUIStyle UIStyle() const { return m_style; }
    void setUIStyle(TsuiUIStyle style);
    bool AutoSize() const { return m_autoSize; }
    void setAutoSize(bool autoSize);
    const TsuiTitleBarSections &Sections() const { return *m_sections; }
    TsuiTitleBarSections &Sections() { return *m_sections; }
    void setSections(const TsuiTitleBarSections &sections) { m_sections->assign(sections); }
    const TsuiTitleBarButtons &Buttons() const { return *m_buttons; }
    TsuiTitleBarButtons &Buttons() { return *m_buttons; }
    void setButtons(const TsuiTitleBarButtons &buttons) { m_buttons->assign(buttons); }
    int ButtonInterval() const { return m_buttonInterval; }
    void setButtonInterval(int interval);
    QString Caption() const { return m_caption; }
    void setCaption(const QString &caption);
    // The caption colour (the font's colour in the original sense).
    QColor FontColor() const { return m_fontColor; }
    void setFontColor(const QColor &color);
    bool FormActive() const { return m_formActive; }
    void setFormActive(bool active);
    int LeftBtnXOffset() const { return m_leftBtnXOffset; }
    void setLeftBtnXOffset(int offset);
    int RightBtnXOffset() const { return m_rightBtnXOffset; }
    void setRightBtnXOffset(int offset);
    bool DrawAppIcon() const { return m_drawAppIcon; }
    void setDrawAppIcon(bool draw);
    int RoundCorner() const { return m_roundCorner; }
    // Also reshapes the form when the bar sits on a skinned frame.
    void setRoundCorner(int corner);
    int ButtonTop() const { return m_buttonTop; }
    int ButtonStripHeight() const { return m_buttonStripHeight; }
    QColor FrameColor() const { return m_frameColor; }
    bool Pressed() const { return m_pressed; }
    // The button under the mouse (-1 for none), as the last paint or mouse event found it.
    int HotButton() const { return m_hotButton; }

    TsuiTitleBarPopupMenu *windowMenu() const { return m_windowMenu.get(); }
    // The window the bar's buttons act on; nullptr without a parent.
    QWidget *parentForm() const;
    // Whether the bar sits directly on the frame that took its window over (through the
    // window's FramelessHost), which then owns the window's shape.
    bool onSkinnedFrame() const;

    // The geometry of the current buttons and caption room.
    vocafetch::TitleButtonLayout buttonLayout() const;
    // The caption as painted now.
    QString shownCaption() const;

    // What the buttons do (nothing without a parent form).
    void ButtonClick(int index);
    // What a click on button index does: ButtonClick, and a control box without a menu of its
    // own opens the window menu. Assistive technology presses the painted buttons through it.
    void PressButton(int index);

    // What assistive technology calls the buttons of a kind and says they do; without words
    // set, a button is known by its kind's English name.
    void setButtonAccessibleText(TsuiTitleBarBtnType type, const QString &name,
                                 const QString &description);
    QString ButtonAccessibleName(int index) const;
    QString ButtonAccessibleDescription(int index) const;
    void UpdateMaxPictures();
    // Gives the parent form the rounded region when the bar sits on a skinned frame.
    void SetWindowRegion(int corner);

    // Paints the bar into an image of its size, as the screen shows it.
    QImage renderBar() const;

    // Called by sections and buttons after a change.
    void itemsChanged();

signals:
    void OnCustomBtnsClick(QObject *Sender, int ButtonIndex);
    void OnHelpBtnClick(QObject *Sender, int ButtonIndex);

protected:
    virtual void PaintSections(QImage *bitmap) const;
    virtual void PaintButtonsAndCaption(QImage *bitmap) const;

    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void leaveEvent(QEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    void applyStyleValues(TsuiUIStyle resolved);
    int hotButtonAt(const std::optional<QPoint> &pos) const;
    // The agent of the window when the bar sits directly on the frame that took it over.
    vocafetch::FramelessHost *frameHost() const;
    // Registers the caption and the buttons with the agent of the bar's current window.
    void registerWithWindow();
    // A double click on the caption clicks the first maximise button.
    void captionDoubleClicked(QWidget *bar);
    void openWindowMenu();

    bool m_custom = false;
    QPointer<TsuiFileTheme> m_theme;
    TsuiUIStyle m_style = TsuiUIStyle::DeepBlue;
    std::unique_ptr<TsuiTitleBarSections> m_sections;
    std::unique_ptr<TsuiTitleBarButtons> m_buttons;
    bool m_autoSize = false;
    int m_buttonInterval = 0;
    QString m_caption;
    QColor m_fontColor{Qt::white};
    bool m_formActive = true;
    int m_leftBtnXOffset = 0;
    int m_rightBtnXOffset = 0;
    int m_roundCorner = 0;
    bool m_drawAppIcon = false;
    bool m_keepFontColor = false;
    std::unique_ptr<TsuiTitleBarPopupMenu> m_windowMenu;
    QColor m_frameColor;
    bool m_pressed = false;
    mutable int m_hotButton = -1;
    int m_buttonStripHeight = 0;
    int m_buttonTop = 0;
    // Last mouse position over the bar; none while the mouse is elsewhere.
    std::optional<QPoint> m_mousePos;
    QPointer<vocafetch::FramelessHost> m_windowAgent;
    // Name and description of each kind of button, as set.
    std::map<TsuiTitleBarBtnType, std::pair<QString, QString>> m_buttonTexts;
};
