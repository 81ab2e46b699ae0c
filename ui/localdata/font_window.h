#pragma once
// TFormFont ("Шрифты"): shows the product name in the program's own font at
// start-up, so that a player whose system cannot show it can switch to the
// substitute font, and stop the window from appearing again.
#include <QDialog>

#include "logic/localdata/settings.h"

class QCheckBox;
class QLabel;

namespace vk {

class TTevQuizButton;

class TFormFont : public QDialog {
    Q_OBJECT
public:
    TFormFont(Settings& prefs, QWidget* parent = nullptr);

    // Clears NoOwnFont (the own font is tried again at every showing), sets
    // the texts and unticks both boxes.
    void Prepare();
    int ShowModal();

    QLabel* Label1 = nullptr;
    QLabel* Label2 = nullptr;
    QCheckBox* CheckBox1 = nullptr; // NoOwnFont
    QCheckBox* CheckBox2 = nullptr; // NoFontWindow
    TTevQuizButton* Button1 = nullptr;

private:
    Settings& prefs_;
};

} // namespace vk
