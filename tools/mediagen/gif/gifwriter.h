// Writes a list of RGBA frames as a looping GIF89a animation.
#pragma once

#include <QColor>
#include <QImage>
#include <QString>
#include <vector>

struct GifOptions {
    int delayMs = 100; // the same for every frame; must be a multiple of 10
    // Transparent animations lie on the game's window backgrounds: pixels under
    // half cover become the transparent index, the rest are blended over the
    // matte (a dark teal close to those backgrounds, so edge fringes vanish).
    bool transparent = false;
    QColor matte = QColor(0, 0, 0);
};

// Throws std::runtime_error when the file cannot be written.
void writeGif(const QString &path, const std::vector<QImage> &frames, const GifOptions &opt);
