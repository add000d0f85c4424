#pragma once
// A shown owner-data list over a fake provider that records every hint and
// row request and checks them as they arrive.

#include "platform/toolkit/ListView.h"

#include <QAbstractItemView>
#include <QCoreApplication>
#include <QScrollBar>

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <string>
#include <vector>

// Runs the event loop until done() holds, for a bounded number of rounds.
inline bool SpinUntil(const std::function<bool()>& done, int rounds = 500)
{
    for (int i = 0; i < rounds; ++i) {
        if (done()) return true;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    }
    return done();
}

// Lets every pending layout and paint run.
inline void Settle()
{
    for (int i = 0; i < 20; ++i) QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
}

struct FakeProvider {
    struct Hint {
        int first;
        int last;
    };
    std::vector<Hint> hints;
    std::vector<int> requests;
    // Faults seen while the rows were asked for.
    int requestsBeforeHint = 0;
    int requestsOutsideHint = 0;
    int badHints = 0;
    int dirtyRows = 0;  // a row object that did not arrive blank

    void Attach(TListView* list)
    {
        list->OnDataHint = [this, list](TObject*, int first, int last) {
            if (first < 0 || first > last || last >= list->Items()->GetCount()) ++badHints;
            hints.push_back({first, last});
        };
        list->OnData = [this](TObject*, TListItem* item) {
            const int row = item->Index;
            if (hints.empty())
                ++requestsBeforeHint;
            else if (row < hints.back().first || row > hints.back().last)
                ++requestsOutsideHint;
            if (!item->Caption.empty() || item->ImageIndex != -1 || item->SubItems->GetCount() != 0)
                ++dirtyRows;
            requests.push_back(row);
            item->Caption = "row " + std::to_string(row);
            item->ImageIndex = row % 3;
            for (const char* text : {"12KB", "Text", "2026-12-08", "RA"}) item->SubItems->Add(text);
        };
    }
    // Starts a new record; the program's own requests made before are not
    // held against the view.
    void Forget()
    {
        hints.clear();
        requests.clear();
        requestsBeforeHint = requestsOutsideHint = badHints = dirtyRows = 0;
    }
    int MinRequest() const { return *std::min_element(requests.begin(), requests.end()); }
    int MaxRequest() const { return *std::max_element(requests.begin(), requests.end()); }
};

// A top-level list of 640 x 480 pixels with the five report columns.
struct ShownList {
    std::unique_ptr<TListView> list = std::make_unique<TListView>(nullptr);
    FakeProvider provider;

    explicit ShownList(int count, TViewStyle style = vsReport)
    {
        list->SetOwnerData(true);
        for (int width : {175, 75, 150, 100, 75}) {
            TListColumn* column = list->Columns()->Add();
            column->Caption = std::string("c").append(std::to_string(width));
            column->Width = width;
            column->Alignment = width == 75 ? taRightJustify : taLeftJustify;
        }
        list->Columns()->Changed();
        list->SetViewStyle(style);
        provider.Attach(list.get());
        list->Items()->SetCount(count);
        list->Widget()->resize(640, 480);
        list->Widget()->show();
    }
    QAbstractItemView* View() const { return list->ActiveView(); }
    bool WaitForRequests()
    {
        return SpinUntil([this] { return !provider.requests.empty(); });
    }
};
