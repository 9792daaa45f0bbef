#pragma once
// A skinned list view showing the rows of a model it is given, with TsuiListView's look: for
// lists too long for an item object per row.

#include "skin/controls/TsuiListViewLook.h"

#include <QListView>

namespace vocafetch {

class SkinnedListView : public TsuiListViewLook<QListView>
{
    Q_OBJECT
    Q_PROPERTY(TsuiFileTheme *FileTheme READ FileTheme WRITE setFileTheme)
    Q_PROPERTY(TsuiUIStyle UIStyle READ UIStyle WRITE setUIStyle)
    Q_PROPERTY(QColor BorderColor READ BorderColor WRITE setBorderColor)
    Q_PROPERTY(TsuiScrollBar *VScrollBar READ VScrollBar WRITE setVScrollBar)
    Q_PROPERTY(TsuiScrollBar *HScrollBar READ HScrollBar WRITE setHScrollBar)

public:
    explicit SkinnedListView(QWidget *parent = nullptr);

    // Shows rows (kept by its owner) and follows its changes.
    void setModel(QAbstractItemModel *rows) override;
};

} // namespace vocafetch
