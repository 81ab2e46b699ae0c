#pragma once
// Member photos: the uploaded bytes must be one JPEG picture of exactly the
// size the card window shows.  What is stored is the picture's own segments
// only: APP1..APP15 (EXIF, XMP, ...) and comments are dropped, so a photo
// carries no camera, place or editing data, and bytes after the end marker
// are cut off.
#include <optional>
#include <string>
#include <string_view>

#include "common/club_rules.h"

namespace vks {

std::optional<std::string> CleanPhoto(std::string_view bytes, int width = vk::PhotoWidth, int height = vk::PhotoHeight);

} // namespace vks
