#pragma once
// TFormAdv: four advertisements from the club's configuration page, each a
// large button with its picture and name that opens the advertised page.
// Made with the application and reused; every showing loads anew, in the
// background while the window is up.
#include <QImage>
#include <array>
#include <functional>
#include <string>

#include "ui/kit/request_runner.h"
#include "ui/kit/dialog_base.h"

namespace vk {

class PictureBox;
class TTevQuizButton;
class WindowBusy;

class TFormAdv : public LocalDialog {
    Q_OBJECT
public:
    TFormAdv(Settings& prefs, const QImage& background, QWidget* parent = nullptr);

    // The stored address of the configuration page that lists the
    // advertisements.
    void SetConfigAddress(const std::string& address) { configAddress_ = address; }
    // Draws a number from 0 to n - 1; tests fix the choice.
    std::function<int(int n)> Draw;

    // Shows the window modally and loads the advertisements.
    int ShowModal();
    void LoadAdvertisements();
    bool Loading() const { return load_.Running(); }
    void SetFonts(const std::string& displayFontName);

protected:
    void showEvent(QShowEvent* event) override;
    void done(int result) override;

private:
    std::array<std::string, 4> Links; // the advertisements' addresses, in button order
    std::string configAddress_;
    // The controls.  Each keeps the window's own name for it as its object
    // name, so tests and screen readers find it by that name.
    PictureBox* ImageTitle = nullptr;
    TTevQuizButton* ButtonReload = nullptr;
    std::array<TTevQuizButton*, 4> ButtonAdv{};
    TTevQuizButton* okButton = nullptr; // Button1, "Ok"

    // Every button with the plain "BGAdv" picture, `caption`, disabled.
    void ShowEmpty(const QString& caption);
    void AdvClick(int i);

    WindowBusy* busy_ = nullptr;
    RequestHandle load_;
};

// A downloaded advertisement picture, checked before it is decoded: a PNG
// of at most 4096 x 4096.  A null picture for anything else.
QImage DecodeAdvertisementPicture(const std::string& bytes);

} // namespace vk
