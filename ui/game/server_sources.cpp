#include "ui/game/server_sources.h"

#include "net/club_startup.h"

namespace vk {

SettingsSources ServerSources(const std::string& configAddress)
{
    return {BuiltinServerPath, BuiltinStatPath, BuiltinAccPath, [configAddress] {
                const RemoteConfigAnswers remote = FetchRemoteConfig(configAddress);
                return RemoteAddressAnswers{remote.WttPath, remote.ChatAvailable, remote.StatPath, remote.AccPath};
            }};
}

} // namespace vk
