#include "platform/shell/private/SystemImageLists.h"

#include "platform/base/IconTheme.h"

#include <QGuiApplication>
#include <QIcon>

#include <map>
#include <vector>

namespace {

struct Store {
    struct Entry {
        std::string name, fallback;
    };
    std::vector<Entry> entries{{"text-x-generic", "application-x-generic"}};
    std::map<std::string, int> byName{{"text-x-generic", 0}};
    quint64 generation = 1;
};

Store& store()
{
    static Store s;
    return s;
}

bool haveGui()
{
    return qobject_cast<QGuiApplication*>(QCoreApplication::instance()) != nullptr;
}

class SystemList final : public ImageListData {
public:
    explicit SystemList(int size) : FSize(size) {}
    QSize ImageSize() const override { return {FSize, FSize}; }
    int ImageCount() const override { return static_cast<int>(store().entries.size()); }
    QPixmap Image(int index) const override
    {
        if (index < 0 || index >= ImageCount()) return QPixmap();
        if (FCache.size() < store().entries.size()) FCache.resize(store().entries.size());
        QPixmap& cached = FCache[static_cast<size_t>(index)];
        if (cached.isNull()) cached = SystemImageLists::Picture(index, FSize);
        return cached;
    }
    quint64 Generation() const override { return store().generation; }

private:
    int FSize;
    mutable std::vector<QPixmap> FCache;
};

}  // namespace

namespace SystemImageLists {

HIMAGELIST Small()
{
    static SystemList list(16);
    return &list;
}

HIMAGELIST Large()
{
    static SystemList list(32);
    return &list;
}

int IndexOf(const std::string& name, const std::string& fallback)
{
    Store& s = store();
    if (const auto it = s.byName.find(name); it != s.byName.end()) return it->second;
    const int index = static_cast<int>(s.entries.size());
    s.entries.push_back({name, fallback});
    s.byName.emplace(name, index);
    ++s.generation;
    return index;
}

QPixmap Picture(int index, int size)
{
    if (!haveGui() || index < 0 || index >= static_cast<int>(store().entries.size())) return {};
    EnsureIconTheme();
    const Store::Entry& entry = store().entries[static_cast<size_t>(index)];
    QIcon icon = QIcon::fromTheme(QString::fromStdString(entry.name));
    if (icon.isNull()) icon = QIcon::fromTheme(QString::fromStdString(entry.fallback));
    if (icon.isNull()) icon = QIcon::fromTheme(QStringLiteral("text-x-generic"));
    return icon.isNull() ? QPixmap() : icon.pixmap(size, size);
}

}  // namespace SystemImageLists
