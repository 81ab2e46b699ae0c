#pragma once
// Qt's own texts in Russian: the file dialog, a text box's context menu, the
// buttons of the input and message boxes.  The translations come from the
// system's Qt (Debian's qt6-translations-l10n).

namespace vk {

// Installs Qt's Russian translations in the application once; false when
// they are not on this system (Qt then speaks English).
bool InstallQtTranslations();

} // namespace vk
