// SPDX-FileCopyrightText: 2026 Mossgrovity
// SPDX-License-Identifier: GPL-3.0-or-later
// Dispatching pending window events from inside a running handler.
#pragma once

#include <cstdint>
#include <memory>

class QObject;

namespace platform {

class EventPump
{
public:
    virtual ~EventPump() = default;
    // Dispatches every pending window event. When none is pending, blocks until one arrives
    // or maxWaitMs milliseconds have passed, and dispatches what came. Never spins.
    virtual void dispatch(std::uint32_t maxWaitMs) = 0;
};

// The Qt event loop. Waiting ends at the next event or at a precise timer, whichever is first.
class QtEventPump final : public EventPump
{
public:
    QtEventPump();
    ~QtEventPump() override;
    QtEventPump(const QtEventPump &) = delete;
    QtEventPump &operator=(const QtEventPump &) = delete;

    void dispatch(std::uint32_t maxWaitMs) override;

private:
    std::unique_ptr<QObject> wakeTarget_; // receives the timer that bounds a blocking wait
};

} // namespace platform
