#include "KestrixApp/Views/MainWindow/HistoryDate.h"

#include <QDateTime>
#include <QRegularExpression>

#include "KestrixKit/Linux/Text/Translations.h"

namespace kestrix::views {

QString historyDate(std::chrono::system_clock::time_point date, const QLocale& locale) {
    const auto milliseconds = std::chrono::duration_cast<std::chrono::milliseconds>(date.time_since_epoch());
    const QDateTime when = QDateTime::fromMSecsSinceEpoch(milliseconds.count());
    const QString shortDate = locale.dateFormat(QLocale::ShortFormat);
    const bool dayFirst = shortDate.indexOf('d') < shortDate.indexOf('M');
    const QString dayAndMonth = dayFirst ? "d MMM" : "MMM d";
    // Some locales' short time keeps the seconds: they go, with the separator before them.
    QString time = locale.timeFormat(QLocale::ShortFormat);
    time.remove(QRegularExpression("[^A-Za-z]*s+"));
    return locale.toString(when, dayAndMonth + ", " + time);
}

QLocale textLocale(const std::string& textLanguage, const QLocale& system) {
    const QLocale::Language spoken =
        textLanguage.empty() ? QLocale::English : QLocale(QString::fromStdString(textLanguage)).language();
    if (system.language() == spoken) return system;
    return textLanguage.empty() ? QLocale(QLocale::English, QLocale::UnitedStates)
                                : QLocale(QString::fromStdString(textLanguage));
}

QLocale textLocale() { return textLocale(Translations::language(), QLocale()); }

}  // namespace kestrix::views
