#include "HttpConnection.h"

#include <algorithm>

#include "DeadlineCall.h"

#include "FileUtils.h"
#include "HeldFolder.h"
#include "Log.h"
#include "NetUtils.h"
#include "WinErrorHandling.h"
#include "tstrings.h"

namespace {

// Connecting gets at most this long, whatever the request's deadline.
const DWORD kMaxConnectMs = 10000;

// WinINet's own codes (12001..12175) are described by its message table.
std::string internetErrorText(DWORD code) {
    const bool own = code >= INTERNET_ERROR_BASE && code <= INTERNET_ERROR_LAST;
    return systemErrorText(code, own ? GetModuleHandleA("wininet.dll") : nullptr);
}

[[noreturn]] void throwNetworkError(const char* message, DWORD code) {
    JP_THROW(HttpConnection::network_error(message, code));
}

struct UrlParts {
    INTERNET_SCHEME scheme = INTERNET_SCHEME_UNKNOWN;
    std::string host;
    INTERNET_PORT port = 0;
    std::string user;
    std::string password;
    std::string object;
};

UrlParts crackUrl(const std::string& url) {
    std::vector<char> host(url.size() + 1), user(url.size() + 1), password(url.size() + 1),
        path(url.size() + 1), extra(url.size() + 1);
    URL_COMPONENTSA parts = {};
    parts.dwStructSize = sizeof(parts);
    parts.lpszHostName = host.data();
    parts.dwHostNameLength = static_cast<DWORD>(host.size());
    parts.lpszUserName = user.data();
    parts.dwUserNameLength = static_cast<DWORD>(user.size());
    parts.lpszPassword = password.data();
    parts.dwPasswordLength = static_cast<DWORD>(password.size());
    parts.lpszUrlPath = path.data();
    parts.dwUrlPathLength = static_cast<DWORD>(path.size());
    parts.lpszExtraInfo = extra.data();
    parts.dwExtraInfoLength = static_cast<DWORD>(extra.size());
    if (url.empty() || !InternetCrackUrlA(url.c_str(), static_cast<DWORD>(url.size()), 0, &parts)) {
        throwNetworkError("InternetCrackUrl failed", GetLastError());
    }
    UrlParts result;
    result.scheme = parts.nScheme;
    result.host = host.data();
    result.port = parts.nPort;
    result.user = user.data();
    result.password = password.data();
    result.object = std::string(path.data()).empty() ? "/" : path.data();
    result.object += extra.data();
    return result;
}

void checkScheme(INTERNET_SCHEME scheme, bool allowHttp) {
    if (scheme != INTERNET_SCHEME_HTTP && scheme != INTERNET_SCHEME_HTTPS) {
        JP_THROW(HttpConnection::exception("Invalid scheme"));
    }
    if (scheme == INTERNET_SCHEME_HTTP && !allowHttp) {
        JP_THROW(HttpConnection::exception("Http is disabled"));
    }
}

void setTimeout(HINTERNET handle, DWORD option, DWORD ms) {
    if (!InternetSetOptionA(handle, option, &ms, sizeof(ms))) {
        throwNetworkError("InternetSetOption failed", GetLastError());
    }
}

bool isCertificateError(DWORD error) {
    switch (error) {
    case ERROR_INTERNET_SEC_CERT_DATE_INVALID:
    case ERROR_INTERNET_SEC_CERT_CN_INVALID:
    case ERROR_INTERNET_INVALID_CA:
    case ERROR_INTERNET_SEC_CERT_ERRORS:
    case ERROR_INTERNET_SEC_CERT_REV_FAILED:
    case ERROR_INTERNET_SEC_CERT_NO_REV:
    case ERROR_INTERNET_SEC_CERT_REVOKED:
        return true;
    default:
        return false;
    }
}

// WinINet's own dialog; true when the request is to be sent again. Never
// for a certificate fault: the dialog would let the request ignore it.
bool askUser(HINTERNET request, DWORD error) {
    if (isCertificateError(error)) return false;
    const DWORD answer = InternetErrorDlg(
        GetDesktopWindow(), request, error,
        FLAGS_ERROR_UI_FILTER_FOR_ERRORS | FLAGS_ERROR_UI_FLAGS_CHANGE_OPTIONS |
            FLAGS_ERROR_UI_FLAGS_GENERATE_DATA,
        nullptr);
    return answer == ERROR_INTERNET_FORCE_RETRY ||
           (error == ERROR_INTERNET_CLIENT_AUTH_CERT_NEEDED && answer == ERROR_SUCCESS);
}

const char* verbOf(int kind) {
    switch (kind) {
    case HttpConnection::POST: return "POST";
    case HttpConnection::HEAD: return "HEAD";
    default: return "GET";
    }
}

// The address the response finally came from, after any redirects.
std::string finalUrl(HINTERNET request) {
    DWORD size = 0;
    InternetQueryOptionA(request, INTERNET_OPTION_URL, nullptr, &size);
    std::vector<char> text(size + 1);
    if (!InternetQueryOptionA(request, INTERNET_OPTION_URL, text.data(), &size)) {
        throwNetworkError("InternetQueryOption(INTERNET_OPTION_URL) failed", GetLastError());
    }
    return text.data();
}

} // namespace

