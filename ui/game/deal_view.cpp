#include "ui/game/deal_view.h"

#include <QHash>
#include <QLabel>
#include <QPainter>

#include "common/messages.h"
#include "common/product.h"
#include "common/rounding.h"
#include "logic/game/keyboard_layout.h"
#include "logic/localdata/settings.h"
#include "ui/kit/accessibility.h"
#include "ui/kit/colour.h"
#include "ui/kit/dressing.h"
#include "ui/kit/picture_box.h"
#include "ui/kit/picture_scaling.h"
#include "ui/kit/quiz_button.h"
#include "ui/kit/resource_store.h"
#include "ui/kit/text_codec.h"

namespace vk {
namespace {

constexpr unsigned int kYellow = 0x00FFFF;
constexpr unsigned int kAqua = 0xFFFF00;
constexpr unsigned int kRed = 0x0000FF;
constexpr unsigned int kCellTextColour = 0x400000;

// A PNG resource resized smoothly to width x height.  The pictures of a deal
// come back at the same few sizes again and again (every cell, every step of
// an opening), so each size is resized once per run.
const QImage& SizedPicture(const QString& name, int width, int height)
{
    static QHash<QString, QImage> originals;
    static QHash<QString, QImage> sized;
    static const QImage none;
    if (width <= 0 || height <= 0)
        return none;
    const QString key = name + QLatin1Char('@') + QString::number(width) + QLatin1Char('x') + QString::number(height);
    if (auto it = sized.constFind(key); it != sized.constEnd())
        return *it;
    auto original = originals.find(name);
    if (original == originals.end()) {
        QImage decoded;
        if (const auto bytes = ResourceBytes(ResourceKind::Raw, name))
            decoded = QImage::fromData(*bytes, "PNG");
        original = originals.insert(name, decoded);
    }
    QImage picture = *original;
    if (picture.isNull())
        return none;
    if (picture.size() != QSize(width, height)) {
        if (const auto error = ResizePngSmooth(picture, width, height)) {
            qWarning("%s: %s", qUtf8Printable(name), qUtf8Printable(*error));
            return none;
        }
    }
    return *sized.insert(key, picture.convertToFormat(QImage::Format_ARGB32_Premultiplied));
}

QImage PictureOverBackground(const QString& name, const QRect& place, const QImage& background, const Layout& lay)
{
    // The board's frame, the score frames and the stars come back at every
    // deal on the same piece of the same background: each is composed once
    // for as long as the background stays.
    static QHash<QString, QImage> composed;
    static qint64 composedOn = 0;
    if (composedOn != background.cacheKey()) {
        composed.clear();
        composedOn = background.cacheKey();
    }
    const QString key =
        QStringLiteral("%1@%2,%3,%4x%5").arg(name).arg(place.x()).arg(place.y()).arg(place.width()).arg(place.height());
    if (auto it = composed.constFind(key); it != composed.constEnd())
        return *it;
    QImage piece(place.size(), QImage::Format_ARGB32_Premultiplied);
    piece.fill(Qt::black);
    {
        QPainter p(&piece);
        PaintFormBackground(p, background, place.x(), place.y(), lay.ClientW, lay.ClientH);
        p.drawImage(0, 0, SizedPicture(name, place.width(), place.height()));
    }
    return *composed.insert(key, piece);
}

QPixmap LetterGlyph(int k, int side)
{
    // The same 32 faces at every deal of a window size.  Kept as pictures:
    // pixmaps must not outlive the application.
    static QHash<int, QImage> glyphs;
    const int key = side * 100 + k;
    if (auto it = glyphs.constFind(key); it != glyphs.constEnd())
        return QPixmap::fromImage(*it);
    QImage glyph(side, side, QImage::Format_ARGB32_Premultiplied);
    glyph.fill(Qt::transparent);
    {
        QPainter p(&glyph);
        p.drawImage(0, 0, SizedPicture(FromUtf8(LetterPictureName(k)), side, side));
    }
    return QPixmap::fromImage(*glyphs.insert(key, glyph));
}

QFont DisplayFont(const Settings& prefs, int pixelSize)
{
    QFont font(FromUtf8(prefs.DisplayFontName));
    font.setPixelSize(std::max(1, pixelSize));
    return font;
}

QRect ToQRect(const ControlRect& r) { return QRect(r.Left, r.Top, r.Width, r.Height); }

} // namespace

DealView::DealView(QWidget* window, const Settings& prefs, const Layout& lay, const QImage& background)
    : QObject(window), window_(window), prefs_(prefs), lay_(lay), background_(background)
{
    exitButton = NewWindowButton(window, DNavy, kAqua, "Button8");
    nextButton = NewWindowButton(window, DNavy, kAqua, "ButtonN");
    for (TTevQuizButton* b : {exitButton, nextButton})
        b->SetGrayDis(true);
    connect(nextButton, &QPushButton::clicked, this, &DealView::nextClicked);
    connect(exitButton, &QPushButton::clicked, this, &DealView::exitClicked);

    for (int k = 1; k <= LetterKeys; ++k) {
        auto* key = new TTevQuizButton(window);
        key->setObjectName(QStringLiteral("BLetters%1").arg(k));
        key->setCursor(Qt::PointingHandCursor);
        // The keys answer the mouse and typed letters only: a key holding
        // the focus would be pressed by Space or Enter.
        key->setFocusPolicy(Qt::NoFocus);
        key->SetLightRect(true);
        key->hide();
        connect(key, &QPushButton::clicked, this, [this, k] { emit letterClicked(k); });
        letterKeys[static_cast<std::size_t>(k - 1)] = key;
    }

    themeLabel = new QLabel(window);
    themeLabel->setObjectName(QStringLiteral("LabelType"));
    themeLabel->setAlignment(Qt::AlignCenter);
    themeLabel->setAttribute(Qt::WA_TranslucentBackground);
    themeLabel->hide();
    ratingMark = new QLabel(window);
    ratingMark->setObjectName(QStringLiteral("LabelRating"));
    ratingMark->setText(UiText(Msg::RatingGame));
    ratingMark->setTextFormat(Qt::PlainText);
    ratingMark->setStyleSheet(QStringLiteral("QLabel { color: #ffff00; background: rgba(0, 0, 96, 200);"
                                             " border: 1px solid #00ffff; border-radius: 4px; padding: 1px 6px; }"));
    ratingMark->hide();
    const std::pair<PictureBox**, const char*> boxes[] = {
        {&board, "ImageRamka"}, {&baseStar, "ImageBase"}, {&scoreFrame, "ImGeld"}, {&dealFrame, "ImTick"}};
    for (const auto& [box, name] : boxes) {
        *box = new PictureBox(window);
        (*box)->setObjectName(QLatin1String(name));
        (*box)->hide();
    }
}

void DealView::Place()
{
    layout_ = LayOutGameScreen(lay_);
    const GameScreenLayout& g = layout_;

    themeLabel->setGeometry(ToQRect(g.LabelType));
    themeLabel->setFont(DisplayFont(prefs_, g.ThemeFontHeight));
    QPalette pal = themeLabel->palette();
    pal.setColor(QPalette::WindowText, ToQColor(kYellow));
    themeLabel->setPalette(pal);

    board->setGeometry(ToQRect(g.ImageRamka));
    board->ResizeCanvas(g.ImageRamka.Width, g.ImageRamka.Height);
    scoreFrame->setGeometry(ToQRect(g.ImGeld));
    scoreFrame->ResizeCanvas(g.ImGeld.Width, g.ImGeld.Height);
    dealFrame->setGeometry(ToQRect(g.ImTick));
    dealFrame->ResizeCanvas(g.ImTick.Width, g.ImTick.Height);

    exitButton->setGeometry(ToQRect(g.Button8));
    nextButton->setGeometry(ToQRect(g.ButtonN));
    exitButton->setText(UiText(Msg::Exit));
    nextButton->setText(UiText(Msg::Next));
    for (TTevQuizButton* b : {exitButton, nextButton})
        b->setAccessibleName(b->text());
    for (QWidget* w : {static_cast<QWidget*>(scoreFrame), static_cast<QWidget*>(dealFrame),
                       static_cast<QWidget*>(exitButton), static_cast<QWidget*>(nextButton)})
        w->show();

    for (int k = 1; k <= LetterKeys; ++k) {
        TTevQuizButton* key = letterKeys[static_cast<std::size_t>(k - 1)];
        key->setGeometry(ToQRect(g.Keys[static_cast<std::size_t>(k - 1)]));
        key->SetColorSB(DNavy);
        key->setAccessibleName(ToQString(std::string(1, KeyLetter(k))));
        key->show();
    }
}

void DealView::DrawPicture(const QString& name, PictureBox* image, bool overBackground, int left, int top, int right,
                           int bottom)
{
    QImage& canvas = image->Canvas();
    if (overBackground) {
        const int w = image->width();
        const int h = image->height();
        image->ResizeCanvas(w, h);
        QPainter p(&canvas);
        p.setCompositionMode(QPainter::CompositionMode_Source);
        p.drawImage(0, 0, PictureOverBackground(name, QRect(image->pos(), image->size()), background_, lay_));
        return;
    }
    QPainter p(&canvas);
    p.drawImage(left, top, SizedPicture(name, right - left, bottom - top));
}

void DealView::ShowDeal(const DealBoard& deal, const PuzzleState& puzzle)
{
    exitButton->setEnabled(false);
    nextButton->setEnabled(false);

    const GameScreenLayout& g = layout_;
    baseStar->setGeometry(ToQRect(g.ImageBase));
    baseStar->ResizeCanvas(g.ImageBase.Width, g.ImageBase.Height);
    baseStar->show();
    DrawPicture(puzzle.PuzzleBase == 2 ? QStringLiteral("Star2") : QStringLiteral("Star1"), baseStar, true);
    baseStar->setToolTip(UiText(Msg::BaseNumber));
    SetAccessibleValue(baseStar, UiText(Msg::BaseNumber) + QLatin1Char(' ') + QString::number(puzzle.PuzzleBase),
                       puzzle.PuzzleBase);
    baseStar->update();

    DrawPicture(QStringLiteral("GRamka1"), board, true);

    const CellGrid grid = CellGridFor(board->width(), board->height());
    for (int r = 1; r <= BoardRows; ++r)
        for (int c = 1; c <= BoardColumns; ++c) {
            if (!deal.Cells.HasCell(r, c))
                continue;
            const ControlRect cell = CellRect(grid, r, c);
            DrawPicture(QStringLiteral("GFrameS"), board, false, cell.Left, cell.Top, cell.Right(), cell.Bottom());
            if (deal.Cells.Mask(r, c) != HiddenCell)
                DrawOpenCellText(cell, deal.Cells.Mask(r, c));
        }
    board->show();
    board->update();
    board->setAccessibleName(UiText(Msg::A11yBoard));
    board->setAccessibleDescription(ToQString(puzzle.PuzzleTheme));
    DescribeBoard(deal.Cells);

    themeLabel->setText(ToQString(puzzle.PuzzleTheme));
    themeLabel->show();
}

void DealView::DrawOpenCellText(const ControlRect& cell, char character)
{
    // Cells that no key opens (a blank inside the last part, a hyphen) are
    // shown open from the start, as plain text.
    QPainter p(&board->Canvas());
    p.setFont(DisplayFont(prefs_, RoundInt(cell.Height * 0.6)));
    p.setPen(ToQColor(kCellTextColour));
    p.drawText(ToQRect(cell), Qt::AlignCenter, ToQString(std::string(1, character)));
}

void DealView::ShowScore(std::int32_t score, int dealNumber)
{
    DrawPicture(QStringLiteral("GRamka2"), scoreFrame, true);
    DrawPicture(QStringLiteral("GRamka2"), dealFrame, true);
    const QFont font = DisplayFont(prefs_, layout_.ScoreFontHeight);
    const QString texts[2] = {QString::number(score),
                              QString::number(dealNumber) + QStringLiteral(" / ") + QString::number(DealsPerGame)};
    PictureBox* boxes[2] = {scoreFrame, dealFrame};
    for (int i = 0; i < 2; ++i) {
        {
            QPainter p(&boxes[i]->Canvas());
            p.setFont(font);
            p.setPen(ToQColor(kRed));
            TextOutCentred(texts[i], 0, boxes[i]->width(), layout_.ScoreTextTop, p);
        }
        boxes[i]->update();
    }
    SetAccessibleValue(scoreFrame, UiText(Msg::A11yScore) + QStringLiteral(": ") + texts[0], score);
    SetAccessibleValue(dealFrame, UiText(Msg::A11yDeal) + QStringLiteral(": ") + texts[1], dealNumber);
}

void DealView::DescribeBoard(const Board& cells)
{
    // The rows that hold cells, all ten columns each: a place with no cell
    // reads as nothing, so the words stay apart.
    QStringList texts;
    for (int r = 1; r <= BoardRows; ++r) {
        QStringList row;
        bool any = false;
        for (int c = 1; c <= BoardColumns; ++c) {
            if (!cells.HasCell(r, c)) {
                row << QString();
                continue;
            }
            any = true;
            const char mask = cells.Mask(r, c);
            row << (mask == HiddenCell ? UiText(Msg::A11yClosedCell) : ToQString(std::string(1, mask)));
        }
        if (any)
            texts << row;
    }
    SetAccessibleCells(board, BoardColumns, texts);
}

void DealView::AnnounceGuess(const DealBoard& deal, const GuessOutcome& outcome, int letterCode, std::int32_t score)
{
    const QString before = AccessibleText(board);
    DescribeBoard(deal.Cells);
    const QString letter = QString(QChar(letterCode));
    QString said;
    if (!outcome.Opened.empty()) {
        AnnounceTextChange(board, before, AccessibleText(board));
        said = UiText(Msg::A11yLetterOpened).arg(letter).arg(outcome.Opened.size());
    } else if (outcome.Missed) {
        said = UiText(Msg::A11yLetterMissed).arg(letter).arg(score);
    }
    if (outcome.Solved)
        said += (said.isEmpty() ? QString() : QStringLiteral(". ")) + UiText(Msg::A11yDealSolved).arg(score);
    if (!said.isEmpty())
        AnnounceAlert(window_, said);
}

void DealView::DressLetterKeys()
{
    const GameScreenLayout& g = layout_;
    const QFont captionFont = DisplayFont(prefs_, g.KeyCaptionHeight);
    for (int k = 1; k <= LetterKeys; ++k) {
        TTevQuizButton* key = letterKeys[static_cast<std::size_t>(k - 1)];
        key->SetLayout(blGlyphBottom);
        if (g.Face == KeyFace::Caption) {
            key->SetGlyph(QPixmap());
            key->setText(ToQString(std::string(1, KeyLetter(k))));
            if (key->font() != captionFont)
                key->setFont(captionFont);
            key->SetFontColor(kAqua);
        } else {
            key->setText(QString());
            key->SetGlyph(LetterGlyph(k, g.FacePictureSize));
        }
        key->setAccessibleDescription(QString());
        key->setEnabled(true);
    }
}

bool DealView::KeyEnabled(int k) const
{
    if (k < 1 || k > LetterKeys)
        return false;
    const TTevQuizButton* key = letterKeys[static_cast<std::size_t>(k - 1)];
    return key && key->isEnabled();
}

void DealView::UseKey(int k)
{
    TTevQuizButton* key = letterKeys[static_cast<std::size_t>(k - 1)];
    key->setText(QString());
    key->setAccessibleDescription(UiText(Msg::A11yTriedLetter));
    key->setEnabled(false);
    key->SetGlyph(QPixmap());
}

void DealView::OpenCells(const std::vector<CellPosition>& cells, int letterCode)
{
    const CellGrid grid = CellGridFor(board->width(), board->height());
    for (const CellPosition& cell : cells)
        for (int step = 1; step <= OpeningSteps; ++step)
            DrawOpeningStep(grid, cell, letterCode, step);
}

void DealView::DrawOpeningStep(const CellGrid& grid, const CellPosition& cell, int letterCode, int step)
{
    const ControlRect frame = CellRect(grid, cell.Row, cell.Column);
    DrawPicture(QStringLiteral("GFrameS"), board, false, frame.Left, frame.Top, frame.Right(), frame.Bottom());
    const ControlRect letter = GrowingLetterRect(grid, cell.Row, cell.Column, step);
    DrawPicture(FromUtf8(LetterPictureName(KeyOfTypedChar(static_cast<char32_t>(letterCode)))), board, false,
                letter.Left, letter.Top, letter.Right(), letter.Bottom());
    // Only the cell is shown again, at once: the opening is drawn step by
    // step without giving the event loop a turn.
    board->repaint(ToQRect(frame).united(ToQRect(letter)));
}

void DealView::ShowSolved(bool nextOffered)
{
    for (TTevQuizButton* key : letterKeys)
        if (key)
            key->setEnabled(false);
    exitButton->setEnabled(true);
    nextButton->setEnabled(nextOffered);
}

void DealView::ShowRatingMark(bool ratingGame)
{
    if (ratingGame) {
        ratingMark->setFont(DisplayFont(prefs_, std::max(12, lay_.ClientH / 40)));
        ratingMark->adjustSize();
        ratingMark->move(6, 6);
        ratingMark->raise();
    }
    ratingMark->setVisible(ratingGame);
}

void DealView::Hide()
{
    ratingMark->hide();
    for (QWidget* w : {static_cast<QWidget*>(exitButton), static_cast<QWidget*>(nextButton),
                       static_cast<QWidget*>(themeLabel), static_cast<QWidget*>(baseStar), static_cast<QWidget*>(board),
                       static_cast<QWidget*>(scoreFrame), static_cast<QWidget*>(dealFrame)})
        w->hide();
    for (TTevQuizButton* key : letterKeys) {
        if (!key)
            continue;
        key->hide();
        key->SetGlyph(QPixmap());
    }
}

void DealView::ReleaseLetterKeys()
{
    for (auto& key : letterKeys) {
        delete key;
        key = nullptr;
    }
}

bool DealView::IsDealButton(const QWidget* widget) const
{
    return widget && (widget == exitButton || widget == nextButton);
}

} // namespace vk
