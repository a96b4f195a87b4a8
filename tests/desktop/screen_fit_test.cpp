// The real program on a real X server of a given size: a virtual one
// (Xvfb) that the test starts itself, at 1366 x 768 and at 2560 x 1600 with
// Qt's scale factor 2. The test types "ende" through the XTEST extension and
// reads the screen back: window 0 lies inside the screen, and the red
// "(Programm Ende)" shows on the last text line.
#include <gtest/gtest.h>

// Qt before Xlib, whose macros (Status, CursorShape) break Qt's headers.
#include <QImage>

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <thread>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

// A child process with its standard output on a pipe (standard error
// dropped); it inherits the other open descriptors. Killed when dropped.
class Child {
public:
    Child(const std::vector<std::string>& arguments, const std::vector<std::string>& environment)
    {
        int out[2];
        if (pipe(out) != 0)
            return;
        pid_ = fork();
        if (pid_ == 0) {
            dup2(out[1], 1);
            const int null = open("/dev/null", O_WRONLY);
            dup2(null, 2);
            for (const std::string& setting : environment)
                putenv(const_cast<char*>(setting.c_str()));
            std::vector<char*> argv;
            for (const std::string& argument : arguments)
                argv.push_back(const_cast<char*>(argument.c_str()));
            argv.push_back(nullptr);
            close(out[0]);
            execvp(argv[0], argv.data());
            _exit(127);
        }
        close(out[1]);
        out_ = out[0];
    }
    ~Child()
    {
        if (pid_ > 0) {
            kill(pid_, SIGKILL);
            waitpid(pid_, nullptr, 0);
        }
        if (out_ >= 0)
            close(out_);
    }
    Child(const Child&) = delete;
    Child& operator=(const Child&) = delete;

    bool started() const { return pid_ > 0; }

    // Reads standard output until it holds `text`; false after `seconds`.
    bool waitfor(const std::string& text, double seconds)
    {
        const auto end = Clock::now() + std::chrono::duration<double>(seconds);
        while (output_.find(text) == std::string::npos) {
            const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(end - Clock::now()).count();
            pollfd fd{out_, POLLIN, 0};
            if (left <= 0 || poll(&fd, 1, int(left)) <= 0)
                return false;
            char buffer[4096];
            const ssize_t got = read(out_, buffer, sizeof buffer);
            if (got <= 0)
                return false;
            output_.append(buffer, size_t(got));
        }
        return true;
    }
    const std::string& output() const { return output_; }

private:
    pid_t pid_ = -1;
    int out_ = -1;
    std::string output_;
};

struct ScreenRow {
    int width, height;
    const char* scale;  // QT_SCALE_FACTOR, or none
};

void PrintTo(const ScreenRow& row, std::ostream* out)
{
    *out << row.width << " x " << row.height << " at scale " << (row.scale != nullptr ? row.scale : "1");
}

struct Rgb {
    int r, g, b;
};

// The screen as read back from the server.
class Shot {
public:
    Shot(Display* display, int width, int height)
        : image_(XGetImage(display, DefaultRootWindow(display), 0, 0, unsigned(width), unsigned(height), AllPlanes,
                           ZPixmap))
    {
    }
    ~Shot()
    {
        if (image_ != nullptr)
            XDestroyImage(image_);
    }
    Shot(const Shot&) = delete;
    Shot& operator=(const Shot&) = delete;
    bool valid() const { return image_ != nullptr; }
    Rgb at(int x, int y) const
    {
        const unsigned long pixel = XGetPixel(image_, x, y);
        return {int(pixel >> 16 & 0xFF), int(pixel >> 8 & 0xFF), int(pixel & 0xFF)};
    }
    void save(const std::string& path) const
    {
        QImage copy(image_->width, image_->height, QImage::Format_RGB32);
        for (int y = 0; y < image_->height; ++y)
            for (int x = 0; x < image_->width; ++x) {
                const Rgb c = at(x, y);
                copy.setPixel(x, y, qRgb(c.r, c.g, c.b));
            }
        copy.save(QString::fromStdString(path));
    }

private:
    XImage* image_;
};

bool ismargin(const Rgb& c)  // the conversation's yellow margin
{
    return c.r > 200 && c.g > 200 && c.b < 80;
}

bool isred(const Rgb& c)  // the end message's ink, also where it is blended
{
    return c.r > 150 && c.g < 80 && c.b < 80;
}

// The largest shown top-level window called "Sprecho": window 0.
bool findwindow(Display* display, XWindowAttributes& found)
{
    Window root, parent, *children = nullptr;
    unsigned count = 0;
    if (XQueryTree(display, DefaultRootWindow(display), &root, &parent, &children, &count) == 0)
        return false;
    bool any = false;
    for (unsigned i = 0; i < count; ++i) {
        XWindowAttributes attributes;
        char* name = nullptr;
        if (XGetWindowAttributes(display, children[i], &attributes) == 0 || attributes.map_state != IsViewable)
            continue;
        const bool named = XFetchName(display, children[i], &name) != 0 && name != nullptr &&
                           std::string(name) == "Sprecho";
        if (name != nullptr)
            XFree(name);
        if (named && (!any || attributes.width * attributes.height > found.width * found.height)) {
            found = attributes;
            any = true;
        }
    }
    if (children != nullptr)
        XFree(children);
    return any;
}

void typekeys(Display* display, const std::vector<KeySym>& keys)
{
    for (const KeySym key : keys) {
        const KeyCode code = XKeysymToKeycode(display, key);
        XTestFakeKeyEvent(display, code, True, 0);
        XTestFakeKeyEvent(display, code, False, 0);
        XFlush(display);
        std::this_thread::sleep_for(std::chrono::milliseconds(30));
    }
}

