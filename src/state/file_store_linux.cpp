#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <cerrno>

#include "state/file_store.h"

namespace tq {
namespace {

bool write_all(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t written = ::write(fd, bytes.data(), bytes.size());
        if (written < 0) {
            if (errno == EINTR) {
                continue;
            }
            return false;
        }
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    return true;
}

// After a rename the new name is durable only once its folder is flushed.
void sync_folder(const std::string& path) {
    const std::string folder = folder_of(path).value_or(".");
    const int fd =
        ::open(folder.empty() ? "/" : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

}  // namespace

ReplaceOutcome replace_file(const std::string& path, const std::string& temporary_path,
                            std::string_view bytes, FileAccess access) {
    const mode_t mode = access == FileAccess::owner_only ? 0600 : 0666;
    const int fd = ::open(temporary_path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, mode);
    if (fd < 0) {
        return {ReplaceFailure::open_temporary, static_cast<std::uint32_t>(errno)};
    }
    // An older temporary file keeps its mode through O_CREAT; a private file
    // must not inherit a wider one.
    bool written = access != FileAccess::owner_only || ::fchmod(fd, 0600) == 0;
    written = written && write_all(fd, bytes) && ::fsync(fd) == 0;
    const int write_error = errno;
    written = (::close(fd) == 0) && written;
    if (!written) {
        return {ReplaceFailure::write_temporary, static_cast<std::uint32_t>(write_error)};
    }
    if (::rename(temporary_path.c_str(), path.c_str()) != 0) {
        const int rename_error = errno;
        ::unlink(temporary_path.c_str());
        return {ReplaceFailure::rename, static_cast<std::uint32_t>(rename_error)};
    }
    sync_folder(path);
    return {};
}

bool delete_file(const std::string& path) {
    return ::unlink(path.c_str()) == 0;
}

void make_folder(const std::string& path) {
    // Our data is per user: folders we create are the owner's alone.
    ::mkdir(path.c_str(), 0700);
}

std::string path_in_folder(const std::string& folder, std::string_view name) {
    return folder + "/" + std::string(name);
}

}  // namespace tq
