#include <sys/sysinfo.h>
#include <sys/utsname.h>
#include <unistd.h>

#include "inventory/sysfs_linux.h"
#include "inventory/system_collector.h"
#include "util/utf.h"

namespace tq {

namespace {

std::optional<std::string> value_of(const std::map<std::string, std::string>& values,
                                    const std::string& key) {
    const auto it = values.find(key);
    if (it == values.end())
        return std::nullopt;
    return it->second;
}

}  // namespace

// The distribution stands in for the edition: its NAME as the product and
// VERSION_ID as both display version and version; the kernel release is
// the build.
SystemInfo collect_system_info() {
    SystemInfo info;

    char host[256] = {};
    if (gethostname(host, sizeof host - 1) == 0)
        info.hostname = make_valid_utf8(host);

    auto os_release = read_whole_file("/etc/os-release");
    if (!os_release)
        os_release = read_whole_file("/usr/lib/os-release");
    const auto fields = parse_os_release(os_release.value_or(""));
    OsValues values;
    values.product_name = value_of(fields, "NAME");
    values.display_version = value_of(fields, "VERSION_ID");
    values.current_version = value_of(fields, "VERSION_ID");

    utsname uts{};
    if (uname(&uts) == 0) {
        values.current_build = make_valid_utf8(uts.release);
        info.architecture = architecture_from_machine(uts.machine);
    } else {
        info.architecture = "unknown";
    }
    apply_os_values(values, info);

    struct sysinfo memory {};
    if (sysinfo(&memory) == 0) {
        info.total_ram_bytes = static_cast<std::uint64_t>(memory.totalram) * memory.mem_unit;
    }

    apply_smbios(read_smbios(), info);
    return info;
}

}  // namespace tq
