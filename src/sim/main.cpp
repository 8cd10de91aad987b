// kestrin-sim: a substitute engine control unit on a pseudo-terminal, so that the program can
// be run and tested without the hardware.

#include <poll.h>
#include <signal.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <deque>
#include <fstream>
#include <iostream>
#include <string>
#include <vector>

#include "sim/PtyLink.h"
#include "sim/unit/RequestAssembler.h"
#include "sim/unit/SimCommandLine.h"
#include "sim/unit/SimUnit.h"

namespace {

using namespace kestrin;

volatile sig_atomic_t stopRequested = 0;
void OnStopSignal(int) {
    stopRequested = 1;
}

// 10 bits per byte (start, 8 data, stop) at 57600 baud.
constexpr double kByteMicros = 10.0 * 1e6 / 57600.0;
constexpr int kReleaseExclusiveAfterMs = 1000;
constexpr int kTuningSaveEveryMs = 1000;

class Clock {
public:
    std::uint64_t Micros() const {
        return static_cast<std::uint64_t>(std::chrono::duration_cast<std::chrono::microseconds>(
                                              std::chrono::steady_clock::now() - start_)
                                              .count());
    }
    std::uint64_t Millis() const { return Micros() / 1000; }

private:
    std::chrono::steady_clock::time_point start_ = std::chrono::steady_clock::now();
};

class Log {
public:
    bool Open(const std::string& path) {
        if (path.empty()) return true;
        file_ = std::fopen(path.c_str(), "w");
        return file_ != nullptr;
    }
    ~Log() {
        if (file_) std::fclose(file_);
    }
    void Line(std::uint64_t ms, const char* direction, const std::string& text) {
        if (!file_) return;
        std::fprintf(file_, "%8llu.%03llu  %-8s %s\n", static_cast<unsigned long long>(ms / 1000),
                     static_cast<unsigned long long>(ms % 1000), direction, text.c_str());
        std::fflush(file_);
    }

private:
    std::FILE* file_ = nullptr;
};

// Loads the unit's memory; a missing file is a new unit, a file of another size an error.
bool LoadMemoryFile(const std::string& path, SimUnit& unit, std::string& error) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return true;
    std::vector<std::uint8_t> bytes((std::istreambuf_iterator<char>(in)),
                                    std::istreambuf_iterator<char>());
    if (!unit.LoadMemory(bytes)) {
        error = path + " holds " + std::to_string(bytes.size()) + " bytes, not " +
                std::to_string(kImageSize);
        return false;
    }
    return true;
}

// Written to a temporary file first, so an interrupted write never leaves half a memory.
bool SaveMemoryFile(const std::string& path, const SimUnit& unit) {
    const std::string temp = path + ".tmp";
    std::FILE* f = std::fopen(temp.c_str(), "wb");
    if (!f) return false;
    const auto& bytes = unit.memory().bytes();
    bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    ok = std::fflush(f) == 0 && ok;
    ok = fsync(fileno(f)) == 0 && ok;
    ok = std::fclose(f) == 0 && ok;
    if (!ok || std::rename(temp.c_str(), path.c_str()) != 0) {
        std::remove(temp.c_str());
        return false;
    }
    return true;
}

void InstallSignals() {
    struct sigaction stop {};
    stop.sa_handler = OnStopSignal;
    sigemptyset(&stop.sa_mask);
    sigaction(SIGINT, &stop, nullptr);
    sigaction(SIGTERM, &stop, nullptr);
    sigaction(SIGHUP, &stop, nullptr);
    signal(SIGPIPE, SIG_IGN);
}

class Simulator {
public:
    Simulator(const SimCommandLine& options, SimUnit& unit, PtyLink& pty, Log& log)
        : options_(options), unit_(unit), pty_(pty), log_(log) {
        savedRevision_ = unit.memoryRevision();
    }

    void Run() {
        while (!stopRequested) {
            pollfd p{pty_.master(), POLLIN, 0};
            if (!out_.empty()) p.events |= POLLOUT;
            const int timeoutMs = out_.empty() ? 20 : 2;
            const int ready = poll(&p, 1, timeoutMs);
            if (ready < 0 && errno != EINTR) break;
            const std::uint64_t now = clock_.Millis();
            unit_.Advance(static_cast<int>(now - unitMs_));
            unitMs_ = now;

            if (ready > 0 && (p.revents & POLLIN))
                Receive(now);
            else if (ready > 0 && (p.revents & (POLLHUP | POLLERR)))
                usleep(20000);
            if (const int dropped = assembler_.Expire(now); dropped > 0)
                log_.Line(now, "note",
                          "dropped " + std::to_string(dropped) + " bytes of an incomplete request");
            Transmit();
            if (now - lastInputMs_ >= kReleaseExclusiveAfterMs) {
                pty_.ReleaseExclusive();
                lastInputMs_ = now;
            }
            if (unit_.memoryRevision() != savedRevision_ && now - lastSaveMs_ >= kTuningSaveEveryMs)
                SaveMemory(now);
        }
        if (unit_.memoryRevision() != savedRevision_) SaveMemory(clock_.Millis());
    }

private:
    void Receive(std::uint64_t now) {
        std::uint8_t buffer[4096];
        const ssize_t n = read(pty_.master(), buffer, sizeof buffer);
        if (n <= 0) {
            if (n < 0 && errno != EAGAIN && errno != EINTR) usleep(20000);
            return;
        }
        lastInputMs_ = now;
        auto result = assembler_.Feed(
            std::span<const std::uint8_t>(buffer, static_cast<std::size_t>(n)), now);
        if (result.discarded > 0)
            log_.Line(
                now, "note",
                "skipped " + std::to_string(result.discarded) + " bytes that start no request");
        for (const auto& request : result.requests) Handle(request, now);
    }

