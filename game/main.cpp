// Program entry: the application, the main window, the message loop.
#include <QApplication>

#include "game/main_window.h"

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("vokabron"));
    vk::TForm1 form;
    form.show();
    return app.exec();
}
