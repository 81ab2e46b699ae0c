#pragma once
// The one way the program hands an outside address to the desktop.  A web
// address is opened with the desktop's browser; any other text (a file
// path, a custom scheme, text that is not an address) is never opened: it
// is copied to the clipboard with a notice, so the player can still use it.
#include <QString>
#include <QUrl>
#include <functional>

class QWidget;

namespace vk {

// The desktop's "open" action; false when nothing could be started.  Tests
// put their own in its place and get the previous one back.
using DesktopOpener = std::function<bool(const QUrl& address)>;
DesktopOpener SetDesktopOpener(DesktopOpener opener);

enum class LinkOutcome {
    Opened,      // the browser took it
    Copied,      // not a web address: on the clipboard, with the notice
    Failed,      // a web address, but no browser could be started: on the
                 // clipboard, with the notice
    ShownInHelp, // no browser, but one of the program's own help pages:
                 // shown in the help window
    Nothing,     // an empty text
};

// Where an address of one of the program's own help pages is shown when no
// browser can be started; false when the address is none of them.  The
// main window puts its help window here.
using HelpPageShower = std::function<bool(const QString& address)>;
HelpPageShower SetHelpPageShower(HelpPageShower shower);

// Opens `text` as a web page (an address without a scheme gets https://),
// or copies it; a help page no browser could open goes to the help window.  `parent` carries the notice.
LinkOutcome OpenOutsideLink(QWidget* parent, const QString& text);

// The program's own mail address through the desktop's mail program; a
// text that is not a plain mail address is copied instead.
LinkOutcome OpenMailAddress(QWidget* parent, const QString& mailAddress);

} // namespace vk
