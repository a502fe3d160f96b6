#pragma once

// The process-wide log file: one line per event, flushed at once, appended
// across runs. Lines logged before open() are dropped, not buffered.

#include <ctime>
#include <fstream>
#include <mutex>
#include <string>
#include <string_view>

namespace tq {

enum class LogLevel : int { Debug = 0, Info = 1, Warn = 2, Error = 3 };

// "DEBUG", "INFO ", "WARN ", "ERROR", and "?????" for anything else: always
// five characters so messages line up.
std::string_view level_text(LogLevel level);

// "[YYYY-MM-DD HH:MM:SS] [LEVEL] message\n"
std::string format_log_line(const std::tm& local, LogLevel level, std::string_view message);

class Logger {
  public:
    Logger() = default;
    Logger(const Logger&) = delete;
    Logger& operator=(const Logger&) = delete;

    static Logger& instance();

    void open(const std::string& path, LogLevel min_level);
    void log(LogLevel level, const std::string& message);

  private:
    std::mutex mutex_;
    std::ofstream file_;
    LogLevel min_level_ = LogLevel::Info;
    bool enabled_ = false;
};

inline void log_debug(const std::string& message) {
    Logger::instance().log(LogLevel::Debug, message);
}
inline void log_info(const std::string& message) {
    Logger::instance().log(LogLevel::Info, message);
}
inline void log_warn(const std::string& message) {
    Logger::instance().log(LogLevel::Warn, message);
}
inline void log_error(const std::string& message) {
    Logger::instance().log(LogLevel::Error, message);
}

}  // namespace tq