    void Handle(const Frame& request, std::uint64_t now) {
        log_.Line(now, "request", DescribeRequest(request));
        const std::size_t testsBefore = unit_.outputTests().size();
        const auto answer = unit_.Answer(request);
        for (std::size_t i = testsBefore; i < unit_.outputTests().size(); ++i) {
            const auto& note = unit_.outputTests()[i];
            const std::string text =
                "output test: " + std::string(note.name.empty() ? "unassigned bit" : note.name);
            log_.Line(now, "note", text);
            std::printf("kestrin-sim: %s\n", text.c_str());
            std::fflush(stdout);
        }
        if (unit_.lastOutcome() != UnitOutcome::Answered)
            log_.Line(now, "note", std::string(OutcomeText(unit_.lastOutcome())));
        if (answer) {
            log_.Line(now, "answer", DescribeAnswer(*answer));
            if (out_.empty()) lineMicros_ = clock_.Micros();
            out_.insert(out_.end(), answer->begin(), answer->end());
        }
        if (unit_.memoryRevision() != savedRevision_) SaveMemory(now);
    }

    // Paced: a byte leaves every 173.6 us, as on the real line.
    void Transmit() {
        if (out_.empty()) return;
        std::size_t due = out_.size();
        if (options_.pacing) {
            const double elapsed = static_cast<double>(clock_.Micros()) - lineMicros_;
            due = std::min(out_.size(),
                           static_cast<std::size_t>(std::max(0.0, elapsed / kByteMicros)));
        }
        if (due == 0) return;
        std::vector<std::uint8_t> chunk(out_.begin(),
                                        out_.begin() + static_cast<std::ptrdiff_t>(due));
        const ssize_t n = write(pty_.master(), chunk.data(), chunk.size());
        if (n <= 0) return;
        out_.erase(out_.begin(), out_.begin() + n);
        lineMicros_ += static_cast<double>(n) * kByteMicros;
    }

    void SaveMemory(std::uint64_t now) {
        savedRevision_ = unit_.memoryRevision();
        lastSaveMs_ = now;
        if (options_.memoryFile.empty()) return;
        if (!SaveMemoryFile(options_.memoryFile, unit_)) {
            std::fprintf(stderr, "kestrin-sim: cannot write %s: %s\n", options_.memoryFile.c_str(),
                         std::strerror(errno));
            log_.Line(now, "note", "cannot write " + options_.memoryFile);
        }
    }

    const SimCommandLine& options_;
    SimUnit& unit_;
    PtyLink& pty_;
    Log& log_;
    Clock clock_;
    RequestAssembler assembler_;
    std::deque<std::uint8_t> out_;
    double lineMicros_ = 0;
    std::uint64_t unitMs_ = 0;
    std::uint64_t lastInputMs_ = 0;
    std::uint64_t lastSaveMs_ = 0;
    std::uint64_t savedRevision_ = 0;
};

}  // namespace

int main(int argc, char** argv) {
    std::vector<std::string_view> args(argv + 1, argv + argc);
    std::string error;
    const auto options = ParseSimCommandLine(args, error);
    if (!options) {
        std::cerr << "kestrin-sim: " << error << "\n\n" << SimUsage();
        return 2;
    }
    if (options->help) {
        std::cout << SimUsage();
        return 0;
    }

    SimUnit unit(options->unit);
    if (!options->memoryFile.empty() && !LoadMemoryFile(options->memoryFile, unit, error)) {
        std::cerr << "kestrin-sim: " << error << "\n";
        return 1;
    }
    Log log;
    if (!log.Open(options->logFile)) {
        std::cerr << "kestrin-sim: cannot write the log " << options->logFile << ": "
                  << std::strerror(errno) << "\n";
        return 1;
    }
    InstallSignals();
    PtyLink pty;
    if (!pty.Create(options->linkPath, error)) {
        std::cerr << "kestrin-sim: " << error << "\n";
        return 1;
    }
    std::printf("kestrin-sim: unit on %s%s%s\n", pty.deviceName().c_str(),
                options->linkPath.empty() ? "" : ", link ", options->linkPath.c_str());
    std::fflush(stdout);

    Simulator simulator(*options, unit, pty, log);
    simulator.Run();
    pty.Remove();
    return 0;
}
