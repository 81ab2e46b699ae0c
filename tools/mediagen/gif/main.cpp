// Renders the game's GIF animations.
//
// usage: gifgen FONT.ttf OUT_DIR [--preview DIR] [NAME...]
// With names, only those animations are written. --preview also writes a
// strip of sample frames per animation, for looking at them.
#include "animations.h"
#include "gifwriter.h"

#include <QDir>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include <cstdio>
#include <exception>

namespace {

QImage renderFrame(const Animation &a, int n)
{
    QImage img(a.width, a.height, QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::transparent);
    QPainter p(&img);
    p.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing | QPainter::SmoothPixmapTransform);
    a.paint(p, n);
    return img;
}

void writePreview(const QString &dir, const Animation &a, const std::vector<QImage> &frames)
{
    constexpr int columns = 8;
    const int shown = std::min<int>(int(frames.size()), 24);
    const int rows = (shown + columns - 1) / columns;
    QImage sheet((a.width + 4) * columns, (a.height + 4) * rows, QImage::Format_RGB32);
    sheet.fill(QColor(14, 58, 74)); // a window background tone
    QPainter p(&sheet);
    for (int k = 0; k < shown; ++k) {
        const int n = int(std::lround(double(k) * (frames.size() - 1) / std::max(1, shown - 1)));
        p.drawImage((k % columns) * (a.width + 4) + 2, (k / columns) * (a.height + 4) + 2, frames[size_t(n)]);
    }
    p.end();
    sheet.save(dir + "/" + a.name + "_preview.png");
}

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() < 3) {
        std::fprintf(stderr, "usage: gifgen FONT.ttf OUT_DIR [--preview DIR] [NAME...]\n");
        return 2;
    }
    if (QFontDatabase::addApplicationFont(args[1]) < 0) {
        std::fprintf(stderr, "cannot load font %s\n", qPrintable(args[1]));
        return 1;
    }
    const QString outDir = args[2];
    QString previewDir;
    QStringList only;
    for (int i = 3; i < args.size(); ++i) {
        if (args[i] == "--preview" && i + 1 < args.size())
            previewDir = args[++i];
        else
            only << args[i];
    }
    QDir().mkpath(outDir);

    std::vector<Animation> all = introAnimations();
    for (Animation &a : windowAnimations())
        all.push_back(std::move(a));
    try {
        for (const Animation &a : all) {
            if (!only.isEmpty() && !only.contains(a.name))
                continue;
            std::vector<QImage> frames;
            for (int n = 0; n < a.frames; ++n)
                frames.push_back(renderFrame(a, n));
            GifOptions opt;
            opt.delayMs = a.delayMs;
            opt.transparent = a.transparent;
            if (a.transparent)
                opt.matte = QColor(16, 52, 70);
            writeGif(outDir + "/" + a.name + ".gif", frames, opt);
            if (!previewDir.isEmpty())
                writePreview(previewDir, a, frames);
            std::printf("%s.gif: %dx%d, %d frames, %d ms\n", qPrintable(a.name), a.width, a.height, a.frames,
                        a.delayMs);
        }
    } catch (const std::exception &e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
    return 0;
}
