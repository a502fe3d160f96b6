#include "support/test_support.h"

#include <atomic>
#include <chrono>
#include <fstream>
#include <sstream>
#include <stdexcept>

#include "util/fs.h"
#include "util/log.h"

namespace tq::test {

std::string fixture_path(std::string_view name) {
    return fixtures_root() + "/" + std::string(name);
}

std::string read_file(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        throw std::runtime_error("cannot read " + path.string());
    }
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

void write_file(const std::filesystem::path& path, std::string_view bytes) {
    if (path.has_parent_path()) {
        std::filesystem::create_directories(path.parent_path());
    }
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out) {
        throw std::runtime_error("cannot write " + path.string());
    }
}

TempDir::TempDir() {
    static std::atomic<unsigned> counter{0};
    const auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
    path_ = std::filesystem::temp_directory_path() /
            ("tq-test-" + std::to_string(stamp) + "-" + std::to_string(counter++));
    std::filesystem::create_directories(path_);
}

TempDir::~TempDir() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
}

LogCapture::LogCapture() : file_(dir_ / "tq.log") {
    Logger::instance().open(path_to_utf8(file_), LogLevel::Debug);
}

LogCapture::~LogCapture() {
    // Back to a closed log, so later tests start from the same state.
    Logger::instance().open(path_to_utf8(dir_ / "missing" / "tq.log"), LogLevel::Debug);
}

std::vector<std::string> read_lines(const std::filesystem::path& path) {
    std::vector<std::string> out;
    std::ifstream in(path);
    for (std::string line; std::getline(in, line);) {
        out.push_back(line);
    }
    return out;
}

std::vector<std::string> LogCapture::lines() const {
    return read_lines(file_);
}

std::vector<std::string> LogCapture::messages() const {
    std::vector<std::string> out;
    for (const std::string& line : lines()) {
        // Drop "[YYYY-MM-DD HH:MM:SS] ", 22 characters.
        out.push_back(line.size() >= 22 ? line.substr(22) : line);
    }
    return out;
}

}  // namespace tq::test
