#include "net/http_transport.h"

namespace tq {
namespace {

constexpr std::size_t kMaxHost = 255;
constexpr std::size_t kMaxPath = 1023;

bool equals_ignoring_case(WStringView text, std::string_view ascii) {
    if (text.size() != ascii.size()) {
        return false;
    }
    for (std::size_t i = 0; i < text.size(); ++i) {
        WChar c = text[i];
        if (c >= 'A' && c <= 'Z') {
            c = static_cast<WChar>(c - 'A' + 'a');
        }
        if (c != static_cast<WChar>(ascii[i])) {
            return false;
        }
    }
    return true;
}

// Leading digits only, like the system's reader; more than 65535 fails.
std::optional<std::uint16_t> parse_port(WStringView text) {
    std::uint32_t port = 0;
    for (const WChar c : text) {
        if (c < '0' || c > '9') {
            break;
        }
        port = port * 10 + static_cast<std::uint32_t>(c - '0');
        if (port > 65535) {
            return std::nullopt;
        }
    }
    return static_cast<std::uint16_t>(port);
}

}  // namespace

std::optional<CrackedUrl> crack_url(WStringView url) {
    url = url.substr(0, url.find(WChar{0}));
    const std::size_t colon = url.find(WChar{':'});
    if (colon == WStringView::npos) {
        return std::nullopt;
    }
    CrackedUrl result;
    const WStringView scheme = url.substr(0, colon);
    if (equals_ignoring_case(scheme, "https")) {
        result.secure = true;
    } else if (!equals_ignoring_case(scheme, "http")) {
        return std::nullopt;
    }
    std::size_t pos = colon + 1;
    if (url.substr(pos, 2) != TQ_W("//") || pos + 2 >= url.size()) {
        return std::nullopt;
    }
    pos += 2;
    const std::size_t slash = url.find(WChar{'/'}, pos);
    const std::size_t at = url.find(WChar{'@'}, pos);
    if (at != WStringView::npos && (slash == WStringView::npos || at < slash)) {
        pos = at + 1;
    }
    const std::size_t authority_end = slash == WStringView::npos ? url.size() : slash;
    WStringView authority = url.substr(pos, authority_end - pos);
    // A bracketed IPv6 literal keeps its colons.
    std::size_t host_end = authority.find(WChar{':'});
    if (!authority.empty() && authority.front() == '[') {
        const std::size_t close = authority.find(WChar{']'});
        host_end =
            close == WStringView::npos ? WStringView::npos : authority.find(WChar{':'}, close);
    }
    const WStringView host = authority.substr(0, host_end);
    result.port = result.secure ? 443 : 80;
    if (host_end != WStringView::npos && host_end + 1 < authority.size()) {
        const std::optional<std::uint16_t> port = parse_port(authority.substr(host_end + 1));
        if (!port) {
            return std::nullopt;
        }
        result.port = *port;
    }
    const WStringView path = slash == WStringView::npos ? WStringView() : url.substr(authority_end);
    if (host.size() > kMaxHost || path.size() > kMaxPath) {
        return std::nullopt;
    }
    result.host = WString(host);
    result.path = WString(path);
    return result;
}

}  // namespace tq
