#pragma once
// What the skinned lists (TsuiListView, TsuiListBox) share: the two-pixel ring that replaces the
// system frame, outer pixel in the style's control border colour and inner pixel in the list's
// background, and the style, border colour and theme file behind it.

#include "skin/style/TsuiFileTheme.h"
#include "skin/style/TsuiUIStyle.h"

#include <QColor>
#include <QPointer>

#include <functional>

class QAbstractScrollArea;
class QWidget;

namespace vocafetch {

class SkinnedScrollBarStyle;

// Frames the whole of list one pixel wide in border and the ring inside it in inner.
void PaintListBorder(QWidget *list, const QColor &border, const QColor &inner);

class SkinnedListFrame
{
public:
    // Gives list two pixels of frame room for the ring and takes the style of the list's form
    // (the list applies it with setUIStyle); the list's own scroll bars are painted from the
    // style's scroll-bar artwork.
    // restyle applies a style to the whole list; it is called when the theme file loads a theme
    // (with the current style) or goes away (with DeepBlue).
    SkinnedListFrame(QAbstractScrollArea *list, std::function<void(TsuiUIStyle)> restyle);
    ~SkinnedListFrame();
    SkinnedListFrame(const SkinnedListFrame &) = delete;
    SkinnedListFrame &operator=(const SkinnedListFrame &) = delete;

    TsuiFileTheme *fileTheme() const { return m_fileTheme; }
    // Follows theme from now on; does not restyle.
    void setFileTheme(TsuiFileTheme *theme);
    TsuiUIStyle uiStyle() const { return m_uiStyle; }
    // Takes style, the border colour and the scroll-bar artwork it gives; returns the style the
    // linked bars are to take.
    TsuiUIStyle setUIStyle(TsuiUIStyle style);
    QColor borderColor() const { return m_borderColor; }
    void setBorderColor(const QColor &color) { m_borderColor = color; }

    void paintBorder() const;

private:
    QAbstractScrollArea *m_list;
    std::function<void(TsuiUIStyle)> m_restyle;
    QPointer<TsuiFileTheme> m_fileTheme;
    TsuiUIStyle m_uiStyle;
    QColor m_borderColor;
    SkinnedScrollBarStyle *m_scrollBarStyle; // owned by the list, which outlives its bars
};

} // namespace vocafetch
