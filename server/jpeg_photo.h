#pragma once
// Member photos: the uploaded bytes must be one JPEG picture of exactly the
// size the card window shows.  What is stored is the picture's own segments
// only: APP1..APP15 (EXIF, XMP, ...) and comments are dropped, so a photo
// carries no camera, place or editing data, and bytes after the end marker
// are cut off.
#include <optional>
#include <string>
#include <string_view>

namespace vks {

inline constexpr int PhotoWidth = 200;
inline constexpr int PhotoHeight = 250;

std::optional<std::string> CleanPhoto(std::string_view bytes, int width = PhotoWidth, int height = PhotoHeight);

} // namespace vks
