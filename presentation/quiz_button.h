#pragma once
// The one push button of the program: a glossy pill painted from the button
// pictures in one of seven colour variants.
#include <QColor>
#include <QPushButton>

namespace vk {

enum TColorSB : unsigned char { DRed, DGreen, DBlue, DNavy, DYellow, DViolet, DOrang };
enum THeightSB : unsigned char { D30, D45, D60 };

class TTevQuizButton : public QPushButton {
    Q_OBJECT
public:
    explicit TTevQuizButton(QWidget* parent = nullptr);

    TColorSB ColorSB() const { return FColorSB; }
    void SetColorSB(TColorSB value);
    unsigned int ColorMouse() const { return FColorMouse; } // 0x00BBGGRR
    void SetColorMouse(unsigned int value) { FColorMouse = value; }
    bool LightFont() const { return FLightFont; }
    void SetLightFont(bool value) { FLightFont = value; }
    bool LightRect() const { return FLightRect; }
    void SetLightRect(bool value) { FLightRect = value; }
    bool GrayDis() const { return FGrayDis; }
    void SetGrayDis(bool value) { FGrayDis = value; }
    THeightSB HeightSB() const { return FHeightSB; }
    void SetHeightSB(THeightSB value);
    unsigned char KLightSB() const { return FKLightSB; }
    void SetKLightSB(unsigned char value);
    bool Kontur() const { return FKontur; }
    void SetKontur(bool value) { FKontur = value; }
    // Caption colour, 0x00BBGGRR.
    unsigned int FontColor() const { return FFontColor; }
    void SetFontColor(unsigned int value);

private:
    unsigned int FColorMouse = 0;
    bool FLightFont = false;
    bool FLightRect = false;
    TColorSB FColorSB = DRed;
    unsigned char FKLightSB = 0;
    THeightSB FHeightSB = D30;
    bool FGrayDis = false;
    bool FKontur = true;
    unsigned int FFontColor = 0;
};

} // namespace vk