HttpConnection::network_error::network_error(const std::string& message, DWORD code)
    : exception(message + " (" + internetErrorText(code) + ")"), code_(code) {}

HttpConnection::http_error::http_error(DWORD status)
    : exception("Http error, status: " + std::to_string(status)), status_(status) {}

HttpConnection::content_is_too_big::content_is_too_big(int64_t size)
    : exception("Content size exceeds maximum size (1 MB), size is " +
                (size < 0 ? std::string("unknown") : std::to_string(size) + " bytes")),
      size_(size) {}

HttpConnection::Response HttpConnection::connect(const Settings& settings, bool checkStatus) {
    LOG_AT_NAMED(LOG_TRACE, "HttpConnection::connect",
                 "HttpConnection::connect(url=" << NetUtils::maskSecrets(settings.url) << ")");
    const UrlParts url = crackUrl(settings.url);
    checkScheme(url.scheme, settings.allowHttp);

    Response response;
    response.deadline_ = GetTickCount64() + settings.timeoutMs;
    response.listener_ = settings.listener;
    Response::Handles& handles = *response.handles_;
    handles.internet.reset(InternetOpenA(settings.agent.c_str(), INTERNET_OPEN_TYPE_PRECONFIG,
                                         nullptr, nullptr, 0));
    if (!handles.internet) throwNetworkError("InternetOpen failed", GetLastError());
    handles.connection.reset(InternetConnectA(
        handles.internet.get(), url.host.c_str(), url.port,
        url.user.empty() ? nullptr : url.user.c_str(),
        url.password.empty() ? nullptr : url.password.c_str(), INTERNET_SERVICE_HTTP, 0, 0));
    if (!handles.connection) throwNetworkError("InternetConnect failed", GetLastError());

    DWORD flags = INTERNET_FLAG_NO_CACHE_WRITE | INTERNET_FLAG_KEEP_CONNECTION | INTERNET_FLAG_NO_UI;
    if (url.scheme == INTERNET_SCHEME_HTTPS) flags |= INTERNET_FLAG_SECURE;
    if (!settings.followRedirects) flags |= INTERNET_FLAG_NO_AUTO_REDIRECT;
    const char* accept[] = {"*/*", nullptr};
    handles.request.reset(HttpOpenRequestA(handles.connection.get(), verbOf(settings.kind),
                                           url.object.c_str(), nullptr, nullptr, accept, flags, 0));
    if (!handles.request) throwNetworkError("HttpOpenRequest failed", GetLastError());
    HINTERNET request = handles.request.get();
    // On the request handle: Wine ignores send and receive timeouts set on
    // the internet handle, and a silent server would hang the run.
    setTimeout(request, INTERNET_OPTION_CONNECT_TIMEOUT, std::min(settings.timeoutMs, kMaxConnectMs));
    setTimeout(request, INTERNET_OPTION_SEND_TIMEOUT, settings.timeoutMs);
    setTimeout(request, INTERNET_OPTION_RECEIVE_TIMEOUT, settings.timeoutMs);

    for (;;) {
        // Resolving, connecting, TLS and the headers all happen in here.
        struct Send {
            std::string body;
            BOOL sent = FALSE;
            DWORD error = ERROR_INTERNET_TIMEOUT;
        };
        const auto send = std::make_shared<Send>();
        send->body = settings.data;
        const bool ended = callBefore(response.deadline_, [send, handles = response.handles_] {
            void* body = send->body.empty() ? nullptr : &send->body[0];
            send->sent = HttpSendRequestA(handles->request.get(), nullptr, 0, body,
                                          static_cast<DWORD>(send->body.size()));
            send->error = GetLastError();
        });
        if (ended && send->sent) break;
        DWORD error = ended ? send->error : ERROR_INTERNET_TIMEOUT;
        // Wine reports a receive timeout here as a dropped connection.
        if (GetTickCount64() >= response.deadline_) error = ERROR_INTERNET_TIMEOUT;
        if (!settings.allowUi || !askUser(request, error)) {
            throwNetworkError("HttpSendRequest failed", error);
        }
    }

    DWORD status = 0;
    DWORD size = sizeof(status);
    if (!HttpQueryInfoA(request, HTTP_QUERY_STATUS_CODE | HTTP_QUERY_FLAG_NUMBER, &status, &size, nullptr)) {
        throwNetworkError("cannot get response status code", GetLastError());
    }
    if ((status == HTTP_STATUS_DENIED || status == HTTP_STATUS_PROXY_AUTH_REQ) && settings.allowUi) {
        askUser(request, ERROR_INTERNET_INCORRECT_PASSWORD);
    }
    response.status_ = status;
    // A redirect must not take an HTTPS request to plain HTTP.
    checkScheme(crackUrl(finalUrl(request)).scheme, settings.allowHttp);

    const int64_t length = response.contentLength();
    if (checkStatus) {
        if (status == HTTP_STATUS_OK) {
            LOG_AT_NAMED(LOG_TRACE, "HttpConnection::connect",
                         "HttpConnection::connect succeeded, size: " << length << " bytes");
        } else if (status == HTTP_STATUS_FORBIDDEN) {
            std::vector<char> text;
            try {
                text = response.saveToBuffer();
            } catch (const exception& e) {
                REPORT_CAUGHT(e);
            }
            const std::string denied = "Export Denied";
            if (std::search(text.begin(), text.end(), denied.begin(), denied.end()) != text.end()) {
                JP_THROW(export_compliance_error());
            }
            JP_THROW(http_error(status));
        } else {
            JP_THROW(http_error(status));
        }
    }
    if (response.listener_) response.listener_(0, length);
    return response;
}

