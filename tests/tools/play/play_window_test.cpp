// tapora-sim play in a real window, on a virtual X server (Xvfb) that the test
// starts itself, driven as a person drives it: the mouse through XTest, the
// window closed through the window manager's protocol. The device has a
// keyboard of known places (keys 20 pixels square from (2, 2): a, b, Shift),
// and what the window shows is checked against the panel's own drawing after
// the same pen input, as `tapora-sim run` snapshots it.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <png.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <optional>
#include <regex>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "tools/kbf/writer/kbf_writer.h"

// Last: Xlib's macros (None, Bool, Status) would break the headers above.
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>

namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

constexpr int kScale = 2;

std::string ReadText(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

// Pixels as 0xRRGGBB.
struct Image {
  int width = 0;
  int height = 0;
  std::vector<uint32_t> rgb;
  uint32_t At(int x, int y) const { return rgb[static_cast<size_t>(y) * width + x]; }
};

std::optional<Image> ReadPng(const fs::path& file) {
  png_image png{};
  png.version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_file(&png, file.c_str())) return std::nullopt;
  png.format = PNG_FORMAT_RGB;
  std::vector<uint8_t> bytes(PNG_IMAGE_SIZE(png));
  if (!png_image_finish_read(&png, nullptr, bytes.data(), 0, nullptr)) return std::nullopt;
  Image image{static_cast<int>(png.width), static_cast<int>(png.height), {}};
  for (size_t i = 0; i + 2 < bytes.size(); i += 3)
    image.rgb.push_back(bytes[i] << 16 | bytes[i + 1] << 8 | bytes[i + 2]);
  return image;
}

// The first window pixel whose colour is not the panel's pixel under it, or
// nothing when the window's top left shows the panel, scaled.
std::optional<std::string> PanelMismatch(const Image& window, const Image& panel) {
  if (window.width < panel.width * kScale || window.height < panel.height * kScale)
    return "the window is smaller than the panel scaled";
  for (int y = 0; y < panel.height * kScale; ++y)
    for (int x = 0; x < panel.width * kScale; ++x)
      if (window.At(x, y) != panel.At(x / kScale, y / kScale))
        return "(" + std::to_string(x) + ", " + std::to_string(y) + ")";
  return std::nullopt;
}

bool WaitFor(const std::function<bool()>& done, std::chrono::milliseconds limit = 10s) {
  const auto end = std::chrono::steady_clock::now() + limit;
  while (!done()) {
    if (std::chrono::steady_clock::now() > end) return false;
    std::this_thread::sleep_for(10ms);
  }
  return true;
}

std::string FindXvfb() {
  const char* path = std::getenv("PATH");
  std::stringstream folders(path != nullptr ? path : "/usr/bin");
  for (std::string folder; std::getline(folders, folder, ':');)
    if (!folder.empty() && access((folder + "/Xvfb").c_str(), X_OK) == 0) return folder + "/Xvfb";
  return {};
}

class PlayWindow : public ::testing::Test {
 protected:
  void SetUp() override {
    const std::string xvfb = FindXvfb();
    if (xvfb.empty()) GTEST_SKIP() << "no Xvfb on PATH: the play window needs an X server";
    device_ = fs::temp_directory_path() / ("play_window_tests_" + std::to_string(getpid()));
    ASSERT_EQ(Sim("install --device " + device_.string() + " > /dev/null 2>&1"), 0);
    kbf::Keyboard keyboard;
    kbf::KeyRecord a = kbf::MakeKey(20, 20, 33, u"a");
    a.SetShiftLabel8("A");
    kbf::AddPanelOfRows(keyboard, 0, 0, 238, 80,
                        {{a, kbf::MakeKey(20, 20, 1, u"b"),
                          kbf::MakeKey(20, 20, 18, u"Shift", u"[Shift-Down]")}});
    for (kbf::Placement& placement : keyboard.panels[0].placements) {
      placement.x += 2;
      placement.y += 2;
    }
    kbf::WriteFileBytes(device_ / "Program Files/Tapora SIP/Keyboard/keyboard.kbf",
                        kbf::WriteContainer(kbf::Members(keyboard)));
    StartServer(xvfb);
  }

