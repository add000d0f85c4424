// TDateTime: days since 1899-12-30 with the time of day as the fraction. For
// days before that date the time is subtracted, as the toolkit has always
// stored it, so the integer part alone names the day.

#include "platform/base/SysUtils.h"

#include <QDate>
#include <QLocale>
#include <QTime>

#include <cmath>

namespace {

constexpr double kMsPerDay = 86400000.0;

bool isLeap(int year)
{
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

int daysInMonth(int year, int month)
{
    static const int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return month == 2 && isLeap(year) ? 29 : days[month - 1];
}

// Days from 1899-12-30 to the given civil date.
long long daysFromCivil(int y, int m, int d)
{
    y -= m <= 2 ? 1 : 0;
    const long long era = (y >= 0 ? y : y - 399) / 400;
    const long long yoe = y - era * 400;
    const long long doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const long long doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468 + 25569;  // 1970-01-01 is day 25569
}

// Drops the time-zone fields (t, tt, ttt, tttt) and the blanks they leave.
QString withoutTimeZone(const QString& format)
{
    QString out;
    bool quoted = false;
    for (qsizetype i = 0; i < format.size(); ++i) {
        const QChar c = format[i];
        if (c == u'\'') quoted = !quoted;
        if (!quoted && c == u't') continue;
        out += c;
    }
    return out.simplified();
}

}  // namespace

TDateTime SystemTimeToDateTime(const SYSTEMTIME& t)
{
    if (t.wYear < 1 || t.wYear > 9999 || t.wMonth < 1 || t.wMonth > 12 || t.wDay < 1 ||
        t.wDay > daysInMonth(t.wYear, t.wMonth) || t.wHour > 23 || t.wMinute > 59 ||
        t.wSecond > 59 || t.wMilliseconds > 999)
        throw EConvertError("Invalid argument to date encode");
    const double date = static_cast<double>(daysFromCivil(t.wYear, t.wMonth, t.wDay));
    const double time =
        ((t.wHour * 60.0 + t.wMinute) * 60.0 + t.wSecond) * 1000.0 + t.wMilliseconds;
    const double fraction = time / kMsPerDay;
    return date >= 0 ? date + fraction : date - fraction;
}

AnsiString DateTimeToStr(TDateTime value)
{
    const double day = std::trunc(value);
    long long ms = std::llround(std::fabs(value - day) * kMsPerDay);
    if (ms >= 86400000) ms = 86399999;
    const QDate date = QDate(1899, 12, 30).addDays(static_cast<qint64>(day));
    const QTime time = QTime::fromMSecsSinceStartOfDay(static_cast<int>(ms));
    const QLocale locale = QLocale::system();
    QString text = locale.toString(date, locale.dateFormat(QLocale::ShortFormat));
    if (time.hour() != 0 || time.minute() != 0 || time.second() != 0)
        text +=
            u' ' + locale.toString(time, withoutTimeZone(locale.timeFormat(QLocale::LongFormat)));
    return text.toStdString();
}
