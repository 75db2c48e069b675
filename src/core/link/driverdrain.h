// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QtGlobal>

#include <chrono>
#include <memory>
#include <optional>
#include <thread>

namespace zerwa {

// Waits on a helper thread until the serial driver has sent every byte it holds. A driver
// that never drains keeps only the helper thread: the wait can be left at any time, and a
// helper still waiting then is abandoned rather than joined.
class DriverDrain {
public:
    // Starts waiting on the open port `handle`.
    explicit DriverDrain(qintptr handle);
    ~DriverDrain();
    DriverDrain(const DriverDrain&) = delete;
    DriverDrain& operator=(const DriverDrain&) = delete;

    // Once the wait has ended: true when the driver drained, false when the device failed.
    std::optional<bool> result() const;
    // Waits at most `timeout` for the result.
    std::optional<bool> waitFor(std::chrono::milliseconds timeout) const;

private:
    struct State;
    std::shared_ptr<State> m_state; // shared with the helper, which may outlive this
    std::thread m_helper;
};

} // namespace zerwa
