#include "app/OpenTiming.h"

#include "platform/toolkit/ListView.h"

#include <QAbstractItemView>
#include <QElapsedTimer>
#include <QEvent>
#include <QTimer>

#include <cstdio>
#include <cstdlib>

namespace {

bool enabled()
{
    static const bool on = std::getenv("QUILLET_TIME_OPEN") != nullptr;
    return on;
}

QElapsedTimer& sinceKey()
{
    static QElapsedTimer timer;
    return timer;
}

// Watches a viewport for its next paint, reports once that paint has been
// handled (and so flushed to the window), then goes.
class FirstPaint final : public QObject {
public:
    FirstPaint(QWidget* viewport, int rows) : QObject(viewport), FRows(rows)
    {
        viewport->installEventFilter(this);
    }

    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Paint && !FSeen) {
            FSeen = true;
            watched->removeEventFilter(this);
            QTimer::singleShot(0, this, [this] {
                std::fprintf(stderr,
                             "quillet-open: %.1f ms from the key to the first row painted, %d "
                             "rows\n",
                             static_cast<double>(sinceKey().nsecsElapsed()) / 1e6, FRows);
                std::fflush(stderr);
                sinceKey().invalidate();
                deleteLater();
            });
        }
        return false;
    }

private:
    int FRows;
    bool FSeen = false;
};

}  // namespace

namespace OpenTiming {

void Started()
{
    if (enabled()) sinceKey().start();
}

void Opened(TListView* list)
{
    if (!enabled() || !sinceKey().isValid()) return;
    if (QAbstractItemView* view = list->ActiveView())
        new FirstPaint(view->viewport(), list->Items()->GetCount());
}

}  // namespace OpenTiming
