#include <apt-pkg/cachefile.h>
#include <apt-pkg/configuration.h>
#include <apt-pkg/error.h>
#include <apt-pkg/init.h>
#include <apt-pkg/pkgcache.h>
#include <apt-pkg/pkgsystem.h>
#include <apt-pkg/policy.h>
#include <apt-pkg/version.h>

#include <filesystem>
#include <fstream>
#include <mutex>
#include <sstream>

#include "inventory/update_search.h"
#include "inventory/update_search_history.h"
#include "util/log.h"
#include "util/text.h"

// The package manager's own records stand in for the update agent: the
// upgrades in dpkg's log are the installed updates, and the upgrades apt
// already knows of from its last list refresh are the missing ones. Nothing
// here touches the network.

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
        std::ifstream in(path, std::ios::binary);
        if (!in) {
            return false;
        }
        std::ostringstream text;
        text << in.rdbuf();
        for (UpdateInfo& update : parse_dpkg_upgrades(text.str())) {
            out.push_back(std::move(update));
        }
    }
    return true;
}

// libapt-pkg keeps its configuration and system in globals; one search at a
// time reads them.
std::mutex apt_mutex;

bool read_available(std::vector<UpdateInfo>& out) {
    std::lock_guard<std::mutex> lock(apt_mutex);
    if (!pkgInitConfig(*_config) || !pkgInitSystem(*_config, _system)) {
        _error->Discard();
        return false;
    }
    pkgCacheFile cache;
    pkgCache* packages = cache.GetPkgCache();
    pkgPolicy* policy = cache.GetPolicy();
    if (packages == nullptr || policy == nullptr) {
        _error->Discard();
        return false;
    }
    for (pkgCache::PkgIterator pkg = packages->PkgBegin(); !pkg.end(); ++pkg) {
        const pkgCache::VerIterator current = pkg.CurrentVer();
        if (current.end()) {
            continue;
        }
        const pkgCache::VerIterator candidate = policy->GetCandidateVer(pkg);
        if (candidate.end() || _system->VS->CmpVersion(candidate.VerStr(), current.VerStr()) <= 0) {
            continue;
        }
        bool security = false;
        for (pkgCache::VerFileIterator file = candidate.FileList(); !file.end(); ++file) {
            const pkgCache::PkgFileIterator origin = file.File();
            const char* archive = origin.Archive();
            const char* label = origin.Label();
            security = security || is_security_origin(archive == nullptr ? "" : archive,
                                                      label == nullptr ? "" : label);
        }
        UpdateInfo update;
        update.title = pkg.FullName(true) + " " + candidate.VerStr();
        update.severity = security ? "Important" : "Unspecified";
        update.installed = false;
        out.push_back(std::move(update));
    }
    _error->Discard();
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
