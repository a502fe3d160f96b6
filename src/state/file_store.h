#pragma once

// The file operations behind config.json and auth.dat: whole-file reads and
// atomic replacement through a temporary file, so a crash or a full disk
// during a save leaves either the old or the new file, never a torn one.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "util/fs.h"

namespace tq {

enum class ReplaceFailure { none, open_temporary, write_temporary, rename };

struct ReplaceOutcome {
    ReplaceFailure failure = ReplaceFailure::none;
    // The system's error code of the failed rename (GetLastError / errno).
    std::uint32_t error_code = 0;

    bool ok() const { return failure == ReplaceFailure::none; }
};

enum class FileAccess { user_default, owner_only };

// Writes `bytes` to `temporary_path`, flushes it and renames it over `path`.
// A failed rename deletes the temporary file; a failed write leaves it for
// the next save to overwrite.
ReplaceOutcome replace_file(const std::string& path, const std::string& temporary_path,
                            std::string_view bytes, FileAccess access);

bool delete_file(const std::string& path);

// Creates one folder; the result is ignored by every caller (it usually
// exists already).
void make_folder(const std::string& path);

// The folder part of a path: everything before the last "\" or "/", or
// nothing when there is no separator.
std::optional<std::string> folder_of(const std::string& path);

// Creates every missing level of `folder` below its root.
void make_folder_levels(const std::string& folder);

// Joins the data folder and a file name with the platform's separator.
std::string path_in_folder(const std::string& folder, std::string_view name);

}  // namespace tq
