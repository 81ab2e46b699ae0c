// Window title banners, decorative stripes and the game's title pictures.

#include "art.h"

#include <QRadialGradient>

namespace art {

namespace {

// A ribbon plate with a gold rim and the window's title in gold lettering.
// The window icons are drawn over both ends, so the lettering keeps to the
// middle part.
QImage banner(int W, const QString& title)
{
    const int H = 60;
    QImage img = blank(W, H);
    QPainter p(&img);
    prepare(p);
    const QRectF plate(3, 5, W - 6, H - 12);
    {
        QImage sh = blank(W, H);
        QPainter sp(&sh);
        prepare(sp);
        sp.setPen(Qt::NoPen);
        sp.setBrush(QColor(0, 0, 0, 150));
        sp.drawRoundedRect(plate.translated(2, 3), 20, 20);
        sp.end();
        blur(sh, 2);
        p.drawImage(0, 0, sh);
    }
    glassPlate(p, plate, 22, 245);
    goldBand(p, plate, 22, 4.5);
    // Small gold diamonds where the lettering ends.
    for (qreal x : {plate.left() + 64.0, plate.right() - 64.0}) {
        QPainterPath d;
        d.moveTo(x, H / 2.0 - 6);
        d.lineTo(x + 5, H / 2.0);
        d.lineTo(x, H / 2.0 + 6);
        d.lineTo(x - 5, H / 2.0);
        d.closeSubpath();
        p.setPen(QPen(kOutline, 1));
        p.setBrush(goldGradient(H / 2.0 - 6, H / 2.0 + 6));
        p.drawPath(d);
    }
    const QRectF textBox(plate.left() + 74, 8, plate.width() - 148, H - 16);
    goldLettering(p, fittedText(title, displayFont(34), textBox), 2.0);
    return img;
}

// A gold divider: a line that tapers to both ends, with a jewel in the middle.
QImage stripe(int W, int H)
{
    return supersampled(W, H, 2, [&](QPainter& p) {
        const qreal cy = H / 2.0;
        const qreal half = W / 2.0 - 4;
        const qreal cx = W / 2.0;
        const qreal thick = std::max(2.0, H / 10.0);
        auto taper = [&](qreal dir) {
            QPainterPath path;
            path.moveTo(cx, cy - thick);
            path.cubicTo(cx + dir * half * 0.5, cy - thick, cx + dir * half * 0.8, cy - thick * 0.3, cx + dir * half,
                         cy);
            path.cubicTo(cx + dir * half * 0.8, cy + thick * 0.3, cx + dir * half * 0.5, cy + thick, cx, cy + thick);
            path.closeSubpath();
            return path;
        };
        p.setPen(QPen(kOutline, 1.2));
        p.setBrush(goldGradient(cy - thick, cy + thick));
        p.drawPath(taper(1).united(taper(-1)));
        // Curls either side of the jewel.
        const qreal s = H * 0.32;
        p.setBrush(Qt::NoBrush);
        for (int dir : {-1, 1}) {
            QPainterPath curl;
            curl.moveTo(cx + dir * s * 0.9, cy);
            curl.cubicTo(cx + dir * s * 1.6, cy - s * 1.2, cx + dir * s * 3.0, cy - s * 0.9, cx + dir * s * 2.6,
                         cy - s * 0.1);
            curl.moveTo(cx + dir * s * 0.9, cy);
            curl.cubicTo(cx + dir * s * 1.6, cy + s * 1.2, cx + dir * s * 3.0, cy + s * 0.9, cx + dir * s * 2.6,
                         cy + s * 0.1);
            p.setPen(QPen(kOutline, std::max(2.6, H / 11.0), Qt::SolidLine, Qt::RoundCap));
            p.drawPath(curl);
            p.setPen(QPen(kGold, std::max(1.4, H / 20.0), Qt::SolidLine, Qt::RoundCap));
            p.drawPath(curl);
        }
        // Jewel.
        QRadialGradient jewel(QPointF(cx - s * 0.25, cy - s * 0.3), s);
        jewel.setColorAt(0.0, QColor(220, 255, 255));
        jewel.setColorAt(0.4, QColor(40, 190, 200));
        jewel.setColorAt(1.0, QColor(6, 70, 90));
        p.setPen(QPen(kGold, std::max(1.5, H / 18.0)));
        p.setBrush(jewel);
        p.drawEllipse(QPointF(cx, cy), s * 0.8, s * 0.8);
        // Dots at the ends.
        p.setPen(QPen(kOutline, 1));
        p.setBrush(kGold);
        for (int dir : {-1, 1})
            p.drawEllipse(QPointF(cx + dir * half * 0.62, cy), thick * 0.9, thick * 0.9);
    });
}

QImage caption()
{
    const int W = 800, H = 200;
    QImage img = blank(W, H);
    QPainter p(&img);
    prepare(p);
    // A soft teal aura so the title reads on dark and on busy backgrounds.
    QImage aura = blank(W, H);
    {
        QPainter ap(&aura);
        prepare(ap);
        ap.setPen(Qt::NoPen);
        ap.setBrush(QColor(60, 200, 220, 90));
        ap.drawRoundedRect(QRectF(70, 40, W - 140, H - 80), 60, 60);
    }
    blur(aura, 14);
    p.drawImage(0, 0, aura);
    const QPainterPath text =
        fittedText(QString::fromUtf8("Вокаброн"), displayFont(150), QRectF(30, 20, W - 60, H - 50));
    goldLettering(p, text, 5.0);
    // Sparkles on the lettering, lit from the top-left.
    for (QPointF c : {QPointF(118, 58), QPointF(472, 48), QPointF(690, 70)}) {
        glow(p, c, 16, QColor(255, 255, 240, 200));
        p.setPen(QPen(QColor(255, 255, 250, 230), 1.6, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(c - QPointF(12, 0), c + QPointF(12, 0));
        p.drawLine(c - QPointF(0, 12), c + QPointF(0, 12));
    }
    return img;
}

// The subtitle under the title on the intro screen (drawn on black).
QImage subtitle()
{
    const int W = 600, H = 160;
    QImage img = blank(W, H);
    QPainter p(&img);
    prepare(p);
    const QRectF ribbon(20, 34, W - 40, 92);
    const QRectF plate = ribbon.adjusted(40, 0, -40, -8);
    // Swallow-tailed ends tucked behind the plate.
    for (int dir : {-1, 1}) {
        const qreal x = dir < 0 ? plate.left() + 16 : plate.right() - 16;
        const qreal reach = 16 + 40;
        QPainterPath tail;
        tail.moveTo(x, ribbon.top() + 14);
        tail.lineTo(x + dir * reach, ribbon.top() + 14);
        tail.lineTo(x + dir * (reach - 16), ribbon.center().y() + 7);
        tail.lineTo(x + dir * reach, ribbon.bottom());
        tail.lineTo(x, ribbon.bottom());
        tail.closeSubpath();
        QLinearGradient tg(0, ribbon.top(), 0, ribbon.bottom());
        tg.setColorAt(0.0, QColor(30, 110, 130));
        tg.setColorAt(1.0, QColor(6, 40, 60));
        p.setPen(QPen(kGold, 2.5));
        p.setBrush(tg);
        p.drawPath(tail);
    }
    glassPlate(p, plate, 30, 250);
    goldBand(p, plate, 30, 6);
    goldLettering(p, fittedText(QString::fromUtf8("Телевикторина"), displayFont(62), plate.adjusted(40, 10, -40, -10)),
                  2.5);
    for (qreal x : {plate.left() + 24.0, plate.right() - 24.0}) {
        p.setPen(QPen(kOutline, 1.2));
        p.setBrush(goldGradient(plate.center().y() - 9, plate.center().y() + 9));
        p.drawPath(starPath(QPointF(x, plate.center().y()), 10, 4.2));
    }
    return img;
}

// The maker's emblem: a quasar, a bright core with a swirl of gold.
QImage logo()
{
    const int S = 64;
    return supersampled(S, S, 4, [&](QPainter& p) {
        const QPointF c(S / 2.0, S / 2.0);
        QRadialGradient g(c - QPointF(8, 8), 34);
        g.setColorAt(0.0, QColor(40, 120, 160));
        g.setColorAt(1.0, QColor(6, 18, 46));
        p.setPen(QPen(kOutline, 1));
        p.setBrush(g);
        p.drawEllipse(c, 30, 30);
        p.setPen(QPen(QBrush(goldGradient(2, 62)), 3.5));
        p.setBrush(Qt::NoBrush);
        p.drawEllipse(c, 28.5, 28.5);
        for (int arm = 0; arm < 3; ++arm) {
            QPainterPath swirl;
            p.save();
            p.translate(c);
            p.rotate(arm * 120);
            swirl.moveTo(0, 0);
            swirl.cubicTo(10, -2, 18, 6, 16, 16);
            swirl.cubicTo(14, 8, 8, 4, 0, 3);
            swirl.closeSubpath();
            p.setPen(Qt::NoPen);
            p.setBrush(goldGradient(-4, 18));
            p.drawPath(swirl);
            p.restore();
        }
        glow(p, c, 14, QColor(255, 255, 230, 255));
        p.setPen(QPen(QColor(255, 255, 240, 220), 1.2, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(c - QPointF(12, 0), c + QPointF(12, 0));
        p.drawLine(c - QPointF(0, 12), c + QPointF(0, 12));
    });
}

} // namespace

void drawTitles(Sink& sink)
{
    struct Banner {
        const char* name;
        int width;
        const char* title;
    };
    static const Banner banners[] = {
        {"G_Begin", 400, "Добро пожаловать!"}, {"G_Options", 400, "Опции"},
        {"G_TopTen", 400, "Чемпионы"},         {"G_End", 400, "Окончание игры"},
        {"G_Info", 400, "Информация"},         {"G_OurGames", 400, "Наши игры"},
        {"G_Club", 500, "Клуб «КВАЗАРИУМ»"},   {"G_Passport", 400, "Паспорт"},
        {"G_WT", 400, "Чемпионы мира"},        {"G_Chat", 400, "Чат"},
        {"G_WS", 400, "Статистика"},
    };
    for (const Banner& b : banners)
        sink.png(b.name, banner(b.width, QString::fromUtf8(b.title)));
    sink.png("G_Zav1", stripe(300, 40));
    sink.png("G_Zav2", stripe(310, 30));
    sink.png("G_Zav3", stripe(320, 40));
    sink.png("G_Zav4", stripe(700, 40));
    sink.png("Caption", caption());
    sink.png("GTitle", subtitle());
    sink.png("Logo", logo());
}

} // namespace art
