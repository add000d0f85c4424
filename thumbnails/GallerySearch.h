#pragma once
// The file search of a gallery: the entries of a folder that match "*.jpg",
// whatever their attributes, in the order the search returns them. The
// search itself (reading the folder, and the status of each match) runs on
// the gallery's workers, a few hundred names ahead of the scan, so that a
// slow disk never holds the user-interface thread; the scan waits for the
// next name there with its messages going through.

#include "platform/base/SysUtils.h"
#include "thumbnails/GalleryWorkers.h"

#include <functional>
#include <memory>
#include <optional>

class GallerySearch {
public:
    // Starts the search with folder + "\*.jpg".
    explicit GallerySearch(const AnsiString& folder);
    // Stops the search.
    ~GallerySearch();
    GallerySearch(const GallerySearch&) = delete;
    GallerySearch& operator=(const GallerySearch&) = delete;

    // Whether Found() can tell without waiting: a name is there, or the
    // search has ended. A worker's progress wakes the event loop.
    bool Ready() const;
    // Once Ready(): whether there is a next entry; Take() takes its name (no
    // folder part).
    bool Found() const;
    AnsiString Take();
    // Closes the folder now (or, while a worker is inside it, as soon as
    // that worker is out) and ends the search: Ready(), and nothing Found().
    // For a scan that was superseded.
    void Stop();

    struct State;

private:
    friend std::optional<long long> CountGalleryEntries(const AnsiString&,
                                                        const std::function<bool()>&);
    GallerySearch(const AnsiString& folder, std::shared_ptr<State> state);

    std::shared_ptr<WorkerGroup> FJobs;
    std::shared_ptr<State> FState;
};

// How many entries a gallery of folder has, counted on the gallery's workers
// while the window's messages go through. None when abandoned() (asked after
// each message) turned true first, or a newer count started meanwhile.
std::optional<long long> CountGalleryEntries(const AnsiString& folder,
                                             const std::function<bool()>& abandoned);
