#pragma once
// A small form that links skinned scroll bars to lists: a list view with a vertical and a
// horizontal bar and a list box with a vertical bar, all in the WinXP style, with enough long
// items that both lists scroll.

#include <QWidget>

class TsuiButton;
class TsuiListBox;
class TsuiListView;
class TsuiScrollBar;

class ControlsDemoForm : public QWidget
{
    Q_OBJECT

public:
    explicit ControlsDemoForm(QWidget *parent = nullptr);

    TsuiListView *ListView1;
    TsuiScrollBar *VScrollBar1; // linked to ListView1
    TsuiScrollBar *HScrollBar1; // linked to ListView1
    TsuiListBox *ListBox1;
    TsuiScrollBar *VScrollBar2; // linked to ListBox1
    TsuiButton *Button1;        // adds an item to both lists
};
