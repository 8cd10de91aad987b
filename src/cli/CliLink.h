#pragma once
// Drives the program's own link loop from the command line: one tick every 55 ms, each status
// text printed as it changes.

#include <functional>
#include <iosfwd>
#include <memory>
#include <string>

#include "lang/Messages.h"
#include "link/LinkLoop.h"
#include "model/ParameterImage.h"

namespace kestrin::cli {

class CliLink : private LinkHost {
public:
    CliLink(ParameterImage& image, SerialLine& line, std::ostream& out, std::ostream& err);

    // Opens COM1 (the caller has mapped it to the wanted device); false when it cannot.
    bool Open();
    enum class Transfer { Program, Verify, Read };
    // Runs one transfer to its end; true when it ends in " OK".
    bool Run(Transfer what);
    // Runs monitoring ticks until `onFrame` returns false or `maxTicks` pass.
    void Monitor(const std::function<bool(const Frame&)>& onFrame, int maxTicks);

    LinkLoop& loop() { return loop_; }
    std::function<void()> consistencyPass;  // run where the program runs it

private:
    void TickAndWait();
    void MonitorFrameReceived(const Frame& frame) override;
    void ConsistencyPass() override {
        if (consistencyPass) consistencyPass();
    }
    void VersionMismatch(const std::string& text) override;

    ParameterImage& image_;
    SerialLine& line_;
    std::ostream& out_;
    std::ostream& err_;
    MessageSlots messages_;
    LinkLoop loop_;
    bool versionStopped_ = false;
    const std::function<bool(const Frame&)>* onFrame_ = nullptr;
    bool stopMonitor_ = false;
};

}  // namespace kestrin::cli
