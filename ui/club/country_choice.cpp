#include "ui/club/country_choice.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QPainter>
#include <QSignalBlocker>
#include <QStyledItemDelegate>

#include "ui/club/country_flags.h"
#include "ui/kit/text_codec.h"

namespace vk {
namespace {

constexpr QSize kFlagSize(14, 12);

const Msg kContinentNames[ContinentCount] = {Msg::Europe,       Msg::Asia,    Msg::NorthAmerica,
                                             Msg::SouthAmerica, Msg::Oceania, Msg::Africa};

// An item of the country list: its flag 2 pixels in from the top-left
// corner, the name 8 pixels past the flag.
class CountryItemDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        return {QStyledItemDelegate::sizeHint(option, index).width(), CountryChoice::ItemHeight};
    }

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        const bool selected = option.state & QStyle::State_Selected;
        const QRect r = option.rect;
        painter->save();
        painter->fillRect(r, option.palette.color(selected ? QPalette::Highlight : QPalette::Base));
        const QImage flag = index.data(Qt::DecorationRole).value<QIcon>().pixmap(kFlagSize).toImage();
        painter->drawImage(r.left() + 2, r.top() + 2, flag);
        painter->setPen(option.palette.color(selected ? QPalette::HighlightedText : QPalette::Text));
        painter->setFont(option.font);
        painter->drawText(QRect(r.left() + kFlagSize.width() + 8, r.top(), r.width(), r.height()),
                          Qt::AlignLeft | Qt::AlignVCenter, index.data(Qt::DisplayRole).toString());
        painter->restore();
    }
};

} // namespace

CountryChoice::CountryChoice(QWidget* parent, const QString& continentListName, const QString& countryListName)
    : QObject(parent)
{
    Continents = new QComboBox(parent);
    Continents->setObjectName(continentListName);
    for (const Msg name : kContinentNames)
        Continents->addItem(UiText(name));
    Countries = new QComboBox(parent);
    Countries->setObjectName(countryListName);
    Countries->setItemDelegate(new CountryItemDelegate(Countries));
    Countries->setIconSize(kFlagSize);
    // A list of its own height under the box, not one over the whole
    // screen: up to 55 countries.
    Countries->setStyleSheet(QStringLiteral("QComboBox { combobox-popup: 0; }"));
    Countries->setMaxVisibleItems(20);
    // Only the player's own picks count; a list filled or set from code
    // says nothing.
    connect(Continents, &QComboBox::activated, this, &CountryChoice::ContinentActivated);
    connect(Countries, &QComboBox::activated, this, &CountryChoice::CountryActivated);
    ShowCode("1-001");
}

void CountryChoice::ShowCode(std::string_view code)
{
    const CountryPlace place = ShownCountry(code);
    FillCountries(place.Continent);
    const QSignalBlocker blockCountries(Countries);
    Countries->setCurrentIndex(place.Row);
    shown_ = place;
    showsCode_ = ParseCountryCode(code).has_value();
}

void CountryChoice::FillCountries(int continent)
{
    const QSignalBlocker blockContinents(Continents);
    const QSignalBlocker blockCountries(Countries);
    Continents->setCurrentIndex(continent - 1);
    Countries->clear();
    for (int row = 0; row <= ContinentHighestRow(continent); ++row) {
        const QImage flag = CountryFlagPicture(CountryCodeOf({continent, row}));
        Countries->addItem(QIcon(QPixmap::fromImage(flag)), ToQString(CountryRow(continent, row).English));
    }
    Countries->setCurrentIndex(0);
    // The open list is as wide as its longest name needs.
    const QFontMetrics metrics(Countries->font());
    int widest = 0;
    for (int row = 0; row < Countries->count(); ++row)
        widest = std::max(widest, metrics.horizontalAdvance(Countries->itemText(row)));
    Countries->view()->setMinimumWidth(kFlagSize.width() + 8 + widest + 8 +
                                       Countries->style()->pixelMetric(QStyle::PM_ScrollBarExtent));
    shown_ = {continent, 0};
}

void CountryChoice::ContinentActivated(int index)
{
    const int continent = index + 1;
    // Picking the continent already shown keeps the country, unless the
    // lists stand for a code that did not parse.
    if (continent < 1 || continent > ContinentCount || (continent == shown_.Continent && showsCode_))
        return;
    FillCountries(continent);
    showsCode_ = true;
    emit chosen(continent, 0);
}

void CountryChoice::CountryActivated(int index)
{
    if (index < 0 || index > ContinentHighestRow(shown_.Continent))
        return;
    shown_.Row = index;
    showsCode_ = true;
    emit chosen(shown_.Continent, index);
}

} // namespace vk