DWORD HttpConnection::Response::getIntHeaderValue(DWORD queryId) const {
    DWORD value = 0;
    DWORD size = sizeof(value);
    if (!HttpQueryInfoA(request(), queryId | HTTP_QUERY_FLAG_NUMBER, &value, &size, nullptr)) {
        throwNetworkError(("getHeaderValue(" + std::to_string(queryId) + ") failed").c_str(),
                          GetLastError());
    }
    if (size != sizeof(value)) {
        JP_THROW(exception("getHeaderValue(" + std::to_string(queryId) +
                           ") returned unexpected size: " + std::to_string(size)));
    }
    return value;
}

std::string HttpConnection::Response::getHeaderValue(const std::string& name) const {
    std::vector<char> buffer(std::max<size_t>(name.size() + 1, 256));
    for (;;) {
        std::copy(name.begin(), name.end(), buffer.begin());
        buffer[name.size()] = '\0';
        DWORD size = static_cast<DWORD>(buffer.size());
        if (HttpQueryInfoA(request(), HTTP_QUERY_CUSTOM, buffer.data(), &size, nullptr)) {
            return std::string(buffer.data(), size);
        }
        const DWORD error = GetLastError();
        if (error != ERROR_INSUFFICIENT_BUFFER || size <= buffer.size()) {
            JP_THROW(network_error("Cannot get header value (" + internetErrorText(error) +
                                       ", name=" + name + ")",
                                   error));
        }
        buffer.resize(size + 1);
    }
}

