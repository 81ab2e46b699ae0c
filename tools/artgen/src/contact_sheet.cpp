// One sheet with every picture and its name, to judge the set as a whole.

#include "art.h"

#include <QFontDatabase>

#include <cmath>

namespace art {

namespace {

constexpr int kSheetWidth = 2400;
constexpr int kMargin = 24;
constexpr int kThumb = 300; // pictures larger than this are shown shrunk
constexpr int kLabel = 22;

// Checkerboard under the pictures so their transparency shows.
void checker(QPainter& p, const QRect& r)
{
    p.save();
    p.setClipRect(r);
    for (int y = r.top(); y < r.bottom(); y += 8)
        for (int x = r.left(); x < r.right(); x += 8)
            p.fillRect(x, y, 8, 8,
                       ((x - r.left()) / 8 + (y - r.top()) / 8) % 2 ? QColor(70, 74, 80) : QColor(94, 98, 104));
    p.restore();
}

const QImage* find(const Sink& sink, const QString& name)
{
    for (const auto& e : sink.entries())
        if (e.name == name)
            return &e.image;
    return nullptr;
}

// The game's channel permutations for its seven button colours.
QImage recolour(const QImage& src, int variant)
{
    QImage img = src.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < img.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(img.scanLine(y));
        for (int x = 0; x < img.width(); ++x) {
            const int r = qRed(line[x]), g = qGreen(line[x]), b = qBlue(line[x]), a = qAlpha(line[x]);
            int nr = r, ng = g, nb = b;
            switch (variant) {
            case 1:
                nr = g;
                ng = r;
                break; // green
            case 2:
                nr = b;
                ng = r;
                nb = r;
                break; // blue
            case 3:
                nr = b;
                nb = r;
                break;             // navy
            case 4: ng = r; break; // yellow
            case 5: nb = r; break; // violet
            case 6:                // orange
                if (r > g && r > b) {
                    nb = int(std::lround(0.7 * b));
                    ng = nb + int(std::lround(0.4 * (r - nb)));
                }
                break;
            default: break;
            }
            line[x] = qRgba(nr, ng, nb, a);
        }
    }
    return img;
}

// Buttons put together from their three pieces as the game does, in every
// colour variant, so seams and recolouring can be judged.
int drawAssembledButtons(QPainter& p, const Sink& sink, int top)
{
    int y = top;
    for (const char* set : {"B29", "B44", "B59"}) {
        for (const char* lit : {"", "L"}) {
            const QImage* l = find(sink, QString(set) + "_Left" + lit);
            const QImage* b = find(sink, QString(set) + "_Telo" + lit);
            const QImage* r = find(sink, QString(set) + "_Right" + lit);
            if (!l || !b || !r)
                return top;
            const int w = 300, h = l->height();
            for (int v = 0; v < 7; ++v) {
                const int x = kMargin + v * (w + 16);
                p.drawImage(QRect(x, y, l->width(), h), recolour(*l, v));
                p.drawImage(QRect(x + l->width(), y, w - 2 * l->width(), h), recolour(*b, v));
                p.drawImage(QRect(x + w - r->width(), y, r->width(), h), recolour(*r, v));
            }
            y += h + 8;
        }
    }
    return y + 16;
}

} // namespace

QImage contactSheet(const Sink& sink)
{
    QFont labelFont = QFontDatabase::systemFont(QFontDatabase::GeneralFont);
    labelFont.setPixelSize(14);

    struct Placed {
        const Sink::Entry* entry;
        QRect box;
    };
    std::vector<Placed> placed;
    const int buttonsTop = kMargin + 50;
    const int buttonsHeight = 2 * (29 + 44 + 59) + 6 * 8 + 16;
    int x = kMargin, y = buttonsTop + buttonsHeight, rowHeight = 0;
    for (const auto& e : sink.entries()) {
        if (e.isFlag)
            continue;
        QSize s = e.image.size();
        if (s.width() > kThumb || s.height() > kThumb)
            s.scale(kThumb, kThumb, Qt::KeepAspectRatio);
        const int cellW = std::max(s.width(), 136);
        if (x + cellW > kSheetWidth - kMargin) {
            x = kMargin;
            y += rowHeight + kLabel + 16;
            rowHeight = 0;
        }
        placed.push_back({&e, QRect(QPoint(x, y), s)});
        x += cellW + 16;
        rowHeight = std::max(rowHeight, s.height());
    }
    y += rowHeight + kLabel + 40;

    // Flags: one row per list, drawn at twice their size.
    std::vector<std::pair<QString, std::vector<const Sink::Entry*>>> lists;
    for (const auto& e : sink.entries()) {
        if (!e.isFlag)
            continue;
        const QString list = e.name.section('_', 0, 0);
        if (lists.empty() || lists.back().first != list)
            lists.push_back({list, {}});
        lists.back().second.push_back(&e);
    }
    const int flagStep = 34, perRow = (kSheetWidth - 2 * kMargin - 90) / flagStep;
    const int flagsTop = y;
    for (const auto& l : lists)
        y += ((int(l.second.size()) + perRow - 1) / perRow) * flagStep + 10;

    QImage sheet(kSheetWidth, y + kMargin, QImage::Format_RGB32);
    sheet.fill(QColor(40, 42, 46));
    QPainter p(&sheet);
    prepare(p);
    QFont head = labelFont;
    head.setPixelSize(26);
    head.setBold(true);
    p.setFont(head);
    p.setPen(QColor(230, 230, 230));
    p.drawText(kMargin, kMargin + 26,
               QString("Vokabron pictures (%1 files; larger ones shown shrunk)").arg(sink.entries().size()));
    p.setFont(labelFont);
    drawAssembledButtons(p, sink, buttonsTop);
    for (const auto& pl : placed) {
        checker(p, pl.box);
        p.drawImage(pl.box, pl.entry->image);
        const QSize n = pl.entry->image.size();
        p.setPen(QColor(220, 220, 220));
        p.drawText(QRect(pl.box.left(), pl.box.bottom() + 3, std::max(pl.box.width(), 136) + 10, kLabel),
                   Qt::AlignLeft | Qt::AlignTop,
                   QString("%1 %2x%3").arg(pl.entry->name).arg(n.width()).arg(n.height()));
    }
    y = flagsTop;
    for (const auto& l : lists) {
        p.setPen(QColor(220, 220, 220));
        p.drawText(QRect(kMargin, y, 90, 24), Qt::AlignLeft | Qt::AlignVCenter, l.first);
        for (size_t i = 0; i < l.second.size(); ++i) {
            const QRect r(kMargin + 90 + int(i % perRow) * flagStep, y + int(i / perRow) * flagStep, 28, 24);
            checker(p, r);
            p.drawImage(r, l.second[i]->image);
        }
        y += ((int(l.second.size()) + perRow - 1) / perRow) * flagStep + 10;
    }
    return sheet;
}

} // namespace art
