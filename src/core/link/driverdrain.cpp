// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/link/driverdrain.h"

#include <condition_variable>
#include <mutex>

#ifdef Q_OS_WIN
#include <windows.h>
#else
#include <cerrno>
#include <termios.h>
#endif

namespace zerwa {

namespace {

bool waitUntilSent(qintptr handle) {
#ifdef Q_OS_WIN
    return FlushFileBuffers(reinterpret_cast<HANDLE>(handle));
#else
    int result = 0;
    do {
        result = ::tcdrain(int(handle));
    } while (result == -1 && errno == EINTR);
    return result == 0;
#endif
}

} // namespace

struct DriverDrain::State {
    mutable std::mutex mutex;
    std::condition_variable done;
    std::optional<bool> result;
};

DriverDrain::DriverDrain(qintptr handle)
    : m_state(std::make_shared<State>()) {
    m_helper = std::thread([state = m_state, handle] {
        const bool ok = waitUntilSent(handle);
        const std::lock_guard lock(state->mutex);
        state->result = ok;
        state->done.notify_all();
    });
}

DriverDrain::~DriverDrain() {
    if (result())
        m_helper.join();
    else
        m_helper.detach();
}

std::optional<bool> DriverDrain::result() const {
    const std::lock_guard lock(m_state->mutex);
    return m_state->result;
}

std::optional<bool> DriverDrain::waitFor(std::chrono::milliseconds timeout) const {
    std::unique_lock lock(m_state->mutex);
    m_state->done.wait_for(lock, timeout, [this] { return m_state->result.has_value(); });
    return m_state->result;
}

} // namespace zerwa
