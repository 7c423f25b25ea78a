#pragma once

#include <string>
#include <vector>

// Connectivity and address checks for the installer's requests.
namespace NetUtils {

// The vendor's web domains (build setting CX_VENDOR_DOMAINS).
const std::vector<std::string>& vendorDomains();
// "https://update.<first domain>/update/<family>/<version>.xml" and the like.
std::string vendorHost(const std::string& label);

// True when the system reports a connection, or the vendor's public site
// answers a HEAD request (200 or 407) within 10 s.
bool isConnected();

// host is a vendor domain or ends with "." + one, in any case.
bool isVendorHost(const std::string& host);
// An HTTP(S) URL whose host is a vendor host.
bool isAllowedUrl(const std::string& url);

// An HTTP(S) URL whose host is "localhost", a 127.x.x.x address or [::1].
bool isLoopbackUrl(const std::string& url);

// text with "%", "#" and " " escaped as a URL must carry them, and every
// "\" replaced by backslash.
std::string escapeForUrl(const std::string& text, const char* backslash);

// "file:///" + path with every "\" turned into "/" and "%", "#" and " "
// escaped, as a URL must carry them.
std::string fileUrl(const std::string& path);

// url with a user name and password before the host replaced by "***",
// for logs.
std::string maskSecrets(const std::string& url);

} // namespace NetUtils
