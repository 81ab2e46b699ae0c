// Program entry: the application, the main window, the message loop.
#include <QApplication>
#include <QIcon>

#include "game/main_window.h"
#include "game/screen_scaling.h"
#include "game/single_instance.h"
#include "presentation/resource_store.h"

int main(int argc, char* argv[])
{
    vk::DisableAutomaticScaling();
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("vokabron"));
    QGuiApplication::setDesktopFileName(QStringLiteral("org.vokabron.Vokabron"));

    vk::SingleInstance instance(QCoreApplication::applicationDirPath());
    if (instance.AnotherIsRunning())
        return 0;

    if (const auto icon = vk::ResourcePath(vk::ResourceKind::Raw, QStringLiteral("Logo")))
        QApplication::setWindowIcon(QIcon(*icon));

    vk::TForm1 form;
    QObject::connect(&instance, &vk::SingleInstance::raiseRequested, &form,
                     [&form] { vk::BringProgramToFront(form); });
    form.show();
    return app.exec();
}
