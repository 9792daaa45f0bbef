// Shows the demonstration form of the skinned lists and scroll bars.

#include "ControlsDemoForm.h"

#include <QApplication>
#include <QScreen>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    ControlsDemoForm form;
    if (const QScreen *screen = QGuiApplication::primaryScreen()) {
        QRect placed(QPoint(0, 0), form.size());
        placed.moveCenter(screen->availableGeometry().center());
        form.move(placed.topLeft());
    }
    form.show();
    return app.exec();
}
