#include "skin/chrome/TsuiTitleBarPopupMenu.h"

#include "skin/chrome/TsuiTitleBar.h"

#include <QCoreApplication>

TsuiTitleBarPopupMenu::TsuiTitleBarPopupMenu(TsuiTitleBar *bar) : TsuiPopupMenu(nullptr), m_bar(bar)
{
    m_minimize = addAction(QCoreApplication::translate("TsuiTitleBarPopupMenu", "Mi&nimize"));
    m_maximize =
        addAction(QCoreApplication::translate("TsuiTitleBarPopupMenu", "Ma&ximize/Restore"));
    addSeparator();
    m_close = addAction(QCoreApplication::translate("TsuiTitleBarPopupMenu", "&Close"));
    connect(m_minimize, &QAction::triggered, this, &TsuiTitleBarPopupMenu::minimize);
    connect(m_maximize, &QAction::triggered, this, &TsuiTitleBarPopupMenu::maximizeOrRestore);
    connect(m_close, &QAction::triggered, this, &TsuiTitleBarPopupMenu::closeForm);
    AttachItemHandlers(this);
}

void TsuiTitleBarPopupMenu::updateItems()
{
    bool hasMin = false;
    bool hasMax = false;
    bool hasClose = false;
    const TsuiTitleBarButtons &buttons = m_bar->Buttons();
    for (int i = 0; i < buttons.count(); ++i) {
        const TsuiTitleBarBtnType type = buttons.item(i)->ButtonType();
        hasMin |= type == TsuiTitleBarBtnType::suiMin;
        hasMax |= type == TsuiTitleBarBtnType::suiMax;
        hasClose |= type == TsuiTitleBarBtnType::suiClose;
    }
    m_minimize->setEnabled(hasMin);
    m_maximize->setEnabled(hasMax);
    m_close->setEnabled(hasClose);
}

void TsuiTitleBarPopupMenu::Popup(int x, int y)
{
    updateItems();
    TsuiPopupMenu::Popup(x, y);
}

void TsuiTitleBarPopupMenu::minimize()
{
    const TsuiTitleBarButtons &buttons = m_bar->Buttons();
    for (int i = 0; i < buttons.count(); ++i) {
        if (buttons.item(i)->ButtonType() == TsuiTitleBarBtnType::suiMin) {
            m_bar->ButtonClick(i);
            return;
        }
    }
}

void TsuiTitleBarPopupMenu::maximizeOrRestore()
{
    const TsuiTitleBarButtons &buttons = m_bar->Buttons();
    for (int i = 0; i < buttons.count(); ++i) {
        if (buttons.item(i)->ButtonType() == TsuiTitleBarBtnType::suiMax)
            m_bar->ButtonClick(i);
    }
}

void TsuiTitleBarPopupMenu::closeForm()
{
    if (QWidget *form = m_bar->parentForm())
        form->close();
}