  void TearDown() override {
    if (display_ != nullptr) XCloseDisplay(display_);
    for (pid_t pid : {play_, server_}) {
      if (pid <= 0) continue;
      kill(pid, SIGTERM);
      if (!WaitFor([pid] { return waitpid(pid, nullptr, WNOHANG) == pid; }, 5s)) {
        kill(pid, SIGKILL);
        waitpid(pid, nullptr, 0);
      }
    }
    std::error_code ignored;
    if (!device_.empty()) fs::remove_all(device_, ignored);
  }

  int Sim(const std::string& arguments) {
    const int status = std::system((std::string(TAPORA_SIM) + " " + arguments).c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }

  // Xvfb on a display number of its own choosing, which it writes to the
  // pipe once it accepts connections.
  void StartServer(const std::string& xvfb) {
    int ready[2];
    ASSERT_EQ(pipe(ready), 0);
    server_ = fork();
    ASSERT_GE(server_, 0);
    if (server_ == 0) {
      close(ready[0]);
      const std::string fd = std::to_string(ready[1]);
      execl(xvfb.c_str(), "Xvfb", "-displayfd", fd.c_str(), "-screen", "0", "1024x768x24",
            "-nolisten", "tcp", static_cast<char*>(nullptr));
      _exit(127);
    }
    close(ready[1]);
    std::string number;
    char c;
    while (read(ready[0], &c, 1) == 1 && c != '\n') number += c;
    close(ready[0]);
    ASSERT_FALSE(number.empty()) << "Xvfb did not start";
    displayName_ = ":" + number;
    display_ = XOpenDisplay(displayName_.c_str());
    ASSERT_NE(display_, nullptr);
    // A request on a window that has gone fails the test, not the process.
    XSetErrorHandler([](Display*, XErrorEvent* error) {
      ADD_FAILURE() << "X error " << static_cast<int>(error->error_code) << " on request "
                    << static_cast<int>(error->request_code);
      return 0;
    });
  }

  // Starts play and waits for its window to be mapped.
  void StartPlay() {
    play_ = fork();
    ASSERT_GE(play_, 0);
    if (play_ == 0) {
      setenv("DISPLAY", displayName_.c_str(), 1);
      setenv("SDL_VIDEODRIVER", "x11", 1);
      const int out = open((device_ / "play.out").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
      dup2(out, STDOUT_FILENO);
      dup2(out, STDERR_FILENO);
      execl(TAPORA_SIM, "tapora-sim", "play", "--device", device_.c_str(), "--scale",
            std::to_string(kScale).c_str(), "--text-out", (device_ / "text.txt").c_str(),
            "--screenshot", (device_ / "shot.png").c_str(), static_cast<char*>(nullptr));
      _exit(127);
    }
    ASSERT_TRUE(WaitFor([&] { return (window_ = FindWindow()) != 0; })) << Output();
  }

  Window FindWindow() {
    const Atom pidAtom = XInternAtom(display_, "_NET_WM_PID", False);
    Window root, parent, *children = nullptr;
    unsigned count = 0;
    Window found = 0;
    XQueryTree(display_, DefaultRootWindow(display_), &root, &parent, &children, &count);
    for (unsigned i = 0; i < count && found == 0; ++i) {
      Atom type;
      int format;
      unsigned long items, after;
      unsigned char* value = nullptr;
      XWindowAttributes attributes;
      char* name = nullptr;
      // Play's window: the process's, with its title, once mapped.
      const bool titled = XFetchName(display_, children[i], &name) && name != nullptr &&
                          std::string(name) == "tapora-sim";
      if (name != nullptr) XFree(name);
      if (titled &&
          XGetWindowProperty(display_, children[i], pidAtom, 0, 1, False, XA_CARDINAL, &type,
                             &format, &items, &after, &value) == Success &&
          value != nullptr && items == 1 &&
          *reinterpret_cast<unsigned long*>(value) == static_cast<unsigned long>(play_) &&
          XGetWindowAttributes(display_, children[i], &attributes) &&
          attributes.map_state == IsViewable)
        found = children[i];
      if (value != nullptr) XFree(value);
    }
    if (children != nullptr) XFree(children);
    return found;
  }

  // The pointer over a window pixel (device pixels times the scale).
  void MoveTo(int x, int y) {
    int rootX = 0, rootY = 0;
    Window child;
    XTranslateCoordinates(display_, window_, DefaultRootWindow(display_), x, y, &rootX, &rootY,
                          &child);
    XTestFakeMotionEvent(display_, -1, rootX, rootY, CurrentTime);
    XSync(display_, False);
  }
  void Button(unsigned button, bool down) {
    XTestFakeButtonEvent(display_, button, down ? True : False, CurrentTime);
    XSync(display_, False);
  }
  // A tap at a device pixel of the window.
  void Tap(int x, int y, unsigned button = 1) {
    MoveTo(x * kScale, y * kScale);
    Button(button, true);
    Button(button, false);
  }

  void Close() {
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = window_;
    event.xclient.message_type = XInternAtom(display_, "WM_PROTOCOLS", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = static_cast<long>(XInternAtom(display_, "WM_DELETE_WINDOW", False));
    event.xclient.data.l[1] = CurrentTime;
    XSendEvent(display_, window_, False, NoEventMask, &event);
    XSync(display_, False);
  }

  // Play's exit code once it has ended, -1 when it does not end in time.
  int WaitForExit() {
    int status = 0;
    if (!WaitFor([&] { return waitpid(play_, &status, WNOHANG) == play_; })) return -1;
    play_ = 0;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }

  Image WindowImage() {
    XWindowAttributes attributes;
    XGetWindowAttributes(display_, window_, &attributes);
    Image image{attributes.width, attributes.height, {}};
    XImage* x = XGetImage(display_, window_, 0, 0, attributes.width, attributes.height, AllPlanes,
                          ZPixmap);
    for (int y = 0; x != nullptr && y < image.height; ++y)
      for (int column = 0; column < image.width; ++column)
        image.rgb.push_back(static_cast<uint32_t>(XGetPixel(x, column, y)) & 0xFFFFFF);
    if (x != nullptr) XDestroyImage(x);
    return image;
  }

  std::string Output() { return ReadText(device_ / "play.out"); }

  fs::path device_;
  std::string displayName_;
  Display* display_ = nullptr;
  pid_t server_ = 0;
  pid_t play_ = 0;
  Window window_ = 0;
};

TEST_F(PlayWindow, TheMouseTypesHoldsRepeatsAndUsesTheOptionsDialog) {
  StartPlay();
  const int startHeight = WindowImage().height;
  Tap(12, 12);  // a
  Tap(52, 12);  // Shift latches
  Tap(12, 12);  // A
  // Down on a, dragged to b: the tap is abandoned.
  MoveTo(12 * kScale, 12 * kScale);
  Button(1, true);
  MoveTo(32 * kScale, 12 * kScale);
  Button(1, false);
  // Held on b for 0.9 s of real time: the first repeat comes after about 0.6 s.
  MoveTo(32 * kScale, 12 * kScale);
  Button(1, true);
  std::this_thread::sleep_for(900ms);
  Button(1, false);

  // The right button opens the options dialog; typematic off, then OK.
  Tap(100, 40, 3);
  std::smatch area;
  const std::regex where(R"(client area (\d+) by (\d+) at \((\d+), (\d+)\))");
  std::string output;
  ASSERT_TRUE(WaitFor([&] { return std::regex_search(output = Output(), area, where); })) << output;
  const double width = std::stod(area[1]), height = std::stod(area[2]);
  const double left = std::stod(area[3]), top = std::stod(area[4]);
  ASSERT_TRUE(WaitFor([&] { return WindowImage().height > startHeight; }));
  // The template's places, in its units of 127 by 105: the typematic box's
  // middle at (65, 95), OK's at (97, 14).
  const auto tapDialog = [&](double x, double y) {
    MoveTo(static_cast<int>(left + width * x / 127), static_cast<int>(top + height * y / 105));
    Button(1, true);
    Button(1, false);
  };
  tapDialog(65, 95);
  tapDialog(97, 14);
  ASSERT_TRUE(WaitFor([&] { return Output().find("UserOptionsDlg ->") != std::string::npos; }))
      << Output();
  MoveTo(32 * kScale, 12 * kScale);
  Button(1, true);
  std::this_thread::sleep_for(900ms);
  Button(1, false);

  // The expected picture: the panel's own drawing after the same pen input.
  const fs::path script = device_ / "same.script";
  std::ofstream(script) << "tap 12 12\ntap 52 12\ntap 12 12\ndown 12 12\nmove 32 12\nup 32 12\n"
                           "down 32 12\nwait 900\nup 32 12\noptions typematic=off ok\n"
                           "down 32 12\nwait 900\nup 32 12\nsnapshot panel.png\n";
  ASSERT_EQ(Sim("run --device " + device_.string() + " --script " + script.string() +
                " --snapshots " + device_.string() + " > /dev/null 2>&1"),
            0);
  const std::optional<Image> panel = ReadPng(device_ / "panel.png");
  ASSERT_TRUE(panel);
  std::optional<std::string> mismatch;
  EXPECT_TRUE(WaitFor([&] { return !(mismatch = PanelMismatch(WindowImage(), *panel)); }, 5s))
      << "the window differs from the panel at " << *mismatch;

  Close();
  ASSERT_EQ(WaitForExit(), 0) << Output();
  // Typed, dragged off, held with repeats, held again without.
  const std::string text = ReadText(device_ / "text.txt");
  EXPECT_TRUE(std::regex_match(text, std::regex("aAb{3,8}b"))) << text;
  const std::optional<Image> shot = ReadPng(device_ / "shot.png");
  ASSERT_TRUE(shot);
  mismatch = PanelMismatch(*shot, *panel);
  EXPECT_FALSE(mismatch) << "the screenshot differs from the panel at " << *mismatch;
  // Closing the window took the input method down as the SIP manager does.
  output = Output();
  for (const char* step : {"Deselect -> 0x00000000", "DllCanUnloadNow -> 0x00000000",
                           "FreeLibrary -> 1"})
    EXPECT_NE(output.find(step), std::string::npos) << step << "\n" << output;
}

TEST_F(PlayWindow, ClosingTheWindowEndsAnOpenDialogFirst) {
  StartPlay();
  MoveTo(12 * kScale, 12 * kScale);
  // The menu key, again until the window has the keyboard: a window manager
  // would give it the focus, but the server has none.
  const KeyCode menu = XKeysymToKeycode(display_, XK_Menu);
  ASSERT_TRUE(WaitFor([&] {
    XTestFakeKeyEvent(display_, menu, True, CurrentTime);
    XTestFakeKeyEvent(display_, menu, False, CurrentTime);
    XSync(display_, False);
    return WaitFor([&] { return Output().find("options dialog:") != std::string::npos; }, 200ms);
  })) << Output();
  Close();
  ASSERT_EQ(WaitForExit(), 0) << Output();
  const std::string output = Output();
  const size_t dialog = output.find("UserOptionsDlg -> 0x00000000");
  EXPECT_NE(dialog, std::string::npos) << output;
  EXPECT_LT(dialog, output.find("Deselect -> 0x00000000")) << output;
  EXPECT_EQ(ReadText(device_ / "text.txt"), "");
}

}  // namespace
