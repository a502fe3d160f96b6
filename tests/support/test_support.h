#pragma once

// Helpers shared by the test executables: fixture files, throwaway folders
// and a capture of the process log.

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace tq::test {

// Path of a file under tests/fixtures, usable by the code under test.
std::string fixture_path(std::string_view name);

// The folder of the fixtures as the code under test must name it.
std::string fixtures_root();

// True when the Windows build runs under Wine, whose emulation differs from
// Windows in a few documented corners.
bool running_under_wine();

std::string read_file(const std::filesystem::path& path);
// The file's lines read in text mode (line ends as the platform writes them).
std::vector<std::string> read_lines(const std::filesystem::path& path);
// Writes the bytes, creating the file's folders first.
void write_file(const std::filesystem::path& path, std::string_view bytes);

// A fresh folder under the system's temporary folder, removed with its
// content when the object goes away.
class TempDir {
  public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::filesystem::path& path() const { return path_; }
    std::filesystem::path operator/(std::string_view name) const { return path_ / name; }

  private:
    std::filesystem::path path_;
};

// Points the process log at a fresh file at DEBUG level for the lifetime of
// the object, so tests can read what the code under test logged.
class LogCapture {
  public:
    LogCapture();
    ~LogCapture();

    // The lines written so far, without their line feeds.
    std::vector<std::string> lines() const;
    // The lines without their time stamps: "[LEVEL] message".
    std::vector<std::string> messages() const;

  private:
    TempDir dir_;
    std::filesystem::path file_;
};

}  // namespace tq::test
