#include "skin/controls/TsuiImagePanel.h"

#include <QPainter>

TsuiImagePanel::TsuiImagePanel(QWidget *parent) : QWidget(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    // A press on the picture is the track's to handle (it starts a drag there).
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

void TsuiImagePanel::setPicture(const QImage &picture)
{
    m_picture = picture;
    resize(picture.size());
    update();
}

void TsuiImagePanel::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.drawImage(0, 0, m_picture);
}
