#pragma once
// The photo's crop window ("Выберите часть фото"): the picture the player
// picked, scaled to fit, with a frame of the club photo's proportions that
// the mouse drags and the wheel resizes, or the arrow keys move and + and -
// resize.  Opened by the member card window; what lies in the frame becomes
// the photo.  Also the reading of the picked file and the cutting of the
// photo out of it.
#include <QImage>
#include <QRect>
#include <QString>
#include <optional>
#include <string>

#include "common/messages.h"
#include "logic/looks/photo_crop.h"
#include "ui/kit/dialog_base.h"

namespace vk {

class TTevQuizButton;
class PhotoCropView;

// A picked picture file read for cutting a photo from it: turned as its
// camera meant it (EXIF orientation), decoded at no more than a working
// size; or the text that says why it cannot be used.
struct PhotoSourceRead {
    QImage Picture;
    QString Problem;     // empty when Picture is good
    bool Turned = false; // its orientation was not the file's own
};
PhotoSourceRead ReadPhotoSource(const QString& path);

// The club photo cut from Rect of Picture: scaled smoothly to the photo's
// size, transparent parts on white, encoded as JPEG at the highest quality
// that keeps it within the club's size; nothing when that fails.
std::optional<std::string> CutPhoto(const QImage& picture, const QRect& rect);

class TFPhotoCrop : public LocalDialog {
    Q_OBJECT
public:
    TFPhotoCrop(Settings& prefs, const QImage& background, const QImage& picture, QWidget* parent = nullptr);

    // The frame as it stands, in pixels of the picture.
    QRect FrameRect() const;

private:
    PhotoCropView* cropView = nullptr; // ImageCrop
    QLabel* hintLabel = nullptr;       // LabelHint
    TTevQuizButton* ButtonDone = nullptr;
    TTevQuizButton* ButtonCancel = nullptr;
};

} // namespace vk
