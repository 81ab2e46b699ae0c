#include "logic/game/menu_links.h"

#include <algorithm>
#include <cctype>

namespace vk {
namespace {

bool FitsFileName(unsigned char c)
{
    if (c < 0x20 || c == 0x7F)
        return false;
    return std::string_view(":*?\"<>|/\\").find(static_cast<char>(c)) == std::string_view::npos;
}

bool IsEdgeFiller(char c) { return c == '.' || c == ' '; }

} // namespace

std::string PackageFileName(std::string_view link, std::string_view productName)
{
    link = link.substr(0, link.find_first_of("?#"));
    const auto slash = link.find_last_of("/\\");
    if (slash != std::string_view::npos)
        link.remove_prefix(slash + 1);

    std::string name;
    for (const char c : link)
        if (FitsFileName(static_cast<unsigned char>(c)) && !(c == '.' && !name.empty() && name.back() == '.'))
            name += c;
    const auto first = std::find_if_not(name.begin(), name.end(), IsEdgeFiller);
    name.erase(name.begin(), first);
    while (!name.empty() && IsEdgeFiller(name.back()))
        name.pop_back();
    if (name.empty())
        return std::string(productName) + ".apk";
    return name;
}

std::string PackageExtension(std::string_view fileName)
{
    const auto dot = fileName.find_last_of('.');
    std::string extension;
    if (dot != std::string_view::npos)
        for (const char c : fileName.substr(dot + 1))
            if (std::isalnum(static_cast<unsigned char>(c)))
                extension += c;
    return extension.empty() ? "apk" : extension;
}

std::string HelpPageForContext(int helpContext)
{
    switch (helpContext) {
    case HelpContextMenu: return "menu.html";
    case HelpContextGame: return "rules.html";
    default: return "index.html";
    }
}

} // namespace vk
