#include "NetUtils.h"

#include <windows.h>
#include <wininet.h>

#include <algorithm>
#include <optional>

#include "BuildInfo.h"
#include "HttpConnection.h"
#include "Log.h"
#include "tstrings.h"

namespace {

bool endsWith(const std::string& text, const std::string& tail) {
    return text.size() >= tail.size() && text.compare(text.size() - tail.size(), tail.size(), tail) == 0;
}

// The host of an HTTP(S) URL; nothing for another scheme or a malformed URL.
std::optional<std::string> webHost(const std::string& url) {
    char host[INTERNET_MAX_HOST_NAME_LENGTH + 1] = {};
    URL_COMPONENTSA parts = {};
    parts.dwStructSize = sizeof(parts);
    parts.lpszHostName = host;
    parts.dwHostNameLength = sizeof(host);
    if (url.empty() || !InternetCrackUrlA(url.c_str(), static_cast<DWORD>(url.size()), 0, &parts)) {
        return std::nullopt;
    }
    if (parts.nScheme != INTERNET_SCHEME_HTTP && parts.nScheme != INTERNET_SCHEME_HTTPS) return std::nullopt;
    return std::string(host);
}

} // namespace

namespace NetUtils {

const std::vector<std::string>& vendorDomains() {
    static const std::vector<std::string> domains = [] {
        std::vector<std::string> list;
        tstrings::split(";", list, CX_VENDOR_DOMAINS);
        return list;
    }();
    return domains;
}

std::string vendorHost(const std::string& label) {
    return label + "." + vendorDomains().front();
}

bool isConnected() {
    DWORD flags = 0;
    if (InternetGetConnectedState(&flags, 0) || (flags & INTERNET_CONNECTION_CONFIGURED)) return true;
    try {
        HttpConnection::Settings settings;
        settings.url = "http://" + vendorHost("www") + "/";
        settings.allowHttp = true;
        settings.kind = HttpConnection::HEAD;
        settings.timeoutMs = 10000;
        settings.followRedirects = false;
        const DWORD status = HttpConnection::connect(settings, false).status();
        return status == HTTP_STATUS_OK || status == HTTP_STATUS_PROXY_AUTH_REQ;
    } catch (const std::exception& e) {
        LOG_AT_NAMED(LOG_INFO, "NetUtils::isConnected", "not connected: " << e.what());
        return false;
    }
}

bool isVendorHost(const std::string& host) {
    const std::string name = tstrings::toLower(host);
    for (const std::string& domain : vendorDomains()) {
        const std::string wanted = tstrings::toLower(domain);
        if (name == wanted || endsWith(name, "." + wanted)) return true;
    }
    return false;
}

bool isAllowedUrl(const std::string& url) {
    const std::optional<std::string> host = webHost(url);
    return host && isVendorHost(*host);
}

bool isLoopbackUrl(const std::string& url) {
    const std::optional<std::string> host = webHost(url);
    if (!host) return false;
    const std::string name = tstrings::toLower(*host);
    // A name such as "127.example" is not an address.
    const bool ipv4Loopback = name.rfind("127.", 0) == 0 && name.find_first_not_of("0123456789.") == std::string::npos;
    return ipv4Loopback || name == "localhost" || name == "[::1]" || name == "::1";
}

std::string escapeForUrl(const std::string& text, const char* backslash) {
    std::string url;
    for (const char c : text) {
        switch (c) {
        case '\\': url += backslash; break;
        case '%': url += "%25"; break;
        case '#': url += "%23"; break;
        case ' ': url += "%20"; break;
        default: url += c;
        }
    }
    return url;
}

std::string fileUrl(const std::string& path) {
    // A profile folder may hold "#" or "%", which a URL would read as a
    // fragment or an escape.
    return "file:///" + escapeForUrl(path, "/");
}

std::string maskSecrets(const std::string& url) {
    const size_t scheme = url.find("://");
    const size_t start = scheme == std::string::npos ? 0 : scheme + 3;
    const size_t end = url.find_first_of("/?#", start);
    const size_t at = url.rfind('@', end == std::string::npos ? std::string::npos : end);
    if (at == std::string::npos || at < start) return url;
    return url.substr(0, start) + "***" + url.substr(at);
}

} // namespace NetUtils
