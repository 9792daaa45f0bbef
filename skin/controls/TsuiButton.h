#pragma once
// A skinned push button: the style's button face stretched to any size, an optional glyph beside
// the caption in one of four arrangements.

#include "skin/controls/TsuiButtonLayout.h"
#include "skin/controls/TsuiCustomButton.h"

#include <QAction>
#include <QPointer>

class TsuiButton : public TsuiCustomButton
{
    Q_OBJECT
    Q_PROPERTY(QAction *Action READ Action WRITE setAction)
    Q_PROPERTY(QImage Glyph READ Glyph WRITE setGlyph)
    Q_PROPERTY(TsuiButtonLayout Layout READ Layout WRITE setLayout)
    Q_PROPERTY(int Spacing READ Spacing WRITE setSpacing)

public:
    explicit TsuiButton(QWidget *parent = nullptr);

    // The linked action (nullptr for none): the button shows its text and enabled state and
    // follows their changes, a click triggers it, and while the button has no glyph of its own
    // the action's icon is its glyph. The link ends when the action is destroyed.
    QAction *Action() const { return m_action; }
    void setAction(QAction *action);

    // The picture beside the caption; twice as wide as high, it holds an enabled and a disabled
    // image. Its top-left pixel's colour is transparent. A glyph set here wins over the linked
    // action's icon; an empty one hands the glyph back to the action.
    QImage Glyph() const { return m_glyph; }
    void setGlyph(const QImage &glyph);
    TsuiButtonLayout Layout() const { return m_layout; }
    void setLayout(TsuiButtonLayout layout);
    int Spacing() const { return m_spacing; }
    void setSpacing(int spacing);

    // Where the caption was drawn at the last paint when a glyph is present.
    QPoint captionPoint() const { return m_captionPoint; }

    QSize sizeHint() const override { return QSize(80, 27); }

protected:
    void UIStyleUpdated() override;
    void PaintPicture(QPainter &canvas, const QImage &state) override;
    void PaintCaption(QPainter &canvas, const QString &caption) override;
    void PaintFocus(QPainter &canvas) override;

private:
    void paintGlyph(QPainter &canvas);
    void showGlyph(const QImage &glyph);
    // The linked action's icon as the glyph.
    void showActionGlyph();
    void followAction();

    QImage m_glyph;
    QPointer<QAction> m_action;
    QMetaObject::Connection m_actionChanged;
    bool m_glyphFromAction = false;
    TsuiButtonLayout m_layout = TsuiButtonLayouts::blGlyphLeft;
    int m_spacing = 4;
    QPoint m_captionPoint;
};
