#pragma once
// A skinned button that shows one picture per state (normal, mouse over, pressed, disabled); the
// skinned scroll bar's arrows are such buttons. Missing pictures fall back to the normal one.

#include "skin/controls/TsuiCustomButton.h"

class TsuiImageButton : public TsuiCustomButton
{
    Q_OBJECT
    Q_PROPERTY(QImage PicNormal READ PicNormal WRITE setPicNormal)
    Q_PROPERTY(QImage PicMouseOn READ PicMouseOn WRITE setPicMouseOn)
    Q_PROPERTY(QImage PicMouseDown READ PicMouseDown WRITE setPicMouseDown)
    Q_PROPERTY(QImage PicDisabled READ PicDisabled WRITE setPicDisabled)
    Q_PROPERTY(bool Stretch READ Stretch WRITE setStretch)
    Q_PROPERTY(bool DrawFocused READ DrawFocused WRITE setDrawFocused)

public:
    explicit TsuiImageButton(QWidget *parent = nullptr);

    // Its pictures come from its owner, never from a built-in style.
    TsuiUIStyle UIStyle() const override { return TsuiUIStyle::FromThemeFile; }

    QImage PicNormal() const { return m_pictures[Normal]; }
    void setPicNormal(const QImage &picture) { setPicture(Normal, picture); }
    QImage PicMouseOn() const { return m_pictures[MouseOn]; }
    void setPicMouseOn(const QImage &picture) { setPicture(MouseOn, picture); }
    QImage PicMouseDown() const { return m_pictures[MouseDown]; }
    void setPicMouseDown(const QImage &picture) { setPicture(MouseDown, picture); }
    QImage PicDisabled() const { return m_pictures[Disabled]; }
    void setPicDisabled(const QImage &picture) { setPicture(Disabled, picture); }
    // Stretch the picture over the whole button instead of drawing it at (0, 0).
    bool Stretch() const { return m_stretch; }
    void setStretch(bool stretch);
    // Whether the focus rectangle is drawn when the button has the focus.
    bool DrawFocused() const { return m_drawFocused; }
    void setDrawFocused(bool drawFocused);

protected:
    void UpdateAutoSize() override;
    void PaintPicture(QPainter &canvas, const QImage &state) override;
    void PaintFocus(QPainter &canvas) override;
    QImage LoadPicNormal() override;
    QImage LoadPicMouseOn() override;
    QImage LoadPicMouseDown() override;
    QImage LoadPicDisabled() override;

private:
    enum Picture
    {
        Normal,
        MouseOn,
        MouseDown,
        Disabled,
        PictureCount
    };
    void setPicture(Picture which, const QImage &picture);
    QImage pictureOrNormal(Picture which) const;

    QImage m_pictures[PictureCount];
    bool m_stretch = false;
    bool m_drawFocused = false;
};
