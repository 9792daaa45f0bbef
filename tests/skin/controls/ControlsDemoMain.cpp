// Shows the demonstration form of the skinned lists and scroll bars.

#include "ControlsDemoForm.h"

#include <QApplication>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    ControlsDemoForm form;
    form.show();
    return app.exec();
}
