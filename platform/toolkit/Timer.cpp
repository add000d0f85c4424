#include "platform/toolkit/Timer.h"

#include <QTimer>

TTimer::TTimer(TComponent* AOwner) : TComponent(AOwner), FTimer(std::make_unique<QTimer>())
{
    QObject::connect(FTimer.get(), &QTimer::timeout, FTimer.get(), [this] {
        InvokeHandler([this] {
            if (OnTimer) OnTimer(this);
        });
    });
}

TTimer::~TTimer() = default;

void TTimer::SetInterval(int interval)
{
    FInterval = interval < 0 ? 0 : interval;
    update();
}

void TTimer::SetEnabled(bool enabled)
{
    FEnabled = enabled;
    update();
}

void TTimer::SetOnTimer(TNotifyEvent handler)
{
    OnTimer = std::move(handler);
    update();
}

bool TTimer::Active() const
{
    return FTimer->isActive();
}

void TTimer::update()
{
    if (FEnabled && FInterval > 0 && OnTimer) {
        FTimer->start(FInterval);
    } else {
        FTimer->stop();
    }
}
