// Measures a GUI program's start-up from outside: the time from fork() to the X server
// mapping the program's first top-level window, and the program's peak resident memory.
//
//   startup_probe [--settle MS] [--timeout MS] -- PROGRAM [ARGS...]
//
// Prints one line "map_ms=M cpu_ms=C wait_ms=W maxrss_kb=K" and exits 0, or prints the
// reason on stderr and exits 1: M is the wall-clock time to the map, C and W the time the
// program's threads had by then spent on a CPU and waiting for one (milliseconds), K the
// peak resident set (kilobytes). The program is stopped with SIGTERM once its window
// is mapped and `--settle` milliseconds have passed (so that its first paint counts
// towards the peak), and reaped with wait4() for its rusage.

#include <xcb/xcb.h>

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <chrono>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace {

double nowMs()
{
    // The monotonic clock, in milliseconds.
    const auto now = std::chrono::steady_clock::now().time_since_epoch();
    return std::chrono::duration<double, std::milli>(now).count();
}

[[noreturn]] void fail(const std::string& why)
{
    std::fprintf(stderr, "startup_probe: %s\n", why.c_str());
    std::exit(1);
}

struct FreeDeleter {
    void operator()(void* p) const { std::free(p); }
};
template <typename T>
using XcbReply = std::unique_ptr<T, FreeDeleter>;

xcb_atom_t internAtom(xcb_connection_t* c, const char* name)
{
    XcbReply<xcb_intern_atom_reply_t> reply(
        xcb_intern_atom_reply(c, xcb_intern_atom(c, 0, std::uint16_t(std::strlen(name)), name), nullptr));
    if (!reply)
        fail(std::string("cannot intern atom ") + name);
    return reply->atom;
}

// Time the process's threads have spent on a CPU and waiting for one, in ms, from
// /proc/PID/task/*/schedstat. The waiting part is what other load on the machine
// added to the wall-clock time.
struct CpuTimes {
    double onCpuMs = 0.0;
    double waitingMs = 0.0;
};

CpuTimes cpuTimes(pid_t pid)
{
    CpuTimes times;
    std::error_code ec;
    for (const auto& task :
         std::filesystem::directory_iterator("/proc/" + std::to_string(pid) + "/task", ec)) {
        std::ifstream in(task.path() / "schedstat");
        unsigned long long onCpuNs = 0, waitingNs = 0;
        if (in >> onCpuNs >> waitingNs) {
            times.onCpuMs += double(onCpuNs) / 1.0e6;
            times.waitingMs += double(waitingNs) / 1.0e6;
        }
    }
    return times;
}

// The _NET_WM_PID a client put on its window, if any.
std::optional<std::uint32_t> windowPid(xcb_connection_t* c, xcb_window_t w, xcb_atom_t netWmPid)
{
    XcbReply<xcb_get_property_reply_t> reply(xcb_get_property_reply(
        c, xcb_get_property(c, 0, w, netWmPid, XCB_ATOM_CARDINAL, 0, 1), nullptr));
    if (!reply || reply->format != 32 || xcb_get_property_value_length(reply.get()) < 4)
        return std::nullopt;
    return *static_cast<const std::uint32_t*>(xcb_get_property_value(reply.get()));
}

// Kills and reaps the child on every way out, so that a failed measurement leaves no
// program behind on the X server.
struct Child {
    pid_t pid = -1;
    ~Child()
    {
        if (pid > 0) {
            kill(pid, SIGKILL);
            waitpid(pid, nullptr, 0);
        }
    }
};

} // namespace

