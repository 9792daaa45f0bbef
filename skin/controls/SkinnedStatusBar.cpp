#include "skin/controls/SkinnedStatusBar.h"

#include "skin/controls/PaintParentBackground.h"
#include "skin/style/StyleLookup.h"
#include "skin/style/StyleResolve.h"

#include <QPainter>

namespace vocafetch {

SkinnedStatusBar::SkinnedStatusBar(QWidget *parent)
    : QStatusBar(parent), m_style(OwnerFormStyle(parent ? parent->window() : nullptr))
{
    setSizeGripEnabled(false);
    setUIStyle(m_style);
}

void SkinnedStatusBar::setText(const QString &text)
{
    m_text = text;
    update();
}

void SkinnedStatusBar::setUIStyle(TsuiUIStyle style)
{
    m_style = style;
    m_edge = BgrToQColor(ResolvedColor(style, nullptr, StyleEntry::ControlBorderColor));
    update();
}

void SkinnedStatusBar::paintEvent(QPaintEvent *)
{
    QImage offscreen(size(), QImage::Format_RGB32);
    offscreen.fill(palette().color(QPalette::Window));
    {
        QPainter canvas(&offscreen);
        PaintParentBackground(&canvas, this);
        canvas.fillRect(QRect(0, 0, width(), 1), m_edge);
        canvas.setFont(font());
        canvas.setPen(palette().color(QPalette::WindowText));
        const QRect room(TextInset, 1, width() - 2 * TextInset, height() - 1);
        canvas.drawText(room, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, m_text);
    }
    QPainter screen(this);
    screen.drawImage(0, 0, offscreen);
}

} // namespace vocafetch
