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

// What a notice tells: a warning or a failure (the attention triangle), or
// good news (the information icon).
enum class NoticeKind { Attention, Information };

class TFormLink : public QDialog {
    Q_OBJECT
public:
    TFormLink(const QString& title, const QString& text, const QString& link, QWidget* parent = nullptr,
              NoticeKind kind = NoticeKind::Attention);

    NoticeKind Kind() const { return kind_; }

    // The client width for the widest of the three texts: 400, or the texts
    // plus their margins once they need more.
    static int ClientWidthFor(int widestText);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    // The notice is said at once by a screen reader, whatever has the focus.
    void showEvent(QShowEvent* event) override;

private:
    // The controls.  Each keeps the window's own name for it as its object
    // name, so tests and screen readers find it by that name.
    PictureBox* iconArea = nullptr;  // Image1, the 48 x 48 icon
    QLabel* titleLabel = nullptr;    // Label1, title
    QLabel* textLabel = nullptr;     // Label2, text
    QLabel* linkLabel = nullptr;     // Label3, link
    QPushButton* okButton = nullptr; // Button1, "Ok"
    QString link_;                   // whole, though the label may cut it
    NoticeKind kind_;
};

// Shows the notice modally over Parent and returns when it is closed.
void ShowAttention(QWidget* parent, const QString& title, const QString& text = {}, const QString& link = {});
// The same window for good news (a save or a transfer that worked).
void ShowGoodNews(QWidget* parent, const QString& title);

} // namespace vk
