// The game's GIF animations: size, frame count, frame time and a painter
// for frame n (0-based). Looping animations are drawn so that the frame after
// the last is frame 0 again.
#pragma once

#include <QPainter>
#include <QString>

#include <functional>
#include <vector>

struct Animation {
    QString name;
    int width;
    int height;
    int frames;
    int delayMs;
    bool transparent; // false: drawn on black (the intro screen)
    std::function<void(QPainter &, int frame)> paint;
};

std::vector<Animation> introAnimations();
std::vector<Animation> windowAnimations();
