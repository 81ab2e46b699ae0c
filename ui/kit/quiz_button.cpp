#include "ui/kit/quiz_button.h"

#include <QApplication>
#include <QEnterEvent>
#include <QKeyEvent>
#include <QHash>
#include <QMouseEvent>
#include <QPainter>

#include "logic/looks/contrast.h"
#include "ui/kit/accessibility.h"
#include "ui/kit/colour.h"
#include "ui/kit/dressing.h"
#include "ui/kit/focus_ring.h"
#include "ui/kit/resource_store.h"

namespace vk {
namespace {

struct FacePictures {
    QImage part[3]; // indexed by FacePart; a null image is a picture that could not be had
};

FacePictureLoader& Loader()
{
    static FacePictureLoader loader;
    return loader;
}

QHash<quint32, FacePictures>& FaceCache()
{
    static QHash<quint32, FacePictures> cache;
    return cache;
}

QImage LoadFacePart(const QString& name, TColorSB variant, unsigned char lightening)
{
    // A picture that cannot be had costs the face that part, not the
    // program; the store tells about the name once.  The store reports its
    // own misses, a test's loader does not.
    const auto bytes = Loader() ? Loader()(name) : ResourceBytes(ResourceKind::Raw, name);
    if (!bytes) {
        if (Loader())
            ReportMissingResource(name);
        return {};
    }
    // Straight alpha: the channels are rewritten as stored, before any
    // premultiplication could round them.
    QImage picture = QImage::fromData(*bytes).convertToFormat(QImage::Format_RGBA8888);
    if (picture.isNull()) {
        ReportMissingResource(name);
        return {};
    }
    for (int y = 0; y < picture.height(); ++y)
        RecolourRgba(picture.scanLine(y), static_cast<std::size_t>(picture.width()), variant, lightening);
    return picture.convertToFormat(QImage::Format_ARGB32_Premultiplied);
}

// The decoded, recoloured pictures depend only on these four values, so
// every button with the same ones shares them.
const FacePictures& Faces(FaceSet set, bool lit, TColorSB variant, unsigned char lightening)
{
    const quint32 key = static_cast<quint32>(set) | (lit ? 1u << 2 : 0u) | (static_cast<quint32>(variant) << 3)
                        | (static_cast<quint32>(lightening) << 8);
    auto& cache = FaceCache();
    auto it = cache.find(key);
    if (it == cache.end()) {
        FacePictures faces;
        for (FacePart part : {FacePart::Left, FacePart::Right, FacePart::Body})
            faces.part[static_cast<int>(part)] =
                LoadFacePart(QString::fromStdString(FacePictureName(set, part, lit)), variant, lightening);
        it = cache.insert(key, faces);
    }
    return *it;
}

QRect ToQRect(const FaceRect& r) { return QRect(r.left, r.top, r.Width(), r.Height()); }

FaceRect ToFaceRect(const QRect& r) { return {r.left(), r.top(), r.left() + r.width(), r.top() + r.height()}; }

// A face part stretched to a size.  The parts are shared and a window shows
// the same few sizes at every paint (32 letter keys alike), so each
// stretch is made once.
const QImage& Stretched(const QImage& picture, QSize size)
{
    static QHash<QPair<qint64, quint64>, QImage> cache;
    const QPair<qint64, quint64> key(picture.cacheKey(),
                                     (static_cast<quint64>(size.width()) << 32) | static_cast<quint32>(size.height()));
    auto it = cache.constFind(key);
    if (it == cache.constEnd()) {
        // Parts replaced by a new loader leave their stretches unused; a
        // bound keeps that from growing for good.
        if (cache.size() > 512)
            cache.clear();
        it = cache.insert(key, picture.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
    }
    return *it;
}

void StretchDraw(QPainter& painter, const FaceRect& target, const QImage& picture)
{
    if (picture.isNull() || target.Width() <= 0 || target.Height() <= 0)
        return;
    const QRect to = ToQRect(target);
    if (picture.size() == to.size())
        painter.drawImage(to.topLeft(), picture);
    else
        painter.drawImage(to.topLeft(), Stretched(picture, to.size()));
}

// How far the font's letters really reach above and below the baseline, in
// pixels: measured on the glyphs, the accents of "Й" and "Ё" and the tails of
// "у" and "щ" included.  Our display font declares an ascent no taller
// than its capitals, so a caption centred by the declared figures sits high,
// under the gloss.
struct FontExtent {
    int ascent = 0;
    int descent = 0;
};

FontExtent LetterExtent(const QFont& font)
{
    static QHash<QString, FontExtent> known;
    const QString key = font.key();
    if (auto it = known.constFind(key); it != known.constEnd())
        return *it;
    static const QString letters = QStringLiteral("АБВГДЕЁЖЗИЙКЛМНОПРСТУФХЦЧШЩЪЫЬЭЮЯабвгдеёжзийклмнопрстуфхцчшщъыьэюя"
                                                  "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789");
    const QFontMetrics metrics(font);
    const QRect ink = metrics.tightBoundingRect(letters);
    FontExtent extent{metrics.ascent(), metrics.descent()};
    if (!ink.isEmpty())
        extent = {-ink.top(), ink.bottom() + 1};
    return *known.insert(key, extent);
}

} // namespace

TTevQuizButton::TTevQuizButton(QWidget* parent) : QPushButton(parent)
{
    // Not opaque: the face has transparent corners, and Qt paints what lies
    // under the button (the parent and any lower sibling) before the face is
    // composed over it.  The backing store gives the double buffering.
    resize(100, 30);
    // A screen reader learns the caption and the state from our interface.
    InstallAccessibility();
    focusTracking_ =
        connect(qApp, &QApplication::focusChanged, this, [this](QWidget*, QWidget* now) { FocusChanged(now); });
}

// The base destructor may still move the focus; by then this is no longer a
// button to be told about it.
TTevQuizButton::~TTevQuizButton() { disconnect(focusTracking_); }

void TTevQuizButton::SetColorSB(TColorSB value)
{
    if (value == FColorSB)
        return;
    FColorSB = value;
    update();
}

void TTevQuizButton::SetHeightSB(THeightSB value)
{
    if (value == FHeightSB)
        return;
    FHeightSB = value;
    resize(width(), StandardHeight(value));
    update();
}

void TTevQuizButton::SetKLightSB(unsigned char value)
{
    if (value == FKLightSB)
        return;
    FKLightSB = value;
    update();
}

void TTevQuizButton::SetFontColor(unsigned int value)
{
    FFontColor = value;
    update();
}

void TTevQuizButton::SetGlyph(const QPixmap& glyph)
{
    FGlyph = glyph;
    glyphImage_ = glyph.toImage().convertToFormat(QImage::Format_ARGB32);
    if (!glyphImage_.isNull()) {
        const QRgb key = glyphImage_.pixel(0, glyphImage_.height() - 1) & RGB_MASK;
        for (int y = 0; y < glyphImage_.height(); ++y) {
            auto* line = reinterpret_cast<QRgb*>(glyphImage_.scanLine(y));
            for (int x = 0; x < glyphImage_.width(); ++x)
                if ((line[x] & RGB_MASK) == key)
                    line[x] = 0;
        }
    }
    update();
}

void TTevQuizButton::SetLayout(TButtonLayout value)
{
    FLayout = value;
    update();
}

void TTevQuizButton::SetMargin(int value)
{
    FMargin = value;
    update();
}

unsigned short TTevQuizButton::StateBits() const
{
    unsigned short bits = 0;
    if (isDown())
        bits |= kStateSelected;
    if (!isEnabled())
        bits |= kStateDisabled;
    if (hasFocus())
        bits |= kStateFocus;
    return bits;
}

void TTevQuizButton::SetFacePictureLoader(FacePictureLoader loader)
{
    Loader() = std::move(loader);
    FaceCache().clear();
}

void TTevQuizButton::paintEvent(QPaintEvent*)
{
    const int w = width();
    const int h = height();
    const unsigned short bits = StateBits();
    const bool selected = bits & kStateSelected;

    FaceState state;
    state.lightRect = FLightRect;
    state.lightFont = FLightFont;
    state.grayDis = FGrayDis;
    state.kontur = FKontur;
    state.isFocused = FIsFocused;
    state.mouseInPos = FMouseInPos;
    state.stateBits = bits;
    state.fontColour = FFontColor;
    state.colorMouse = FColorMouse;
    const FaceLook look = ChooseLook(state);
    const FaceGeometry geometry = ComputeFaceGeometry(w, h);

    // The face is composed off screen and placed whole, so that the pressed
    // look moves everything by one pixel at once.
    QImage face(w, h, QImage::Format_ARGB32_Premultiplied);
    face.fill(Qt::transparent);
    {
        QPainter p(&face);
        const FacePictures& pictures = Faces(geometry.set, look.lit, FColorSB, FKLightSB);
        StretchDraw(p, geometry.left, pictures.part[static_cast<int>(FacePart::Left)]);
        StretchDraw(p, geometry.right, pictures.part[static_cast<int>(FacePart::Right)]);
        StretchDraw(p, geometry.body, pictures.part[static_cast<int>(FacePart::Body)]);
        if (!glyphImage_.isNull())
            if (const auto at =
                    GlyphPositionFor(FLayout, w, h, glyphImage_.width(), glyphImage_.height(), geometry.glyphInset))
                p.drawImage(at->x, at->y, glyphImage_);
    }

    QPainter painter(this);
    painter.drawImage(selected ? QPoint(1, 1) : QPoint(0, 0), face);

    QRect item(0, 0, w, h);
    if (selected)
        item.translate(1, 1);

    const FaceRect caption =
        CaptionRect(ToFaceRect(item), FLayout, FMargin, h, glyphImage_.width(), geometry.capAfterInset);
    // A caption too wide for the pill is narrowed rather than run onto its
    // rounded ends; measured unpressed, so that pressing never changes it.
    const int room =
        CaptionRoom(CaptionRect(FaceRect{0, 0, w, h}, FLayout, FMargin, h, glyphImage_.width(), geometry.capAfterInset),
                    w, geometry.capAfterInset);
    // Vertically the caption is centred by the letters' real extent; the
    // text is then written from its baseline (Qt puts an AlignTop line's
    // baseline one ascent below the top).
    const FontExtent extent = LetterExtent(font());
    const int baseline = CaptionBaseline(caption, extent.ascent, extent.descent);
    const QFontMetrics metrics(font());
    const QRect line(caption.left, baseline - metrics.ascent(), caption.Width(), metrics.height());
    const int flags = int(Qt::TextSingleLine) | int(Qt::TextShowMnemonic) | int(Qt::AlignTop)
                      | int(FMargin == -1 ? Qt::AlignHCenter : Qt::AlignLeft);
    painter.setFont(font());
    NarrowFontToFit(QString(text()).remove(QLatin1Char('&')), room, painter);
    // The glossy faces run from deep to pale under the caption: a light
    // caption gets a one-pixel dark halo round its letters, which keeps it
    // readable on the gloss.  A dark caption reads on every face as it is.
    const QColor captionColour = ToQColor(look.captionColour);
    const Rgb ink{static_cast<std::uint8_t>(captionColour.red()), static_cast<std::uint8_t>(captionColour.green()),
                  static_cast<std::uint8_t>(captionColour.blue())};
    const Rgb halo = HaloFor(ink);
    if (RelativeLuminance(halo) < RelativeLuminance(ink)) {
        painter.setPen(QColor(halo.r, halo.g, halo.b));
        for (int dy = -1; dy <= 1; ++dy)
            for (int dx = -1; dx <= 1; ++dx)
                if (dx != 0 || dy != 0)
                    painter.drawText(line.translated(dx, dy), flags, text());
    }
    painter.setPen(captionColour);
    painter.drawText(line, flags, text());

    if (FOnDrawButton) {
        painter.save();
        FCanvas = &painter;
        FOnDrawButton(this, item, bits);
        FCanvas = nullptr;
        painter.restore();
    }

    if (look.contour) {
        // A one-pixel outline in the classic style: aliased, the box's right
        // and bottom edges exclusive.
        const FaceRect box = ContourRect(w, h, geometry.capAfterInset, selected);
        painter.setRenderHint(QPainter::Antialiasing, false);
        painter.setPen(QPen(ToQColor(ContourColour(FColorSB)), 0));
        painter.setBrush(Qt::NoBrush);
        painter.drawRoundedRect(QRect(box.left, box.top, box.Width() - 1, box.Height() - 1), 3.5, 3.5);
    }

    // The thin contour is hard to see on some faces: a player who moves
    // with the keyboard gets a ring that shows on any of them.
    if (hasFocus() && window()->testAttribute(Qt::WA_KeyboardFocusChange))
        DrawFocusRing(painter, rect());
}

void TTevQuizButton::enterEvent(QEnterEvent* event)
{
    QPushButton::enterEvent(event);
    FMouseInPos = true;
    repaint();
}

void TTevQuizButton::leaveEvent(QEvent* event)
{
    QPushButton::leaveEvent(event);
    FMouseInPos = false;
    repaint();
}

// The second press of a double click is a press of its own, so two quick
// clicks give two clicks.
void TTevQuizButton::mouseDoubleClickEvent(QMouseEvent* event) { mousePressEvent(event); }

void TTevQuizButton::keyPressEvent(QKeyEvent* event)
{
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (enter && !autoDefault() && !isDefault() && (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier) {
        click();
        return;
    }
    QPushButton::keyPressEvent(event);
}

void TTevQuizButton::FocusChanged(QWidget* now)
{
    if (!now || now->window() != window())
        return;
    // Another button taking the focus makes it the active one; any other
    // control hands the part back to the window's default button.
    SetActiveStyle(qobject_cast<QPushButton*>(now) ? now == this : isDefault());
}

void TTevQuizButton::SetActiveStyle(bool active)
{
    if (active == FIsFocused)
        return;
    FIsFocused = active;
    repaint();
}

TTevQuizButton* NewWindowButton(QWidget* window, TColorSB variant, unsigned int captionColour, const char* name)
{
    auto* b = new TTevQuizButton(window);
    b->setObjectName(QLatin1String(name));
    b->SetColorSB(variant);
    b->SetFontColor(captionColour);
    b->SetColorMouse(0x00FFFF);
    b->hide();
    return b;
}

} // namespace vk
