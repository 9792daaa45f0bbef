#include "skin/controls/TsuiListView.h"

TsuiListView::TsuiListView(QWidget *parent) : TsuiListViewLook(parent) {}
