#pragma once

#include <QLocale>
#include <QString>
#include <chrono>

namespace kestrix::views {

// When an eject happened, as the history page shows it: abbreviated month, day, hour (with the
// AM/PM marker where the locale uses one) and minute, in the locale's order, in local time.
QString historyDate(std::chrono::system_clock::time_point date, const QLocale& locale);

}  // namespace kestrix::views
