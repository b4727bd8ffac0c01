// The race against another viewer: ours and feh started from exec on the
// same folder (nine 6000 x 4000 JPEGs, two 4000 x 3000 PNGs, one BMP), and
// then on a tree of N tiny pictures (bench::pictureTree, which feh is told
// to walk), each timed to the first poll of the screen that finds a
// picture in a window it drew, then its peak memory (VmHWM) once it has
// idled. The programs are told apart only by the windows that appear;
// nothing inside them is measured. Runs of the two alternate; one warm-up
// each is not counted. Both sort their lists by name.
// Then the floor of our start-up on the folder: the nine pictures of the
// start view each decoded alone as the viewer asks for them, the sum shared
// among the cores that load them, plus an empty OpenGL window's exec to its
// first frame (bench_empty_window) in the same display.
//   bench_race VIEWER [DATA_FOLDER [N]]   (default /tmp/ruk-bench, 100000)
#include "bench/bench_support.h"
#include "bench/picture_tree.h"
#include "carousel/ring.h"
#include "platform/error_report.h"
#include "tests/support/proc_status.h"
#include <QThread>
#include <csignal>
#include <set>
#include <sys/wait.h>
#include <xcb/xcb.h>

// root/race: the nine photos (hard links), two PNGs and a BMP, made on
// first use. The JPEGs sort first, so both viewers open with one of them.
static std::string raceFolder(const std::string& root, const bench::Photos& photos)
{
    std::string folder = root + "/race";
    if (std::filesystem::exists(root + "/race.complete"))
        return folder;
    std::filesystem::create_directories(folder);
    for (int i = 0; i < 9; ++i) {
        const std::string link = folder + "/" + std::filesystem::path(photos.files[i]).filename().string();
        std::filesystem::remove(link);
        std::filesystem::create_hard_link(photos.files[i], link);
    }
    const char* others[] = {"/IMG_1000.png", "/IMG_1001.png", "/IMG_1002.bmp"};
    for (int i = 0; i < 3; ++i) {
        std::fprintf(stderr, "making %s%s\n", folder.c_str(), others[i]);
        bench::photo(20 + i).scaled(4000, 3000).save(QString::fromStdString(folder + others[i]));
    }
    std::ofstream complete(root + "/race.complete");
    return folder;
}

// A picture, not a window's flat controls, its text or a blank view: many
// distinct colours among the pixels that have colour at all.
static bool showsPicture(const uint8_t* pixels, int count)
{
    std::set<int> colours;
    for (int i = 0; i < count; ++i) {
        const uint8_t* p = pixels + 4 * std::ptrdiff_t(i);
        const int lo = std::min({p[0], p[1], p[2]}), hi = std::max({p[0], p[1], p[2]});
        if (hi - lo >= 24 && colours.insert((p[0] >> 3) << 10 | (p[1] >> 3) << 5 | p[2] >> 3).second &&
            colours.size() >= 256)
            return true;
    }
    return false;
}

class Screen {
public:
    Screen() : connection_(xcb_connect(nullptr, nullptr))
    {
        if (xcb_connection_has_error(connection_)) {
            std::fprintf(stderr, "no X display\n");
            std::_Exit(2);
        }
        root_ = xcb_setup_roots_iterator(xcb_get_setup(connection_)).data;
    }
    ~Screen() { xcb_disconnect(connection_); }
    Screen(const Screen&) = delete;
    Screen& operator=(const Screen&) = delete;

    // The top-level windows shown now.
    std::set<xcb_window_t> shown()
    {
        std::set<xcb_window_t> windows;
        xcb_query_tree_reply_t* tree = xcb_query_tree_reply(connection_, xcb_query_tree(connection_, root_->root), nullptr);
        if (!tree)
            return windows;
        const xcb_window_t* children = xcb_query_tree_children(tree);
        for (int i = 0; i < xcb_query_tree_children_length(tree); ++i) {
            xcb_get_window_attributes_reply_t* attributes = xcb_get_window_attributes_reply(
                connection_, xcb_get_window_attributes(connection_, children[i]), nullptr);
            if (attributes && attributes->map_state == XCB_MAP_STATE_VIEWABLE)
                windows.insert(children[i]);
            std::free(attributes);
        }
        std::free(tree);
        return windows;
    }

