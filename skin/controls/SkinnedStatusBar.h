#pragma once
// A status line with one permanent text in the skin's look: a flat one-pixel top edge in the
// style's control border colour over the parent's background, and the text inset as the
// buttons inset their captions. It is composed off-screen at its own size and copied in one
// step, like the skinned buttons, so a high-density screen scales it as it scales them.
// Assistive technology reads it as a status bar named by its text, and hears each new text.

#include "skin/style/TsuiUIStyle.h"

#include <QColor>
#include <QStatusBar>

namespace vocafetch {

class SkinnedStatusBar : public QStatusBar
{
    Q_OBJECT
    Q_PROPERTY(QString Text READ text WRITE setText)

public:
    // Space left of the text, as between a button's glyph and its caption.
    static constexpr int TextInset = 4;

    // Takes the style of its window's frame.
    explicit SkinnedStatusBar(QWidget *parent = nullptr);

    QString text() const { return m_text; }
    // A new text is announced to assistive technology; the same text again is not.
    void setText(const QString &text);
    TsuiUIStyle UIStyle() const { return m_style; }
    void setUIStyle(TsuiUIStyle style);
    QColor edgeColor() const { return m_edge; }

signals:
    // A new text, as announced to assistive technology.
    void textChanged(const QString &text);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QString m_text;
    TsuiUIStyle m_style;
    QColor m_edge;
};

} // namespace vocafetch
