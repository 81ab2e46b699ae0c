#include "logic/game/keyboard_layout.h"

#include <string_view>

namespace vk {
namespace {

// The keys row by row, unshifted then shifted, and what the Russian layout
// has on each of them.
constexpr std::u32string_view kLatinKeys = U"`qwertyuiop[]asdfghjkl;'zxcvbnm,."
                                           U"~QWERTYUIOP{}ASDFGHJKL:\"ZXCVBNM<>";
constexpr std::u32string_view kRussianKeys = U"ёйцукенгшщзхъфывапролджэячсмитьбю"
                                             U"ЁЙЦУКЕНГШЩЗХЪФЫВАПРОЛДЖЭЯЧСМИТЬБЮ";
static_assert(kLatinKeys.size() == kRussianKeys.size());

} // namespace

char32_t RussianOnSameKey(char32_t typed)
{
    const auto at = kLatinKeys.find(typed);
    return at == std::u32string_view::npos ? typed : kRussianKeys[at];
}

} // namespace vk
