#include "skin/controls/TsuiImageButton.h"

#include "skin/controls/TsuiCustomButtonPaint.h"

#include <QPainter>

using namespace vocafetch;

TsuiImageButton::TsuiImageButton(QWidget *parent) : TsuiCustomButton(parent) {}

void TsuiImageButton::setPicture(Picture which, const QImage &picture)
{
    m_pictures[which] = picture;
    UpdateAutoSize();
    update();
}

QImage TsuiImageButton::pictureOrNormal(Picture which) const
{
    return m_pictures[which].isNull() ? m_pictures[Normal] : m_pictures[which];
}

void TsuiImageButton::setStretch(bool stretch)
{
    m_stretch = stretch;
    update();
}

void TsuiImageButton::setDrawFocused(bool drawFocused)
{
    m_drawFocused = drawFocused;
    update();
}

void TsuiImageButton::UpdateAutoSize()
{
    if (!parentWidget() || !AutoSize() || m_pictures[Normal].isNull())
        return;
    resize(m_pictures[Normal].size());
}

QImage TsuiImageButton::LoadPicNormal()
{
    return m_pictures[Normal];
}

QImage TsuiImageButton::LoadPicMouseOn()
{
    return pictureOrNormal(MouseOn);
}

QImage TsuiImageButton::LoadPicMouseDown()
{
    return pictureOrNormal(MouseDown);
}

QImage TsuiImageButton::LoadPicDisabled()
{
    return pictureOrNormal(Disabled);
}

void TsuiImageButton::PaintPicture(QPainter &canvas, const QImage &state)
{
    if (state.isNull())
        return;
    const QImage picture = Transparent() ? MaskedByTopLeft(state) : state;
    if (m_stretch)
        canvas.drawImage(rect(), picture);
    else
        canvas.drawImage(0, 0, picture);
}

void TsuiImageButton::PaintFocus(QPainter &canvas)
{
    if (m_drawFocused)
        TsuiCustomButton::PaintFocus(canvas);
}
