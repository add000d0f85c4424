#include "platform/shell/private/TypeByName.h"

#include <QFile>
#include <QStandardPaths>

#include <algorithm>
#include <map>
#include <set>

namespace {

std::u16string_view ViewOf(QStringView text)
{
    return {text.utf16(), static_cast<size_t>(text.size())};
}

bool HasSurrogate(QStringView text)
{
    return std::any_of(text.begin(), text.end(), [](QChar c) { return c.isSurrogate(); });
}

// Past the end of the keys kept, they are dropped and found again: a folder
// has a few dozen types at most, so this is a bound, never a working size.
constexpr qsizetype kMostKeys = 4096;

// The patterns of every type, from the pattern lists beside the database's
// caches: reading them takes a millisecond where asking the database for
// every type's patterns parses hundreds of files. A line is weight:type:
// pattern, perhaps followed by :flags; a pattern with a colon of its own is
// taken both ways (a pattern too many only makes keys finer). False when a
// database folder has no such list, so the database must be asked.
bool PatternsOnDisk(std::set<QString>& patterns)
{
    const QStringList folders =
        QStandardPaths::locateAll(QStandardPaths::GenericDataLocation, QStringLiteral("mime"),
                                  QStandardPaths::LocateDirectory);
    if (folders.isEmpty()) return false;
    for (const QString& folder : folders) {
        QFile file(folder + QStringLiteral("/globs2"));
        if (!file.open(QIODevice::ReadOnly)) return false;
        const QStringList lines = QString::fromUtf8(file.readAll()).split(u'\n');
        for (const QString& line : lines) {
            if (line.isEmpty() || line.startsWith(u'#')) continue;
            const qsizetype first = line.indexOf(u':');
            const qsizetype second = first < 0 ? -1 : line.indexOf(u':', first + 1);
            if (second < 0) continue;
            const QString rest = line.mid(second + 1);
            patterns.insert(rest);
            const qsizetype flags = rest.lastIndexOf(u':');
            if (flags >= 0) patterns.insert(rest.left(flags));
        }
    }
    return true;
}

}  // namespace

TypeByName::TypeByName()
{
    std::set<QString> patterns;
    if (!PatternsOnDisk(patterns))
        for (const QMimeType& type : FDatabase.allMimeTypes())
            for (const QString& pattern : type.globPatterns()) patterns.insert(pattern);
    int id = 0;
    auto keep = [this](const QString& text) -> std::u16string_view {
        FTexts.emplace_back(ViewOf(text));
        return FTexts.back();
    };
    std::map<size_t, SuffixLength> suffixLengths;
    for (const QString& pattern : patterns) {
        if (pattern.isEmpty()) continue;
        const QString folded = pattern.toLower();
        const qsizetype stars = pattern.count(u'*');
        const bool wild = stars > 0 || pattern.contains(u'?') || pattern.contains(u'[');
        if (!wild) {
            FLiteral.emplace(keep(pattern), id);
            FLiteralFolded.emplace(keep(folded), id);
        } else if (stars == 1 && pattern.startsWith(u'*') && !pattern.contains(u'?') &&
                   !pattern.contains(u'[')) {
            FSuffix.emplace(keep(pattern.mid(1)), id);
            FSuffixFolded.emplace(keep(folded.mid(1)), id);
            for (const QString* suffix : {&pattern, &folded}) {
                if (suffix->size() < 2) continue;
                SuffixLength& known = suffixLengths[static_cast<size_t>(suffix->size() - 1)];
                const char16_t start = suffix->at(1).unicode();
                if (start < 128)
                    known.starts.set(start);
                else
                    known.startsBeyondAscii = true;
            }
        } else {
            Glob glob{id, pattern, folded, Plain(pattern) && Plain(folded), {}, {}};
            // Names with characters beyond 16 bits take the expressions too.
            glob.exactExpression.setPattern(QRegularExpression::anchoredPattern(
                QRegularExpression::wildcardToRegularExpression(pattern)));
            glob.foldedExpression.setPattern(QRegularExpression::anchoredPattern(
                QRegularExpression::wildcardToRegularExpression(folded)));
            FGlobs.push_back(std::move(glob));
        }
        ++id;
    }
    for (auto& [length, known] : suffixLengths) {
        known.length = length;
        FSuffixLengths.push_back(known);
    }
}

QMimeType TypeByName::Of(const QString& name)
{
    const QString key = KeyOf(name);
    auto known = FTypes.constFind(key);
    if (known != FTypes.constEnd()) return *known;
    if (FTypes.size() >= kMostKeys) FTypes.clear();
    const QMimeType type = FDatabase.mimeTypeForFile(name, QMimeDatabase::MatchExtension);
    FTypes.insert(key, type);
    return type;
}

