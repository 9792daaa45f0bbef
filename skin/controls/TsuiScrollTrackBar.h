#pragma once
// The track of a skinned scroll bar: a range Min..Max with a Position, a slider picture placed by
// the position, page steps (repeated while the button is held) on a press beside the slider,
// dragging of the slider and keys. Reports each change of Position once through changed().

#include <QColor>
#include <QImage>
#include <QPoint>
#include <QWidget>

class QTimer;
class TsuiImagePanel;

class TsuiScrollTrackBar : public QWidget
{
    Q_OBJECT
    Q_PROPERTY(int Min READ Min WRITE setMin)
    Q_PROPERTY(int Max READ Max WRITE setMax)
    Q_PROPERTY(int Position READ Position WRITE setPosition)
    Q_PROPERTY(int PageSize READ PageSize WRITE setPageSize)
    Q_PROPERTY(QColor Color READ Color WRITE setColor)
    Q_PROPERTY(bool TabStop READ TabStop WRITE setTabStop)

public:
    explicit TsuiScrollTrackBar(QWidget *parent = nullptr);
    ~TsuiScrollTrackBar() override;

    int Min() const { return m_min; }
    // A Min above Max becomes Max; Position is pulled into the range.
    void setMin(int min);
    int Max() const { return m_max; }
    // A Max below Min becomes Min; Position is pulled into the range.
    void setMax(int max);
    int Position() const { return m_position; }
    // Clamped to Min..Max; a change is reported through changed().
    void setPosition(int position);
    int PageSize() const { return m_pageSize; }
    // A page size outside 0..Max is refused.
    void setPageSize(int pageSize);
    QColor Color() const { return m_color; }
    void setColor(const QColor &color);
    bool TabStop() const { return m_tabStop; }
    void setTabStop(bool tabStop);

    Qt::Orientation orientation() const { return m_orientation; }
    void setOrientation(Qt::Orientation orientation);
    // The slider's picture; the slider takes its size.
    void setSliderPicture(const QImage &picture);
    QImage sliderPicture() const;
    // The slider's geometry in track coordinates.
    QRect sliderGeometry() const;
    // Length of the track along its orientation.
    int trackLength() const;

    // Position minus the position reported by the previous changed().
    int lastChange() const { return m_lastChange; }
    bool isDragging() const { return m_dragging; }
    bool isPaging() const { return m_pageTimer != nullptr; }

signals:
    void changed();

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void leaveEvent(QEvent *event) override;
    void hideEvent(QHideEvent *event) override;
    void changeEvent(QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    int along(const QPoint &p) const;
    int sliderStart() const;
    int sliderLength() const;
    int valueAt(int p) const;
    void placeSlider();
    void positionChanged();
    void stepBy(qint64 delta);
    void pageTowards(int p, int step);
    void pageTick();
    void stopPaging();

    int m_min = 0;
    int m_max = 10;
    int m_position = 0;
    int m_pageSize = 2;
    int m_reported = 0;
    int m_lastChange = 0;
    QColor m_color;
    bool m_tabStop = true;
    bool m_dragging = false;
    Qt::Orientation m_orientation = Qt::Horizontal;
    QPoint m_mouse;                // last mouse point while the button is held, track coordinates
    TsuiImagePanel *m_slider;      // child
    QTimer *m_pageTimer = nullptr; // child, exists only while paging
};
