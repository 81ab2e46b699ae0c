// Program entry: the application, the main window, the message loop.
#include <QApplication>
#include <QIcon>
#include <QTimer>

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
    // For the package test: VOKABRON_STOP_AT_MENU set starts without the
    // intro and ends as soon as the menu is up, with 0 when it was reached.
    const bool stopAtMenu = qEnvironmentVariableIsSet("VOKABRON_STOP_AT_MENU");
    if (stopAtMenu)
        form.ShowMenuWithoutIntro();
    form.show();
    if (stopAtMenu)
        QTimer::singleShot(0, &form, [&form] { QCoreApplication::exit(form.Game.MenuActive ? 0 : 1); });
    return app.exec();
}
