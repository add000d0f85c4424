// The quick type by name against the database's own lookup: every name must
// get the same type, and so the same type text and icon. One lookup object
// serves every name, as in the program, so names that share a key and should
// not would show here.

#include "platform/shell/private/TypeByName.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <string>
#include <vector>

namespace {

struct Mismatch {
    QString name, got, expected;
};

// Checks every name; the first few mismatches are returned.
std::vector<Mismatch> Compare(TypeByName& types, const std::vector<QString>& names)
{
    const QMimeDatabase database;
    std::vector<Mismatch> mismatches;
    for (const QString& name : names) {
        const QMimeType got = types.Of(name);
        const QMimeType expected = database.mimeTypeForFile(name, QMimeDatabase::MatchExtension);
        if (got.name() != expected.name() || got.comment() != expected.comment())
            if (mismatches.size() < 10) mismatches.push_back({name, got.name(), expected.name()});
    }
    return mismatches;
}

std::string Describe(const std::vector<Mismatch>& mismatches)
{
    QString text;
    for (const Mismatch& m : mismatches)
        text += QStringLiteral("\"%1\": %2 instead of %3\n").arg(m.name, m.got, m.expected);
    return text.toStdString();
}

// Names a pattern stands for, and near misses: each wildcard filled in a few
// ways (a bracket by its first member, its last and a character outside it),
// then each in other cases, with a leading dot, with more before or after.
std::vector<QString> NamesFrom(const QString& pattern)
{
    std::vector<QString> filled{QString()};
    for (qsizetype i = 0; i < pattern.size(); ++i) {
        std::vector<QString> choices;
        const QChar c = pattern[i];
        if (c == u'*') {
            choices = {QString(), QStringLiteral("x"), QStringLiteral("Ab.C"),
                       QStringLiteral(".so.1")};
        } else if (c == u'?') {
            choices = {QStringLiteral("q"), QStringLiteral("9")};
        } else if (c == u'[' && pattern.indexOf(u']', i + 2) > i) {
            const qsizetype close = pattern.indexOf(u']', i + 2);
            const QString set = pattern.mid(i + 1, close - i - 1);
            choices = {QString(set.front()), QString(set.back()), QStringLiteral("!")};
            i = close;
        } else {
            choices = {QString(c)};
        }
        std::vector<QString> next;
        for (const QString& head : filled)
            for (const QString& choice : choices)
                if (next.size() < 64) next.push_back(head + choice);
        filled = std::move(next);
    }
    std::vector<QString> names;
    for (const QString& name : filled) {
        for (const QString& variant :
             {name, name.toUpper(), QString(name).replace(u'k', QChar(0x212A)),
              QString(name).replace(u'i', QChar(0x130)), QStringLiteral(".") + name,
              QStringLiteral("a") + name, name + QStringLiteral("~"), name + QStringLiteral(".gz"),
              name + QStringLiteral("1"), name.left(name.size() - 1), name.mid(1)})
            names.push_back(variant);
    }
    return names;
}

}  // namespace

TEST(TypeByNameTest, GivesTheDatabaseTypeForEveryPatternAndItsNearMisses)
{
    const QMimeDatabase database;
    std::set<QString> patterns;
    for (const QMimeType& type : database.allMimeTypes())
        for (const QString& pattern : type.globPatterns()) patterns.insert(pattern);
    ASSERT_GT(patterns.size(), 500u) << "no type database to compare with";
    std::vector<QString> names;
    for (const QString& pattern : patterns) {
        const auto more = NamesFrom(pattern);
        names.insert(names.end(), more.begin(), more.end());
    }
    TypeByName types;
    EXPECT_EQ("", Describe(Compare(types, names)));
    // And again in the other order: which name of a key came first must not matter.
    TypeByName reversed;
    EXPECT_EQ("", Describe(Compare(reversed, {names.rbegin(), names.rend()})));
}

TEST(TypeByNameTest, GivesTheDatabaseTypeForOddNames)
{
    const std::vector<std::string> bytes = {"",
                                            ".",
                                            "..",
                                            ".hidden",
                                            ".jpg",
                                            "a.",
                                            "noextension",
                                            "Makefile",
                                            "makefile",
                                            "MAKEFILE",
                                            "GNUmakefile",
                                            "makefile.am",
                                            "Makefile.in",
                                            "README",
                                            "readme",
                                            "README.md",
                                            "ReadMe.txt",
                                            "x.tar.gz",
                                            "X.TAR.GZ",
                                            "a.Tar.Bz2",
                                            "libc.so.6",
                                            "libfoo.so.1.2.3",
                                            "libfoo.so.x",
                                            "a.so.",
                                            "123.vdr",
                                            "12.vdr",
                                            "1234.vdr",
                                            "abc.vdr",
                                            "movie.anim5",
                                            "movie.animj",
                                            "movie.anim0",
                                            "page.1",
                                            "page.10",
                                            "page.0",
                                            "core",
                                            "CORE",
                                            "core.1",
                                            "photo.JPG",
                                            "photo.jpeg",
                                            "photo.jpg.bak",
                                            "backup~",
                                            "file%",
                                            "file,v",
                                            "CMakeLists.txt",
                                            "cmakelists.TXT",
                                            "a.c",
                                            "a.C",
                                            "a.cc",
                                            "A.CC",
                                            "\xff\xfe.jpg",
                                            "\xe7\x85\xa7\xe7\x89\x87.jpg",
                                            "\xe6\xaa\x94\xe6\xa1\x88",
                                            "\xf0\x9f\x98\x80.png",
                                            "a\xf0\x9f\x98\x80",
                                            "x.\xf0\x9f\x98\x80",
                                            "Entry000123.pdf",
                                            "a b c.txt",
                                            "trailing.",
                                            "\xe2\x84\xaa.txt",
                                            "\xc4\xb0NSTALL",
                                            "x.PNG\xcc\x81",
                                            "x.p\xc3\xb1g"};
    std::vector<QString> names;
    for (const std::string& name : bytes) names.push_back(QString::fromStdString(name));
    TypeByName types;
    EXPECT_EQ("", Describe(Compare(types, names)));
}

TEST(TypeByNameTest, GivesTheDatabaseTypeForTheNamesOfInstalledFiles)
{
    std::set<QString> seen;
    std::vector<QString> names;
    for (const char* root : {"/usr/share", "/usr/lib"}) {
        std::error_code error;
        std::filesystem::recursive_directory_iterator walk(
            root, std::filesystem::directory_options::skip_permission_denied, error);
        for (; !error && walk != std::filesystem::recursive_directory_iterator();
             walk.increment(error)) {
            const QString name = QString::fromStdString(walk->path().filename().string());
            if (seen.insert(name).second) names.push_back(name);
        }
    }
    ASSERT_GT(names.size(), 1000u);
    TypeByName types;
    EXPECT_EQ("", Describe(Compare(types, names)));
}
