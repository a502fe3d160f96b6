#pragma once

// UTF-8 paths to and from the file system's own form: wide on Windows, so a
// data folder whose name is not ASCII works; bytes on Linux.

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace tq {

std::filesystem::path path_from_utf8(std::string_view utf8);
std::string path_to_utf8(const std::filesystem::path& path);

// Every byte of the file, or nothing when it cannot be opened or read.
std::optional<std::string> read_whole_file(const std::filesystem::path& path);

}  // namespace tq
