#include "gifwriter.h"

#include <QFile>

#include <gif_lib.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <stdexcept>

namespace {

constexpr int kTransparentIndex = 255;
constexpr int kPaletteColours = 255; // index 255 stays free for transparency
constexpr int kBinBits = 5;          // histogram precision per channel
constexpr int kBins = 1 << (3 * kBinBits);
constexpr int kLutBits = 6; // nearest-colour table precision per channel

struct Rgb {
    int r = 0, g = 0, b = 0;
};

int dist2(const Rgb &a, const Rgb &b)
{
    // Weighted towards green as the eye is; keeps skin of gold gradients smooth.
    const int dr = a.r - b.r, dg = a.g - b.g, db = a.b - b.b;
    return 3 * dr * dr + 4 * dg * dg + 2 * db * db;
}

// One flattened frame: colour per pixel and whether the pixel is see-through.
struct Flat {
    std::vector<Rgb> rgb;
    std::vector<uint8_t> clear;
};

Flat flatten(const QImage &src, const GifOptions &opt)
{
    const QImage img = src.convertToFormat(QImage::Format_ARGB32);
    Flat f;
    f.rgb.resize(size_t(img.width()) * img.height());
    f.clear.assign(f.rgb.size(), 0);
    const Rgb m{opt.matte.red(), opt.matte.green(), opt.matte.blue()};
    for (int y = 0; y < img.height(); ++y) {
        const QRgb *line = reinterpret_cast<const QRgb *>(img.constScanLine(y));
        for (int x = 0; x < img.width(); ++x) {
            const QRgb p = line[x];
            const int a = qAlpha(p);
            const size_t i = size_t(y) * img.width() + x;
            if (opt.transparent && a < 128) {
                f.clear[i] = 1;
                continue;
            }
            auto over = [a](int c, int bg) { return (c * a + bg * (255 - a) + 127) / 255; };
            f.rgb[i] = {over(qRed(p), m.r), over(qGreen(p), m.g), over(qBlue(p), m.b)};
        }
    }
    return f;
}

int binOf(const Rgb &c)
{
    constexpr int s = 8 - kBinBits;
    return ((c.r >> s) << (2 * kBinBits)) | ((c.g >> s) << kBinBits) | (c.b >> s);
}

struct Bin {
    double r = 0, g = 0, b = 0; // mean colour
    double n = 0;               // population
};

// Median cut over the histogram, then a few Lloyd passes to settle the colours.
std::vector<Rgb> buildPalette(const std::vector<Flat> &frames, bool reserveBlack)
{
    std::vector<Bin> hist(kBins);
    for (const Flat &f : frames)
        for (size_t i = 0; i < f.rgb.size(); ++i) {
            if (f.clear[i])
                continue;
            Bin &b = hist[binOf(f.rgb[i])];
            b.r += f.rgb[i].r;
            b.g += f.rgb[i].g;
            b.b += f.rgb[i].b;
            b.n += 1;
        }
    std::vector<Bin> bins;
    for (Bin &b : hist)
        if (b.n > 0) {
            b.r /= b.n;
            b.g /= b.n;
            b.b /= b.n;
            bins.push_back(b);
        }

    const int wanted = kPaletteColours - (reserveBlack ? 1 : 0);
    std::vector<std::vector<Bin>> boxes{bins};
    auto channel = [](const Bin &b, int c) { return c == 0 ? b.r : c == 1 ? b.g : b.b; };
    while (int(boxes.size()) < wanted) {
        // Split the box with the largest spread weighted by its population.
        int best = -1, bestAxis = 0;
        double bestScore = 0;
        for (size_t i = 0; i < boxes.size(); ++i) {
            if (boxes[i].size() < 2)
                continue;
            double n = 0;
            std::array<double, 3> lo{1e9, 1e9, 1e9}, hi{-1e9, -1e9, -1e9};
            for (const Bin &b : boxes[i]) {
                n += b.n;
                for (int c = 0; c < 3; ++c) {
                    lo[c] = std::min(lo[c], channel(b, c));
                    hi[c] = std::max(hi[c], channel(b, c));
                }
            }
            for (int c = 0; c < 3; ++c) {
                const double score = (hi[c] - lo[c]) * std::sqrt(n);
                if (score > bestScore) {
                    bestScore = score;
                    best = int(i);
                    bestAxis = c;
                }
            }
        }
        if (best < 0)
            break;
        std::vector<Bin> &box = boxes[best];
        std::sort(box.begin(), box.end(),
                  [&](const Bin &a, const Bin &b) { return channel(a, bestAxis) < channel(b, bestAxis); });
        double total = 0;
        for (const Bin &b : box)
            total += b.n;
        double acc = 0;
        size_t cut = 1;
        for (; cut < box.size() - 1; ++cut) {
            acc += box[cut - 1].n;
            if (acc >= total / 2)
                break;
        }
        std::vector<Bin> upper(box.begin() + cut, box.end());
        box.resize(cut);
        boxes.push_back(std::move(upper));
    }

    std::vector<std::array<double, 3>> centres;
    for (const auto &box : boxes) {
        double n = 0, r = 0, g = 0, b = 0;
        for (const Bin &x : box) {
            n += x.n;
            r += x.r * x.n;
            g += x.g * x.n;
            b += x.b * x.n;
        }
        if (n > 0)
            centres.push_back({r / n, g / n, b / n});
    }
    for (int pass = 0; pass < 6 && !centres.empty(); ++pass) {
        std::vector<std::array<double, 4>> sum(centres.size(), {0, 0, 0, 0});
        for (const Bin &x : bins) {
            size_t best = 0;
            double bestD = 1e18;
            for (size_t k = 0; k < centres.size(); ++k) {
                const double dr = x.r - centres[k][0], dg = x.g - centres[k][1], db = x.b - centres[k][2];
                const double d = 3 * dr * dr + 4 * dg * dg + 2 * db * db;
                if (d < bestD) {
                    bestD = d;
                    best = k;
                }
            }
            sum[best][0] += x.r * x.n;
            sum[best][1] += x.g * x.n;
            sum[best][2] += x.b * x.n;
            sum[best][3] += x.n;
        }
        for (size_t k = 0; k < centres.size(); ++k)
            if (sum[k][3] > 0)
                centres[k] = {sum[k][0] / sum[k][3], sum[k][1] / sum[k][3], sum[k][2] / sum[k][3]};
    }

    std::vector<Rgb> palette;
    if (reserveBlack)
        palette.push_back({0, 0, 0});
    for (const auto &c : centres)
        palette.push_back({int(std::lround(c[0])), int(std::lround(c[1])), int(std::lround(c[2]))});
    return palette;
}

class Mapper {
public:
    explicit Mapper(const std::vector<Rgb> &palette) : m_palette(palette), m_lut(1 << (3 * kLutBits), -1) {}

