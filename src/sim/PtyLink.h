#pragma once
// The simulator's end of the line: a pseudo-terminal in raw mode, reachable through a
// symbolic link. The simulator keeps a slave descriptor of its own, so the program may close
// and reopen the device without hanging the line up.

#include <string>

namespace kestrin {

class PtyLink {
public:
    PtyLink() = default;
    PtyLink(const PtyLink&) = delete;
    PtyLink& operator=(const PtyLink&) = delete;
    ~PtyLink();

    // Opens the pseudo-terminal and, when `linkPath` is not empty, points the link at it.
    // An existing symbolic link is replaced; any other file there is left alone (an error).
    bool Create(const std::string& linkPath, std::string& error);
    // Lifts an exclusive-use lock a program may have left when it ended without closing.
    void ReleaseExclusive();
    // Removes the link (if it still points to this terminal) and closes the terminal.
    void Remove();

    int master() const { return master_; }
    const std::string& deviceName() const { return device_; }

private:
    int master_ = -1;
    int slave_ = -1;
    std::string device_;
    std::string link_;
};

}  // namespace kestrin
