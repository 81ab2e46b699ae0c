#include "ui/kit/cp1251_validator.h"

#include "common/codepage.h"

namespace vk {

Cp1251Validator::Cp1251Validator(QObject* parent) : QValidator(parent) {}

bool Cp1251Validator::Storable(const QString& text)
{
    for (const char32_t cp : text.toUcs4()) {
        if (cp < 0x20 || cp == 0x7F)
            return false;
        if (!UnicodeToCp1251(cp))
            return false;
    }
    return true;
}

QValidator::State Cp1251Validator::validate(QString& input, int&) const
{
    return Storable(input) ? Acceptable : Invalid;
}

} // namespace vk
