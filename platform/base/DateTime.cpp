// TDateTime: days since 1899-12-30 with the time of day as the fraction. For
// days before that date the time is subtracted, as the toolkit has always
// stored it, so the integer part alone names the day.

#include "platform/base/SysUtils.h"

#include <QDate>
#include <QLocale>
#include <QTime>

#include <algorithm>
#include <cmath>
#include <vector>

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

// A pattern is a row of fields (runs of one ASCII letter, which Qt expands),
// quoted text and plain literal text.
enum class PartKind { Field, Quoted, Plain };
struct PatternPart {
    PartKind kind;
    QString text;
};

bool isFieldLetter(QChar c)
{
    return c.unicode() < 0x80 && c.isLetter();
}

std::vector<PatternPart> splitPattern(const QString& pattern)
{
    std::vector<PatternPart> parts;
    for (qsizetype i = 0; i < pattern.size();) {
        const QChar c = pattern[i];
        qsizetype end = i + 1;
        PartKind kind = PartKind::Plain;
        if (isFieldLetter(c)) {
            kind = PartKind::Field;
            while (end < pattern.size() && pattern[end] == c) ++end;
        } else if (c == u'\'') {
            kind = PartKind::Quoted;
            while (end < pattern.size() && pattern[end] != u'\'') ++end;
            end = std::min(end + 1, pattern.size());
        } else {
            while (end < pattern.size() && pattern[end] != u'\'' && !isFieldLetter(pattern[end]))
                ++end;
        }
        parts.push_back({kind, pattern.mid(i, end - i)});
        i = end;
    }
    return parts;
}

// Blanks, commas and brackets only join a time zone to the rest.
bool joinsTimeZone(QChar c)
{
    return c.isSpace() || QStringLiteral(",[]()\uFF08\uFF09\u3010\u3011").contains(c);
}

void dropTimeZone(std::vector<PatternPart>& parts, size_t zone)
{
    parts[zone].text.clear();
    if (zone > 0 && parts[zone - 1].kind == PartKind::Plain) {
        QString& before = parts[zone - 1].text;
        while (!before.isEmpty() && joinsTimeZone(before.back())) before.chop(1);
    }
    if (zone + 1 < parts.size() && parts[zone + 1].kind == PartKind::Plain) {
        QString& after = parts[zone + 1].text;
        while (!after.isEmpty() && joinsTimeZone(after.front())) after.remove(0, 1);
    }
}

// A locale's time pattern made into one that Qt expands completely: the
// flexible day period (B, b), which Qt leaves as a letter, becomes the AM/PM
// marker, any other letter Qt does not know goes, and so does the time zone
// with the blanks, commas and brackets around it: "Bh:mm:ss [t]" becomes
// "APh:mm:ss". File dates are local times, shown without a zone.
QString expandTimePattern(const QString& pattern)
{
    static const QString known = QStringLiteral("dMyhHmszaApP");
    std::vector<PatternPart> parts = splitPattern(pattern);
    for (size_t i = 0; i < parts.size(); ++i) {
        if (parts[i].kind != PartKind::Field) continue;
        const QChar letter = parts[i].text[0];
        if (letter == u't')
            dropTimeZone(parts, i);
        else if (letter == u'B' || letter == u'b')
            parts[i].text = QStringLiteral("AP");
        else if (!known.contains(letter))
            parts[i].text.clear();
    }
    QString out;
    for (const PatternPart& part : parts) out += part.text;
    return out.trimmed();
}

// The same, kept for the pattern last asked for: every row's date asks for
// the same one.
QString expandableTimePattern(const QString& pattern)
{
    thread_local QString lastPattern;
    thread_local QString lastExpanded;
    thread_local bool known = false;
    if (!known || pattern != lastPattern) {
        lastExpanded = expandTimePattern(pattern);
        lastPattern = pattern;
        known = true;
    }
    return lastExpanded;
}

QString dateTimeText(TDateTime value, const QLocale& locale)
{
    const double day = std::trunc(value);
    long long ms = std::llround(std::fabs(value - day) * kMsPerDay);
    if (ms >= 86400000) ms = 86399999;
    const QDate date = QDate(1899, 12, 30).addDays(static_cast<qint64>(day));
    const QTime time = QTime::fromMSecsSinceStartOfDay(static_cast<int>(ms));
    QString text = locale.toString(date, locale.dateFormat(QLocale::ShortFormat));
    if (time.hour() != 0 || time.minute() != 0 || time.second() != 0)
        text += u' ' + locale.toString(
                           time, expandableTimePattern(locale.timeFormat(QLocale::LongFormat)));
    return text;
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
    return dateTimeText(value, QLocale::system()).toStdString();
}

AnsiString DateTimeToStr(TDateTime value, const AnsiString& localeName)
{
    return dateTimeText(value, QLocale(QString::fromStdString(localeName))).toStdString();
}
