#include <windows.h>

#include <fstream>

#include "state/file_store.h"
#include "util/fs.h"
#include "util/text.h"

namespace tq {

// Windows keeps per-user privacy through the profile folder's ACL, so both
// access kinds write the same way here.
ReplaceOutcome replace_file(const std::string& path, const std::string& temporary_path,
                            std::string_view bytes, FileAccess) {
    {
        std::ofstream out(path_from_utf8(temporary_path),
                          std::ios::out | std::ios::binary | std::ios::trunc);
        if (!out.is_open()) {
            return {ReplaceFailure::open_temporary, 0};
        }
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        out.flush();
        if (!out) {
            return {ReplaceFailure::write_temporary, 0};
        }
    }
    const WString from = to_wide(temporary_path);
    const WString to = to_wide(path);
    if (MoveFileExW(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        return {};
    }
    const DWORD error = GetLastError();
    DeleteFileW(from.c_str());
    return {ReplaceFailure::rename, static_cast<std::uint32_t>(error)};
}

bool delete_file(const std::string& path) {
    return DeleteFileW(to_wide(path).c_str()) != 0;
}

void make_folder(const std::string& path) {
    CreateDirectoryW(to_wide(path).c_str(), nullptr);
}

std::string path_in_folder(const std::string& folder, std::string_view name) {
    return folder + "\\" + std::string(name);
}

}  // namespace tq
