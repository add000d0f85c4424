#pragma once
// The file search of a gallery: the entries of a folder that match "*.jpg",
// whatever their attributes, in the order the search returns them.

#include "platform/base/SysUtils.h"

class GallerySearch {
public:
    // Starts the search with folder + "\*.jpg".
    explicit GallerySearch(const AnsiString& folder);
    // Closes the search, however the scan ends.
    ~GallerySearch();
    GallerySearch(const GallerySearch&) = delete;
    GallerySearch& operator=(const GallerySearch&) = delete;

    // Whether there is a current entry; Name() is its name, no folder part.
    bool Found() const { return FFound; }
    const AnsiString& Name() const { return FRec.Name; }
    void Next();

private:
    TSearchRec FRec;
    bool FOpen = false;
    bool FFound = false;
};

// How many entries a gallery of folder has.
long long CountGalleryEntries(const AnsiString& folder);
