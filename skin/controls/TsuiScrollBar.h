#pragma once
// A skinned scroll bar: two arrow buttons and a track with a slider, drawn from the style's
// pictures. It can stand alone or be linked to a TsuiListView / TsuiListBox, which then keeps it
// in step with the list's own scroll bar (see ScrollBarLink.h).

#include "skin/style/TsuiFileTheme.h"
#include "skin/style/TsuiUIStyle.h"

#include <QColor>
#include <QImage>
#include <QPointer>
#include <QWidget>

class TsuiImageButton;
class TsuiScrollTrackBar;

class TsuiScrollBar : public QWidget
{
    Q_OBJECT
    Q_PROPERTY(TsuiFileTheme *FileTheme READ FileTheme WRITE setFileTheme)
    Q_PROPERTY(int LineButton READ LineButton WRITE setLineButton)
    Q_PROPERTY(TsuiOrientation Orientation READ Orientation WRITE setOrientation)
    Q_PROPERTY(TsuiUIStyle UIStyle READ UIStyle WRITE setUIStyle)
    Q_PROPERTY(int Max READ Max WRITE setMax)
    Q_PROPERTY(int Min READ Min WRITE setMin)
    Q_PROPERTY(int Position READ Position WRITE setPosition)
    Q_PROPERTY(int SmallChange READ SmallChange WRITE setSmallChange)
    Q_PROPERTY(int LargeChange READ LargeChange WRITE setLargeChange)
    Q_PROPERTY(int PageSize READ PageSize WRITE setPageSize)
    Q_PROPERTY(QColor Color READ Color WRITE setColor)

public:
    enum TsuiOrientation
    {
        suiHorizontal,
        suiVertical,
    };
    Q_ENUM(TsuiOrientation)

    explicit TsuiScrollBar(QWidget *parent = nullptr);
    ~TsuiScrollBar() override;

    TsuiFileTheme *FileTheme() const { return m_fileTheme; }
    void setFileTheme(TsuiFileTheme *theme);
    TsuiUIStyle UIStyle() const { return m_uiStyle; }
    void setUIStyle(TsuiUIStyle style);
    TsuiOrientation Orientation() const { return m_orientation; }
    void setOrientation(TsuiOrientation orientation);

    int Min() const;
    void setMin(int min);
    int Max() const;
    void setMax(int max);
    int Position() const;
    void setPosition(int position);
    int PageSize() const;
    // Also rebuilds the slider, whose length follows the page size while LineButton is 0.
    void setPageSize(int pageSize);
    int LargeChange() const { return PageSize(); }
    void setLargeChange(int change) { setPageSize(change); }
    // Step of the arrow buttons.
    int SmallChange() const { return m_smallChange; }
    void setSmallChange(int change) { m_smallChange = change; }
    // Slider length in pixels (at least 18); 0 derives it from PageSize. A length that does not
    // fit between the arrow buttons is refused.
    int LineButton() const { return m_lineButton; }
    void setLineButton(int length);
    // Background of the track.
    QColor Color() const { return m_color; }
    void setColor(const QColor &color);

    // Position minus its value at the previous changed().
    int lastChange() const;

    // The parts, for the lists and for tests.
    TsuiImageButton *decreaseButton() const { return m_decrease; }
    TsuiImageButton *increaseButton() const { return m_increase; }
    TsuiScrollTrackBar *track() const { return m_track; }

signals:
    // Position changed (by the user or by a write).
    void changed();

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    bool vertical() const { return m_orientation == suiVertical; }
    void applyStyle();
    void LoadScrollBarPictures();
    void LayoutScrollBar();
    void BuildSlider();
    void step(int delta);

    QPointer<TsuiFileTheme> m_fileTheme;
    TsuiUIStyle m_uiStyle;
    TsuiOrientation m_orientation = suiHorizontal;
    int m_smallChange = 1;
    int m_lineButton = 0;
    QColor m_color;
    bool m_layingOut = false;
    TsuiImageButton *m_decrease; // children
    TsuiImageButton *m_increase;
    TsuiScrollTrackBar *m_track;
    QImage m_sliderStart;
    QImage m_sliderMiddle;
    QImage m_sliderEnd;
};
