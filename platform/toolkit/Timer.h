#pragma once
// A timer that raises OnTimer every Interval milliseconds while it is
// enabled. It runs only while it has a handler to raise: without one it
// triggers nothing at all.

#include "platform/toolkit/Controls.h"

#include <memory>

class QTimer;

class TTimer : public TComponent {
public:
    // Enabled, interval 1000 ms, no handler.
    explicit TTimer(TComponent* AOwner);
    ~TTimer() override;

    int Interval() const { return FInterval; }
    // In milliseconds; 0 stops the timer.
    void SetInterval(int interval);
    bool Enabled() const { return FEnabled; }
    void SetEnabled(bool enabled);
    // Setting the handler through here starts or stops the timer at once;
    // assigning OnTimer directly takes effect at the next setting change.
    void SetOnTimer(TNotifyEvent handler);
    bool Active() const;

    TNotifyEvent OnTimer;

private:
    void update();

    std::unique_ptr<QTimer> FTimer;
    int FInterval = 1000;
    bool FEnabled = true;
};
