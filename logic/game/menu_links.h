#pragma once
// What the menu's icons and the help item open: the file name offered for
// the Android package and the help page of a help context.
#include <string>
#include <string_view>

namespace vk {

// The name the save dialog proposes for the package at Link.  The link comes
// from a remote page, so only its last path segment is taken (no query, no
// fragment), and whatever could lead out of the chosen folder or that a file
// name cannot hold is dropped: separators, leading and trailing dots and
// blanks, control characters and the characters : * ? " < > |.  Nothing left
// gives ProductName + ".apk".
std::string PackageFileName(std::string_view link, std::string_view productName);

// The extension of a proposed file name, letters and digits only; "apk" when
// it has none.
std::string PackageExtension(std::string_view fileName);

// Help contexts: the menu and the game screen.
inline constexpr int HelpContextMenu = 1;
inline constexpr int HelpContextGame = 5;

// The help page of a context: the menu's page, the rules during a game, the
// contents for anything else.
std::string HelpPageForContext(int helpContext);

} // namespace vk
