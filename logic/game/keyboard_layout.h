#pragma once
// A player who types with the Latin layout still on means the letters of the
// Russian layout: the standard Russian layout's letter on the same key.
namespace vk {

// The Cyrillic letter that the standard Russian layout puts on the key of a
// Latin letter or of one of ` [ ] ; ' , . (and their shifted forms
// ~ { } : " < >): q -> й, Q -> Й, ` -> ё, [ -> х, ] -> ъ, ; -> ж, ' -> э,
// , -> б, . -> ю.  Every other character comes back unchanged.
char32_t RussianOnSameKey(char32_t typed);

} // namespace vk
