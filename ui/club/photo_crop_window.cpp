#include "ui/club/photo_crop_window.h"

#include <QBuffer>
#include <QFileInfo>
#include <QImageReader>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>
#include <algorithm>

#include "common/rounding.h"
#include "logic/club/account_fields.h"
#include "ui/club/club_window_parts.h"
#include "ui/kit/focus_ring.h"
#include "ui/kit/quiz_button.h"
#include "ui/kit/text_codec.h"
#include "ui/localdata/apply_fonts.h"

namespace vk {

namespace {

// The longest side a picked picture is decoded at: far more than a 200 x 250
// photo needs, however small the frame, and a 50-megapixel photo then takes
// a few megabytes rather than two hundred.
constexpr int kWorkingSide = 2400;
// Screen pixels an arrow key moves the frame (with Shift: one).
constexpr int kKeyStep = 10;

FrameAspect PhotoAspect() { return ReducedAspect(PhotoWidth, PhotoHeight); }

QString Unreadable() { return UiText(Msg::PhotoUnreadable); }

} // namespace

PhotoSourceRead ReadPhotoSource(const QString& path)
{
    const QFileInfo info(path);
    if (!info.isFile())
        return {{}, Unreadable()};
    QImageReader reader(path);
    reader.setDecideFormatFromContent(true);
    reader.setAutoTransform(true);
    const QByteArray format = reader.format();
    const QSize stored = reader.size();
    // Asked before the reading, which answers it no more.
    const bool turned = reader.transformation() != QImageIOHandler::TransformationNone;
    if ((format != "jpeg" && format != "png") || !stored.isValid())
        return {{}, Unreadable()};
    switch (CheckPhotoSource(info.size(), stored.width(), stored.height())) {
    case PhotoSource::TooLarge:
        return {{},
                UiText(Msg::PhotoTooLarge).arg(PhotoSourcePixelCap / 1'000'000).arg(PhotoSourceByteCap / (1 << 20))};
    case PhotoSource::TooSmall:
        return {{}, UiText(Msg::PhotoTooSmall).arg(PhotoAspect().Width).arg(PhotoAspect().Height)};
    case PhotoSource::Fits: break;
    }
    const int longest = std::max(stored.width(), stored.height());
    if (longest > kWorkingSide) {
        const double s = static_cast<double>(kWorkingSide) / longest;
        reader.setScaledSize(
            QSize(std::max(1, RoundInt(stored.width() * s)), std::max(1, RoundInt(stored.height() * s))));
    }
    QImage picture = reader.read();
    if (picture.isNull())
        return {{}, Unreadable()};
    if (MostFrameUnits(picture.width(), picture.height(), PhotoAspect()) == 0)
        return {{}, UiText(Msg::PhotoTooSmall).arg(PhotoAspect().Width).arg(PhotoAspect().Height)};
    return {picture, {}, turned};
}

std::optional<std::string> CutPhoto(const QImage& picture, const QRect& rect)
{
    const QRect part = rect.intersected(picture.rect());
    if (part.isEmpty())
        return std::nullopt;
    QImage photo(PhotoWidth, PhotoHeight, QImage::Format_RGB32);
    photo.fill(Qt::white);
    {
        QPainter p(&photo);
        p.drawImage(
            0, 0, picture.copy(part).scaled(PhotoWidth, PhotoHeight, Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
    }
    const auto encode = [&photo](int quality) {
        QByteArray bytes;
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        if (!photo.save(&buffer, "JPG", quality))
            return std::string();
        return bytes.toStdString();
    };
    auto bytes = FirstFitting(encode, PhotoFileCap, PhotoQualityHighest, PhotoQualityStep, PhotoQualityLowest);
    if (!bytes || !ClubPhotoAcceptable(*bytes))
        return std::nullopt;
    return bytes;
}

// The picture with its frame: drawn scaled to fit, the outside of the frame
// dimmed.
class PhotoCropView : public QWidget {
public:
    PhotoCropView(const QImage& picture, const QRect& box, QWidget* parent) : QWidget(parent), picture_(picture)
    {
        setGeometry(box);
        setFocusPolicy(Qt::StrongFocus);
        setCursor(Qt::OpenHandCursor);
        scale_ = FitScale(picture.width(), picture.height(), box.width(), box.height());
        const QSize shown(std::max(1, RoundInt(picture.width() * scale_)),
                          std::max(1, RoundInt(picture.height() * scale_)));
        shown_ = picture.scaled(shown, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        origin_ = QPoint((box.width() - shown.width()) / 2, (box.height() - shown.height()) / 2);
        frame_ = LargestCentredFrame(picture.width(), picture.height(), PhotoAspect());
        Describe();
    }

    QRect Frame() const
    {
        return QRect(frame_.X, frame_.Y, FrameWidth(frame_, PhotoAspect()), FrameHeight(frame_, PhotoAspect()));
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter p(this);
        p.fillRect(rect(), Qt::black);
        p.drawImage(origin_, shown_);
        const QRect f = OnScreen();
        const QRect shown(origin_, shown_.size());
        const QColor dim(0, 0, 0, 150);
        p.fillRect(QRect(shown.left(), shown.top(), shown.width(), f.top() - shown.top()), dim);
        p.fillRect(QRect(shown.left(), f.bottom() + 1, shown.width(), shown.bottom() - f.bottom()), dim);
        p.fillRect(QRect(shown.left(), f.top(), f.left() - shown.left(), f.height()), dim);
        p.fillRect(QRect(f.right() + 1, f.top(), shown.right() - f.right(), f.height()), dim);
        p.setBrush(Qt::NoBrush);
        p.setPen(QPen(Qt::black, 3));
        p.drawRect(f.adjusted(0, 0, -1, -1));
        p.setPen(QPen(QColor(255, 255, 0), 1));
        p.drawRect(f.adjusted(0, 0, -1, -1));
        if (hasFocus())
            DrawFocusRing(p, rect());
    }

    void mousePressEvent(QMouseEvent* event) override
    {
        if (event->button() != Qt::LeftButton)
            return QWidget::mousePressEvent(event);
        dragging_ = true;
        pressAt_ = event->position().toPoint();
        pressFrame_ = frame_;
        setCursor(Qt::ClosedHandCursor);
    }

    void mouseMoveEvent(QMouseEvent* event) override
    {
        if (!dragging_ || scale_ <= 0)
            return;
        const QPoint d = event->position().toPoint() - pressAt_;
        SetFrame(MovedFrame(pressFrame_, RoundInt(d.x() / scale_), RoundInt(d.y() / scale_), picture_.width(),
                            picture_.height(), PhotoAspect()));
    }

    void mouseReleaseEvent(QMouseEvent* event) override
    {
        if (event->button() != Qt::LeftButton)
            return QWidget::mouseReleaseEvent(event);
        dragging_ = false;
        setCursor(Qt::OpenHandCursor);
    }

    void wheelEvent(QWheelEvent* event) override
    {
        wheel_ += event->angleDelta().y();
        const int steps = wheel_ / 120;
        wheel_ %= 120;
        if (steps != 0)
            Resize(steps);
        event->accept();
    }

    void keyPressEvent(QKeyEvent* event) override
    {
        const int screen = event->modifiers() & Qt::ShiftModifier ? 1 : kKeyStep;
        const int step = scale_ > 0 ? std::max(1, RoundInt(screen / scale_)) : 1;
        switch (event->key()) {
        case Qt::Key_Left: return Move(-step, 0);
        case Qt::Key_Right: return Move(step, 0);
        case Qt::Key_Up: return Move(0, -step);
        case Qt::Key_Down: return Move(0, step);
        case Qt::Key_Plus:
        case Qt::Key_Equal: return Resize(1);
        case Qt::Key_Minus:
        case Qt::Key_Underscore: return Resize(-1);
        default: QWidget::keyPressEvent(event);
        }
    }

private:
    QRect OnScreen() const
    {
        const QRect f = Frame();
        const int left = origin_.x() + RoundInt(f.left() * scale_);
        const int top = origin_.y() + RoundInt(f.top() * scale_);
        return QRect(QPoint(left, top), QPoint(origin_.x() + RoundInt((f.right() + 1) * scale_) - 1,
                                               origin_.y() + RoundInt((f.bottom() + 1) * scale_) - 1));
    }
    void Move(int dx, int dy)
    {
        SetFrame(MovedFrame(frame_, dx, dy, picture_.width(), picture_.height(), PhotoAspect()));
    }
    void Resize(int steps)
    {
        SetFrame(ResizedFrame(frame_, steps, picture_.width(), picture_.height(), PhotoAspect()));
    }
    void SetFrame(const CropFrame& frame)
    {
        if (frame == frame_)
            return;
        frame_ = frame;
        Describe();
        update();
    }
    // What a screen reader says of the frame as it stands.
    void Describe()
    {
        const QRect f = Frame();
        setAccessibleDescription(UiText(Msg::A11yCropFrame)
                                     .arg(f.width())
                                     .arg(f.height())
                                     .arg(f.x())
                                     .arg(f.y())
                                     .arg(picture_.width())
                                     .arg(picture_.height()));
    }

    QImage picture_;
    QImage shown_;
    QPoint origin_;
    double scale_ = 0;
    CropFrame frame_;
    bool dragging_ = false;
    QPoint pressAt_;
    CropFrame pressFrame_;
    int wheel_ = 0;
};

TFPhotoCrop::TFPhotoCrop(Settings& prefs, const QImage& background, const QImage& picture, QWidget* parent)
    : LocalDialog(prefs, background, QSize(440, 545), parent)
{
    setObjectName(QStringLiteral("FPhotoCrop"));
    setWindowTitle(UiText(Msg::CropTitle));
    cropView = new PhotoCropView(picture, QRect(10, 10, 420, 420), this);
    cropView->setObjectName(QStringLiteral("ImageCrop"));
    cropView->setAccessibleName(UiText(Msg::CropTitle));

    hintLabel = MakeNoteLabel(this, "LabelHint", QRect(10, 435, 420, 50), 11, UiText(Msg::CropHint));

    ButtonDone = MakeSharedButton(this, "ButtonDone", UiText(Msg::CropDone), QRect(10, 490, 205, 45));
    ButtonCancel = MakeSharedButton(this, "ButtonCancel", UiText(Msg::Cancel), QRect(225, 490, 205, 45));
    for (TTevQuizButton* b : {ButtonDone, ButtonCancel}) {
        b->setFont(MakeFont("Comic Sans MS", 16, true));
        b->setAccessibleName(b->text());
    }
    // Return takes the frame wherever the focus is; Escape gives up.
    ButtonDone->setDefault(true);
    connect(ButtonDone, &QPushButton::clicked, this, [this] {
        ClickSound();
        accept();
    });
    connect(ButtonCancel, &QPushButton::clicked, this, [this] {
        ClickSound();
        reject();
    });
    setTabOrder(cropView, ButtonDone);
    setTabOrder(ButtonDone, ButtonCancel);
    cropView->setFocus();
}

QRect TFPhotoCrop::FrameRect() const { return cropView->Frame(); }

} // namespace vk
