#include "skin/controls/SkinnedListFrame.h"

#include "skin/controls/SkinnedScrollBarStyle.h"
#include "skin/style/FollowFileTheme.h"
#include "skin/style/StyleLookup.h"
#include "skin/style/StyleResolve.h"

#include <QAbstractScrollArea>
#include <QPainter>
#include <QScrollBar>

namespace vocafetch {

void PaintListBorder(QWidget *list, const QColor &border, const QColor &inner)
{
    QPainter painter(list);
    painter.setPen(Qt::NoPen);
    const QRect outer = list->rect();
    auto frame = [&painter](const QRect &r, const QColor &color) {
        if (r.width() <= 0 || r.height() <= 0)
            return;
        painter.fillRect(QRect(r.left(), r.top(), r.width(), 1), color);
        painter.fillRect(QRect(r.left(), r.bottom(), r.width(), 1), color);
        painter.fillRect(QRect(r.left(), r.top(), 1, r.height()), color);
        painter.fillRect(QRect(r.right(), r.top(), 1, r.height()), color);
    };
    frame(outer, border);
    frame(outer.adjusted(1, 1, -1, -1), inner);
}

SkinnedListFrame::SkinnedListFrame(QAbstractScrollArea *list,
                                   std::function<void(TsuiUIStyle)> restyle)
    : m_list(list), m_restyle(std::move(restyle)),
      m_uiStyle(OwnerFormStyle(list->parentWidget() ? list->parentWidget()->window() : nullptr)),
      m_scrollBarStyle(new SkinnedScrollBarStyle(list))
{
    list->verticalScrollBar()->setStyle(m_scrollBarStyle);
    list->horizontalScrollBar()->setStyle(m_scrollBarStyle);
    list->setAttribute(Qt::WA_OpaquePaintEvent);
    // No system frame: two pixels of frame room that the skinned ring fills.
    list->setFrameStyle(QFrame::Box | QFrame::Plain);
    list->setLineWidth(2);
}

SkinnedListFrame::~SkinnedListFrame()
{
    // The list is going away: a theme that loads or goes later must not restyle it.
    if (m_fileTheme)
        QObject::disconnect(m_fileTheme, nullptr, m_list, nullptr);
}

void SkinnedListFrame::setFileTheme(TsuiFileTheme *theme)
{
    FollowFileTheme(
        m_list, m_fileTheme, theme, [this]() { m_restyle(TsuiUIStyle::DeepBlue); },
        [this]() { m_restyle(m_uiStyle); });
}

TsuiUIStyle SkinnedListFrame::setUIStyle(TsuiUIStyle style)
{
    m_uiStyle = style;
    const StyleSource source = ResolveStyle(style, m_fileTheme);
    m_borderColor = BgrToQColor(ResolvedColor(style, m_fileTheme, StyleEntry::ControlBorderColor));
    m_scrollBarStyle->setArtwork(style, m_fileTheme);
    m_list->verticalScrollBar()->update();
    m_list->horizontalScrollBar()->update();
    return source.style;
}

void SkinnedListFrame::paintBorder() const
{
    PaintListBorder(m_list, m_borderColor, m_list->palette().color(QPalette::Base));
}

} // namespace vocafetch
