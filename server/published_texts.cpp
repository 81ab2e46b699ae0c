#include "server/published_texts.h"

#include <cstdio>

#include "common/product.h"
#include "common/text_cipher.h"

namespace vks {

std::string RenderConfigText(const ServerConfig& config, const std::string& base)
{
    std::string text;
    text += "WTGamesPatt=" + vk::EncodeText(base + "/wtt", vk::AddressStartKey) + "#\n";
    text += "StatPath=" + vk::EncodeText(base + "/stat", vk::AddressStartKey) + "#\n";
    text += "AccPath=" + vk::EncodeText(base + "/club/account", vk::ClubStartKey) + "#\n";
    if (config.wttPaused)
        text += "WTGamesPause#\n";
    if (config.chatPaused)
        text += "CTGamesPause#\n";
    if (!config.ads.empty()) {
        char number[8];
        std::snprintf(number, sizeof number, "%03zu", config.ads.size());
        text += std::string("SecAdv0000=") + number + "##";
        for (std::size_t i = 0; i < config.ads.size(); ++i) {
            char prefix[32];
            std::snprintf(prefix, sizeof prefix, "SecAdv%03zu", i + 1);
            const auto& ad = config.ads[i];
            text += std::string(prefix) + "I=" + ad.picture + "##";
            text += std::string(prefix) + "N=" + ad.name + "##";
            text += std::string(prefix) + "L=" + ad.link + "##";
        }
        text += "\n";
    }
    return text;
}

std::string RenderNewsText(const ServerConfig& config)
{
    std::string text;
    if (!config.storeLink.empty())
        text += std::string(vk::StoreLinkKey) + "=" + config.storeLink + "#\n";
    if (!config.packageLink.empty())
        text += std::string(vk::PackageLinkKey) + "=" + config.packageLink + "#\n";
    if (config.news.configured) {
        text += std::string(vk::NewsKey) + "=" + (config.news.show ? "Y" : "N") + "#" + config.news.title + "#"
                + config.news.text + "#" + config.news.link + "#-#\n";
    }
    return text;
}

} // namespace vks