    int nearest(const Rgb &c)
    {
        constexpr int s = 8 - kLutBits;
        const int key = ((c.r >> s) << (2 * kLutBits)) | ((c.g >> s) << kLutBits) | (c.b >> s);
        int &slot = m_lut[key];
        if (slot < 0) {
            const int half = 1 << (s - 1);
            slot = exact({(c.r >> s << s) + half, (c.g >> s << s) + half, (c.b >> s << s) + half});
        }
        return slot;
    }

    int exact(const Rgb &c) const
    {
        int best = 0, bestD = INT32_MAX;
        for (size_t k = 0; k < m_palette.size(); ++k) {
            const int d = dist2(c, m_palette[k]);
            if (d < bestD) {
                bestD = d;
                best = int(k);
            }
        }
        return best;
    }

private:
    const std::vector<Rgb> &m_palette;
    std::vector<int> m_lut;
};

// Ordered dithering keeps still areas identical from frame to frame, which
// error diffusion does not; that is what lets unchanged pixels be skipped.
std::vector<uint8_t> mapFrame(const Flat &f, int w, const std::vector<Rgb> &palette, Mapper &map)
{
    static const int bayer[8][8] = {{0, 32, 8, 40, 2, 34, 10, 42},  {48, 16, 56, 24, 50, 18, 58, 26},
                                    {12, 44, 4, 36, 14, 46, 6, 38}, {60, 28, 52, 20, 62, 30, 54, 22},
                                    {3, 35, 11, 43, 1, 33, 9, 41},  {51, 19, 59, 27, 49, 17, 57, 25},
                                    {15, 47, 7, 39, 13, 45, 5, 37}, {63, 31, 55, 23, 61, 29, 53, 21}};
    constexpr double spread = 14.0;
    std::vector<uint8_t> out(f.rgb.size());
    for (size_t i = 0; i < f.rgb.size(); ++i) {
        if (f.clear[i]) {
            out[i] = kTransparentIndex;
            continue;
        }
        const Rgb c = f.rgb[i];
        const int plain = map.exact(c);
        if (dist2(c, palette[plain]) <= 9) { // the colour itself is in the palette
            out[i] = uint8_t(plain);
            continue;
        }
        const int x = int(i % w), y = int(i / w);
        const int d = int(std::lround((bayer[y & 7][x & 7] + 0.5) / 64.0 * spread - spread / 2));
        auto clamp = [](int v) { return std::clamp(v, 0, 255); };
        out[i] = uint8_t(map.nearest({clamp(c.r + d), clamp(c.g + d), clamp(c.b + d)}));
    }
    return out;
}

[[noreturn]] void fail(const QString &path, int code)
{
    throw std::runtime_error(
        QStringLiteral("cannot write %1: %2").arg(path, QString::fromLatin1(GifErrorString(code))).toStdString());
}

} // namespace