void TypeByName::Append(QString& key, int id, bool folded)
{
    const auto value = static_cast<unsigned>(id) * 2 + (folded ? 1 : 0);
    key.append(QChar(static_cast<char16_t>(value & 0xFFFF)));
    key.append(QChar(static_cast<char16_t>(value >> 16)));
}

QString TypeByName::KeyOf(const QString& name) const
{
    const QString lower = name.toLower();
    const std::u16string_view exact = ViewOf(name);
    const std::u16string_view folded = ViewOf(lower);
    QString key;
    auto look = [&key](const std::unordered_map<std::u16string_view, int>& patterns,
                       std::u16string_view text, bool isFolded) {
        const auto found = patterns.find(text);
        if (found != patterns.end()) Append(key, found->second, isFolded);
    };
    look(FLiteral, exact, false);
    look(FLiteralFolded, folded, true);
    // The database's suffix tree reaches a name's first character only when
    // it is the only one: a suffix pattern matches a longer name or a name of
    // one character (".zz" is not of type "*.zz", "~" is of type "*~").
    auto reaches = [](size_t size, std::u16string_view text) {
        return size < text.size() || (size == 1 && text.size() == 1);
    };
    for (const SuffixLength& suffix : FSuffixLengths) {
        const size_t size = suffix.length;
        if (reaches(size, exact) && suffix.CanStart(exact[exact.size() - size]))
            look(FSuffix, exact.substr(exact.size() - size), false);
        if (reaches(size, folded) && suffix.CanStart(folded[folded.size() - size]))
            look(FSuffixFolded, folded.substr(folded.size() - size), true);
    }
    // The matcher counts UTF-16 units; the expressions count characters.
    const bool units = !HasSurrogate(name) && !HasSurrogate(lower);
    for (const Glob& glob : FGlobs) {
        const bool plain = units && glob.plain;
        if (plain ? Matches(glob.exact, name) : glob.exactExpression.match(name).hasMatch())
            Append(key, glob.id, false);
        if (plain ? Matches(glob.folded, lower) : glob.foldedExpression.match(lower).hasMatch())
            Append(key, glob.id, true);
    }
    return key;
}

// Whether the matcher below reads pattern as a wildcard expression would:
// stars, question marks, and brackets of letters, digits and ranges between
// them; no escapes and nothing a bracket could mean in another way.
bool TypeByName::Plain(QStringView pattern)
{
    for (qsizetype i = 0; i < pattern.size(); ++i) {
        const QChar c = pattern[i];
        if (c == u'\\' || c == u']' || c == u'/') return false;
        if (c != u'[') continue;
        const qsizetype close = pattern.indexOf(u']', i + 1);
        if (close <= i + 1) return false;
        const QStringView set = pattern.mid(i + 1, close - i - 1);
        for (qsizetype j = 0; j < set.size(); ++j) {
            if (set[j] == u'-' && j > 0 && j + 1 < set.size() && set[j + 1] != u'-') continue;
            if (!set[j].isLetterOrNumber() || set[j].isSurrogate()) return false;
        }
        i = close;
    }
    return true;
}

// Wildcard matching of a name: * any run, ? one unit, [set] one unit of the
// set. Backtracks only to the last star, which is enough for a pattern
// without nested choices.
bool TypeByName::Matches(QStringView pattern, QStringView name)
{
    auto one = [&pattern](qsizetype& p, QChar c) {
        if (pattern[p] == u'?') {
            ++p;
            return true;
        }
        if (pattern[p] != u'[') return pattern[p++] == c;
        const qsizetype close = pattern.indexOf(u']', p + 1);
        bool in = false;
        for (qsizetype j = p + 1; j < close; ++j) {
            if (j + 2 < close && pattern[j + 1] == u'-') {
                in = in || (c >= pattern[j] && c <= pattern[j + 2]);
                j += 2;
            } else {
                in = in || c == pattern[j];
            }
        }
        p = close + 1;
        return in;
    };
    qsizetype p = 0, n = 0;
    qsizetype starP = -1, starN = 0;
    while (n < name.size()) {
        if (p < pattern.size() && pattern[p] == u'*') {
            starP = ++p;
            starN = n;
            continue;
        }
        qsizetype next = p;
        if (p < pattern.size() && one(next, name[n])) {
            p = next;
            ++n;
            continue;
        }
        if (starP < 0) return false;
        p = starP;
        n = ++starN;
    }
    while (p < pattern.size() && pattern[p] == u'*') ++p;
    return p == pattern.size();
}
