#pragma once
// The one push button of the program: a glossy pill painted from the button
// pictures in one of seven colour variants.
#include <QByteArray>
#include <QColor>
#include <QImage>
#include <QPixmap>
#include <QPushButton>
#include <functional>
#include <optional>

#include "logic/looks/button_face.h"

class QPainter;

namespace vk {

class TTevQuizButton;

// Called at the end of each paint, after the caption and before the focus
// contour.  Rect is the item rectangle (shifted by one pixel while pressed);
// State holds kStateSelected, kStateDisabled and kStateFocus.  The handler
// draws through Control->Canvas().
using TDrawButtonEvent = std::function<void(TTevQuizButton* Control, QRect& Rect, unsigned short State)>;

// Where the face pictures come from: the resource store, unless a test
// supplies pictures of its own.
using FacePictureLoader = std::function<std::optional<QByteArray>(const QString& name)>;

class TTevQuizButton : public QPushButton {
    Q_OBJECT
public:
    explicit TTevQuizButton(QWidget* parent = nullptr);
    ~TTevQuizButton() override;

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

    const TDrawButtonEvent& OnDrawButton() const { return FOnDrawButton; }
    void SetOnDrawButton(TDrawButtonEvent handler) { FOnDrawButton = std::move(handler); }

    // The glyph's bottom-left pixel gives its transparent colour.
    const QPixmap& Glyph() const { return FGlyph; }
    void SetGlyph(const QPixmap& glyph);
    TButtonLayout Layout() const { return FLayout; }
    void SetLayout(TButtonLayout value);
    // -1 centres the caption; any other value puts it left of centre, past
    // the glyph.
    int Margin() const { return FMargin; }
    void SetMargin(int value);

    // The active button of its window: it has the keyboard focus, or it is
    // the window's default button while no other button has it.
    bool IsFocused() const { return FIsFocused; }
    bool MouseInPos() const { return FMouseInPos; }
    // The painter of the paint in progress (for OnDrawButton); null otherwise.
    QPainter* Canvas() const { return FCanvas; }

    // The owner-draw state bits the next paint will use.
    unsigned short StateBits() const;

    // Replaces the source of the face pictures (an empty loader restores the
    // resource store) and forgets the decoded faces.
    static void SetFacePictureLoader(FacePictureLoader loader);

protected:
    void paintEvent(QPaintEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    // Outside a dialog Return and Enter press the button that has the
    // focus, as Space does.
    void keyPressEvent(QKeyEvent* event) override;

private:
    void FocusChanged(QWidget* now);
    void SetActiveStyle(bool active);

    QPainter* FCanvas = nullptr;
    bool FIsFocused = false;
    TDrawButtonEvent FOnDrawButton;
    unsigned int FColorMouse = 0;
    bool FLightFont = false;
    bool FLightRect = false;
    TColorSB FColorSB = DRed;
    unsigned char FKLightSB = 0;
    THeightSB FHeightSB = D30;
    bool FGrayDis = false;
    bool FMouseInPos = false;
    bool FKontur = true;
    unsigned int FFontColor = 0;

    QPixmap FGlyph;
    QImage glyphImage_; // FGlyph with its transparent colour keyed out
    TButtonLayout FLayout = blGlyphLeft;
    int FMargin = -1;
    QMetaObject::Connection focusTracking_;
};

// A button of the main window, hidden until it is placed: `captionColour`
// on the variant's face, yellow under the mouse, `name` its object name.
TTevQuizButton* NewWindowButton(QWidget* window, TColorSB variant, unsigned int captionColour, const char* name);

} // namespace vk
