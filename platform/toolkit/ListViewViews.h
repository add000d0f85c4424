#pragma once
// The two Qt views of a list. Before painting, each works out the rows its
// paint will cover and lets the core ask for exactly those; typed characters
// go to the core's type-ahead instead of Qt's own keyboard search.

#include <QListView>
#include <QTreeView>

#include <utility>

class ListViewCore;

// The icon, small-icon and list styles: uniform items on a grid.
class ListViewIconView : public QListView {
public:
    ListViewIconView(ListViewCore* core, QWidget* parent);
    // First and last row intersecting area (viewport coordinates); -1, -1 when none.
    std::pair<int, int> RowsIn(const QRect& area) const;
    void keyboardSearch(const QString&) override {}

protected:
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    ListViewCore* FCore;
};

// The report style: one row per item, a header with the columns.
class ListViewReportView : public QTreeView {
public:
    ListViewReportView(ListViewCore* core, QWidget* parent);
    std::pair<int, int> RowsIn(const QRect& area) const;
    void keyboardSearch(const QString&) override {}

protected:
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    ListViewCore* FCore;
};
