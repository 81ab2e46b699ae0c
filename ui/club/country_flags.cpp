#include "ui/club/country_flags.h"

#include <QPainter>

#include "common/countries.h"
#include "ui/kit/dressing.h"
#include "ui/kit/picture_scaling.h"
#include "ui/kit/resource_store.h"

namespace vk {

QImage CountryFlagPicture(std::string_view code)
{
    const auto name = CountryFlagName(code);
    if (!name)
        return {};
    const auto bytes = ResourceBytes(ResourceKind::Flags, QString::fromStdString(*name));
    if (!bytes)
        return {};
    return DecodePng(*bytes);
}

void DrawCountryFlag(std::string_view code, int x, int y, QPainter& canvas)
{
    const QImage flag = CountryFlagPicture(code);
    if (!flag.isNull())
        canvas.drawImage(x, y, flag);
}

void DrawSexIcon(std::string_view sex, int x, int y, QPainter& canvas)
{
    const QString face = sex == "M" ? QStringLiteral("FaceMan16") : QStringLiteral("FaceWoman16");
    DrawResPicture(face, canvas, x, y, 0, 0, false);
}

} // namespace vk
