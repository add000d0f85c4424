#include "thumbnails/GallerySearch.h"

GallerySearch::GallerySearch(const AnsiString& folder)
{
    FOpen = FindFirst(folder + "\\*.jpg", faAnyFile, FRec) == 0;
    FFound = FOpen;
}

GallerySearch::~GallerySearch()
{
    if (FOpen) FindClose(FRec);
}

void GallerySearch::Next()
{
    FFound = FFound && FindNext(FRec) == 0;
}

long long CountGalleryEntries(const AnsiString& folder)
{
    long long count = 0;
    for (GallerySearch search(folder); search.Found(); search.Next()) ++count;
    return count;
}
