// Start-up on the display: the time from starting the program to its first frame, and
// the memory it holds then, against a bare Qt Widgets window with one button.

#include "BenchMain.h"

#include <QFile>
#include <QGuiApplication>
#include <QProcess>
#include <QThread>

#include <xcb/xcb.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <optional>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

xcb_connection_t *display()
{
    return qGuiApp->nativeInterface<QNativeInterface::QX11Application>()->connection();
}

xcb_atom_t atom(const char *name)
{
    auto *reply = xcb_intern_atom_reply(
        display(), xcb_intern_atom(display(), 0, qstrlen(name), name), nullptr);
    const xcb_atom_t found = reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
    std::free(reply);
    return found;
}

// The shown window of a process, found among the screen's windows and the window
// manager's frames around them.
std::optional<xcb_window_t> windowOf(qint64 pid, xcb_window_t parent, int depth)
{
    static const xcb_atom_t wmPid = atom("_NET_WM_PID");
    auto *tree = xcb_query_tree_reply(display(), xcb_query_tree(display(), parent), nullptr);
    if (!tree)
        return std::nullopt;
    std::optional<xcb_window_t> found;
    const xcb_window_t *children = xcb_query_tree_children(tree);
    for (int i = 0; i < xcb_query_tree_children_length(tree) && !found; ++i) {
        auto *property = xcb_get_property_reply(display(),
            xcb_get_property(display(), 0, children[i], wmPid, XCB_ATOM_CARDINAL, 0, 1), nullptr);
        if (property && xcb_get_property_value_length(property) == 4
            && *static_cast<std::uint32_t *>(xcb_get_property_value(property)) == pid)
            found = children[i];
        std::free(property);
        if (!found && depth > 0)
            found = windowOf(pid, children[i], depth - 1);
    }
    std::free(tree);
    return found;
}

// Whether a pixel of the window is white yet: the last thing each program draws there.
bool drawnWhite(xcb_window_t window, int x, int y)
{
    auto *image = xcb_get_image_reply(display(),
        xcb_get_image(display(), XCB_IMAGE_FORMAT_Z_PIXMAP, window, x, y, 1, 1, ~0u), nullptr);
    bool white = false;
    if (image && xcb_get_image_data_length(image) >= 3) {
        const std::uint8_t *pixel = xcb_get_image_data(image);
        white = pixel[0] == 255 && pixel[1] == 255 && pixel[2] == 255;
    }
    std::free(image);
    return white;
}

double residentMiB(qint64 pid)
{
    QFile status(QStringLiteral("/proc/%1/status").arg(pid));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray &line : status.readAll().split('\n'))
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').front().toDouble() / 1024;
    return 0;
}

struct Start {
    double milliseconds;
    double residentMiB;
};

std::optional<Start> start(const QString &program, int x, int y)
{
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(display())).data->root;
    QProcess process;
    process.setProgram(program);
    process.setStandardErrorFile(QProcess::nullDevice());
    const auto started = Clock::now();
    process.start();
    if (!process.waitForStarted(5000))
        return std::nullopt;
    std::optional<Start> result;
    while (Clock::now() - started < std::chrono::seconds(10)) {
        const auto window = windowOf(process.processId(), root, 2);
        if (window && drawnWhite(*window, x, y)) {
            result = Start{
                std::chrono::duration<double, std::milli>(Clock::now() - started).count(), 0};
            break;
        }
        QThread::usleep(200);
    }
    if (result) {
        QThread::msleep(500);
        result->residentMiB = residentMiB(process.processId());
    }
    process.kill();
    process.waitForFinished(5000);
    return result;
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values.empty() ? 0 : values[values.size() / 2];
}

void startUp(benchmark::State &state)
{
    std::vector<double> varnockMs, bareMs, varnockMiB, bareMiB;
    for (auto _ : state) {
        // The chart's white, low in the window; the bare window's ground.
        if (const auto varnock = start(QStringLiteral(VARNOCK_PROGRAM), 166, 370)) {
            varnockMs.push_back(varnock->milliseconds);
            varnockMiB.push_back(varnock->residentMiB);
        }
        if (const auto bare = start(QStringLiteral(BARE_WINDOW_PROGRAM), 5, 5)) {
            bareMs.push_back(bare->milliseconds);
            bareMiB.push_back(bare->residentMiB);
        }
    }
    if (varnockMs.size() != std::size_t(state.iterations()) || bareMs.size() != varnockMs.size()) {
        state.SkipWithError("a window was not seen drawn within 10 s");
        return;
    }
    state.counters["varnock_ms"] = median(varnockMs);
    state.counters["bare_ms"] = median(bareMs);
    state.counters["ratio"] = median(varnockMs) / median(bareMs);
    state.counters["varnock_MiB"] = median(varnockMiB);
    state.counters["bare_MiB"] = median(bareMiB);
    state.counters["extra_MiB"] = median(varnockMiB) - median(bareMiB);
}
BENCHMARK(startUp)->Iterations(20)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    using bench::counter;
    using bench::Target;
    const char *const run = "startUp/iterations:20";
    return bench::run(argc, argv,
        {
            {run, "start-up to the first frame, median", "ms", counter("varnock_ms"),
                Target::AtMost, 5000},
            {run, "bare window's start-up, median", "ms", counter("bare_ms"), Target::AtMost, 5000},
            {run, "start-up against the bare window", "x", counter("ratio"), Target::AtMost, 1.25},
            {run, "resident memory after start-up", "MiB", counter("varnock_MiB"), Target::AtMost,
                1000},
            {run, "resident memory beyond the bare window", "MiB", counter("extra_MiB"),
                Target::AtMost, 20},
        });
}
