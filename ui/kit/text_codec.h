#pragma once
// The one crossing between the program's Windows-1251 texts and Qt's strings.
#include <QString>
#include <string>
#include <string_view>

#include "common/codepage.h"
#include "common/messages.h"
#include "common/product.h"

namespace vk {

inline QString ToQString(std::string_view cp1251) { return QString::fromStdString(Cp1251ToUtf8(cp1251)); }

// Characters the code page lacks become "?".
inline std::string ToCp1251(const QString& text)
{
    std::string out;
    out.reserve(static_cast<std::size_t>(text.size()));
    for (const char32_t cp : text.toUcs4()) {
        const auto byte = UnicodeToCp1251(cp);
        out += byte ? static_cast<char>(*byte) : '?';
    }
    return out;
}

inline QString FromUtf8(std::string_view utf8)
{
    return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

// A text of the message table, and the product's name, in the language the
// program speaks.
inline QString UiText(Msg id) { return FromUtf8(MessageText(id)); }

inline QString UiProductName() { return FromUtf8(ProductNames[UiLanguage()]); }

} // namespace vk
