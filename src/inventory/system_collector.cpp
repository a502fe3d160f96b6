#include "inventory/system_collector.h"

#include "util/text.h"
#include "util/utf.h"

namespace tq {

void apply_os_values(const OsValues& values, SystemInfo& info) {
    info.os_name = values.product_name.value_or("");
    const std::string display =
        values.display_version ? *values.display_version : values.release_id.value_or("");

    std::string build = values.current_build.value_or("");
    if (values.ubr)
        build.append(".").append(std::to_string(*values.ubr));
    info.os_build = build;

    info.os_version = values.current_version.value_or("10");
    info.os_version.append(" (build ").append(build).append(")");

    // A missing product name still gets the suffix, with its leading space:
    // the registry's values are reported as they are.
    if (!display.empty())
        info.os_name.append(" ").append(display);
}

std::string architecture_name(std::uint16_t processor_architecture) {
    switch (processor_architecture) {
        case 0:
            return "x86";
        case 5:
            return "ARM";
        case 9:
            return "x86_64";
        case 12:
            return "ARM64";
        default:
            return "unknown";
    }
}

std::string architecture_from_machine(std::string_view machine) {
    if (machine == "x86_64" || machine == "amd64")
        return "x86_64";
    if (machine == "i386" || machine == "i486" || machine == "i586" || machine == "i686") {
        return "x86";
    }
    if (machine == "aarch64" || machine == "arm64")
        return "ARM64";
    if (machine.substr(0, 3) == "arm")
        return "ARM";
    return "unknown";
}

void apply_smbios(const std::optional<SmbiosInfo>& smbios, SystemInfo& info) {
    if (!smbios)
        return;
    info.manufacturer = make_valid_utf8(smbios->system_manufacturer);
    info.model = make_valid_utf8(smbios->system_product);
    info.bios_version = make_valid_utf8(smbios->bios_version);
    info.bios_date = make_valid_utf8(smbios->bios_date);
}

namespace {

std::string unquote(std::string_view value) {
    if (value.size() < 2)
        return std::string(value);
    const char quote = value.front();
    if ((quote != '"' && quote != '\'') || value.back() != quote)
        return std::string(value);
    std::string out;
    for (std::size_t i = 1; i + 1 < value.size(); ++i) {
        if (quote == '"' && value[i] == '\\' && i + 2 < value.size())
            ++i;
        out += value[i];
    }
    return out;
}

}  // namespace

std::map<std::string, std::string> parse_os_release(std::string_view text) {
    std::map<std::string, std::string> values;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        const std::string line = trim(text.substr(0, end));
        text = end == std::string_view::npos ? std::string_view{} : text.substr(end + 1);
        if (line.empty() || line[0] == '#')
            continue;
        const std::size_t eq = line.find('=');
        if (eq == std::string::npos || eq == 0)
            continue;
        values[line.substr(0, eq)] =
            make_valid_utf8(unquote(std::string_view(line).substr(eq + 1)));
    }
    return values;
}

}  // namespace tq