int main(int argc, char* argv[])
{
    int settleMs = 300;
    int timeoutMs = 30000;
    int i = 1;
    for (; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--") {
            ++i;
            break;
        }
        if ((arg == "--settle" || arg == "--timeout") && i + 1 < argc) {
            char* end = nullptr;
            const long value = std::strtol(argv[++i], &end, 10);
            if (*end != '\0' || value < 0 || value > 600000)
                fail("bad number for " + arg);
            (arg == "--settle" ? settleMs : timeoutMs) = int(value);
            continue;
        }
        fail("usage: startup_probe [--settle MS] [--timeout MS] -- PROGRAM [ARGS...]");
    }
    if (i >= argc)
        fail("no program given");
    char** program = argv + i;

    int screenNumber = 0;
    xcb_connection_t* c = xcb_connect(nullptr, &screenNumber);
    if (xcb_connection_has_error(c))
        fail("cannot connect to the X server (is DISPLAY set?)");
    xcb_screen_iterator_t screens = xcb_setup_roots_iterator(xcb_get_setup(c));
    for (int s = 0; s < screenNumber && screens.rem > 0; ++s)
        xcb_screen_next(&screens);
    if (screens.rem == 0)
        fail("no such screen");
    const xcb_window_t root = screens.data->root;
    const xcb_atom_t netWmPid = internAtom(c, "_NET_WM_PID");

    // Listen for windows being mapped on the root, and make sure the server has taken
    // the selection before the program starts (a round trip answers only after it).
    const std::uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
    if (XcbReply<xcb_generic_error_t> error{xcb_request_check(
            c, xcb_change_window_attributes_checked(c, root, XCB_CW_EVENT_MASK, &mask))})
        fail("cannot select SubstructureNotify on the root window");

    // Reports a failed exec through a close-on-exec pipe, so it is not timed as a start.
    int execPipe[2];
    if (pipe2(execPipe, O_CLOEXEC) != 0)
        fail("pipe2 failed");

    Child child;
    const pid_t parent = getpid();
    const double started = nowMs();
    child.pid = fork();
    if (child.pid < 0)
        fail("fork failed");
    if (child.pid == 0) {
        // Should the probe be killed, the program must not stay behind on the server.
        prctl(PR_SET_PDEATHSIG, SIGKILL);
        if (getppid() != parent)
            _exit(127);
        close(execPipe[0]);
        // Whatever the program prints must not mix with the measurement on stdout.
        dup2(STDERR_FILENO, STDOUT_FILENO);
        execvp(program[0], program);
        const int err = errno;
        (void)!write(execPipe[1], &err, sizeof err);
        _exit(127);
    }
    close(execPipe[1]);
    int execErrno = 0;
    ssize_t got;
    do
        got = read(execPipe[0], &execErrno, sizeof execErrno);
    while (got < 0 && errno == EINTR);
    close(execPipe[0]);
    if (got > 0)
        fail(std::string("cannot start ") + program[0] + ": " + std::strerror(execErrno));

    double mapped = -1.0;
    CpuTimes atMap;
    const double deadline = started + timeoutMs;
    while (mapped < 0.0) {
        while (xcb_generic_event_t* raw = xcb_poll_for_event(c)) {
            XcbReply<xcb_generic_event_t> event(raw);
            if ((event->response_type & 0x7f) != XCB_MAP_NOTIFY)
                continue;
            const double at = nowMs();
            const auto* map = reinterpret_cast<const xcb_map_notify_event_t*>(event.get());
            // Menus and tooltips are override-redirect; they are not the program's window.
            if (map->event != root || map->override_redirect)
                continue;
            if (windowPid(c, map->window, netWmPid) == std::uint32_t(child.pid)) {
                mapped = at;
                atMap = cpuTimes(child.pid);
                break;
            }
        }
        if (mapped >= 0.0)
            break;
        if (xcb_connection_has_error(c))
            fail("lost the connection to the X server");
        int status = 0;
        if (waitpid(child.pid, &status, WNOHANG) == child.pid) {
            child.pid = -1;
            fail(WIFSIGNALED(status) ? "the program died of signal " + std::to_string(WTERMSIG(status))
                                     : "the program exited with status "
                                           + std::to_string(WEXITSTATUS(status)) + " before mapping a window");
        }
        const double left = deadline - nowMs();
        if (left <= 0.0)
            fail("no window was mapped within " + std::to_string(timeoutMs) + " ms");
        pollfd pfd{xcb_get_file_descriptor(c), POLLIN, 0};
        // Wake now and then to notice a program that died without a window.
        poll(&pfd, 1, left < 50.0 ? int(left) + 1 : 50);
    }

    if (settleMs > 0)
        usleep(useconds_t(settleMs) * 1000);
    kill(child.pid, SIGTERM);
    // A program that ignores SIGTERM still gets reaped: its peak is already recorded.
    int status = 0;
    rusage usage{};
    const double killBy = nowMs() + 5000.0;
    for (;;) {
        const pid_t reaped = wait4(child.pid, &status, WNOHANG, &usage);
        if (reaped == child.pid)
            break;
        if (reaped < 0 && errno != EINTR)
            fail("wait4 failed");
        if (nowMs() > killBy)
            kill(child.pid, SIGKILL);
        usleep(2000);
    }
    child.pid = -1;
    xcb_disconnect(c);

    std::printf("map_ms=%.3f cpu_ms=%.3f wait_ms=%.3f maxrss_kb=%ld\n", mapped - started,
                atMap.onCpuMs, atMap.waitingMs, usage.ru_maxrss);
    return 0;
}
