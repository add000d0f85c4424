#pragma once
// Sets of file names made to strain a folder's order: families of names that
// share a beginning and go on in letters, digits, spaces or punctuation;
// digit runs with leading zeros and longer than 64 bits; the same names in
// other cases or with other leading zeros; Traditional Chinese, combining
// accents and Latin-1 bytes that are not UTF-8; names that are a byte prefix
// of others that go on differently; beginnings shared far past one key.
// The same seed makes the same set on every machine (the engine's output is
// fixed by the standard, and only its raw numbers are used).

#include <cstddef>
#include <cstdint>
#include <random>
#include <set>
#include <string>
#include <vector>

class NameFamilies {
public:
    explicit NameFamilies(std::uint64_t seed) : FRandom(seed) {}

    // About count different names, each a valid file name (1 to 255 bytes,
    // no '/', not "." or ".."), in the order they were made.
    std::vector<std::string> Make(size_t count)
    {
        std::vector<std::string> names;
        std::set<std::string> seen;
        const auto add = [&](std::string name) {
            if (name.size() > 255) name.resize(255);
            if (name.empty() || name == "." || name == "..") return;
            if (seen.insert(name).second) names.push_back(std::move(name));
        };
        for (size_t tries = 0; names.size() < count && tries < count * 4; ++tries) {
            const std::string stem = Stem();
            const size_t members = 1 + Below(12);
            // The stem itself, a byte prefix of every other member.
            if (Below(3) != 0) add(stem);
            for (size_t m = 0; m < members && names.size() < count; ++m) {
                std::string name = stem;
                for (size_t pieces = 1 + Below(3); pieces > 0; --pieces) name += Piece();
                if (Below(4) == 0) name += Extension();
                add(name);
                // The same name in other cases, and with other leading zeros.
                if (Below(4) == 0) add(OtherCase(name));
                if (Below(5) == 0) add(OtherZeros(name));
            }
        }
        return names;
    }

    size_t Below(size_t n) { return static_cast<size_t>(FRandom() % n); }

private:
    std::string Letters(size_t length)
    {
        std::string text;
        for (size_t i = 0; i < length; ++i) {
            const char c = static_cast<char>('a' + Below(Below(2) ? 26 : 3));
            text += Below(3) == 0 ? static_cast<char>(c - 'a' + 'A') : c;
        }
        return text;
    }

    // A digit run: leading zeros, and now and then more digits than 64 bits
    // hold.
    std::string Digits()
    {
        std::string run(Below(4) == 0 ? Below(4) : 0, '0');
        const size_t length = Below(6) == 0 ? 19 + Below(30) : 1 + Below(6);
        for (size_t i = 0; i < length; ++i)
            run += static_cast<char>('0' + Below(Below(2) ? 10 : 3));
        return run;
    }

    std::string Foreign()
    {
        static const char* const kinds[] = {
            "\xE5\xAE\xB6\xE5\xBA\xAD",  // 家庭
            "\xE7\x85\xA7\xE7\x89\x87",  // 照片
            "\xE7\xAC\xAC",              // 第
            "e\xCC\x81",                 // e and a combining acute
            "\xC3\xA9",                  // é precomposed
            "\xE9",                      // Latin-1 é, not UTF-8
            "\xFF",
            "\xC3",  // a lone lead byte
            "\xE0 la",
        };
        return kinds[Below(sizeof kinds / sizeof *kinds)];
    }

    std::string Punctuation()
    {
        static const char marks[] = " ._-~!()[]{},;'+=@#$%&^`";
        return std::string(1 + Below(2), marks[Below(sizeof marks - 1)]);
    }

    // What follows a family's stem.
    std::string Piece()
    {
        switch (Below(7)) {
        case 0:
        case 1: return Letters(1 + Below(Below(4) ? 3 : 20));
        case 2:
        case 3: return Digits();
        case 4: return Below(2) ? " " : "  ";
        case 5: return Punctuation();
        default: return Foreign();
        }
    }

    std::string Extension()
    {
        static const char* const extensions[] = {".txt", ".jpg", ".JPG", ".tar.gz", ".2", "."};
        return extensions[Below(sizeof extensions / sizeof *extensions)];
    }

    // The beginning a family shares: nothing, a word or two, or one long
    // enough (16 folded bytes and more) that the names agree past a key.
    std::string Stem()
    {
        static const char* const known[] = {
            "notes from the meeting",
            "Holiday photo from the summer of 2024 ",
            "IMG_20240104_",
            "Screenshot from 2024-01-04 ",
            "sixteen letters",
            "seventeen letters",
            "\xE5\xAE\xB6\xE5\xBA\xAD\xE6\x97\x85\xE9\x81\x8A\xE7\x85\xA7\xE7\x89\x87 ",
            "Caf\xE9 \xE0 la cr\xE8me ",
            "report 0012",
            "x",
        };
        switch (Below(6)) {
        case 0: return "";
        case 1: return known[Below(sizeof known / sizeof *known)];
        case 2: return Letters(1 + Below(6));
        case 3: return Letters(16 + Below(30));
        case 4: {
            std::string stem;
            while (stem.size() < 16 + Below(40)) stem += Piece();
            return stem;
        }
        default: return OtherCase(known[Below(sizeof known / sizeof *known)]) + Piece();
        }
    }

    std::string OtherCase(std::string name)
    {
        for (char& c : name) {
            if (c >= 'a' && c <= 'z' && Below(2))
                c = static_cast<char>(c - 'a' + 'A');
            else if (c >= 'A' && c <= 'Z' && Below(2))
                c = static_cast<char>(c - 'A' + 'a');
        }
        return name;
    }

    // The first digit run with a zero more in front, or one fewer.
    std::string OtherZeros(std::string name)
    {
        const size_t digit = name.find_first_of("0123456789");
        if (digit == std::string::npos) return name;
        const auto at = name.begin() + static_cast<std::ptrdiff_t>(digit);
        if (*at == '0' && Below(2))
            name.erase(at);
        else
            name.insert(at, '0');
        return name;
    }

    std::mt19937_64 FRandom;
};
