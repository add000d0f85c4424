#pragma once
// The type of a file by its name alone: the answer of
// QMimeDatabase::mimeTypeForFile(name, QMimeDatabase::MatchExtension), for a
// small part of its cost. That lookup lower-cases the name afresh for every
// literal and complex pattern of the database and compiles a regular
// expression for some of them, several microseconds a name and some tens
// for a name no extension matches.
//
// Its answer depends only on which of the database's patterns match the
// name, each either as written against the name or lower-cased against the
// lower-cased name (a pattern matches one way or the other, by its case
// flag, which the database does not tell). So this finds that set of
// patterns with hash lookups for the literal names and suffixes and a small
// matcher for the rest, and asks the database once for each set it has not
// seen: every later name with the same set gets the same type.

#include <QHash>
#include <QMimeDatabase>
#include <QMimeType>
#include <QRegularExpression>
#include <QString>

#include <bitset>
#include <deque>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

class TypeByName {
public:
    TypeByName();

    QMimeType Of(const QString& name);

    // The patterns that match name, as the key the answers are kept by.
    // Names with the same key have the same type.
    QString KeyOf(const QString& name) const;

private:
    // A pattern with wildcards other than one leading star.
    struct Glob {
        int id;
        QString exact, folded;  // the pattern as written and lower-cased
        bool plain;             // false: it uses more than this matcher knows, so
        QRegularExpression exactExpression, foldedExpression;  // these match it
    };
    static void Append(QString& key, int id, bool folded);
    static bool Matches(QStringView pattern, QStringView name);
    static bool Plain(QStringView pattern);

    QMimeDatabase FDatabase;
    std::deque<std::u16string> FTexts;  // what the views below point into
    std::unordered_map<std::u16string_view, int> FLiteral, FLiteralFolded;
    std::unordered_map<std::u16string_view, int> FSuffix, FSuffixFolded;
    // The lengths of the suffixes, each with the characters a suffix of that
    // length starts with: a name is looked up only where one could start.
    struct SuffixLength {
        size_t length = 0;
        std::bitset<128> starts;  // ASCII
        bool startsBeyondAscii = false;
        bool CanStart(char16_t c) const { return c < 128 ? starts[c] : startsBeyondAscii; }
    };
    std::vector<SuffixLength> FSuffixLengths;
    std::vector<Glob> FGlobs;
    QHash<QString, QMimeType> FTypes;  // by key
};
