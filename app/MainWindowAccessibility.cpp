// What assistive technology (a screen reader) learns of the main window's controls, in the
// window's language: the lists and the status line show no caption of their own, and the
// buttons' captions do not say everything they do. The title bar's painted buttons and its
// window menu speak the window's language as well.
#include "app/MainWindow.h"

#include "skin/chrome/TsuiFormMenuBar.h"
#include "skin/chrome/TsuiTitleBar.h"
#include "skin/chrome/TsuiTitleBarPopupMenu.h"
#include "skin/controls/SkinnedStatusBar.h"

#include <QAbstractButton>
#include <QAction>
#include <QListView>
#include <QListWidget>
#include <QMenu>

namespace vocafetch {

void TForm1::describeControls()
{
    FileDRF->setAccessibleName(tr("Контейнеры"));
    FileDRF->setAccessibleDescription(
        tr("Открытые файлы. Выбранный файл загружается, и его записи появляются в списке "
           "записей."));
    AMRFiles->setAccessibleName(tr("Записи"));
    AMRFiles->setAccessibleDescription(
        tr("Записи загруженного контейнера. Контекстное меню сохраняет и проигрывает "
           "выбранную запись."));
    suiButton4->setAccessibleDescription(tr("Открывает файлы с записями."));
    suiButton1->setAccessibleDescription(tr("Считывает контейнеры из подключённого телефона."));
    suiButton2->setAccessibleDescription(tr("Сохраняет выбранную запись в файл."));
    suiButton3->setAccessibleDescription(tr("Сохраняет все записи контейнера в файлы."));
    // The status line is named by the text it shows, which is announced when it changes.
    StatusBar1->setAccessibleDescription(tr("Строка состояния"));
    if (TsuiFormMenuBar *bar = suiForm1->MenuBar())
        bar->setAccessibleName(tr("Главное меню"));
    N1->setAccessibleName(N1->title());
    N4->setAccessibleName(N4->title());
    suiPopupMenu1->setAccessibleName(tr("Действия с записями"));
    describeTitleBar();
}

void TForm1::describeTitleBar()
{
    TsuiTitleBar *bar = suiForm1->TitleBar();
    bar->setButtonAccessibleText(TsuiTitleBarBtnType::suiControlBox, tr("Меню окна"),
                                 tr("Открывает меню окна: свернуть, закрыть."));
    bar->setButtonAccessibleText(TsuiTitleBarBtnType::suiClose, tr("Закрыть"),
                                 tr("Закрывает окно и завершает программу."));
    bar->setButtonAccessibleText(TsuiTitleBarBtnType::suiMin, tr("Свернуть"),
                                 tr("Сворачивает окно."));
    bar->setButtonAccessibleText(TsuiTitleBarBtnType::suiMax, tr("Развернуть"),
                                 tr("Разворачивает окно или восстанавливает его размер."));
    TsuiTitleBarPopupMenu *menu = bar->windowMenu();
    menu->minimizeItem()->setText(tr("С&вернуть"));
    menu->maximizeItem()->setText(tr("Р&азвернуть/Восстановить"));
    menu->closeItem()->setText(tr("&Закрыть"));
}

} // namespace vocafetch
