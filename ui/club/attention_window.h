#pragma once
// The program's notice window ("Attention"): a title, an optional text and
// an optional link that opens in the desktop's browser (club/link_opener.h).
// Made anew for each notice and gone when it closes.  The texts often come
// from the club's pages and are shown as plain text.
#include <QDialog>
#include <QString>

class QLabel;
class QPushButton;

namespace vk {

class PictureBox;

class TFormLink : public QDialog {
    Q_OBJECT
public:
    TFormLink(const QString& title, const QString& text, const QString& link, QWidget* parent = nullptr);

    // The client width for the widest of the three texts: 400, or the texts
    // plus their margins once they need more.
    static int ClientWidthFor(int widestText);

    PictureBox* Image1 = nullptr; // the 48 x 48 icon
    QLabel* Label1 = nullptr;     // title
    QLabel* Label2 = nullptr;     // text
    QLabel* Label3 = nullptr;     // link
    QPushButton* Button1 = nullptr; // "Ok"

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};

// Shows the notice modally over Parent and returns when it is closed.
void ShowAttention(QWidget* parent, const QString& title, const QString& text = {}, const QString& link = {});

} // namespace vk
