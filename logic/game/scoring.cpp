#include "logic/game/scoring.h"

#include "common/product.h"

namespace vk {

bool GameCompleteAfter(int dealNumber) { return dealNumber >= DealsPerGame; }

bool NextDealOffered(int dealNumber) { return dealNumber < DealsPerGame; }

} // namespace vk
