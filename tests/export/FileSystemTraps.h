#pragma once
// Real file systems that refuse a file (Linux): a folder or file that cannot be changed, and a small
// tmpfs that fills up. Each says when this process cannot set it up, so the test can be skipped.
#ifdef __linux__
#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <string>
#include <utility>

#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

namespace lrf::test {

// Keeps a folder from taking or giving up names, or a file from being rewritten, while it lives: the
// immutable flag where this process may set it (root), the write permission otherwise.
class Protected {
public:
    explicit Protected(std::filesystem::path path) : path_(std::move(path)), held_(Set(path_, true)) {}
    ~Protected() {
        if (held_)
            Set(path_, false);
    }
    Protected(const Protected&) = delete;
    Protected& operator=(const Protected&) = delete;
    // False when this process can neither set the flag nor be kept out by permissions.
    bool Held() const { return held_; }

private:
    static bool Set(const std::filesystem::path& path, bool on) {
        if (const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK); fd >= 0) {
            int flags = 0;
            bool done = false;
            if (ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0) {
                flags = on ? (flags | FS_IMMUTABLE_FL) : (flags & ~FS_IMMUTABLE_FL);
                done = ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0;
            }
            ::close(fd);
            if (done)
                return true;
        }
        if (geteuid() == 0)
            return false; // root writes whatever the permissions say
        const bool folder = std::filesystem::is_directory(path);
        return ::chmod(path.c_str(), on ? (folder ? 0555 : 0444) : (folder ? 0755 : 0644)) == 0;
    }

    std::filesystem::path path_;
    bool held_;
};

// A 64 KB tmpfs at `mountPoint` while it lives.
class SmallFileSystem {
public:
    explicit SmallFileSystem(std::filesystem::path mountPoint) : mountPoint_(std::move(mountPoint)) {
        std::filesystem::create_directories(mountPoint_);
        ::umount2(mountPoint_.c_str(), MNT_DETACH); // left by a test that did not end
        mounted_ = ::mount("tmpfs", mountPoint_.c_str(), "tmpfs", 0, "size=64k") == 0;
        if (!mounted_)
            error_ = errno;
    }
    ~SmallFileSystem() {
        if (mounted_)
            ::umount2(mountPoint_.c_str(), MNT_DETACH);
    }
    SmallFileSystem(const SmallFileSystem&) = delete;
    SmallFileSystem& operator=(const SmallFileSystem&) = delete;
    bool Mounted() const { return mounted_; }
    int Error() const { return error_; }

    // Fills it with one file until `freeBytes` (rounded to whole pages by tmpfs) stay free.
    bool FillUp(std::size_t freeBytes) const {
        const std::filesystem::path filler = mountPoint_ / "filler";
        const int fd = ::open(filler.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        if (fd < 0)
            return false;
        const std::string block(4096, 'x');
        std::size_t written = 0;
        for (ssize_t n; (n = ::write(fd, block.data(), block.size())) > 0;)
            written += static_cast<std::size_t>(n);
        const bool full = errno == ENOSPC &&
                          ::ftruncate(fd, static_cast<off_t>(written - std::min(written, freeBytes))) == 0;
        ::close(fd);
        return full;
    }

private:
    std::filesystem::path mountPoint_;
    bool mounted_ = false;
    int error_ = 0;
};

} // namespace lrf::test
#endif
