#pragma once

#include <QString>

#include <sys/types.h>

#include <cstdint>
#include <functional>
#include <vector>

struct xcb_connection_t;

// An Xvfb of the test's own, on a display it picks itself.
class VirtualScreen {
public:
    VirtualScreen();
    ~VirtualScreen();
    VirtualScreen(const VirtualScreen&) = delete;
    VirtualScreen& operator=(const VirtualScreen&) = delete;

    [[nodiscard]] bool ok() const { return !display_.isEmpty(); }
    [[nodiscard]] QString error() const { return error_; }
    [[nodiscard]] QString display() const { return display_; } // ":N"

private:
    pid_t pid_ = -1;
    QString display_;
    QString error_;
};

// A top-level window as its client labelled it.
struct MappedWindow {
    pid_t pid = 0;  // _NET_WM_PID
    QString title;  // _NET_WM_NAME
};

// Watches a display for top-level windows being mapped.
class MapWatcher {
public:
    explicit MapWatcher(const QString& display);
    ~MapWatcher();
    MapWatcher(const MapWatcher&) = delete;
    MapWatcher& operator=(const MapWatcher&) = delete;

    [[nodiscard]] bool ok() const;

    // The windows mapped from now on: gathered until `enough` holds and then for
    // `graceMs` more (so that a window that should not come has time to), or until
    // `timeoutMs` has passed.
    std::vector<MappedWindow> gather(const std::function<bool(const std::vector<MappedWindow>&)>& enough,
                                     int timeoutMs, int graceMs);

private:
    MappedWindow describe(std::uint32_t window);

    xcb_connection_t* connection_ = nullptr;
    std::uint32_t root_ = 0;
    std::uint32_t netWmPid_ = 0;
    std::uint32_t netWmName_ = 0;
    std::uint32_t utf8String_ = 0;
    bool ok_ = false;
};
