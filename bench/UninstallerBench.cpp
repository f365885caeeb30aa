// Uninstaller start-up bench: the time from fork to the first painted frame of each program on
// an X display, alternating the programs; prints the medians and their ratio.
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

#include "BenchMedian.h"

namespace {

using Clock = std::chrono::steady_clock;

double Ms(Clock::time_point from, Clock::time_point to)
{
    return std::chrono::duration<double, std::milli>(to - from).count();
}

struct Frame {
    bool found = false;
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
};

// The largest viewable top-level window (no window manager: they are the root's children).
Frame LargestWindow(Display* display)
{
    Frame best;
    Window root = DefaultRootWindow(display);
    Window parent = 0;
    Window* children = nullptr;
    unsigned count = 0;
    if (!XQueryTree(display, root, &root, &parent, &children, &count))
        return best;
    for (unsigned i = 0; i < count; ++i) {
        XWindowAttributes attributes;
        if (!XGetWindowAttributes(display, children[i], &attributes) || attributes.map_state != IsViewable)
            continue;
        if (attributes.width * attributes.height > best.width * best.height && attributes.width > 50 &&
            attributes.height > 50)
            best = Frame{true, attributes.x, attributes.y, attributes.width, attributes.height};
    }
    if (children != nullptr)
        XFree(children);
    return best;
}

unsigned long ScreenPixel(Display* display, int x, int y)
{
    XImage* image = XGetImage(display, DefaultRootWindow(display), x, y, 1, 1, AllPlanes, ZPixmap);
    if (image == nullptr)
        return 0;
    const unsigned long pixel = XGetPixel(image, 0, 0) & 0xFFFFFF;
    XDestroyImage(image);
    return pixel;
}

struct Times {
    double visible = -1;
    double painted = -1;
};

// One start: fork and exec, poll (1 ms) for the window and then for a pixel in the upper middle
// of it that differs from the empty screen, then end the program and wait for an empty screen.
Times RunOnce(Display* display, const char* program, unsigned long empty)
{
    Times times;
    const Clock::time_point start = Clock::now();
    const pid_t pid = fork();
    if (pid == 0) {
        execl(program, program, static_cast<char*>(nullptr));
        _exit(127);
    }
    if (pid < 0)
        return times;
    while (Ms(start, Clock::now()) < 10000) {
        const Frame frame = LargestWindow(display);
        if (frame.found) {
            if (times.visible < 0)
                times.visible = Ms(start, Clock::now());
            if (ScreenPixel(display, frame.x + frame.width / 2, frame.y + frame.height / 3) != empty) {
                times.painted = Ms(start, Clock::now());
                break;
            }
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    kill(pid, SIGTERM);
    waitpid(pid, nullptr, 0);
    const Clock::time_point gone = Clock::now();
    while (LargestWindow(display).found && Ms(gone, Clock::now()) < 5000)
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    return times;
}

// A window may go between listing and asking about it: such errors are expected here.
int IgnoreXError(Display*, XErrorEvent*)
{
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s PROGRAM BARE [runs]\n", argv[0]);
        return 2;
    }
    const int runs = argc > 3 && std::atoi(argv[3]) > 0 ? std::atoi(argv[3]) : 11;
    Display* display = XOpenDisplay(nullptr);
    if (display == nullptr) {
        std::fprintf(stderr, "no X display\n");
        return 2;
    }
    XSetErrorHandler(IgnoreXError);
    const unsigned long empty = ScreenPixel(display, 5, 5);
    const char* programs[2] = {argv[1], argv[2]};
    const char* names[2] = {"uninstaller", "bare widget"};
    std::vector<double> visible[2];
    std::vector<double> painted[2];
    // One untimed start of each first: the file cache and the fonts.
    for (int p = 0; p < 2; ++p)
        (void)RunOnce(display, programs[p], empty);
    for (int run = 0; run < runs; ++run) {
        for (int p = 0; p < 2; ++p) {
            const Times t = RunOnce(display, programs[p], empty);
            if (t.painted < 0) {
                std::fprintf(stderr, "%s: no painted frame within 10 s\n", names[p]);
                return 1;
            }
            visible[p].push_back(t.visible);
            painted[p].push_back(t.painted);
        }
    }
    for (int p = 0; p < 2; ++p)
        std::printf("%-12s medians of %d runs: window visible %7.1f ms, first painted frame %7.1f ms\n", names[p],
                    runs, BenchMedian(visible[p]), BenchMedian(painted[p]));
    std::printf("ratio uninstaller / bare widget: %.2f (goal <= 1.3)\n",
                BenchMedian(painted[0]) / BenchMedian(painted[1]));
    XCloseDisplay(display);
    return 0;
}
