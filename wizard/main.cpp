#include "images/icon.xpm"
#include "projbridge.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    QApplication application(argc, argv);
    application.setWindowIcon(QPixmap(icon_xpm));
    Projbridge wizard;
    wizard.show();
    return application.exec();
}
