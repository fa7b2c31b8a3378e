#pragma once

#include <QLocale>
#include <QString>
#include <chrono>
#include <string>

namespace kestrix::views {

// When an eject happened, as the history page shows it: abbreviated month, day, hour (with the
// AM/PM marker where the locale uses one) and minute, in the locale's order, in local time.
QString historyDate(std::chrono::system_clock::time_point date, const QLocale& locale);

// The locale dates are written in: that of the language the texts speak ("es" from the catalogue
// chosen, English when none is), keeping the system's country where it speaks that language too.
QLocale textLocale(const std::string& textLanguage, const QLocale& system);
// The same for the catalogue the texts come from now.
QLocale textLocale();

}  // namespace kestrix::views