class ScreenFit : public ::testing::TestWithParam<ScreenRow> {};

TEST_P(ScreenFit, WindowZeroFitsAndShowsTheEndMessage)
{
    const ScreenRow row = GetParam();
    int ready[2];
    ASSERT_EQ(pipe(ready), 0);
    // Xvfb picks a free display and writes its number once it takes clients.
    Child server({"Xvfb", "-displayfd", std::to_string(ready[1]), "-screen", "0",
                  std::to_string(row.width) + "x" + std::to_string(row.height) + "x24", "-nolisten", "tcp"},
                 {});
    close(ready[1]);
    std::string number;
    pollfd fd{ready[0], POLLIN, 0};
    char c;
    while (poll(&fd, 1, 10000) > 0 && read(ready[0], &c, 1) == 1 && c != '\n')
        number += c;
    close(ready[0]);
    if (!server.started() || number.empty())
        GTEST_SKIP() << "Xvfb did not start (scripts/install-deps installs xvfb)";
    const std::string displayname = ":" + number;
    const std::unique_ptr<Display, int (*)(Display*)> connection(XOpenDisplay(displayname.c_str()), XCloseDisplay);
    if (connection == nullptr)
        GTEST_SKIP() << "Xvfb started but takes no clients on " << displayname;
    Display* display = connection.get();

    const std::filesystem::path data = std::filesystem::temp_directory_path() / ("sprecho-x11-" + number);
    std::filesystem::create_directories(data);
    std::vector<std::string> environment = {"DISPLAY=" + displayname, "QT_QPA_PLATFORM=xcb",
                                            "XDG_DATA_HOME=" + data.string()};
    if (row.scale != nullptr)
        environment.push_back(std::string("QT_SCALE_FACTOR=") + row.scale);
    else
        environment.push_back("QT_SCALE_FACTOR=1");
    {
        Child program({SPRECHO_PROGRAM}, environment);
        ASSERT_TRUE(program.waitfor("eingelesen.", 20)) << program.output();
        std::this_thread::sleep_for(std::chrono::milliseconds(300));  // the prompt's first drawing
        typekeys(display, {XK_e, XK_n, XK_d, XK_e, XK_Return});
        ASSERT_TRUE(program.waitfor("with message in window #0.", 20)) << program.output();

        XWindowAttributes window;
        ASSERT_TRUE(findwindow(display, window));
        SCOPED_TRACE(::testing::Message() << "window " << window.x << "," << window.y << " " << window.width << "x"
                                          << window.height);
        EXPECT_GE(window.x, 0);
        EXPECT_GE(window.y, 0);
        EXPECT_LE(window.x + window.width, row.width);
        EXPECT_LE(window.y + window.height, row.height);

        // Whatever of the window is on the screen.
        const int wleft = std::max(window.x, 0), wtop = std::max(window.y, 0);
        const int wright = std::min(window.x + window.width, row.width) - 1;
        const int wbottom = std::min(window.y + window.height, row.height) - 1;
        ASSERT_TRUE(wleft < wright && wtop < wbottom);

        // The end message is drawn at once, but the screen may lag a little.
        int reds = 0, left = 0, right = 0, top = 0, bottom = 0, redleft = 0, redright = 0;
        for (int attempt = 0; attempt < 50 && reds < 50; ++attempt) {
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
            const Shot shot(display, row.width, row.height);
            ASSERT_TRUE(shot.valid());
            // The image is the part of the window inside the yellow margin:
            // along the middle row from either side, then up from the bottom.
            const int middle = (wtop + wbottom) / 2;
            left = wleft;
            while (left < wright && !ismargin(shot.at(left, middle)))
                ++left;  // the window's edge may be the menu bar's colour
            while (left < wright && ismargin(shot.at(left, middle)))
                ++left;
            right = wright;
            while (right > left && ismargin(shot.at(right, middle)))
                --right;
            bottom = wbottom;
            while (bottom > wtop && ismargin(shot.at(left + 2, bottom)))
                --bottom;
            const int width = right - left + 1;
            const int height = width * 800 / 1280;
            top = bottom + 1 - height;
            // Line 25 of 25, columns 1 to 15 of 80.
            reds = 0;
            redleft = right;
            redright = left;
            for (int y = bottom + 1 - height / 25; y <= bottom; ++y)
                for (int x = left; x < left + width * 16 / 80; ++x)
                    if (isred(shot.at(x, y))) {
                        ++reds;
                        redleft = std::min(redleft, x);
                        redright = std::max(redright, x);
                    }
            if (const char* folder = std::getenv("SPRECHO_SCREENSHOT_DIR"); folder != nullptr && reds >= 50)
                shot.save(std::string(folder) + "/sprecho-" + std::to_string(row.width) + "x" +
                          std::to_string(row.height) + ".png");
        }
        SCOPED_TRACE(::testing::Message() << "image " << left << "," << top << " to " << right << "," << bottom);
        EXPECT_GE(top, wtop);
        EXPECT_GE(reds, 50);
        // The message spans most of its 15 columns.
        EXPECT_GE(redright - redleft, (right - left) * 12 / 80);
    }
    std::filesystem::remove_all(data);
}

INSTANTIATE_TEST_SUITE_P(Screens, ScreenFit,
                         ::testing::Values(ScreenRow{1366, 768, nullptr}, ScreenRow{2560, 1600, "2"}),
                         [](const ::testing::TestParamInfo<ScreenRow>& info) {
                             return std::to_string(info.param.width) + "x" + std::to_string(info.param.height);
                         });

}  // namespace
