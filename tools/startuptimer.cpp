// SPDX-License-Identifier: GPL-3.0-or-later
// Times one start of a window program on the X display in DISPLAY: from just before exec until
// the server maps its first top-level window, without polling; and the processor time the
// program's threads have had by then, which a busy machine disturbs far less. Then, after a
// short wait for the first picture, reads the program's resident memory and ends it.
//   startuptimer <settle-ms> <program> [arguments...]
// Prints "<milliseconds> <processor milliseconds> <resident kB>" on one line; exit code 1 when
// no window appeared.
#include <xcb/xcb.h>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <dirent.h>
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

constexpr int kTimeoutMilliseconds = 30000;

double nowMilliseconds() {
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return ts.tv_sec * 1e3 + ts.tv_nsec / 1e6;
}

long residentKilobytes(pid_t pid) {
    char path[64];
    std::snprintf(path, sizeof path, "/proc/%d/status", int(pid));
    FILE* status = std::fopen(path, "r");
    if (!status)
        return -1;
    char line[256];
    long kilobytes = -1;
    while (std::fgets(line, sizeof line, status)) {
        if (std::sscanf(line, "VmRSS: %ld", &kilobytes) == 1)
            break;
    }
    std::fclose(status);
    return kilobytes;
}

// The time the program's threads have spent on a processor so far (the scheduler's own
// account, in nanoseconds).
double processorMilliseconds(pid_t pid) {
    char path[64];
    std::snprintf(path, sizeof path, "/proc/%d/task", int(pid));
    DIR* tasks = opendir(path);
    if (!tasks)
        return -1;
    double nanoseconds = 0;
    while (const dirent* task = readdir(tasks)) {
        if (task->d_name[0] == '.')
            continue;
        char stat[400];
        std::snprintf(stat, sizeof stat, "%s/%s/schedstat", path, task->d_name);
        if (FILE* file = std::fopen(stat, "r")) {
            unsigned long long running = 0;
            if (std::fscanf(file, "%llu", &running) == 1)
                nanoseconds += double(running);
            std::fclose(file);
        }
    }
    closedir(tasks);
    return nanoseconds / 1e6;
}

// A display still busy with the clients of the run before may refuse a connection for a
// moment.
xcb_connection_t* connectToDisplay() {
    for (int attempt = 0; attempt < 100; ++attempt) {
        xcb_connection_t* connection = xcb_connect(nullptr, nullptr);
        if (!xcb_connection_has_error(connection))
            return connection;
        xcb_disconnect(connection);
        usleep(20 * 1000);
    }
    return nullptr;
}

// Waits for the first MapNotify under the root window; false on timeout or a lost display.
bool waitForMap(xcb_connection_t* connection, double deadline) {
    const int fd = xcb_get_file_descriptor(connection);
    for (;;) {
        while (xcb_generic_event_t* event = xcb_poll_for_event(connection)) {
            const bool mapped = (event->response_type & 0x7f) == XCB_MAP_NOTIFY;
            std::free(event);
            if (mapped)
                return true;
        }
        if (xcb_connection_has_error(connection))
            return false;
        const int left = int(deadline - nowMilliseconds());
        if (left <= 0)
            return false;
        pollfd wait{fd, POLLIN, 0};
        if (poll(&wait, 1, left) < 0 && errno != EINTR)
            return false;
    }
}

// Ends the program: politely first, so that a profiler running it still writes its report.
void stop(pid_t child) {
    kill(child, SIGTERM);
    for (int waited = 0; waited < 5000; waited += 10) {
        if (waitpid(child, nullptr, WNOHANG) == child)
            return;
        usleep(10 * 1000);
    }
    kill(child, SIGKILL);
    waitpid(child, nullptr, 0);
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: startuptimer <settle-ms> <program> [arguments...]\n");
        return 2;
    }
    const int settle = std::atoi(argv[1]);
    xcb_connection_t* connection = connectToDisplay();
    if (!connection) {
        std::fprintf(stderr, "startuptimer: no X display\n");
        return 2;
    }
    const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(connection)).data;
    const uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
    // Checked, so that the server listens before the program starts.
    const xcb_void_cookie_t cookie =
        xcb_change_window_attributes_checked(connection, screen->root, XCB_CW_EVENT_MASK, &mask);
    if (xcb_generic_error_t* error = xcb_request_check(connection, cookie)) {
        std::free(error);
        std::fprintf(stderr, "startuptimer: cannot watch the root window\n");
        return 2;
    }

    const double start = nowMilliseconds();
    const pid_t child = fork();
    if (child == 0) {
        execv(argv[2], argv + 2);
        std::fprintf(stderr, "startuptimer: cannot start %s: %s\n", argv[2], std::strerror(errno));
        _exit(127);
    }
    if (child < 0)
        return 2;
    const bool mapped = waitForMap(connection, start + kTimeoutMilliseconds);
    const double elapsed = nowMilliseconds() - start;
    const double processor = processorMilliseconds(child);
    if (mapped && settle > 0)
        usleep(useconds_t(settle) * 1000);
    const long resident = residentKilobytes(child);
    stop(child);
    xcb_disconnect(connection);
    if (!mapped) {
        std::fprintf(stderr, "startuptimer: %s mapped no window\n", argv[2]);
        return 1;
    }
    std::printf("%.2f %.2f %ld\n", elapsed, processor, resident);
    return 0;
}
