// SHGetFileInfoA: type names and icons by item kind and, for files, by the
// shared-mime-info type of the name alone (no file is opened).

#include "platform/base/Icon.h"
#include "platform/shell/private/NamespaceFolder.h"
#include "platform/shell/private/ShellInternals.h"
#include "platform/shell/private/SystemImageLists.h"
#include "platform/shell/private/TypeByName.h"

#include <QGuiApplication>
#include <QHash>
#include <QMimeDatabase>

#include <cstring>

namespace {

struct ItemLook {
    std::string type;
    std::string icon, fallback;
};

QMimeDatabase& mimeDatabase()
{
    static QMimeDatabase database;
    return database;
}

std::string directoryComment()
{
    static const std::string text = [] {
        const QString comment =
            mimeDatabase().mimeTypeForName(QStringLiteral("inode/directory")).comment();
        return comment.isEmpty() ? std::string("Folder") : comment.toStdString();
    }();
    return text;
}

ItemLook lookOf(const ItemId::Location& where, bool open)
{
    using ItemId::Location;
    switch (where.kind) {
    case Location::Desktop: return {"System Folder", "user-desktop", "folder"};
    case Location::DrivesFolder: return {"System Folder", "computer", "folder"};
    case Location::Home: return {directoryComment(), "user-home", "folder"};
    case Location::Drive: return {"Local Disk", "drive-harddisk", "folder"};
    case Location::Entry: break;
    }
    if (where.folder) return {directoryComment(), open ? "folder-open" : "folder", "folder"};
    // A row asks for its icon and then its type: the second call reuses the first's answer.
    static std::string lastName;
    static ItemLook lastLook;
    if (!lastName.empty() && lastName == where.elements.back()) return lastLook;
    static TypeByName types;
    const QMimeType type = types.Of(QString::fromStdString(where.elements.back()));
    // A type's texts are looked up once; a screenful of rows shares few types.
    static QHash<QString, ItemLook> looks;
    auto known = looks.constFind(type.name());
    if (known == looks.constEnd())
        known =
            looks.insert(type.name(), {type.comment().toStdString(), type.iconName().toStdString(),
                                       type.genericIconName().toStdString()});
    lastName = where.elements.back();
    lastLook = *known;
    return lastLook;
}

// Copies text into a fixed buffer without cutting a UTF-8 sequence in half.
void copyText(char* out, size_t capacity, const std::string& text)
{
    size_t length = std::min(text.size(), capacity - 1);
    if (length < text.size())
        while (length > 0 && (static_cast<unsigned char>(text[length]) & 0xC0) == 0x80) --length;
    std::memcpy(out, text.data(), length);
    out[length] = 0;
}

std::optional<ItemId::Location> locate(LPCSTR path, UINT flags)
{
    if (flags & SHGFI_PIDL) return ItemId::Resolve({}, reinterpret_cast<LPCITEMIDLIST>(path));
    ItemId::Bytes entries;
    bool folder = false;
    if (FAILED(ParseNamespacePath(path, entries, folder))) return std::nullopt;
    entries.push_back(0);
    entries.push_back(0);
    return ItemId::Resolve({}, reinterpret_cast<LPCITEMIDLIST>(entries.data()));
}

}  // namespace

DWORD_PTR SHGetFileInfoA(LPCSTR path, DWORD, SHFILEINFOA* info, UINT infoSize, UINT flags)
{
    CountQuery();
    if (!path || (info && infoSize < sizeof(SHFILEINFOA))) return 0;
    const auto where = locate(path, flags);
    const bool small = flags & SHGFI_SMALLICON;
    HIMAGELIST list = small ? SystemImageLists::Small() : SystemImageLists::Large();
    if (!where) {
        // The lists themselves do not depend on the item.
        return flags & SHGFI_SYSICONINDEX ? reinterpret_cast<DWORD_PTR>(list) : 0;
    }
    const ItemLook look = lookOf(*where, flags & SHGFI_OPENICON);
    if (info) {
        if (flags & SHGFI_TYPENAME) copyText(info->szTypeName, sizeof info->szTypeName, look.type);
        if (flags & (SHGFI_SYSICONINDEX | SHGFI_ICON)) {
            info->iIcon = SystemImageLists::IndexOf(look.icon, look.fallback);
            if ((flags & SHGFI_ICON) &&
                qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
                info->hIcon =
                    CreateIconHandle(list->Image(info->iIcon));  // the list's cached picture
        }
    }
    return flags & SHGFI_SYSICONINDEX ? reinterpret_cast<DWORD_PTR>(list) : 1;
}
