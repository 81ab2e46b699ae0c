#pragma once
// The program's help: its own pages, carried in the program, shown in a
// window of their own with the contents and back and forward.  It needs
// neither a browser nor the network.
#include <QDialog>
#include <QUrl>

class QFont;
class QTextBrowser;

namespace vk {

class TTevQuizButton;

class THelpWindow : public QDialog {
    Q_OBJECT
public:
    explicit THelpWindow(QWidget* parent = nullptr);

    // The address of a help page carried in the program ("menu.html").
    static QUrl PageUrl(const QString& page);

    // Shows the window at the page of a help context (the menu, a game),
    // raising it when it is open already.
    void ShowContext(int helpContext);
    // Shows the window at one of the program's pages ("credits.html").
    void ShowPage(const QString& page);
    // The font of the window's buttons (the menu's display font).
    void SetButtonFont(const QFont& font);

private:
    // The controls.  Each keeps the window's own name for it as its object
    // name, so tests and screen readers find it by that name.
    QTextBrowser* HelpBrowser = nullptr;
    TTevQuizButton* ButtonContents = nullptr;
    TTevQuizButton* ButtonBack = nullptr;
    TTevQuizButton* ButtonForward = nullptr;
};

} // namespace vk