    // Whether the screen area of window shows a picture.
    bool showsPicture(xcb_window_t window)
    {
        xcb_get_geometry_reply_t* geometry = xcb_get_geometry_reply(connection_, xcb_get_geometry(connection_, window), nullptr);
        if (!geometry)
            return false;
        const int x = std::max(0, int(geometry->x)), y = std::max(0, int(geometry->y));
        const int width = std::min(int(geometry->width), root_->width_in_pixels - x);
        const int height = std::min(int(geometry->height), root_->height_in_pixels - y);
        std::free(geometry);
        if (width <= 0 || height <= 0)
            return false;
        xcb_get_image_reply_t* image = xcb_get_image_reply(
            connection_,
            xcb_get_image(connection_, XCB_IMAGE_FORMAT_Z_PIXMAP, root_->root, int16_t(x), int16_t(y), uint16_t(width),
                          uint16_t(height), ~0u),
            nullptr);
        if (!image)
            return false;
        const bool found = xcb_get_image_data_length(image) >= 4 * width * height &&
                           ::showsPicture(xcb_get_image_data(image), width * height);
        std::free(image);
        return found;
    }

private:
    xcb_connection_t* connection_;
    xcb_screen_t* root_;
};

struct Result {
    double firstPictureMs, peakMiB;
};

// Starts command, polls the screen until a window it opened shows a
// picture, lets it idle 3 s, reads its peak memory and ends it.
static Result race(Screen& screen, const std::vector<std::string>& command)
{
    const std::set<xcb_window_t> before = screen.shown();
    std::vector<char*> argv;
    argv.reserve(command.size() + 1);
    for (const std::string& word : command)
        argv.push_back(const_cast<char*>(word.c_str()));
    argv.push_back(nullptr);
    const auto start = std::chrono::steady_clock::now();
    const pid_t pid = fork();
    if (pid == 0) {
        execvp(argv[0], argv.data());
        std::_Exit(127);
    }
    double found = -1;
    while (found < 0) {
        const double elapsed = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
        if (elapsed > 60000 || waitpid(pid, nullptr, WNOHANG) == pid) {
            std::fprintf(stderr, "%s showed no picture\n", argv[0]);
            std::_Exit(3);
        }
        for (xcb_window_t window : screen.shown())
            if (!before.contains(window) && screen.showsPicture(window)) {
                found = elapsed;
                break;
            }
        if (found < 0)
            usleep(5000);
    }
    usleep(3000000);
    const double peak = procstatus::kib("VmHWM", std::to_string(pid)) / 1024.0;
    kill(pid, SIGTERM);
    waitpid(pid, nullptr, 0);
    return {found, peak};
}

// The nine files of folder that the start view shows: the ring's slots take
// the first entry and the four after it, then the last four.
static std::vector<std::string> startView(const std::string& folder)
{
    std::vector<std::string> files;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        files.push_back(entry.path().string());
    std::sort(files.begin(), files.end());
    std::vector<std::string> view;
    view.reserve(ring::slotCount);
    for (int slot = 0; slot < ring::slotCount; ++slot)
        view.push_back(files[ring::entryForSlot(slot, int(files.size()))]);
    return view;
}

// Each file opened and decoded alone on one thread, as the viewer asks for
// it at detail; the milliseconds of all summed.
static double decodesAlone(const std::vector<std::string>& files, const Detail& detail)
{
    double total = 0;
    for (const std::string& path : files)
        total += bench::milliseconds([&] {
            image::decodePicture(image::openPicture(path),
                                 {detail.maxSide, image::pictureBudget, image::pictureFormat, {}, detail.side});
        });
    return total;
}

