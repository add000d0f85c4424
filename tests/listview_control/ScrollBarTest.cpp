// The list's scroll bars: drawn on the painting thread alone, however tall,
// and looking as Qt's own bars do.

#include "platform/toolkit/private/BandedScrollBar.h"
#include "tests/listview_control/ListFixture.h"

#include <QImage>
#include <QSemaphore>
#include <QTest>
#include <QThreadPool>

#include <atomic>
#include <thread>

namespace {

// Keeps every thread of Qt's global pool busy until it is destroyed, so a
// paint that hands part of a fill to the pool would wait. A watchdog lets
// the pool go after ten seconds: such a paint then makes the test fail
// rather than hang.
class HeldPool {
public:
    HeldPool() : FThreads(QThreadPool::globalInstance()->maxThreadCount())
    {
        for (int i = 0; i < FThreads; ++i)
            QThreadPool::globalInstance()->start([this] {
                FStarted.release();
                FRelease.acquire();
            });
        FStarted.acquire(FThreads);
        FWatchdog = std::thread([this] {
            if (!FDone.tryAcquire(1, 10000)) FWaited = true;
            FRelease.release(FThreads);
        });
    }
    ~HeldPool()
    {
        FDone.release();
        FWatchdog.join();
        QThreadPool::globalInstance()->waitForDone();
    }
    HeldPool(const HeldPool&) = delete;
    HeldPool& operator=(const HeldPool&) = delete;

    // Whether the pool had to be let go for something to finish.
    bool Waited() const { return FWaited; }

private:
    const int FThreads;
    QSemaphore FStarted;
    QSemaphore FRelease;
    QSemaphore FDone;
    std::atomic<bool> FWaited{false};
    std::thread FWatchdog;
};

void SetUpBar(QScrollBar& bar, const QSize& size)
{
    bar.setRange(0, 100000);
    bar.setPageStep(600);
    bar.setValue(31000);
    bar.resize(size);
}

}  // namespace

// The vertical bar of a long list repaints on every scroll step; drawn while
// the pool cannot take work, it still finishes at once.
TEST(ScrollBars, ATallBarIsDrawnWithoutQtsThreadPool)
{
    ShownList shown(100000, vsReport);
    shown.list->Widget()->resize(640, 900);
    Settle();
    QScrollBar* bar = shown.View()->verticalScrollBar();
    ASSERT_TRUE(bar->isVisible());
    ASSERT_GE(bar->height(), 4 * BandedScrollBar::kBandRows);
    HeldPool held;
    const QImage drawn = bar->grab().toImage();
    EXPECT_FALSE(held.Waited());
    EXPECT_FALSE(drawn.isNull());
}

// Band by band, the bar comes out pixel for pixel as Qt's own, either way up,
// and with an arrow held down.
TEST(ScrollBars, BandsDrawWhatQtsOwnBarDraws)
{
    for (const auto orientation : {Qt::Vertical, Qt::Horizontal}) {
        const QSize size = orientation == Qt::Vertical ? QSize(16, 700) : QSize(700, 16);
        QScrollBar plain(orientation);
        BandedScrollBar banded(orientation);
        SetUpBar(plain, size);
        SetUpBar(banded, size);
        EXPECT_EQ(plain.grab().toImage(), banded.grab().toImage()) << orientation;

        const QPoint lastArrow(size.width() - 4, size.height() - 4);
        QTest::mousePress(&plain, Qt::LeftButton, {}, lastArrow);
        QTest::mousePress(&banded, Qt::LeftButton, {}, lastArrow);
        EXPECT_EQ(plain.grab().toImage(), banded.grab().toImage()) << orientation << " pressed";
        QTest::mouseRelease(&plain, Qt::LeftButton, {}, lastArrow);
        QTest::mouseRelease(&banded, Qt::LeftButton, {}, lastArrow);
        EXPECT_EQ(plain.grab().toImage(), banded.grab().toImage()) << orientation << " released";
    }
}
