#pragma once
// Stand-ins for skinned controls: they publish UIStyle and FileTheme like the real ones and
// count how often each is written.

#include "skin/style/FrameStyleSource.h"
#include "skin/style/TsuiFileTheme.h"
#include "skin/style/TsuiUIStyle.h"

#include <QPointer>
#include <QWidget>

namespace skintest {

class TsuiFakeControl : public QWidget
{
    Q_OBJECT
    Q_PROPERTY(TsuiUIStyle UIStyle READ UIStyle WRITE setUIStyle)
    Q_PROPERTY(TsuiFileTheme *FileTheme READ FileTheme WRITE setFileTheme)

public:
    using QWidget::QWidget;
    TsuiUIStyle UIStyle() const { return m_style; }
    void setUIStyle(TsuiUIStyle s)
    {
        m_style = s;
        ++styleWrites;
    }
    TsuiFileTheme *FileTheme() const { return m_theme; }
    void setFileTheme(TsuiFileTheme *t)
    {
        m_theme = t;
        ++themeWrites;
    }

    int styleWrites = 0;
    int themeWrites = 0;

private:
    TsuiUIStyle m_style = TsuiUIStyle::DeepBlue;
    QPointer<TsuiFileTheme> m_theme;
};

// A frame stand-in: it tells the style code its UIStyle as the frame's style.
class TsuiForm : public TsuiFakeControl, public vocafetch::FrameStyleSource
{
    Q_OBJECT
    Q_INTERFACES(vocafetch::FrameStyleSource)

public:
    using TsuiFakeControl::TsuiFakeControl;
    TsuiUIStyle frameStyle() const override { return UIStyle(); }
};

// Publishes the same properties but is no skinned ("Tsui") class.
class PlainControl : public TsuiFakeControl
{
    Q_OBJECT

public:
    using TsuiFakeControl::TsuiFakeControl;
};

} // namespace skintest
