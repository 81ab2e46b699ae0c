#include "ui/game/help_window.h"

#include <QHBoxLayout>
#include <QTextBrowser>
#include <QVBoxLayout>

#include "logic/game/menu_links.h"
#include "ui/kit/quiz_button.h"
#include "ui/kit/text_codec.h"

namespace vk {

THelpWindow::THelpWindow(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("FormHelp"));
    setWindowTitle(UiText(Msg::Help) + QStringLiteral(" - ") + UiProductName());
    // A help window stays open beside the game; it may be moved and sized.
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowCloseButtonHint | Qt::WindowMinMaxButtonsHint);
    setModal(false);
    resize(640, 560);

    const auto makeButton = [this](const char* name, Msg caption) {
        auto* b = new TTevQuizButton(this);
        b->setObjectName(QLatin1String(name));
        b->setText(UiText(caption));
        b->SetColorSB(DNavy);
        b->SetFontColor(0xFFFF00);
        b->SetColorMouse(0x00FFFF);
        b->SetGrayDis(true);
        b->setFixedSize(140, 30);
        b->setCursor(Qt::PointingHandCursor);
        return b;
    };
    ButtonContents = makeButton("ButtonContents", Msg::HelpContents);
    ButtonBack = makeButton("ButtonBack", Msg::HelpBack);
    ButtonForward = makeButton("ButtonForward", Msg::HelpForward);

    HelpBrowser = new QTextBrowser(this);
    HelpBrowser->setObjectName(QStringLiteral("HelpBrowser"));
    HelpBrowser->setSearchPaths({QStringLiteral(":/help")});
    // Pages of the program open here; addresses on the web go to the
    // desktop's browser.
    HelpBrowser->setOpenLinks(true);
    HelpBrowser->setOpenExternalLinks(true);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(ButtonContents);
    buttons->addWidget(ButtonBack);
    buttons->addWidget(ButtonForward);
    buttons->addStretch(1);
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(6, 6, 6, 6);
    column->addLayout(buttons);
    column->addWidget(HelpBrowser, 1);

    connect(ButtonContents, &QPushButton::clicked, this,
            [this] { HelpBrowser->setSource(PageUrl(QStringLiteral("index.html"))); });
    connect(ButtonBack, &QPushButton::clicked, HelpBrowser, &QTextBrowser::backward);
    connect(ButtonForward, &QPushButton::clicked, HelpBrowser, &QTextBrowser::forward);
    connect(HelpBrowser, &QTextBrowser::backwardAvailable, ButtonBack, &QWidget::setEnabled);
    connect(HelpBrowser, &QTextBrowser::forwardAvailable, ButtonForward, &QWidget::setEnabled);
    ButtonBack->setEnabled(false);
    ButtonForward->setEnabled(false);
}

QUrl THelpWindow::PageUrl(const QString& page) { return QUrl(QStringLiteral("qrc:/help/") + page); }

void THelpWindow::ShowContext(int helpContext) { ShowPage(QString::fromStdString(HelpPageForContext(helpContext))); }

void THelpWindow::ShowPage(const QString& page)
{
    HelpBrowser->setSource(PageUrl(page));
    show();
    raise();
    activateWindow();
}

void THelpWindow::SetButtonFont(const QFont& font)
{
    for (TTevQuizButton* b : {ButtonContents, ButtonBack, ButtonForward})
        b->setFont(font);
}

} // namespace vk