int64_t HttpConnection::Response::contentLength() const {
    char text[32] = {};
    DWORD size = sizeof(text);
    if (!HttpQueryInfoA(request(), HTTP_QUERY_CONTENT_LENGTH, text, &size, nullptr)) return -1;
    // Parsed as text: the numeric form is 32 bits and wraps above 4 GiB.
    int64_t value = 0;
    if (size == 0 || size > 18) return -1;
    for (DWORD i = 0; i < size; ++i) {
        if (text[i] < '0' || text[i] > '9') return -1;
        value = value * 10 + (text[i] - '0');
    }
    return value;
}

void HttpConnection::Response::checkDeadline() const {
    const ULONGLONG now = GetTickCount64();
    if (now >= deadline_) throwNetworkError("InternetReadFile failed", ERROR_INTERNET_TIMEOUT);
    // The wait for the next bytes ends with the request's deadline.
    setTimeout(request(), INTERNET_OPTION_RECEIVE_TIMEOUT, static_cast<DWORD>(deadline_ - now));
}

size_t HttpConnection::Response::readContent(char* buffer, size_t size) {
    // Each read waits at most until the deadline (the receive timeout), and
    // no read starts after it.
    checkDeadline();
    DWORD available = 0;
    if (!InternetQueryDataAvailable(request(), &available, 0, 0)) {
        throwNetworkError("InternetReadFile failed", GetLastError());
    }
    if (available == 0) return 0;
    checkDeadline();
    DWORD read = 0;
    const DWORD wanted = static_cast<DWORD>(std::min<size_t>(size, available));
    if (!InternetReadFile(request(), buffer, wanted, &read)) {
        throwNetworkError("InternetReadFile failed", GetLastError());
    }
    return read;
}

namespace {

// Reads the whole body in chunks, giving each to sink; enforces the size limit.
template <typename Sink>
int64_t readBody(HttpConnection::Response& response, const HttpConnection::Listener& listener,
                 Sink sink) {
    const int64_t length = response.contentLength();
    if (length > HttpConnection::kMaxContentSize) {
        JP_THROW(HttpConnection::content_is_too_big(length));
    }
    char chunk[16384];
    int64_t total = 0;
    for (;;) {
        const size_t read = response.readContent(chunk, sizeof(chunk));
        if (read == 0) break;
        total += static_cast<int64_t>(read);
        if (total > HttpConnection::kMaxContentSize) {
            JP_THROW(HttpConnection::content_is_too_big(-1));
        }
        sink(chunk, read);
        if (listener) listener(total, length);
    }
    // A connection that ends early would otherwise pass a cut body as whole.
    if (length >= 0 && total != length) {
        JP_THROW(HttpConnection::exception("Content ended after " + std::to_string(total) +
                                           " of " + std::to_string(length) + " bytes"));
    }
    return total;
}

} // namespace

std::vector<char> HttpConnection::Response::saveToBuffer() {
    std::vector<char> body;
    const int64_t length = contentLength();
    body.reserve(length >= 0 && length <= kMaxContentSize ? static_cast<size_t>(length) + 1024 : 65536);
    readBody(*this, listener_, [&body](const char* data, size_t size) {
        body.insert(body.end(), data, data + size);
    });
    return body;
}

void HttpConnection::Response::saveToFile(const std::string& path) {
    // A link planted where the file goes, or above it, is never written
    // through; a partial file goes through the handle that wrote it.
    const FileUtils::HeldFolder folder =
        FileUtils::HeldFolder::holdFromProfile(FileUtils::dirName(path), false);
    UniqueHandle file = folder.createFile(FileUtils::baseName(path));
    try {
        readBody(*this, listener_, [&file, &path](const char* data, size_t size) {
            DWORD written = 0;
            if (!WriteFile(file.get(), data, static_cast<DWORD>(size), &written, nullptr) ||
                written != size) {
                JP_THROW_LAST_ERROR("WriteFile(" + path + ")", WriteFile);
            }
        });
    } catch (...) {
        FileUtils::deleteByHandle(file.get(), path);
        throw;
    }
}
