#include "ui/kit/link_opener.h"

#include <QClipboard>
#include <QDesktopServices>
#include <QGuiApplication>
#include <QRegularExpression>

#include "ui/club/attention_window.h"
#include "common/messages.h"
#include "common/outside_link.h"
#include "ui/kit/text_codec.h"

namespace vk {
namespace {

DesktopOpener& Opener()
{
    static DesktopOpener opener = [](const QUrl& address) { return QDesktopServices::openUrl(address); };
    return opener;
}

HelpPageShower& HelpShower()
{
    static HelpPageShower shower;
    return shower;
}

LinkOutcome CopyWithNotice(QWidget* parent, const QString& text)
{
    if (QClipboard* clipboard = QGuiApplication::clipboard())
        clipboard->setText(text);
    ShowAttention(parent, UiText(Msg::CopiedToClipboard));
    return LinkOutcome::Copied;
}

} // namespace

HelpPageShower SetHelpPageShower(HelpPageShower shower)
{
    HelpPageShower previous = std::move(HelpShower());
    HelpShower() = std::move(shower);
    return previous;
}

DesktopOpener SetDesktopOpener(DesktopOpener opener)
{
    DesktopOpener previous = std::move(Opener());
    Opener() = std::move(opener);
    return previous;
}

LinkOutcome OpenOutsideLink(QWidget* parent, const QString& text)
{
    if (text.isEmpty())
        return LinkOutcome::Nothing;
    const auto address = WebAddressToOpen(text.toStdString());
    if (!address)
        return CopyWithNotice(parent, text);
    const QUrl url(QString::fromStdString(*address), QUrl::StrictMode);
    if (!url.isValid())
        return CopyWithNotice(parent, text);
    if (Opener() && Opener()(url))
        return LinkOutcome::Opened;
    // No browser: the program's own help is shown by the program itself;
    // any other address stays at hand on the clipboard.
    if (HelpShower() && HelpShower()(url.toString()))
        return LinkOutcome::ShownInHelp;
    CopyWithNotice(parent, text);
    return LinkOutcome::Failed;
}

LinkOutcome OpenMailAddress(QWidget* parent, const QString& mailAddress)
{
    if (mailAddress.isEmpty())
        return LinkOutcome::Nothing;
    static const QRegularExpression plain(QStringLiteral("^[A-Za-z0-9._%+-]+@[A-Za-z0-9.-]+\\.[A-Za-z]{2,}$"));
    if (!plain.match(mailAddress).hasMatch())
        return CopyWithNotice(parent, mailAddress);
    const QUrl url(QStringLiteral("mailto:") + mailAddress, QUrl::StrictMode);
    return Opener() && Opener()(url) ? LinkOutcome::Opened : LinkOutcome::Failed;
}

} // namespace vk
