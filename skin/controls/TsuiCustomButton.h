#pragma once
// The behaviour every skinned push button shares: hot and pressed states, a repeat signal while
// the left button is held, Space/Enter, default and cancel keys, mnemonics, modal results, the
// focus rectangle and painting composed off-screen in one step. Subclasses say which pictures
// are drawn and how (TsuiButton, TsuiImageButton).

#include "skin/style/TsuiFileTheme.h"
#include "skin/style/TsuiUIStyle.h"

#include <QAbstractButton>
#include <QImage>
#include <QPointer>

class QTimer;

class TsuiCustomButton : public QAbstractButton
{
    Q_OBJECT
    Q_PROPERTY(TsuiFileTheme *FileTheme READ FileTheme WRITE setFileTheme)
    Q_PROPERTY(TsuiUIStyle UIStyle READ UIStyle WRITE setUIStyle)
    Q_PROPERTY(bool Cancel READ Cancel WRITE setCancel)
    Q_PROPERTY(bool Default READ Default WRITE setDefault)
    Q_PROPERTY(QString Caption READ Caption WRITE setCaption)
    Q_PROPERTY(bool Transparent READ Transparent WRITE setTransparent)
    Q_PROPERTY(int ModalResult READ ModalResult WRITE setModalResult)
    Q_PROPERTY(bool AutoSize READ AutoSize WRITE setAutoSize)
    Q_PROPERTY(int FocusedRectMargin READ FocusedRectMargin WRITE setFocusedRectMargin)
    Q_PROPERTY(int MouseContinuouslyDownInterval READ MouseContinuouslyDownInterval WRITE
                   setMouseContinuouslyDownInterval)
    Q_PROPERTY(bool TabStop READ TabStop WRITE setTabStop)
    Q_PROPERTY(int ResHandle READ ResHandle WRITE setResHandle)

public:
    explicit TsuiCustomButton(QWidget *parent = nullptr);
    ~TsuiCustomButton() override;

    TsuiFileTheme *FileTheme() const { return m_fileTheme; }
    void setFileTheme(TsuiFileTheme *theme);
    virtual TsuiUIStyle UIStyle() const { return m_uiStyle; }
    void setUIStyle(TsuiUIStyle style);

    QString Caption() const { return text(); }
    void setCaption(const QString &caption);
    bool Transparent() const { return m_transparent; }
    void setTransparent(bool transparent);
    bool AutoSize() const { return m_autoSize; }
    void setAutoSize(bool autoSize);
    int FocusedRectMargin() const { return m_focusedRectMargin; }
    void setFocusedRectMargin(int margin);
    int MouseContinuouslyDownInterval() const { return m_repeatInterval; }
    void setMouseContinuouslyDownInterval(int ms) { m_repeatInterval = ms; }
    // Given to the window on every click; a dialog closes with it when it is not 0.
    int ModalResult() const { return m_modalResult; }
    void setModalResult(int result) { m_modalResult = result; }
    // Enter (Default) or Escape (Cancel) pressed anywhere in the window clicks the button.
    bool Default() const { return m_default; }
    void setDefault(bool isDefault);
    bool Cancel() const { return m_cancel; }
    void setCancel(bool isCancel);
    // Whether the button takes the focus and shows the focus rectangle.
    bool TabStop() const { return m_tabStop; }
    void setTabStop(bool tabStop);
    int ResHandle() const { return 0; }
    void setResHandle(int) {}

    bool isHot() const { return m_hot; }
    // Whether the repeat timer runs (from a left press until the click or the mouse leaving).
    bool isRepeating() const { return m_repeatTimer != nullptr; }

signals:
    void mouseEntered();
    void mouseExited();
    // Fired every MouseContinuouslyDownInterval ms while the left button is held on the button.
    void mouseContinuouslyDown();

protected:
    // Customisation points, in the order the subclasses replace them.
    virtual void UpdateAutoSize();
    virtual void CaptionUpdated() {}
    virtual void FontUpdated();
    virtual void TransparentUpdated();
    virtual void EnabledUpdated() {}
    virtual void UIStyleUpdated() {}
    virtual void PaintPicture(QPainter &canvas, const QImage &state);
    virtual void PaintCaption(QPainter &canvas, const QString &caption);
    virtual void PaintFocus(QPainter &canvas);
    virtual QImage LoadPicNormal();
    virtual QImage LoadPicMouseOn();
    virtual QImage LoadPicMouseDown();
    virtual QImage LoadPicDisabled();

    // Shared by the subclasses' caption painting.
    bool boldCaption() const { return m_boldCaption; }
    void setBoldCaption(bool bold) { m_boldCaption = bold; }
    // Draws text in rect with flags in the button's state: disabled as a white copy one pixel
    // right and down under grey text, pressed one pixel right and down.
    void drawStateText(QPainter &canvas, const QRect &rect, int flags, const QString &text);
    // The picture of the current state (disabled, down, hot, normal).
    QImage statePicture();

    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void enterEvent(QEnterEvent *event) override;
    void leaveEvent(QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void keyReleaseEvent(QKeyEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
    void changeEvent(QEvent *event) override;
    void hideEvent(QHideEvent *event) override;
    bool event(QEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void onClicked();
    void startRepeat();
    void stopRepeat();
    void applyStyle();
    void loadFaces();
    void updateDialogKeyFilter();
    bool isDialogKey(const QKeyEvent *event) const;
    bool canTakeFocus() const;

    QPointer<TsuiFileTheme> m_fileTheme;
    TsuiUIStyle m_uiStyle;
    bool m_transparent = false;
    bool m_autoSize = false;
    int m_focusedRectMargin = 2;
    int m_repeatInterval = 100;
    int m_modalResult = 0;
    bool m_default = false;
    bool m_cancel = false;
    bool m_tabStop = true;
    bool m_hot = false;
    bool m_boldCaption = false;
    QTimer *m_repeatTimer = nullptr; // a child: it dies with the button and never outlives it
    QImage m_faces[3]; // normal, mouse-on and pressed frames of the style's face, per style applied
    QPointer<QWidget> m_filteredWindow;
};
