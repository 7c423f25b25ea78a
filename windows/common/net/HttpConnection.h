#pragma once

#include <windows.h>
#include <wininet.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "AutoHandle.h"

// One HTTP(S) request over WinINet. Failures raise TeguError<...> of the
// error classes below.
class HttpConnection {
public:
    enum Kind { GET = 0, POST = 1, HEAD = 2 };

    // (bytes so far, total bytes or -1)
    typedef std::function<void(int64_t, int64_t)> Listener;

    struct Settings {
        std::string url;
        bool allowHttp = false;
        bool allowUi = false;
        int kind = GET;
        std::string agent = "calyx_installer";
        std::string data;
        Listener listener;
        // Whole-request deadline: resolve, connect, TLS, send and headers are
        // one call waited on from outside; every read waits until it at most.
        DWORD timeoutMs = 20000;
        // Off for requests that must stay on the host they were sent to.
        bool followRedirects = true;
    };

    static const int64_t kMaxContentSize = 1048576;

    class exception : public std::runtime_error {
    public:
        explicit exception(const std::string& message) : std::runtime_error(message) {}
    };
    class network_error : public exception {
    public:
        network_error(const std::string& message, DWORD code);
        DWORD code() const { return code_; }

    private:
        DWORD code_;
    };
    class http_error : public exception {
    public:
        explicit http_error(DWORD status);
        DWORD status() const { return status_; }

    private:
        DWORD status_;
    };
    class export_compliance_error : public http_error {
    public:
        export_compliance_error() : http_error(403) {}
    };
    class content_is_too_big : public exception {
    public:
        explicit content_is_too_big(int64_t size);
        int64_t size() const { return size_; }

    private:
        int64_t size_;
    };

    class Response {
    public:
        Response(Response&&) = default;
        Response& operator=(Response&&) = default;

        DWORD status() const { return status_; }
        // A numeric header (HTTP_QUERY_*); raises when it is not a DWORD.
        DWORD getIntHeaderValue(DWORD queryId) const;
        // A named header's text; raises when it is missing.
        std::string getHeaderValue(const std::string& name) const;
        // The Content-Length header as a 64-bit number; -1 when absent or not a number.
        int64_t contentLength() const;
        // Up to size bytes into buffer; 0 at the end of the body. Never waits
        // past the request's deadline.
        size_t readContent(char* buffer, size_t size);
        // The whole body, at most kMaxContentSize bytes.
        std::vector<char> saveToBuffer();
        // The whole body into a new file at path, at most kMaxContentSize
        // bytes; a partial file is deleted. A link at path is not followed.
        void saveToFile(const std::string& path);

    private:
        friend class HttpConnection;
        Response() = default;
        void checkDeadline() const;

        // Shared with any call still running past the deadline.
        struct Handles {
            UniqueInternetHandle internet;
            UniqueInternetHandle connection;
            UniqueInternetHandle request;
        };
        HINTERNET request() const { return handles_->request.get(); }

        std::shared_ptr<Handles> handles_ = std::make_shared<Handles>();
        Listener listener_;
        DWORD status_ = 0;
        ULONGLONG deadline_ = 0;
    };

    static Response connect(const Settings& settings, bool checkStatus = true);
};
