#include "util/log.h"

#include <cstdio>

#include "util/fs.h"
#include "util/text.h"

namespace tq {

std::string_view level_text(LogLevel level) {
    switch (level) {
        case LogLevel::Debug:
            return "DEBUG";
        case LogLevel::Info:
            return "INFO ";
        case LogLevel::Warn:
            return "WARN ";
        case LogLevel::Error:
            return "ERROR";
    }
    return "?????";
}

std::string format_log_line(const std::tm& local, LogLevel level, std::string_view message) {
    char stamp[64];
    std::snprintf(stamp, sizeof stamp, "%04d-%02d-%02d %02d:%02d:%02d", local.tm_year + 1900,
                  local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min, local.tm_sec);
    std::string line;
    line.reserve(message.size() + 32);
    line.append("[").append(stamp).append("] [").append(level_text(level)).append("] ");
    line.append(message).push_back('\n');
    return line;
}

Logger& Logger::instance() {
    static Logger logger;
    return logger;
}

void Logger::open(const std::string& path, LogLevel min_level) {
    std::lock_guard lock(mutex_);
    if (file_.is_open()) {
        file_.close();
    }
    file_.clear();
    file_.open(path_from_utf8(path), std::ios::out | std::ios::app);
    min_level_ = min_level;
    enabled_ = file_.is_open();
}

void Logger::log(LogLevel level, const std::string& message) {
    std::lock_guard lock(mutex_);
    if (static_cast<int>(level) < static_cast<int>(min_level_)) {
        return;
    }
    const std::tm local = local_time_now();
    if (!enabled_) {
        return;
    }
    file_ << format_log_line(local, level, message);
    file_.flush();
}

}  // namespace tq
