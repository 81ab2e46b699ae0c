#pragma once
// The choice of a country: a list of the six continents and, beside it, the
// continent's countries with their flags (drawn by the list itself, items
// 18 pixels high).  The passport window and the account window both use it.
//
// Filling the lists from a stored code never reports a choice: only what the
// player picks does (`chosen`), so showing a code can never rewrite it.
#include <QObject>
#include <QString>
#include <string_view>

#include "common/countries.h"

class QComboBox;
class QWidget;

namespace vk {

class CountryChoice : public QObject {
    Q_OBJECT
public:
    // Makes the two lists as children of `parent` under the names the window
    // gives them; the window places them and sets their fonts and colours.
    CountryChoice(QWidget* parent, const QString& continentListName, const QString& countryListName);

    // The two lists, for the window to place and dress.
    QComboBox* ContinentList() const { return continents_; }
    QComboBox* CountryList() const { return countries_; }

    // Shows a stored code (see ShownCountry): the continent, its countries
    // and the code's row.
    void ShowCode(std::string_view code);
    // The continent and row the lists show.
    CountryPlace Shown() const { return shown_; }

    static constexpr int ItemHeight = 18;

signals:
    // The player picked a continent (its row 0 then stands) or a country.
    // CountryCodeOf gives the new code, CountryRow its key.
    void chosen(int continent, int row);

private:
    void FillCountries(int continent);
    void ContinentActivated(int index);
    void CountryActivated(int index);

    QComboBox* continents_ = nullptr;
    QComboBox* countries_ = nullptr;
    CountryPlace shown_;
    bool showsCode_ = true; // the lists show a code that parsed, or the player's pick
};

} // namespace vk
