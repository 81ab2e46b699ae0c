// The country flags of the six continent lists, 14 x 12 each: image k of a
// list is the flag of row k of that continent's country table, image 0 the
// neutral flag shown for "Unknown".

#include "art.h"

#include <QFile>
#include <QSvgRenderer>

#include <stdexcept>

namespace art {

namespace {

struct Country {
    const char* name; // English name of the row, for the reader
    const char* iso;  // flag file; "" = unknown, "yu" = Serbia and Montenegro (drawn here)
};

struct FlagList {
    const char* name;
    std::vector<Country> rows;
};

const std::vector<FlagList>& flagLists()
{
    // clang-format off
    static const std::vector<FlagList> lists = {
        {"ILEuro",
         {{"Unknown", ""}, {"Russia", "ru"}, {"Albania", "al"}, {"Andorra", "ad"}, {"Austria", "at"},
          {"Belarus", "by"}, {"Belgium", "be"}, {"Bosnia & Herzegovina", "ba"}, {"Bulgaria", "bg"},
          {"Croatia", "hr"}, {"Czech Republic", "cz"}, {"Denmark", "dk"}, {"Estonia", "ee"},
          {"Faroe Islands", "fo"}, {"Finland", "fi"}, {"France", "fr"}, {"Germany", "de"},
          {"Gibraltar", "gi"}, {"Greece", "gr"}, {"Guernsey", "gg"}, {"Hungary", "hu"}, {"Iceland", "is"},
          {"Ireland", "ie"}, {"Isle of Man", "im"}, {"Italy", "it"}, {"Jersey", "je"}, {"Latvia", "lv"},
          {"Liechtenstein", "li"}, {"Lithuania", "lt"}, {"Luxembourg", "lu"}, {"Macedonia", "mk"},
          {"Malta", "mt"}, {"Moldova", "md"}, {"Monaco", "mc"}, {"Netherlands", "nl"}, {"Norway", "no"},
          {"Poland", "pl"}, {"Portugal", "pt"}, {"Romania", "ro"}, {"San Marino", "sm"},
          {"Serbia-Montenegro", "yu"}, {"Slovakia", "sk"}, {"Slovenia", "si"}, {"Spain", "es"},
          {"Sweden", "se"}, {"Switzerland", "ch"}, {"Ukraine", "ua"}, {"Vatican City", "va"},
          {"United Kingdom", "gb"}}},
        {"ILAsia",
         {{"Unknown", ""}, {"Afghanistan", "af"}, {"Armenia", "am"}, {"Azerbaijan", "az"}, {"Bahrain", "bh"},
          {"Bangladesh", "bd"}, {"Bhutan", "bt"}, {"British Indian Ocean Territory", "io"}, {"Brunei", "bn"},
          {"Cambodia", "kh"}, {"China", "cn"}, {"Cyprus", "cy"}, {"East Timor", "tl"}, {"Georgia", "ge"},
          {"Hong Kong", "hk"}, {"India", "in"}, {"Indonesia", "id"}, {"Iran", "ir"}, {"Iraq", "iq"},
          {"Israel", "il"}, {"Japan", "jp"}, {"Jordan", "jo"}, {"Kazakhstan", "kz"}, {"Kuwait", "kw"},
          {"Kyrgyzstan", "kg"}, {"Laos", "la"}, {"Lebanon", "lb"}, {"Macau", "mo"}, {"Malaysia", "my"},
          {"Maledives", "mv"}, {"Mongolia", "mn"}, {"Myanmar", "mm"}, {"Nepal", "np"}, {"North Korea", "kp"},
          {"Oman", "om"}, {"Pakistan", "pk"}, {"Philippines", "ph"}, {"Qatar", "qa"}, {"Saudi Arabia", "sa"},
          {"Singapore", "sg"}, {"South Korea", "kr"}, {"Sri-Lanka", "lk"}, {"Syria", "sy"}, {"Taiwan", "tw"},
          {"Tajikistan", "tj"}, {"Thailand", "th"}, {"Turkey", "tr"}, {"Turkmenistan", "tm"},
          {"United Arab Emirates", "ae"}, {"Uzbekistan", "uz"}, {"Vietnam", "vn"}, {"Yemen", "ye"}}},
        {"ILNAme",
         {{"Unknown", ""}, {"Anguilla", "ai"}, {"Antigua and Barbuda", "ag"}, {"Aruba", "aw"}, {"Bahamas", "bs"},
          {"Barbados", "bb"}, {"Belize", "bz"}, {"Bermuda", "bm"}, {"British Virgin Islands", "vg"},
          {"Canada", "ca"}, {"Cayman Islands", "ky"}, {"Costa Rica", "cr"}, {"Cuba", "cu"}, {"Dominica", "dm"},
          {"Dominican Republic", "do"}, {"El Salvador", "sv"}, {"Greenland", "gl"}, {"Grenada", "gd"},
          {"Guatemala", "gt"}, {"Haiti", "ht"}, {"Honduras", "hn"}, {"Jamaica", "jm"}, {"Martinique", "mq"},
          {"Mexico", "mx"}, {"Montserrat", "ms"}, {"Nicaragua", "ni"}, {"Panama", "pa"}, {"Puerto Rico", "pr"},
          {"Saint Kitts and Nevis", "kn"}, {"Saint Lucia", "lc"}, {"Saint Pierre and Miquelon", "pm"},
          {"Saint Vincent and the Grenadines", "vc"}, {"Trinidad and Tobago", "tt"},
          {"Turks and Caicos Islands", "tc"}, {"USA", "us"}, {"Virgin Islands", "vi"}}},
        {"ILSAme",
         {{"Unknown", ""}, {"Argentina", "ar"}, {"Bolivia", "bo"}, {"Brazil", "br"}, {"Chile", "cl"},
          {"Colombia", "co"}, {"Equador", "ec"}, {"Falkland Islands", "fk"}, {"Guyana", "gy"},
          {"Paraquay", "py"}, {"Peru", "pe"}, {"South Georgia", "gs"}, {"Suriname", "sr"}, {"Uruquay", "uy"},
          {"Venezuela", "ve"}}},
        {"ILOcea",
         {{"Unknown", ""}, {"American Samoa", "as"}, {"Australia", "au"}, {"Cook Islands", "ck"}, {"Fiji", "fj"},
          {"French Polynesia", "pf"}, {"Guam", "gu"}, {"Kiribati", "ki"}, {"Marshall Islands", "mh"},
          {"Micronesia", "fm"}, {"Nauru", "nr"}, {"New Zealand", "nz"}, {"Niue", "nu"}, {"Norfolk Island", "nf"},
          {"Northern Mariana Islands", "mp"}, {"Palau", "pw"}, {"Papua New Guinea", "pg"},
          {"Pitcairn Islands", "pn"}, {"Samoa", "ws"}, {"Solomon Islands", "sb"}, {"Tonga", "to"},
          {"Tuvalu", "tv"}, {"Vanuatu", "vu"}, {"Wallis and Futuna", "wf"}}},
        {"ILAfri",
         {{"Unknown", ""}, {"Algeria", "dz"}, {"Angola", "ao"}, {"Benin", "bj"}, {"Botswana", "bw"},
          {"Burkina Faso", "bf"}, {"Burundi", "bi"}, {"Cameroon", "cm"}, {"Cape Verde", "cv"},
          {"Central African Republic", "cf"}, {"Chad", "td"}, {"Comoros", "km"}, {"Congo Republic", "cg"},
          {"Congo Democratic Republic", "cd"}, {"Djibouti", "dj"}, {"Egypt", "eg"}, {"Equatorial Guinea", "gq"},
          {"Eritrea", "er"}, {"Ethiopia", "et"}, {"Gabon", "ga"}, {"Gambia", "gm"}, {"Ghana", "gh"},
          {"Guinea", "gn"}, {"Guinea-Bissau", "gw"}, {"Ivory Coast (Cote Divoire)", "ci"}, {"Kenya", "ke"},
          {"Lesotho", "ls"}, {"Liberia", "lr"}, {"Libya", "ly"}, {"Madagascar", "mg"}, {"Malawi", "mw"},
          {"Mali", "ml"}, {"Mauretania", "mr"}, {"Mauritius", "mu"}, {"Morocco", "ma"}, {"Mozambique", "mz"},
          {"Namibia", "na"}, {"Niger", "ne"}, {"Nigeria", "ng"}, {"Rwanda", "rw"}, {"Saint Helena", "sh"},
          {"Sao Tome and Principe", "st"}, {"Senegal", "sn"}, {"Seychelles", "sc"}, {"Sierra Leone", "sl"},
          {"Somalia", "so"}, {"South Africa", "za"}, {"Sudan", "sd"}, {"Swaziland", "sz"}, {"Tanzania", "tz"},
          {"Togo", "tg"}, {"Tunisia", "tn"}, {"Uganda", "ug"}, {"Zambia", "zm"}, {"Zimbabwe", "zw"}}},
    };
    // clang-format on
    return lists;
}

constexpr int kW = 14, kH = 12;
constexpr int kScale = 8; // drawn large, then averaged down

// The flag of "Unknown": a plain grey-blue cloth with a white question mark.
void drawUnknown(QPainter& p, const QRectF& r)
{
    QLinearGradient g(r.topLeft(), r.bottomRight());
    g.setColorAt(0.0, QColor(170, 186, 204));
    g.setColorAt(1.0, QColor(110, 126, 150));
    p.fillRect(r, g);
    // Drawn as strokes: a letter of any face loses its hairlines at 14 x 12.
    const qreal u = r.height() / 12;
    const QPointF c(r.center().x(), r.top() + 4.6 * u);
    QPainterPath q;
    q.arcMoveTo(QRectF(c.x() - 2.6 * u, c.y() - 2.6 * u, 5.2 * u, 5.2 * u), 160);
    q.arcTo(QRectF(c.x() - 2.6 * u, c.y() - 2.6 * u, 5.2 * u, 5.2 * u), 160, -220);
    q.lineTo(c.x(), r.top() + 8.0 * u);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(40, 50, 70, 160), 2.6 * u, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPath(q.translated(0.4 * u, 0.4 * u));
    p.setPen(QPen(Qt::white, 1.7 * u, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPath(q);
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    p.drawEllipse(QPointF(c.x(), r.top() + 10.0 * u), 1.0 * u, 1.0 * u);
}

// Serbia and Montenegro (1992-2006): blue, white and red stripes.
void drawSerbiaMontenegro(QPainter& p, const QRectF& r)
{
    const qreal h = r.height() / 3;
    p.fillRect(QRectF(r.left(), r.top(), r.width(), h), QColor(0, 56, 168));
    p.fillRect(QRectF(r.left(), r.top() + h, r.width(), h), Qt::white);
    p.fillRect(QRectF(r.left(), r.top() + 2 * h, r.width(), r.height() - 2 * h), QColor(206, 17, 38));
}

QImage flagImage(const Country& c, const QString& svgDir)
{
    QImage big = blank(kW * kScale, kH * kScale);
    {
        QPainter p(&big);
        prepare(p);
        // The 4:3 flag fills the 7:6 picture; the slight stretch reads better
        // at this size than bars of empty space.
        const QRectF r(0, 0, big.width(), big.height());
        const QString iso = c.iso;
        if (iso.isEmpty()) {
            drawUnknown(p, r);
        } else if (iso == "yu") {
            drawSerbiaMontenegro(p, r);
        } else {
            QSvgRenderer svg(svgDir + "/" + iso + ".svg");
            if (!svg.isValid())
                throw std::runtime_error(("no usable flag for " + iso + " in " + svgDir).toStdString());
            svg.setAspectRatioMode(Qt::IgnoreAspectRatio);
            svg.render(&p, r);
        }
    }
    QImage small = big.scaled(kW, kH, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
                       .convertToFormat(QImage::Format_ARGB32_Premultiplied);
    // A faint edge, darker at the bottom-right, keeps white and pale flags
    // apart from a white list.
    QPainter p(&small);
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setPen(QColor(0, 0, 0, 60));
    p.drawLine(0, 0, kW - 1, 0);
    p.drawLine(0, 1, 0, kH - 1);
    p.setPen(QColor(0, 0, 0, 110));
    p.drawLine(1, kH - 1, kW - 1, kH - 1);
    p.drawLine(kW - 1, 1, kW - 1, kH - 2);
    return small;
}

} // namespace

void drawFlags(Sink& sink, const QString& svgDir)
{
    for (const FlagList& list : flagLists())
        for (size_t k = 0; k < list.rows.size(); ++k)
            sink.flag(QString("%1_%2").arg(list.name).arg(k, 3, 10, QChar('0')), flagImage(list.rows[k], svgDir));
}

} // namespace art
