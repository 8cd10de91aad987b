#include "sim/PtyLink.h"

#include <fcntl.h>
#include <pty.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <vector>

namespace kestrin {

PtyLink::~PtyLink() {
    Remove();
}

bool PtyLink::Create(const std::string& linkPath, std::string& error) {
    termios raw{};
    cfmakeraw(&raw);
    cfsetispeed(&raw, B57600);
    cfsetospeed(&raw, B57600);
    raw.c_cflag |= CLOCAL | CREAD;
    char name[256] = {};
    if (openpty(&master_, &slave_, name, &raw, nullptr) != 0) {
        error = std::string("cannot create a pseudo-terminal: ") + std::strerror(errno);
        return false;
    }
    device_ = name;
    fcntl(master_, F_SETFL, fcntl(master_, F_GETFL) | O_NONBLOCK);
    fcntl(master_, F_SETFD, FD_CLOEXEC);
    fcntl(slave_, F_SETFD, FD_CLOEXEC);
    if (linkPath.empty()) return true;

    struct stat st {};
    if (lstat(linkPath.c_str(), &st) == 0 && !S_ISLNK(st.st_mode)) {
        error = linkPath + " exists and is not a symbolic link";
        return false;
    }
    // Made beside the target and renamed over it, so a stale link is replaced in one step.
    const std::string temp = linkPath + ".new" + std::to_string(getpid());
    unlink(temp.c_str());
    if (symlink(device_.c_str(), temp.c_str()) != 0 ||
        rename(temp.c_str(), linkPath.c_str()) != 0) {
        error = "cannot make the link " + linkPath + ": " + std::strerror(errno);
        unlink(temp.c_str());
        return false;
    }
    link_ = linkPath;
    return true;
}

void PtyLink::ReleaseExclusive() {
    if (slave_ >= 0) ioctl(slave_, TIOCNXCL);
}

void PtyLink::Remove() {
    if (!link_.empty()) {
        std::vector<char> target(device_.size() + 2);
        const ssize_t n = readlink(link_.c_str(), target.data(), target.size());
        if (n >= 0 && std::string(target.data(), static_cast<std::size_t>(n)) == device_)
            unlink(link_.c_str());
        link_.clear();
    }
    if (slave_ >= 0) close(slave_);
    if (master_ >= 0) close(master_);
    slave_ = master_ = -1;
}

}  // namespace kestrin
