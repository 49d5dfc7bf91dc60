/* Times a program's start-up from outside: from fork to the MapNotify of its top-level
 * window with the given title, then reads the program's resident memory a while later.
 *
 *   mapwait TITLE SETTLE_MS TIMEOUT_MS PROGRAM [ARGS...]
 *
 * Prints "map_ms=<ms> cpu_ms=<ms> rss_kb=<kB>" on success and exits 0; exits 1 on a timeout or when
 * the program ends first. The program is always killed before mapwait returns. */

#define _POSIX_C_SOURCE 200809L

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <dirent.h>
#include <errno.h>
#include <poll.h>
#include <signal.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/types.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

static double now_ms(void)
{
    struct timespec ts;
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return ts.tv_sec * 1000.0 + ts.tv_nsec / 1e6;
}

/* A window's title, from _NET_WM_NAME (UTF-8) or else WM_NAME; NULL when it has none. */
static char *window_title(Display *dpy, Window w)
{
    Atom net_wm_name = XInternAtom(dpy, "_NET_WM_NAME", False);
    Atom utf8 = XInternAtom(dpy, "UTF8_STRING", False);
    Atom type;
    int format;
    unsigned long count, after;
    unsigned char *data = NULL;

    if (XGetWindowProperty(dpy, w, net_wm_name, 0, 1024, False, utf8, &type, &format,
                           &count, &after, &data) == Success && data && count > 0)
        return (char *)data;
    if (data)
        XFree(data);

    char *name = NULL;
    if (XFetchName(dpy, w, &name) && name)
        return name;
    return NULL;
}

static int title_matches(Display *dpy, Window w, const char *wanted)
{
    char *title = window_title(dpy, w);
    int match = title && strcmp(title, wanted) == 0;
    if (title)
        XFree(title);
    return match;
}

/* The window mapped may be a frame around the client; look one level down as well. */
static int window_or_child_matches(Display *dpy, Window w, const char *wanted)
{
    if (title_matches(dpy, w, wanted))
        return 1;
    Window root, parent, *children = NULL;
    unsigned int n = 0;
    int match = 0;
    if (XQueryTree(dpy, w, &root, &parent, &children, &n)) {
        for (unsigned int i = 0; i < n && !match; ++i)
            match = title_matches(dpy, children[i], wanted);
        if (children)
            XFree(children);
    }
    return match;
}

static long vm_rss_kb(pid_t pid)
{
    char path[64];
    snprintf(path, sizeof path, "/proc/%d/status", (int)pid);
    FILE *f = fopen(path, "r");
    if (!f)
        return -1;
    char line[256];
    long kb = -1;
    while (fgets(line, sizeof line, f)) {
        if (strncmp(line, "VmRSS:", 6) == 0) {
            kb = strtol(line + 6, NULL, 10);
            break;
        }
    }
    fclose(f);
    return kb;
}

static void sleep_ms(long ms)
{
    struct timespec ts = {ms / 1000, (ms % 1000) * 1000000L};
    while (nanosleep(&ts, &ts) == -1 && errno == EINTR) {
    }
}

/* CPU time the program's threads have run so far, from the scheduler's nanosecond
 * counters: less disturbed by a busy machine than the wall clock. */
static double cpu_ms(pid_t pid)
{
    char path[64];
    snprintf(path, sizeof path, "/proc/%d/task", (int)pid);
    DIR *tasks = opendir(path);
    if (!tasks)
        return -1;
    double total_ns = 0;
    struct dirent *entry;
    while ((entry = readdir(tasks))) {
        if (entry->d_name[0] == '.')
            continue;
        char stat_path[320];
        snprintf(stat_path, sizeof stat_path, "%s/%s/schedstat", path, entry->d_name);
        FILE *f = fopen(stat_path, "r");
        if (!f)
            continue;
        unsigned long long ns = 0;
        if (fscanf(f, "%llu", &ns) == 1)
            total_ns += (double)ns;
        fclose(f);
    }
    closedir(tasks);
    return total_ns / 1e6;
}

/* SIGTERM, a bounded wait, then SIGKILL. */
static void stop_child(pid_t pid)
{
    kill(pid, SIGTERM);
    for (int i = 0; i < 100; ++i) {
        if (waitpid(pid, NULL, WNOHANG) == pid)
            return;
        sleep_ms(20);
    }
    kill(pid, SIGKILL);
    waitpid(pid, NULL, 0);
}

int main(int argc, char **argv)
{
    if (argc < 5) {
        fprintf(stderr, "usage: %s TITLE SETTLE_MS TIMEOUT_MS PROGRAM [ARGS...]\n", argv[0]);
        return 2;
    }
    const char *title = argv[1];
    const long settle_ms = strtol(argv[2], NULL, 10);
    const long timeout_ms = strtol(argv[3], NULL, 10);

    Display *dpy = XOpenDisplay(NULL);
    if (!dpy) {
        fprintf(stderr, "mapwait: cannot open display\n");
        return 2;
    }
    XSelectInput(dpy, DefaultRootWindow(dpy), SubstructureNotifyMask);
    XSync(dpy, False);

    const double start = now_ms();
    const pid_t pid = fork();
    if (pid < 0) {
        perror("mapwait: fork");
        return 2;
    }
    if (pid == 0) {
        close(ConnectionNumber(dpy));
        execvp(argv[4], argv + 4);
        perror("mapwait: exec");
        _exit(127);
    }

    double mapped_at = -1;
    double cpu_at_map = -1;
    const int fd = ConnectionNumber(dpy);
    while (mapped_at < 0) {
        while (XPending(dpy) && mapped_at < 0) {
            XEvent ev;
            XNextEvent(dpy, &ev);
            if (ev.type == MapNotify && !ev.xmap.override_redirect
                && window_or_child_matches(dpy, ev.xmap.window, title)) {
                mapped_at = now_ms();
                cpu_at_map = cpu_ms(pid);
            }
        }
        if (mapped_at >= 0)
            break;
        const double left = timeout_ms - (now_ms() - start);
        if (left <= 0) {
            fprintf(stderr, "mapwait: no window titled \"%s\" within %ld ms\n", title, timeout_ms);
            stop_child(pid);
            return 1;
        }
        if (waitpid(pid, NULL, WNOHANG) == pid) {
            fprintf(stderr, "mapwait: %s ended before mapping its window\n", argv[4]);
            return 1;
        }
        struct pollfd p = {fd, POLLIN, 0};
        poll(&p, 1, left < 50 ? (int)left + 1 : 50);
    }

    sleep_ms(settle_ms);
    const long rss = vm_rss_kb(pid);
    printf("map_ms=%.1f cpu_ms=%.1f rss_kb=%ld\n", mapped_at - start, cpu_at_map, rss);
    fflush(stdout);
    stop_child(pid);
    XCloseDisplay(dpy);
    return rss < 0 ? 1 : 0;
}
