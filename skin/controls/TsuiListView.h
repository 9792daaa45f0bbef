#pragma once
// A skinned list view holding its own items (see TsuiListViewLook for the look).

#include "skin/controls/SkinnedListWidget.h"
#include "skin/controls/TsuiListViewLook.h"

class TsuiListView : public vocafetch::TsuiListViewLook<QListWidget>
{
    Q_OBJECT
    Q_PROPERTY(TsuiFileTheme *FileTheme READ FileTheme WRITE setFileTheme)
    Q_PROPERTY(TsuiUIStyle UIStyle READ UIStyle WRITE setUIStyle)
    Q_PROPERTY(QColor BorderColor READ BorderColor WRITE setBorderColor)
    Q_PROPERTY(TsuiScrollBar *VScrollBar READ VScrollBar WRITE setVScrollBar)
    Q_PROPERTY(TsuiScrollBar *HScrollBar READ HScrollBar WRITE setHScrollBar)

public:
    explicit TsuiListView(QWidget *parent = nullptr);
};
