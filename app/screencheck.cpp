#include "screencheck.h"

#include "ui/layouttable.h"
#include "ui/windowplacement.h"

#include <QGuiApplication>
#include <QScreen>
#include <QtGlobal>

#include <cmath>
#include <cstdio>

#ifdef Q_OS_LINUX
#include <cstdlib>
#include <netdb.h>
#include <string>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>
#endif

namespace app {

#ifdef Q_OS_LINUX

namespace {

// Whether something accepts a connection on a Unix socket; abstract names
// start with '@'.
bool unixSocketAnswers(const std::string &path)
{
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    if (path.empty() || path.size() >= sizeof(address.sun_path)) {
        return false;
    }
    path.copy(address.sun_path, path.size());
    socklen_t length = sizeof(sa_family_t) + path.size();
    if (path[0] == '@') {
        address.sun_path[0] = '\0';
    } else {
        length += 1;
    }
    const int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) {
        return false;
    }
    const bool answered = connect(fd, reinterpret_cast<sockaddr *>(&address), length) == 0;
    close(fd);
    return answered;
}

bool tcpAnswers(const std::string &host, int port)
{
    addrinfo hints{};
    hints.ai_socktype = SOCK_STREAM;
    addrinfo *found = nullptr;
    if (getaddrinfo(host.c_str(), std::to_string(port).c_str(), &hints, &found) != 0) {
        return false;
    }
    bool answered = false;
    for (addrinfo *a = found; a && !answered; a = a->ai_next) {
        const int fd = socket(a->ai_family, a->ai_socktype | SOCK_CLOEXEC, a->ai_protocol);
        if (fd >= 0) {
            answered = connect(fd, a->ai_addr, a->ai_addrlen) == 0;
            close(fd);
        }
    }
    freeaddrinfo(found);
    return answered;
}

// An X display as DISPLAY names it: [host]:number[.screen].
bool xAnswers(const char *display)
{
    if (!display || !*display) {
        return false;
    }
    const std::string name(display);
    const auto colon = name.rfind(':');
    if (colon == std::string::npos) {
        return false;
    }
    const std::string host = name.substr(0, colon);
    const int number = std::atoi(name.c_str() + colon + 1);
    if (host.empty() || host == "unix") {
        const std::string path = "/tmp/.X11-unix/X" + std::to_string(number);
        return unixSocketAnswers("@" + path) || unixSocketAnswers(path);
    }
    return tcpAnswers(host, 6000 + number);
}

// A Wayland compositor as WAYLAND_DISPLAY names it: a socket in the runtime
// folder, or an absolute path.
bool waylandAnswers(const char *display)
{
    const std::string name = display && *display ? display : "wayland-0";
    if (name[0] == '/') {
        return unixSocketAnswers(name);
    }
    const char *runtime = std::getenv("XDG_RUNTIME_DIR");
    return runtime && unixSocketAnswers(std::string(runtime) + "/" + name);
}

// How a variable was found, for a display that did not answer.
std::string described(const char *name, const char *value)
{
    if (!value) {
        return std::string(name) + " is not set";
    }
    return std::string(name) + "=\"" + value + "\" does not answer";
}

} // namespace

bool findScreen()
{
    const char *platform = std::getenv("QT_QPA_PLATFORM");
    const bool waylandAsked = platform && std::string(platform).starts_with("wayland");
    if (platform && *platform && !waylandAsked) {
        return true; // offscreen, xcb, eglfs, ...: Qt's own choice
    }
    const char *wayland = std::getenv("WAYLAND_DISPLAY");
    const char *x = std::getenv("DISPLAY");
    if ((wayland || waylandAsked) && waylandAnswers(wayland)) {
        return true;
    }
    // X is asked only where Wayland did not answer: a desktop may start its
    // X server on the first connection.
    if (xAnswers(x)) {
        if (waylandAsked || wayland) {
            setenv("QT_QPA_PLATFORM", "xcb", 1); // the compositor is gone; X is there
        }
        return true;
    }
    std::fprintf(stderr,
                 "pokomoji: がめんが みつかりません - found no screen to show its windows on "
                 "(%s, %s)\n",
                 described("DISPLAY", x).c_str(), described("WAYLAND_DISPLAY", wayland).c_str());
    return false;
}

#else

bool findScreen()
{
    return true;
}

#endif

namespace {

// Below this many device pixels to a pixel of the design the smallest texts
// are too small to read.
constexpr qreal kSmallestRatio = 0.5;

} // namespace

bool screenHoldsTheWindows()
{
    const QScreen *screen = QGuiApplication::primaryScreen();
    if (!screen) {
        return true; // Qt has said why already
    }
    // The ratio that QT_SCALE_FACTOR, QT_SCREEN_SCALE_FACTORS, QT_FONT_DPI
    // and the desktop's own settings make together.
    const qreal ratio = screen->devicePixelRatio();
    const char *problem = nullptr;
    if (!(ratio >= kSmallestRatio)) { // not a number, too small, zero or negative
        problem = "too small to read";
    } else if (!std::isfinite(ratio)) {
        problem = "larger than the screen";
    } else {
        // Each window at the smallest scale it is laid out at.
        const QSize room = screen->availableGeometry().size();
        for (const auto &layout : {ui::menuLayout(), ui::practiceLayout()}) {
            const QSize smallest = ui::windowSize(layout, ui::kSmallestScale);
            if (smallest.width() > room.width() || smallest.height() > room.height()) {
                problem = "larger than the screen";
            }
        }
    }
    if (problem) {
        std::fprintf(
            stderr,
            "pokomoji: がめんの かくだいりつが つかえません - the scale settings (device pixel "
            "ratio %g) make the windows %s\n",
            ratio, problem);
        return false;
    }
    return true;
}

} // namespace app