void writeGif(const QString &path, const std::vector<QImage> &frames, const GifOptions &opt)
{
    if (frames.empty() || opt.delayMs % 10 != 0)
        throw std::runtime_error("bad animation parameters for " + path.toStdString());
    const int w = frames.front().width(), h = frames.front().height();

    std::vector<Flat> flat;
    for (const QImage &img : frames)
        flat.push_back(flatten(img, opt));
    const std::vector<Rgb> palette = buildPalette(flat, !opt.transparent);
    Mapper map(palette);

    std::vector<GifColorType> colours(256, GifColorType{0, 0, 0});
    for (size_t k = 0; k < palette.size(); ++k)
        colours[k] = {GifByteType(palette[k].r), GifByteType(palette[k].g), GifByteType(palette[k].b)};

    int err = 0;
    GifFileType *gif = EGifOpenFileName(path.toLocal8Bit().constData(), false, &err);
    if (!gif)
        fail(path, err);
    auto check = [&](int rc) {
        if (rc != GIF_OK) {
            const int code = gif->Error;
            EGifCloseFile(gif, &err);
            fail(path, code);
        }
    };
    EGifSetGifVersion(gif, true);
    ColorMapObject *cmap = GifMakeMapObject(256, colours.data());
    const int screenRc = EGifPutScreenDesc(gif, w, h, 8, 0, cmap);
    GifFreeMapObject(cmap);
    check(screenRc);

    // NETSCAPE2.0 application block: loop forever.
    const GifByteType loop[3] = {1, 0, 0};
    check(EGifPutExtensionLeader(gif, APPLICATION_EXT_FUNC_CODE));
    check(EGifPutExtensionBlock(gif, 11, "NETSCAPE2.0"));
    check(EGifPutExtensionBlock(gif, 3, loop));
    check(EGifPutExtensionTrailer(gif));

    std::vector<uint8_t> previous;
    for (size_t n = 0; n < flat.size(); ++n) {
        std::vector<uint8_t> idx = mapFrame(flat[n], w, palette, map);
        int x0 = 0, y0 = 0, x1 = w - 1, y1 = h - 1;
        std::vector<uint8_t> rect;
        GraphicsControlBlock gcb;
        gcb.DelayTime = opt.delayMs / 10;
        gcb.UserInputFlag = false;
        gcb.TransparentColor = kTransparentIndex;
        if (opt.transparent || previous.empty()) {
            // See-through frames are drawn whole and cleared after their turn.
            gcb.DisposalMode = opt.transparent ? DISPOSE_BACKGROUND : DISPOSE_DO_NOT;
            rect = idx;
        } else {
            // Opaque frames only carry the box of pixels that changed; pixels
            // inside it that did not change are left see-through.
            gcb.DisposalMode = DISPOSE_DO_NOT;
            x0 = w, y0 = h, x1 = -1, y1 = -1;
            for (int y = 0; y < h; ++y)
                for (int x = 0; x < w; ++x)
                    if (idx[size_t(y) * w + x] != previous[size_t(y) * w + x]) {
                        x0 = std::min(x0, x);
                        x1 = std::max(x1, x);
                        y0 = std::min(y0, y);
                        y1 = std::max(y1, y);
                    }
            if (x1 < 0)
                x0 = y0 = x1 = y1 = 0; // nothing changed: one see-through pixel
            for (int y = y0; y <= y1; ++y)
                for (int x = x0; x <= x1; ++x) {
                    const size_t i = size_t(y) * w + x;
                    rect.push_back(idx[i] == previous[i] ? uint8_t(kTransparentIndex) : idx[i]);
                }
        }
        GifByteType ext[4];
        const size_t len = EGifGCBToExtension(&gcb, ext);
        check(EGifPutExtension(gif, GRAPHICS_EXT_FUNC_CODE, int(len), ext));
        const int rw = x1 - x0 + 1, rh = y1 - y0 + 1;
        check(EGifPutImageDesc(gif, x0, y0, rw, rh, false, nullptr));
        for (int y = 0; y < rh; ++y)
            check(EGifPutLine(gif, rect.data() + size_t(y) * rw, rw));
        previous = std::move(idx);
    }
    if (EGifCloseFile(gif, &err) != GIF_OK)
        fail(path, err);
    // giflib creates the file readable by its owner only.
    QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::ReadOther);
}
