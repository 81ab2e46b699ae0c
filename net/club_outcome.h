#pragma once
// How a club request ended, in the terms the player is told: it was done,
// the club could not be reached at all (no server, or one that never
// answered), the club answered with an error status, or it answered and
// refused.  A window says the first two differently from a refusal.
#include <optional>
#include <string>

namespace vk {

enum class ClubOutcome { Done, Unreachable, ServerError, Refused };

// The outcome of the request just made on this thread: `reply` is what it
// brought (nothing on any failure), `accepted` whether its reader took it.
ClubOutcome RequestOutcome(const std::optional<std::string>& reply, bool accepted);

} // namespace vk
