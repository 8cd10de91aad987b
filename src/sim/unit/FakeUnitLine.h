#pragma once
// An in-process unit behind the serial-line interface, for fast tests of the program: every
// written frame is answered at once into the receive queue. Failure modes are switched on by
// name; the unit's memory and everything written stay open to assertions.

#include <cstdint>
#include <set>
#include <span>
#include <string>
#include <vector>

#include "link/SerialLine.h"
#include "sim/unit/SimUnit.h"

namespace kestrin {

class FakeUnitLine : public SerialLine {
public:
    explicit FakeUnitLine(SimOptions options = {});

    bool Open(int portNumber) override;
    bool IsOpen() const override { return open_; }
    int QueuedBytes() override;
    int Read(std::span<std::uint8_t> buffer) override;
    void WriteFrame(std::span<const std::uint8_t> frame) override;
    void Purge() override;
    void Close() override;
    std::string DevicePath() const override;

    // Ports that can be opened; all of 1..21 unless set.
    void SetExistingPorts(std::set<int> ports) { ports_ = std::move(ports); }

    // Failure modes.
    void SetNoAnswer(bool on) { noAnswer_ = on; }
    void DropNextAnswers(int count) { dropNext_ = count; }  // the following ones come back
    void SetWrongCheckByte(bool on) { wrongCheck_ = on; }
    void SetWrongEchoPage(int page) { unit_.options().badEchoPage = page; }  // 0: off
    void SetVersion(int version) { unit_.options().protocolVersion = version; }
    void SetExtraBytes(int count) { extraBytes_ = count; }  // stray bytes after each answer
    void ClearFailures();

    // The unit's clock moves by this much on every written frame (default 0: it stands still).
    void SetMillisecondsPerWrite(int ms) { msPerWrite_ = ms; }
    // Puts bytes into the receive queue as if the unit had sent them.
    void InjectBytes(std::span<const std::uint8_t> bytes);

    SimUnit& unit() { return unit_; }
    const SimUnit& unit() const { return unit_; }
    const ParameterImage& memory() const { return unit_.memory(); }
    // Every frame written while the port was open, oldest first.
    const std::vector<Frame>& written() const { return written_; }
    void ClearWritten() { written_.clear(); }

    int openCount() const { return openCount_; }  // successful opens
    int openAttempts() const { return openAttempts_; }
    int closeCount() const { return closeCount_; }
    int purgeCount() const { return purgeCount_; }
    int port() const { return port_; }  // the last port Open was asked for

private:
    SimUnit unit_;
    std::set<int> ports_;
    std::vector<std::uint8_t> queue_;
    std::vector<Frame> written_;
    bool open_ = false;
    bool noAnswer_ = false;
    bool wrongCheck_ = false;
    int dropNext_ = 0;
    int extraBytes_ = 0;
    int msPerWrite_ = 0;
    int port_ = 0;
    int openCount_ = 0;
    int openAttempts_ = 0;
    int closeCount_ = 0;
    int purgeCount_ = 0;
};

}  // namespace kestrin
