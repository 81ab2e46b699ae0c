#include "net/club_outcome.h"

#include "net/http_client.h"

namespace vk {

ClubOutcome RequestOutcome(const std::optional<std::string>& reply, bool accepted)
{
    if (!LastRequestAnswered())
        return ClubOutcome::Unreachable;
    if (!reply)
        return ClubOutcome::ServerError;
    return accepted ? ClubOutcome::Done : ClubOutcome::Refused;
}

} // namespace vk
