#include "skin/controls/SkinnedStatusBar.h"

#include "skin/controls/PaintParentBackground.h"
#include "skin/style/StyleLookup.h"
#include "skin/style/StyleResolve.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QPainter>

namespace vocafetch {

namespace {

// A status bar whose name is the text it shows (unless a name is set).
class StatusBarAccessible : public QAccessibleWidget
{
public:
    explicit StatusBarAccessible(SkinnedStatusBar *bar)
        : QAccessibleWidget(bar, QAccessible::StatusBar)
    {
    }

    QString text(QAccessible::Text t) const override
    {
        if (t == QAccessible::Name && widget()->accessibleName().isEmpty())
            return static_cast<SkinnedStatusBar *>(widget())->text();
        return QAccessibleWidget::text(t);
    }
};

QAccessibleInterface *statusBarAccessible(const QString &className, QObject *object)
{
    if (className == QLatin1String(SkinnedStatusBar::staticMetaObject.className()))
        return new StatusBarAccessible(static_cast<SkinnedStatusBar *>(object));
    return nullptr;
}

void installStatusBarAccessibility()
{
    static const bool installed = [] {
        QAccessible::installFactory(statusBarAccessible);
        return true;
    }();
    Q_UNUSED(installed);
}

} // namespace

SkinnedStatusBar::SkinnedStatusBar(QWidget *parent)
    : QStatusBar(parent), m_style(OwnerFormStyle(parent ? parent->window() : nullptr))
{
    setSizeGripEnabled(false);
    setUIStyle(m_style);
    installStatusBarAccessibility();
}

void SkinnedStatusBar::setText(const QString &text)
{
    if (text == m_text)
        return;
    m_text = text;
    update();
    // The line reports progress and outcomes: a screen reader speaks the new name.
    QAccessibleEvent changed(this, QAccessible::NameChanged);
    QAccessible::updateAccessibility(&changed);
    emit textChanged(m_text);
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