// Milliseconds from exec of program to the first line it writes.
static double untilFirstLine(const std::string& program)
{
    int ends[2];
    if (pipe(ends) != 0) {
        std::perror("pipe");
        std::_Exit(2);
    }
    const auto start = std::chrono::steady_clock::now();
    const pid_t pid = fork();
    if (pid == 0) {
        dup2(ends[1], STDOUT_FILENO);
        close(ends[0]);
        execl(program.c_str(), program.c_str(), nullptr);
        std::_Exit(127);
    }
    close(ends[1]);
    char first = 0;
    const bool said = read(ends[0], &first, 1) == 1;
    const double elapsed = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    close(ends[0]);
    waitpid(pid, nullptr, 0);
    if (!said) {
        std::fprintf(stderr, "%s drew no frame\n", program.c_str());
        std::_Exit(3);
    }
    return elapsed;
}

// The floor of the start-up on folder, with its two parts, as figures.
static void startupFloor(const std::string& folder)
{
    TForm1 form; // asked for the detail it loads the start view at
    form.FormCreate({folder});
    const Detail detail = form.detailFor(0);
    const std::vector<std::string> view = startView(folder);
    const int cores = std::min(QThread::idealThreadCount(), ring::slotCount);
    const std::string emptyWindow = QCoreApplication::applicationDirPath().toStdString() + "/bench_empty_window";
    std::vector<double> decodes, window, floor;
    for (int run = 0; run <= 5; ++run) {
        const double shared = decodesAlone(view, detail) / cores;
        const double shown = untilFirstLine(emptyWindow);
        if (run == 0)
            continue;
        decodes.push_back(shared);
        window.push_back(shown);
        floor.push_back(shared + shown);
    }
    bench::figure("start_floor", floor, "ms", "start-up floor: start view's decodes / cores + empty window");
    bench::figure("start_decodes", decodes, "ms", "the start view's nine decodes alone, summed, / cores");
    bench::figure("start_window", window, "ms", "an empty OpenGL window: exec to its first frame");
}

int main(int argc, char** argv)
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: bench_race VIEWER [DATA_FOLDER]\n");
        return 1;
    }
    platform::Application app(argc, argv);
    const std::string root = argc > 2 ? argv[2] : "/tmp/ruk-bench";
    const std::string folder = raceFolder(root, bench::photos(root));
    const int treePictures = argc > 3 ? std::atoi(argv[3]) : 100000;
    const std::string tree = bench::pictureTree(root, treePictures);
    Screen screen;
    // Races viewer and feh on what, the figures under prefix.
    const auto raceOn = [&](const std::string& prefix, const std::vector<std::string>& viewer,
                            const std::vector<std::string>& feh) {
        std::vector<double> oursFirst, oursPeak, fehFirst, fehPeak;
        for (int run = 0; run <= 5; ++run) {
            const Result a = race(screen, viewer), b = race(screen, feh);
            if (run == 0)
                continue;
            oursFirst.push_back(a.firstPictureMs);
            oursPeak.push_back(a.peakMiB);
            fehFirst.push_back(b.firstPictureMs);
            fehPeak.push_back(b.peakMiB);
        }
        bench::figure((prefix + "_first").c_str(), oursFirst, "ms", "ours: exec to the first picture on screen");
        bench::figure((prefix + "_feh_first").c_str(), fehFirst, "ms", "feh: exec to the first picture on screen");
        bench::figure((prefix + "_peak").c_str(), oursPeak, "MiB", "ours: peak memory (VmHWM)");
        bench::figure((prefix + "_feh_peak").c_str(), fehPeak, "MiB", "feh: peak memory (VmHWM)");
    };
    raceOn("race", {argv[1], folder}, {"feh", "--sort", "filename", folder});
    startupFloor(folder);
    raceOn("race_tree", {argv[1], tree}, {"feh", "--recursive", "--sort", "filename", tree});
    return 0;
}
