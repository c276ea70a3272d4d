#include "x_windows.h"

#include <QElapsedTimer>
#include <QStandardPaths>

#include <xcb/xcb.h>

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>

namespace {

struct FreeDeleter {
    void operator()(void* p) const { std::free(p); }
};
template <typename T>
using Reply = std::unique_ptr<T, FreeDeleter>;

} // namespace

VirtualScreen::VirtualScreen()
{
    const QString xvfb = QStandardPaths::findExecutable(QStringLiteral("Xvfb"));
    if (xvfb.isEmpty()) {
        error_ = QStringLiteral("Xvfb is not installed");
        return;
    }
    // Xvfb writes the display number it chose to this pipe once it takes clients.
    int ready[2];
    if (pipe2(ready, O_CLOEXEC) != 0) {
        error_ = QStringLiteral("pipe2 failed");
        return;
    }
    const std::string program = xvfb.toStdString();
    const std::string fd = std::to_string(ready[1]);
    const pid_t parent = getpid();
    pid_ = fork();
    if (pid_ == 0) {
        prctl(PR_SET_PDEATHSIG, SIGTERM); // no server left behind by a test that died
        if (getppid() != parent)
            _exit(127);
        fcntl(ready[1], F_SETFD, 0); // keep the write end across exec
        const int null = open("/dev/null", O_RDWR);
        dup2(null, STDIN_FILENO);
        dup2(null, STDOUT_FILENO);
        dup2(null, STDERR_FILENO);
        execl(program.c_str(), program.c_str(), "-displayfd", fd.c_str(), "-screen", "0", "1024x768x24",
              "-nolisten", "tcp",
              // Without it the server resets whenever its last client leaves, and a
              // client connecting meanwhile is turned away.
              "-noreset", static_cast<char*>(nullptr));
        _exit(127);
    }
    close(ready[1]);
    std::string number;
    QElapsedTimer clock;
    clock.start();
    while (pid_ > 0 && clock.elapsed() < 15000 && (number.empty() || number.back() != '\n')) {
        pollfd pfd{ready[0], POLLIN, 0};
        if (poll(&pfd, 1, 100) <= 0)
            continue;
        char buffer[16];
        const ssize_t got = read(ready[0], buffer, sizeof buffer);
        if (got <= 0)
            break;
        number.append(buffer, std::size_t(got));
    }
    close(ready[0]);
    if (number.empty() || number.back() != '\n') {
        error_ = QStringLiteral("Xvfb did not start");
        return;
    }
    number.pop_back();
    display_ = QStringLiteral(":") + QString::fromStdString(number);
}

VirtualScreen::~VirtualScreen()
{
    if (pid_ > 0) {
        kill(pid_, SIGTERM);
        while (waitpid(pid_, nullptr, 0) < 0 && errno == EINTR) {
        }
    }
}

MapWatcher::MapWatcher(const QString& display)
{
    connection_ = xcb_connect(display.toLocal8Bit().constData(), nullptr);
    if (xcb_connection_has_error(connection_))
        return;
    root_ = xcb_setup_roots_iterator(xcb_get_setup(connection_)).data->root;
    auto atom = [this](const char* name) {
        Reply<xcb_intern_atom_reply_t> reply(xcb_intern_atom_reply(
            connection_, xcb_intern_atom(connection_, 0, std::uint16_t(std::strlen(name)), name), nullptr));
        return reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
    };
    netWmPid_ = atom("_NET_WM_PID");
    netWmName_ = atom("_NET_WM_NAME");
    utf8String_ = atom("UTF8_STRING");
    const std::uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
    Reply<xcb_generic_error_t> error(xcb_request_check(
        connection_, xcb_change_window_attributes_checked(connection_, root_, XCB_CW_EVENT_MASK, &mask)));
    ok_ = !error && netWmPid_ != XCB_ATOM_NONE && netWmName_ != XCB_ATOM_NONE;
}

MapWatcher::~MapWatcher()
{
    if (connection_)
        xcb_disconnect(connection_);
}

bool MapWatcher::ok() const { return ok_ && !xcb_connection_has_error(connection_); }

MappedWindow MapWatcher::describe(std::uint32_t window)
{
    MappedWindow mapped;
    Reply<xcb_get_property_reply_t> pid(xcb_get_property_reply(
        connection_, xcb_get_property(connection_, 0, window, netWmPid_, XCB_ATOM_CARDINAL, 0, 1), nullptr));
    if (pid && pid->format == 32 && xcb_get_property_value_length(pid.get()) >= 4)
        mapped.pid = pid_t(*static_cast<const std::uint32_t*>(xcb_get_property_value(pid.get())));
    Reply<xcb_get_property_reply_t> name(xcb_get_property_reply(
        connection_, xcb_get_property(connection_, 0, window, netWmName_, utf8String_, 0, 256), nullptr));
    if (name && name->format == 8)
        mapped.title = QString::fromUtf8(static_cast<const char*>(xcb_get_property_value(name.get())),
                                         xcb_get_property_value_length(name.get()));
    return mapped;
}

std::vector<MappedWindow> MapWatcher::gather(
    const std::function<bool(const std::vector<MappedWindow>&)>& enough, int timeoutMs, int graceMs)
{
    std::vector<MappedWindow> windows;
    QElapsedTimer clock;
    clock.start();
    qint64 stopAt = timeoutMs;
    bool satisfied = false;
    while (clock.elapsed() < stopAt && ok()) {
        while (xcb_generic_event_t* raw = xcb_poll_for_event(connection_)) {
            Reply<xcb_generic_event_t> event(raw);
            if ((event->response_type & 0x7f) != XCB_MAP_NOTIFY)
                continue;
            const auto* map = reinterpret_cast<const xcb_map_notify_event_t*>(event.get());
            if (map->event == root_ && !map->override_redirect)
                windows.push_back(describe(map->window));
        }
        if (!satisfied && enough(windows)) {
            satisfied = true;
            stopAt = std::min<qint64>(stopAt, clock.elapsed() + graceMs);
        }
        pollfd pfd{xcb_get_file_descriptor(connection_), POLLIN, 0};
        poll(&pfd, 1, 20);
    }
    return windows;
}
