#pragma once
// The patterns of names the folder benchmarks are made of: the names people's
// folders really hold (camera and screenshot names, long shared beginnings,
// names that differ only in case, Latin-1 bytes, Traditional Chinese), by
// entry number.

#include <cinttypes>
#include <cstdint>
#include <cstdio>
#include <ctime>
#include <string>

inline std::string Format(const char* format, int i)
{
    char name[256];
    std::snprintf(name, sizeof name, format, i);
    return name;
}

// A moment of 2023 onwards, `step` seconds per entry, in UTC.
inline std::tm Moment(long entry, long step)
{
    const time_t start = 1672531200;  // 2023-01-01 00:00:00
    const time_t at = start + entry * step;
    std::tm fields{};
    gmtime_r(&at, &fields);
    return fields;
}

inline std::string Mixed(int i)
{
    char name[96];
    std::snprintf(name, sizeof name, "%s%d_Take%d%s",
                  (i % 3 == 0) ? "IMG_" : (i % 3 == 1 ? "img" : "Holiday"), i, i % 17,
                  i % 100 == 0 ? "" : ".jpg");
    return name;
}

inline std::string Screenshot(int i)
{
    // 31 s apart: a million entries span a year, so every field varies.
    const std::tm t = Moment(i, 31);
    char name[96];
    std::snprintf(name, sizeof name, "Screenshot from %04d-%02d-%02d %02d-%02d-%02d.png",
                  t.tm_year + 1900, t.tm_mon + 1, t.tm_mday, t.tm_hour, t.tm_min, t.tm_sec);
    return name;
}

// Half dated camera names, half numbered ones; a numbered series holds
// 100 000 pictures, so each further series has a prefix of its own.
inline std::string Camera(int i)
{
    char name[96];
    if (i % 2 == 0) {
        const std::tm t = Moment(i / 2, 23);
        std::snprintf(name, sizeof name, "IMG_%04d%02d%02d_%02d%02d%02d.jpg", t.tm_year + 1900,
                      t.tm_mon + 1, t.tm_mday, t.tm_hour, t.tm_min, t.tm_sec);
    } else {
        static const char* const kSeries[] = {"DSC", "DSCF", "DSCN", "DSCT", "DSCX"};
        const int n = i / 2;
        const int series = n / 100000;
        std::snprintf(name, sizeof name, "%s%05d%s.JPG", kSeries[series % 5], n % 100000,
                      series < 5 ? "" : Format("-%d", series / 5).c_str());
    }
    return name;
}

inline std::string NumberFirst48(int i)
{
    std::string name = Format("%07d Holiday photo from the summer of 2024 at the lake", i);
    name.resize(44);
    return name + ".jpg";
}

inline std::string Long200(int i)
{
    std::string name;
    while (name.size() < 188) name += "Holiday photo from the summer of 2024 at the lake, ";
    name.resize(188);
    return name + Format(" %07d.jpg", i);
}

// The same words for every entry; the case of the n-th letter is bit n of the
// entry's number. Folded to one case all the names are equal, so a
// comparison that folds case runs to the end of the name every time before
// the exact bytes decide.
inline std::string CaseOnly(int i)
{
    std::string name = "holiday photo from summer trip";
    int bit = 0;
    for (char& c : name) {
        if (c == ' ') continue;
        if ((static_cast<unsigned>(i) >> bit++) & 1u) c = static_cast<char>(c - 'a' + 'A');
    }
    return name + ".jpg";
}

inline std::uint64_t Mix(std::uint64_t x)
{
    // A bijection, so the first 16 digits alone are unique per entry.
    x += 0x9e3779b97f4a7c15ULL;
    x = (x ^ (x >> 30)) * 0xbf58476d1ce4e5b9ULL;
    x = (x ^ (x >> 27)) * 0x94d049bb133111ebULL;
    return x ^ (x >> 31);
}

inline std::string Hash40(int i)
{
    const std::uint64_t a = Mix(static_cast<std::uint64_t>(i));
    const std::uint64_t b = Mix(a);
    const std::uint64_t c = Mix(b);
    char name[64];
    std::snprintf(name, sizeof name, "%016" PRIx64 "%016" PRIx64 "%08" PRIx64 ".jpg", a, b,
                  c >> 32);
    return name;
}

// Latin-1 bytes (0x80-0xFF), which are not UTF-8: "Été à Genève, fête du lac".
inline std::string Latin1(int i)
{
    return Format(
        "\xc9"
        "t\xe9 \xe0 Gen\xe8"
        "ve, f\xea"
        "te du lac %07d.jpg",
        i);
}

inline std::string Chinese(int i)
{
    return Format("家庭旅遊照片 %07d.jpg", i);
}

struct Pattern {
    const char* key;
    std::string (*name)(int);
    bool (*folder)(int);
};

inline bool NoFolders(int)
{
    return false;
}

inline bool EveryHundredth(int i)
{
    return i % 100 == 0;
}

inline const Pattern kPatterns[] = {
    {"mixed", Mixed, EveryHundredth},
    {"prefix17", [](int i) { return Format("Holiday photo fr %07d.jpg", i); }, NoFolders},
    {"prefix38", [](int i) { return Format("Holiday photo from the summer of 2024 %07d.jpg", i); },
     NoFolders},
    {"screenshot", Screenshot, NoFolders},
    {"camera", Camera, NoFolders},
    {"number48", NumberFirst48, NoFolders},
    {"long200", Long200, NoFolders},
    {"case", CaseOnly, NoFolders},
    {"hex40", Hash40, NoFolders},
    {"latin1", Latin1, NoFolders},
    {"chinese", Chinese, NoFolders},
};

inline const Pattern* FindPattern(const std::string& key)
{
    for (const Pattern& pattern : kPatterns)
        if (key == pattern.key) return &pattern;
    return nullptr;
}
