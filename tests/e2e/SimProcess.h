#pragma once
// Starts kestrin-sim on a pseudo-terminal in a temporary folder and drives the program's link
// loop against it through the real QSerialPort adapter, in real time.

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "app/SerialPortLine.h"
#include "lang/Messages.h"
#include "link/LinkLoop.h"

namespace kestrin::e2e {

class SimProcess {
public:
    explicit SimProcess(std::vector<std::string> options) {
        char tmpl[] = "/tmp/kestrin-e2e-XXXXXX";
        dir_ = mkdtemp(tmpl);
        link_ = dir_ / "link";
        memory_ = dir_ / "memory.bin";
        std::vector<std::string> args{KESTRIN_SIM_PATH,
                                      "--link",
                                      link_.string(),
                                      "--memory",
                                      memory_.string(),
                                      "--log",
                                      (dir_ / "sim.log").string()};
        args.insert(args.end(), options.begin(), options.end());
        pid_ = fork();
        if (pid_ == 0) {
            std::vector<char*> argv;
            for (auto& a : args) argv.push_back(a.data());
            argv.push_back(nullptr);
            execv(argv[0], argv.data());
            _exit(127);
        }
        for (int i = 0; i < 100 && !std::filesystem::exists(link_); ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    ~SimProcess() {
        if (pid_ > 0) {
            kill(pid_, SIGTERM);
            waitpid(pid_, nullptr, 0);
        }
        std::error_code ec;
        std::filesystem::remove_all(dir_, ec);
    }
    SimProcess(const SimProcess&) = delete;
    SimProcess& operator=(const SimProcess&) = delete;

    bool ready() const { return std::filesystem::exists(link_); }
    std::string link() const { return link_.string(); }
    std::filesystem::path memoryFile() const { return memory_; }
    std::vector<std::uint8_t> Memory() const {
        std::ifstream in(memory_, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), {}};
    }
    void WriteMemory(const ParameterImage& image) const {
        std::ofstream out(memory_, std::ios::binary);
        out.write(reinterpret_cast<const char*>(image.bytes().data()), kImageSize);
    }

private:
    std::filesystem::path dir_, link_, memory_;
    pid_t pid_ = -1;
};

// A serial line that counts what passes through the real adapter.
class CountingLine : public SerialLine {
public:
    explicit CountingLine(SerialLine& inner) : inner_(inner) {}
    int opens = 0;
    std::vector<std::uint8_t> commands;  // byte 0 of every frame written

    bool Open(int n) override {
        ++opens;
        return inner_.Open(n);
    }
    bool IsOpen() const override { return inner_.IsOpen(); }
    int QueuedBytes() override { return inner_.QueuedBytes(); }
    int Read(std::span<std::uint8_t> b) override { return inner_.Read(b); }
    void WriteFrame(std::span<const std::uint8_t> f) override {
        commands.push_back(f[0]);
        inner_.WriteFrame(f);
    }
    void Purge() override { inner_.Purge(); }
    void Close() override { inner_.Close(); }

private:
    SerialLine& inner_;
};

// The program's link loop on COM1 = the simulator's pseudo-terminal.
class LinkUnderTest : public LinkHost {
public:
    explicit LinkUnderTest(const std::string& device, std::chrono::milliseconds tick)
        : port_([&] {
              gui::PortMap map;
              map.Set(1, QString::fromStdString(device));
              return map;
          }()),
          line(port_),
          loop(image, line, messages, *this),
          tick_(tick) {
        loop.silentTicks = 18;
        loop.OpenPort();
    }

    void Tick() {
        const auto next = std::chrono::steady_clock::now() + tick_;
        loop.Tick();
        std::this_thread::sleep_until(next);
    }
    // Ticks until the transfer is over (and one tick more for the programming result).
    void RunTransfer(int maxTicks = 3000) {
        for (int t = 0; t < maxTicks && loop.linkMode != LinkMonitoring; ++t) Tick();
        Tick();
    }
    bool EndsOk() const {
        const std::string& s = loop.view().statusText;
        return s.size() >= 3 && s.compare(s.size() - 3, 3, " OK") == 0;
    }

    void MonitorFrameReceived(const Frame&) override { ++monitorFrames; }
    void VersionMismatch(const std::string& text) override { boxes.push_back(text); }

    ParameterImage image;
    MessageSlots messages;
    int monitorFrames = 0;
    std::vector<std::string> boxes;

private:
    gui::SerialPortLine port_;

public:
    CountingLine line;
    LinkLoop loop;

private:
    std::chrono::milliseconds tick_;
};

}  // namespace kestrin::e2e
