#pragma once
// A skinned push button: the style's button face stretched to any size, an optional glyph beside
// the caption in one of four arrangements.

#include "skin/controls/TsuiButtonLayout.h"
#include "skin/controls/TsuiCustomButton.h"

class TsuiButton : public TsuiCustomButton
{
    Q_OBJECT
    Q_PROPERTY(QImage Glyph READ Glyph WRITE setGlyph)
    Q_PROPERTY(TsuiButtonLayout Layout READ Layout WRITE setLayout)
    Q_PROPERTY(int Spacing READ Spacing WRITE setSpacing)

public:
    explicit TsuiButton(QWidget *parent = nullptr);

    // The picture beside the caption; twice as wide as high, it holds an enabled and a disabled
    // image. Its top-left pixel's colour is transparent.
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

    QImage m_glyph;
    TsuiButtonLayout m_layout = TsuiButtonLayouts::blGlyphLeft;
    int m_spacing = 4;
    QPoint m_captionPoint;
};
