#pragma once
// The two body forms of the club requests, and the escaping of an address
// path segment.  Input texts are Windows-1251 bytes.
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace vk {

// Name and value pairs in the order the request lists them.
using FormFields = std::vector<std::pair<std::string, std::string>>;

// "name=value" pairs joined by "&", values placed unaltered: the server
// reads them against the request's fixed field order, so "&", "=", "+" and
// "%" in free text arrive as typed.
std::string RawFormBody(const FormFields& fields);

// Name and value encoded separately: A-Z a-z 0-9 * - . _ kept, a blank
// becomes "+", every other character "%HH" for each byte of its UTF-8 form.
std::string EncodedFormBody(const FormFields& fields);
std::string FormEncode(std::string_view text);

// One path segment of an address (a nick in the photo address): everything
// but A-Z a-z 0-9 - . _ ~ as "%HH" of its UTF-8 bytes, so "?", "#" or "/" in
// a nick cannot end or split the path.
std::string PathSegmentEncode(std::string_view text);

} // namespace vk
