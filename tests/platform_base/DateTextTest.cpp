// Date texts in the formats of real locales: every locale the system lists
// and every one Qt knows must come out as plain text, and four of them as
// fixed strings.

#include "platform/base/SysUtils.h"

#include <QLocale>
#include <QString>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <set>
#include <string>
#include <vector>

namespace {

SYSTEMTIME at(int h, int mi, int s)
{
    SYSTEMTIME t{};
    t.wYear = 2026;
    t.wMonth = 12;
    t.wDay = 9;  // a Wednesday
    t.wHour = static_cast<WORD>(h);
    t.wMinute = static_cast<WORD>(mi);
    t.wSecond = static_cast<WORD>(s);
    return t;
}

AnsiString text(const AnsiString& locale, int h, int mi, int s)
{
    return DateTimeToStr(SystemTimeToDateTime(at(h, mi, s)), locale);
}

// The names `locale -a` prints, as a user would put them in LANG.
std::vector<std::string> systemLocales()
{
    std::vector<std::string> names;
    FILE* pipe = popen("locale -a 2>/dev/null", "r");
    if (!pipe) return names;
    char line[256];
    while (fgets(line, sizeof line, pipe)) {
        std::string name(line);
        while (!name.empty() && (name.back() == '\n' || name.back() == '\r')) name.pop_back();
        if (!name.empty()) names.push_back(name);
    }
    pclose(pipe);
    return names;
}

// Latin letters the locale itself spells out: its day-period markers, the
// names of the month and the weekday of the test date, and quoted text in
// its patterns. Any other Latin letter in a date text is a pattern letter
// that was never expanded.
QString lettersOfTheLocale(const QLocale& locale)
{
    QString texts = locale.amText() + locale.pmText();
    for (QLocale::FormatType type :
         {QLocale::LongFormat, QLocale::ShortFormat, QLocale::NarrowFormat}) {
        texts += locale.monthName(12, type) + locale.standaloneMonthName(12, type);
        texts += locale.dayName(3, type) + locale.standaloneDayName(3, type);
    }
    const QString patterns =
        locale.dateFormat(QLocale::ShortFormat) + locale.timeFormat(QLocale::LongFormat);
    bool quoted = false;
    for (QChar c : patterns) {
        if (c == u'\'')
            quoted = !quoted;
        else if (quoted)
            texts += c;
    }
    // The AM/PM marker is shown in capitals.
    return texts + texts.toUpper();
}

// What makes a date text plain: no unexpanded pattern letter, no bracket,
// no dangling comma or blank, the time part after the date and a blank, and
// nothing after the date at midnight.
void expectPlainText(const std::string& name)
{
    const QLocale locale(QString::fromStdString(name));
    const QString allowed = lettersOfTheLocale(locale);
    const QString midnight = QString::fromStdString(text(name, 0, 0, 0));
    const QString afternoon = QString::fromStdString(text(name, 14, 44, 30));
    ASSERT_FALSE(midnight.isEmpty()) << name;
    EXPECT_TRUE(afternoon.startsWith(midnight + u' ')) << name << ": " << afternoon.toStdString();
    const QString time = afternoon.mid(midnight.size() + 1);
    EXPECT_TRUE(time.contains(locale.toString(44)) && time.contains(locale.toString(30)))
        << name << ": " << afternoon.toStdString();
    for (QChar c : afternoon) {
        if (c.unicode() < 0x80 && c.isLetter()) {
            EXPECT_TRUE(allowed.contains(c)) << name << ": '" << afternoon.toStdString() << "'";
        }
        EXPECT_FALSE(QStringLiteral("[]()").contains(c))
            << name << ": '" << afternoon.toStdString() << "'";
    }
    EXPECT_FALSE(time.isEmpty() || time.back().isSpace() || time.back() == u',')
        << name << ": '" << afternoon.toStdString() << "'";
}

}  // namespace

// Four locales, spelled exactly: the program's own language among them, with
// its day period as a word and no time zone.
TEST(DateText, FixedLocalesReadExactly)
{
    const struct {
        const char* locale;
        const char* afternoon;
        const char* morning;
        const char* midnight;
    } cases[] = {
        {"C", "9 Dec 2026 14:44:30", "9 Dec 2026 02:05:09", "9 Dec 2026"},
        {"en_US.UTF-8", "12/9/26 2:44:30 PM", "12/9/26 2:05:09 AM", "12/9/26"},
        {"de_DE.UTF-8", "09.12.26 14:44:30", "09.12.26 02:05:09", "09.12.26"},
        {"zh_TW.UTF-8", "2026/12/9 下午2:44:30", "2026/12/9 上午2:05:09", "2026/12/9"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(text(c.locale, 14, 44, 30), c.afternoon) << c.locale;
        EXPECT_EQ(text(c.locale, 2, 5, 9), c.morning) << c.locale;
        EXPECT_EQ(text(c.locale, 0, 0, 0), c.midnight) << c.locale;
        EXPECT_EQ(text(c.locale, 0, 0, 1).substr(0, strlen(c.midnight) + 1),
                  std::string(c.midnight) + " ")
            << c.locale;
    }
}

// Every locale this machine has, by the names a user sets, and every locale
// Qt carries data for.
TEST(DateText, EveryLocaleGivesPlainText)
{
    std::set<std::string> names{"C", "POSIX"};
    for (const std::string& name : systemLocales()) names.insert(name);
    for (const QLocale& locale :
         QLocale::matchingLocales(QLocale::AnyLanguage, QLocale::AnyScript, QLocale::AnyTerritory))
        names.insert(locale.name().toStdString());
    ASSERT_GT(names.size(), 100u);
    for (const std::string& name : names) expectPlainText(name);
}
