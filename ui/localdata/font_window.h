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

private:
    // The controls.  Each keeps the window's own name for it as its object
    // name, so tests and screen readers find it by that name.
    QLabel* productLabel = nullptr;       // Label1
    QLabel* hintLabel = nullptr;          // Label2
    QCheckBox* noOwnFontBox = nullptr;    // CheckBox1, NoOwnFont
    QCheckBox* noFontWindowBox = nullptr; // CheckBox2, NoFontWindow
    TTevQuizButton* okButton = nullptr;   // Button1

    Settings& prefs_;
};

} // namespace vk
