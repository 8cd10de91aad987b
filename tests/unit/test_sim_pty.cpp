// Starts the built kestrin-sim on a pseudo-terminal and talks to it through the link, as the
// program does: monitor frames, a stored page that survives in the memory file, reopening.

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "link/Frame.h"
#include "test_sim_support.h"

namespace kestrin {
namespace {

namespace fs = std::filesystem;
using simtest::MakeFrame;
using simtest::PageFrame;

fs::path SimPath() {
#ifdef KESTRIN_SIM_PATH
    return KESTRIN_SIM_PATH;
#else
    // The test runs from <build>/tests, the simulator is built into <build>.
    return fs::read_symlink("/proc/self/exe").parent_path().parent_path() / "kestrin-sim";
#endif
}

class SimBinary : public ::testing::Test {
protected:
    void SetUp() override {
        if (!fs::exists(SimPath())) GTEST_SKIP() << "kestrin-sim not built at " << SimPath();
        dir_ = fs::temp_directory_path() / ("kestrin-sim-test-" + std::to_string(getpid()));
        fs::remove_all(dir_);
        fs::create_directories(dir_);
        link_ = dir_ / "ttyUnit";
        memory_ = dir_ / "unit.bin";
    }
    void TearDown() override {
        CloseDevice();
        Stop();
        if (!dir_.empty()) fs::remove_all(dir_);
    }

    void Start(std::vector<std::string> extra = {}) {
        std::vector<std::string> args{SimPath().string(), "--link", link_.string(), "--memory",
                                      memory_.string()};
        args.insert(args.end(), extra.begin(), extra.end());
        pid_ = fork();
        ASSERT_GE(pid_, 0);
        if (pid_ == 0) {
            const int null = open("/dev/null", O_WRONLY);
            dup2(null, STDOUT_FILENO);
            std::vector<char*> argv;
            for (auto& a : args) argv.push_back(a.data());
            argv.push_back(nullptr);
            execv(argv[0], argv.data());
            _exit(127);
        }
        for (int i = 0; i < 500 && !fs::is_symlink(link_); ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        ASSERT_TRUE(fs::is_symlink(link_));
    }

    int Stop() {
        if (pid_ <= 0) return -1;
        kill(pid_, SIGTERM);
        int status = 0;
        waitpid(pid_, &status, 0);
        pid_ = -1;
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }

    void OpenDevice() {
        fd_ = open(link_.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK);
        ASSERT_GE(fd_, 0);
        termios t{};
        ASSERT_EQ(tcgetattr(fd_, &t), 0);
        cfmakeraw(&t);
        cfsetspeed(&t, B57600);
        ASSERT_EQ(tcsetattr(fd_, TCSANOW, &t), 0);
        tcflush(fd_, TCIOFLUSH);
    }
    void CloseDevice() {
        if (fd_ >= 0) close(fd_);
        fd_ = -1;
    }

    void Send(std::span<const std::uint8_t> bytes) {
        ASSERT_EQ(write(fd_, bytes.data(), bytes.size()), static_cast<ssize_t>(bytes.size()));
    }
    // Collects what arrives until 152 bytes are there or the time is up.
    std::vector<std::uint8_t> Receive(int timeoutMs = 2000) {
        std::vector<std::uint8_t> got;
        const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
        while (got.size() < static_cast<std::size_t>(kFrameSize) &&
               std::chrono::steady_clock::now() < end) {
            pollfd p{fd_, POLLIN, 0};
            if (poll(&p, 1, 20) <= 0) continue;
            std::uint8_t buffer[512];
            const ssize_t n = read(fd_, buffer, sizeof buffer);
            if (n > 0) got.insert(got.end(), buffer, buffer + n);
        }
        return got;
    }

    fs::path dir_, link_, memory_;
    pid_t pid_ = -1;
    int fd_ = -1;
};

TEST_F(SimBinary, AnswersMonitorRequestsAtLineSpeed) {
    Start();
    OpenDevice();
    const auto sent = std::chrono::steady_clock::now();
    Send(MakeFrame(kCmdMonitor));
    const auto frame = Receive();
    const auto took = std::chrono::steady_clock::now() - sent;
    ASSERT_EQ(frame.size(), static_cast<std::size_t>(kFrameSize));
    EXPECT_EQ(frame[0], 0xB0);
    EXPECT_TRUE(CheckOk(frame));
    EXPECT_EQ(frame[150], 74);
    EXPECT_GE(took, std::chrono::milliseconds(20)) << "152 bytes at 57600 baud take 26 ms";

    // A request written in two pieces is still one request.
    const Frame request = MakeFrame(kCmdMonitor);
    Send(std::span(request).first(70));
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
    Send(std::span(request).subspan(70));
    const auto second = Receive();
    ASSERT_EQ(second.size(), static_cast<std::size_t>(kFrameSize));
    EXPECT_EQ(second[0], 0xB0);

    EXPECT_EQ(Stop(), 0);
    EXPECT_FALSE(fs::exists(fs::symlink_status(link_))) << "the link goes with the simulator";
}

TEST_F(SimBinary, StoredPageSurvivesReopeningAndRestart) {
    Start({"--no-pacing", "--version", "73"});
    OpenDevice();
    const Frame page = PageFrame(0x04, 11);
    Send(page);
    const auto echo = Receive();
    ASSERT_EQ(echo.size(), static_cast<std::size_t>(kFrameSize));
    EXPECT_EQ(echo[0], 0x84);

    // The program closes and opens the port again: the simulator keeps running.
    CloseDevice();
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    OpenDevice();
    Send(MakeFrame(0x40));
    const auto id = Receive();
    ASSERT_EQ(id.size(), static_cast<std::size_t>(kFrameSize));
    EXPECT_EQ(id[11], 73);
    EXPECT_EQ(Stop(), 0);

    ASSERT_EQ(fs::file_size(memory_), static_cast<std::uintmax_t>(kImageSize));
    std::ifstream in(memory_, std::ios::binary);
    std::vector<char> bytes(static_cast<std::size_t>(kImageSize));
    in.read(bytes.data(), kImageSize);
    for (int i = 0; i < kPageSize; ++i)
        ASSERT_EQ(static_cast<std::uint8_t>(bytes[static_cast<std::size_t>(3 * kPageSize + i)]),
                  page[static_cast<std::size_t>(i + 1)]);

    CloseDevice();
    Start({"--no-pacing"});
    OpenDevice();
    Send(MakeFrame(0x44));
    const auto copy = Receive();
    ASSERT_EQ(copy.size(), static_cast<std::size_t>(kFrameSize));
    EXPECT_TRUE(std::equal(copy.begin() + 1, copy.begin() + 151, page.begin() + 1));
}

TEST_F(SimBinary, SilentUnitSendsNothing) {
    Start({"--silent"});
    OpenDevice();
    Send(MakeFrame(kCmdMonitor));
    EXPECT_TRUE(Receive(400).empty());
}

TEST_F(SimBinary, RefusesAMemoryFileOfTheWrongSize) {
    std::ofstream(memory_, std::ios::binary) << "short";
    const std::string command = SimPath().string() + " --memory " + memory_.string() + " --link " +
                                link_.string() + " 2>/dev/null";
    EXPECT_NE(std::system(command.c_str()), 0);
    EXPECT_EQ(fs::file_size(memory_), 5u) << "the file is left as it was";
    EXPECT_FALSE(fs::exists(fs::symlink_status(link_)));
}

}  // namespace
}  // namespace kestrin
