#pragma once
// The toolkit's basic classes: TObject, the untyped pointer list TList and the
// string list TStrings with an object per string.

#include "platform/base/MappedBlock.h"
#include "platform/base/SysUtils.h"

#include <string>
#include <vector>

class TObject {
public:
    virtual ~TObject() = default;
};

// Raised for an index outside a list.
class EListError : public Exception {
public:
    using Exception::Exception;
};

using TListSortCompare = int (*)(void* item1, void* item2);

// A list of untyped pointers; it owns nothing.
class TList : public TObject {
public:
    int Add(void* item);
    void Clear();
    int GetCount() const { return static_cast<int>(FItems.size()); }
    // Raises EListError "List index out of bounds (%d)" for a bad index.
    void* Get(int index) const;
    void Put(int index, void* item);
    void Sort(TListSortCompare compare);
    void Capacity(int capacity) { FItems.reserve(static_cast<size_t>(capacity)); }
    // Trades contents with other; allocates nothing.
    void Swap(TList& other) noexcept { FItems.swap(other.FItems); }

private:
    // A folder's records may number millions (MappedBlock.h).
    std::vector<void*, MappedAllocator<void*>> FItems;
};

// Strings with one untyped object each, as combo box and list items hold them.
class TStrings : public TObject {
public:
    virtual int GetCount() const = 0;
    virtual AnsiString Get(int index) const = 0;
    virtual void* GetObject(int index) const = 0;
    virtual void InsertObject(int index, const AnsiString& text, void* object) = 0;
    virtual void Delete(int index) = 0;
    virtual void Clear() = 0;
    int Add(const AnsiString& text) { return AddObject(text, nullptr); }
    int AddObject(const AnsiString& text, void* object);
    // Position of the entry whose text equals text exactly, -1 when none.
    int IndexOf(const AnsiString& text) const;
};

// A plain TStrings held in memory.
class TStringList : public TStrings {
public:
    int GetCount() const override { return static_cast<int>(FItems.size()); }
    AnsiString Get(int index) const override;
    void* GetObject(int index) const override;
    void InsertObject(int index, const AnsiString& text, void* object) override;
    void Delete(int index) override;
    void Clear() override { FItems.clear(); }

private:
    struct Entry {
        AnsiString text;
        void* object;
    };
    std::vector<Entry> FItems;
};
