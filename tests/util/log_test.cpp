#include <gtest/gtest.h>

#include <regex>
#include <thread>

#include "support/test_support.h"
#include "util/fs.h"
#include "util/log.h"

namespace tq {
namespace {

std::vector<std::string> lines_of(const std::filesystem::path& file) {
    return test::read_lines(file);
}

TEST(Log, LevelTextsAreFiveCharacters) {
    EXPECT_EQ(level_text(LogLevel::Debug), "DEBUG");
    EXPECT_EQ(level_text(LogLevel::Info), "INFO ");
    EXPECT_EQ(level_text(LogLevel::Warn), "WARN ");
    EXPECT_EQ(level_text(LogLevel::Error), "ERROR");
    EXPECT_EQ(level_text(static_cast<LogLevel>(7)), "?????");
    EXPECT_EQ(level_text(static_cast<LogLevel>(-1)), "?????");
}

TEST(Log, LineFormat) {
    std::tm t{};
    t.tm_year = 125;
    t.tm_mon = 2;
    t.tm_mday = 7;
    t.tm_hour = 14;
    t.tm_min = 5;
    t.tm_sec = 9;
    EXPECT_EQ(format_log_line(t, LogLevel::Warn, "Bridge received malformed message"),
              "[2025-03-07 14:05:09] [WARN ] Bridge received malformed message\n");
    // Messages are written byte for byte, line feeds included.
    EXPECT_EQ(format_log_line(t, LogLevel::Error, "a\nb\xC3\xA9"),
              "[2025-03-07 14:05:09] [ERROR] a\nb\xC3\xA9\n");
}

TEST(Log, LinesBeforeOpenAreLost) {
    test::TempDir dir;
    const auto file = dir / "tq.log";
    Logger logger;
    logger.log(LogLevel::Error, "before open");
    logger.open(path_to_utf8(file), LogLevel::Debug);
    logger.log(LogLevel::Info, "after open");
    const auto lines = lines_of(file);
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_TRUE(std::regex_match(
        lines[0], std::regex(R"(\[\d{4}-\d\d-\d\d \d\d:\d\d:\d\d\] \[INFO \] after open)")))
        << lines[0];
}

TEST(Log, OpenAppendsToExistingContent) {
    test::TempDir dir;
    const auto file = dir / "tq.log";
    test::write_file(file, "earlier run\n");
    {
        Logger logger;
        logger.open(path_to_utf8(file), LogLevel::Debug);
        logger.log(LogLevel::Info, "first");
    }
    Logger logger;
    logger.open(path_to_utf8(file), LogLevel::Debug);
    logger.log(LogLevel::Info, "second");
    const auto lines = lines_of(file);
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0], "earlier run");
    EXPECT_NE(lines[1].find("first"), std::string::npos);
    EXPECT_NE(lines[2].find("second"), std::string::npos);
}

TEST(Log, MinimumLevelDropsLowerLines) {
    struct Case {
        LogLevel min;
        LogLevel level;
        bool written;
    };
    const Case cases[] = {
        {LogLevel::Debug, LogLevel::Debug, true},         {LogLevel::Info, LogLevel::Debug, false},
        {LogLevel::Info, LogLevel::Info, true},           {LogLevel::Error, LogLevel::Warn, false},
        {LogLevel::Info, static_cast<LogLevel>(7), true},
    };
    for (const Case& c : cases) {
        test::TempDir dir;
        Logger logger;
        logger.open(path_to_utf8(dir / "tq.log"), c.min);
        logger.log(c.level, "line");
        EXPECT_EQ(lines_of(dir / "tq.log").size(), c.written ? 1u : 0u)
            << "min " << static_cast<int>(c.min) << " level " << static_cast<int>(c.level);
    }
}

TEST(Log, LevelSevenIsWrittenWithQuestionMarks) {
    test::TempDir dir;
    Logger logger;
    logger.open(path_to_utf8(dir / "tq.log"), LogLevel::Debug);
    logger.log(static_cast<LogLevel>(7), "odd");
    const auto lines = lines_of(dir / "tq.log");
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0].substr(21), " [?????] odd");
}

TEST(Log, UnwritablePathDisablesLoggingQuietly) {
    test::TempDir dir;
    Logger logger;
    // A folder stands where the file should be: the open fails.
    std::filesystem::create_directories(dir / "tq.log");
    logger.open(path_to_utf8(dir / "tq.log"), LogLevel::Debug);
    logger.log(LogLevel::Error, "nowhere to go");
    logger.open(path_to_utf8(dir / "no" / "such" / "folder.log"), LogLevel::Debug);
    logger.log(LogLevel::Error, "nowhere to go");
    EXPECT_TRUE(std::filesystem::is_directory(dir / "tq.log"));
    EXPECT_FALSE(std::filesystem::exists(dir / "no"));
}

TEST(Log, NonAsciiPath) {
    test::TempDir dir;
    const auto folder = dir.path() / path_from_utf8(
                                         "d\xC3\xA1"
                                         "dos");
    std::filesystem::create_directories(folder);
    Logger logger;
    logger.open(path_to_utf8(folder / "tq.log"), LogLevel::Debug);
    logger.log(LogLevel::Info, "ol\xC3\xA1");
    const auto lines = lines_of(folder / "tq.log");
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0].substr(22), "[INFO ] ol\xC3\xA1");
}

TEST(Log, ConcurrentLinesNeverInterleave) {
    test::TempDir dir;
    Logger logger;
    logger.open(path_to_utf8(dir / "tq.log"), LogLevel::Debug);
    const auto writer = [&logger](const std::string& tag) {
        for (int i = 0; i < 1000; ++i) {
            logger.log(LogLevel::Info, tag + " line " + std::to_string(i));
        }
    };
    std::thread a(writer, "alpha");
    std::thread b(writer, "beta");
    a.join();
    b.join();

    const std::regex shape(
        R"(\[\d{4}-\d\d-\d\d \d\d:\d\d:\d\d\] \[INFO \] (alpha|beta) line (\d+))");
    int next[2] = {0, 0};
    const auto lines = lines_of(dir / "tq.log");
    ASSERT_EQ(lines.size(), 2000u);
    for (const std::string& line : lines) {
        std::smatch m;
        ASSERT_TRUE(std::regex_match(line, m, shape)) << line;
        // Each thread's lines keep their own order.
        const int who = m[1] == "alpha" ? 0 : 1;
        EXPECT_EQ(std::stoi(m[2]), next[who]++);
    }
}

}  // namespace
}  // namespace tq
