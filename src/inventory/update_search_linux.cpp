#include <sys/wait.h>

#include <cstdio>
#include <filesystem>

#include "inventory/update_search.h"
#include "inventory/update_search_history.h"
#include "util/fs.h"
#include "util/log.h"
#include "util/text.h"

// The package manager's own records stand in for the update agent: the
// upgrades in dpkg's log are the installed updates, and the upgrades apt
// already knows of from its last list refresh (its simulated upgrade, which
// reads only the local lists) are the missing ones. Nothing here touches the
// network.

namespace tq {
namespace {

namespace fs = std::filesystem;

constexpr std::int32_t kClassNotRegistered = static_cast<std::int32_t>(0x80040154);
constexpr std::int32_t kAccessDenied = static_cast<std::int32_t>(0x80070005);
constexpr std::int32_t kUnspecifiedError = static_cast<std::int32_t>(0x80004005);

const fs::path kDpkgStatus = "/var/lib/dpkg/status";
// Oldest first, so the list reads in the order the upgrades happened.
const fs::path kDpkgLogs[] = {"/var/log/dpkg.log.1", "/var/log/dpkg.log"};

bool read_installed(std::vector<UpdateInfo>& out) {
    for (const fs::path& path : kDpkgLogs) {
        std::error_code ec;
        if (!fs::exists(path, ec)) {
            continue;
        }
        const std::optional<std::string> text = read_whole_file(path);
        if (!text) {
            return false;
        }
        for (UpdateInfo& update : parse_dpkg_upgrades(*text)) {
            out.push_back(std::move(update));
        }
    }
    return true;
}

// apt-get in simulation mode with the C locale, so its lines are the ones
// parse_apt_simulation reads; its notes on standard error are dropped.
constexpr const char* kAptSimulation = "LC_ALL=C apt-get -s -q upgrade 2>/dev/null";

bool read_available(std::vector<UpdateInfo>& out) {
    FILE* pipe = popen(kAptSimulation, "r");
    if (pipe == nullptr) {
        return false;
    }
    std::string text;
    char buffer[4096];
    std::size_t got = 0;
    while ((got = std::fread(buffer, 1, sizeof(buffer), pipe)) > 0) {
        text.append(buffer, got);
    }
    const int status = pclose(pipe);
    if (status == -1 || !WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        return false;
    }
    for (UpdateInfo& update : parse_apt_simulation(text)) {
        out.push_back(std::move(update));
    }
    return true;
}

}  // namespace

UpdateSummary search_updates(bool include_installed, bool include_available) {
    UpdateSummary summary;
    summary.last_search = iso_timestamp_now();
    std::error_code ec;
    if (!fs::exists(kDpkgStatus, ec)) {
        log_warn("Windows Update session unavailable: " + hresult_text(kClassNotRegistered));
        return summary;
    }
    if (include_installed && !read_installed(summary.installed)) {
        log_warn("WUA search failed (offline): " + hresult_text(kAccessDenied));
    }
    if (include_available) {
        if (!read_available(summary.available)) {
            log_warn("WUA search failed (online): " + hresult_text(kUnspecifiedError));
        }
        summary.important_count = count_important(summary.available);
    }
    return summary;
}

}  // namespace tq
