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
    continents_ = new QComboBox(parent);
    continents_->setObjectName(continentListName);
    for (const Msg name : kContinentNames)
        continents_->addItem(UiText(name));
    countries_ = new QComboBox(parent);
    countries_->setObjectName(countryListName);
    countries_->setItemDelegate(new CountryItemDelegate(countries_));
    countries_->setIconSize(kFlagSize);
    // A list of its own height under the box, not one over the whole
    // screen: up to 55 countries.
    countries_->setStyleSheet(QStringLiteral("QComboBox { combobox-popup: 0; }"));
    countries_->setMaxVisibleItems(20);
    // Only the player's own picks count; a list filled or set from code
    // says nothing.
    connect(continents_, &QComboBox::activated, this, &CountryChoice::ContinentActivated);
    connect(countries_, &QComboBox::activated, this, &CountryChoice::CountryActivated);
    ShowCode("1-001");
}

void CountryChoice::ShowCode(std::string_view code)
{
    const CountryPlace place = ShownCountry(code);
    FillCountries(place.Continent);
    const QSignalBlocker blockCountries(countries_);
    countries_->setCurrentIndex(place.Row);
    shown_ = place;
    showsCode_ = ParseCountryCode(code).has_value();
}

void CountryChoice::FillCountries(int continent)
{
    const QSignalBlocker blockContinents(continents_);
    const QSignalBlocker blockCountries(countries_);
    continents_->setCurrentIndex(continent - 1);
    countries_->clear();
    for (int row = 0; row <= ContinentHighestRow(continent); ++row) {
        const QImage flag = CountryFlagPicture(CountryCodeOf({continent, row}));
        countries_->addItem(QIcon(QPixmap::fromImage(flag)), ToQString(CountryRow(continent, row).English));
    }
    countries_->setCurrentIndex(0);
    // The open list is as wide as its longest name needs.
    const QFontMetrics metrics(countries_->font());
    int widest = 0;
    for (int row = 0; row < countries_->count(); ++row)
        widest = std::max(widest, metrics.horizontalAdvance(countries_->itemText(row)));
    countries_->view()->setMinimumWidth(kFlagSize.width() + 8 + widest + 8
                                        + countries_->style()->pixelMetric(QStyle::PM_ScrollBarExtent));
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
