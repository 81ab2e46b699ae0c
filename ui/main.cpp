// Program entry: the application, the main window, the message loop.
#include <QApplication>
#include <QIcon>
#include <QTimer>

#include "ui/game/main_window.h"
#include "ui/game/screen_scaling.h"
#include "common/club_paths.h"
#include "ui/game/single_instance.h"
#include "ui/kit/resource_store.h"

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
    QObject::connect(&instance, &vk::SingleInstance::raiseRequested, &form, [&form] { vk::BringProgramToFront(form); });
    // VOKABRON_SERVER_URL names another club for this run than the one built
    // in (a club on the local network, the club of an end-to-end test): the
    // configuration (and through it the account, board and statistics
    // addresses), the news and the members' photos are all there.
    const std::string club = qEnvironmentVariable("VOKABRON_SERVER_URL").toStdString();
    if (club.starts_with("http://") || club.starts_with("https://")) {
        form.Addresses().ConfigAddress = vk::StoredClubAddress(club, vk::ClubConfig);
        form.Addresses().NewsPageAddress = vk::StoredClubAddress(club, vk::ClubNews);
        form.Addresses().PhotoFolderPath = vk::StoredClubAddress(club, vk::ClubPhotoFolder);
        form.Addresses().PhotoUploadPath = vk::StoredClubAddress(club, vk::ClubPhotoUpload);
    }
    // For the package test: VOKABRON_STOP_AT_MENU set starts without the
    // intro and ends as soon as the menu is up, with 0 when it was reached.
    const bool stopAtMenu = qEnvironmentVariableIsSet("VOKABRON_STOP_AT_MENU");
    if (stopAtMenu)
        form.ShowMenuWithoutIntro();
    form.show();
    if (stopAtMenu)
        QTimer::singleShot(0, &form, [&form] { QCoreApplication::exit(form.State().MenuActive ? 0 : 1); });
    return app.exec();
}
