#include "PingDocument.h"

#include <cstdio>

namespace ping {

namespace {

const char* const kHead = "<?xml version=\"1.0\" encoding=\"UTF-8\"?> <request> ";
const char* const kTail = "</request>";

void append(std::string& text, const char* name, const std::string& value) {
    text += "<";
    text += name;
    text += ">";
    text += escape(value);
    text += "</";
    text += name;
    text += ">";
}

std::string number(int value) {
    return std::to_string(value);
}

std::string atLeastTwo(const std::string& text) {
    return text.size() < 2 ? "XX" : text;
}

std::string previousVersion(const Inputs& in) {
    if (!in.oldVersion) return "XX";
    // The 64-bit installer reports the text as it was found.
    if (in.installer64) return *in.oldVersion;
    return in.oldVersion->size() < 2 || *in.oldVersion == "NA" ? "XX" : *in.oldVersion;
}

std::string browsersField(const Inputs& in) {
    std::string field = "B";
    for (bool installed : in.browserInstalled) field += installed ? "1" : "0";
    return field + "00";
}

std::string products(const Inputs& in) {
    std::string entry = ";cxr|" + number(in.installResult) + "~" + (in.installer64 ? "64bit" : "32bit");
    if (!in.installStatus.empty() && in.installStatus != "exists") entry += "~" + in.installStatus;
    return entry;
}

} // namespace

std::string escape(const std::string& value) {
    std::string out;
    out.reserve(value.size());
    for (char c : value) {
        switch (c) {
        case '&': out += "&amp;"; break;
        case '<': out += "&lt;"; break;
        case '>': out += "&gt;"; break;
        case '"': out += "&quot;"; break;
        case '\'': out += "&apos;"; break;
        default: out += c;
        }
    }
    return out;
}

Document build(const Inputs& in) {
    std::string text = kHead;
    append(text, "sc_xml_ver", "1.0");
    append(text, "reportsuiteid", in.reportSuiteId);
    append(text, "visitorid", in.visitorId);
    append(text, "prop21", in.visitorId);
    append(text, "prop20", in.accessToken);
    append(text, "pagename", "ic");
    append(text, "evar42", in.deployStatus.value_or("XX"));
    append(text, "evar24", number(in.msiStatusError));
    append(text, "evar25", number(in.msiStatusExtendedError));
    append(text, "evar2", in.carriedVersion);
    append(text, "evar15", atLeastTwo(in.carriedVersion));
    append(text, "evar40", number(in.offeredSpCount));
    append(text, "evar26", number(in.agentResult));
    append(text, "evar27", in.agentVersion);
    append(text, "evar28", in.oldAgentVersion);
    append(text, "evar4", in.installer64 ? "amd64" : "i586");
    append(text, "evar5", in.processorArch);
    append(text, "evar6", in.osName);
    append(text, "evar7", in.method);
    append(text, "evar8", in.country);
    append(text, "events", "event6,event7");
    append(text, "evar17", in.installAttempts);
    append(text, "evar18", in.machineCounted);
    append(text, "evar19", in.updateCount);
    append(text, "evar29", number(in.defaultBrowser));
    append(text, "evar30", "-1");
    append(text, "evar31", in.installer64 ? "64bit" : "32bit");
    append(text, in.installer64 ? "evar34" : "evar33", previousVersion(in));
    append(text, "evar43", in.oem ? "1" : "0");
    append(text, "evar50", browsersField(in));
    append(text, "products", products(in));

    const size_t limit = kDocumentCapacity - 1;
    Document document;
    if (!in.removalList.empty()) {
        std::string withList = text;
        append(withList, "list1", in.removalList);
        if (withList.size() + std::string(kTail).size() <= limit) {
            document.text = withList + kTail;
            return document;
        }
        document.listLeftOut = true;
    }
    text += kTail;
    if (text.size() <= limit) document.text = text;
    return document;
}

std::string target(const std::string& pingUrl) {
    return pingUrl.substr(0, pingUrl.find(','));
}

std::string reportSuiteId(const std::string& pingUrl) {
    const size_t comma = pingUrl.find(',');
    return comma == std::string::npos ? "orvelinstallstat" : pingUrl.substr(comma + 1);
}

std::string accessToken(const std::string& pingUrl, const std::string& productionEndpoint,
                        uint32_t token) {
    if (pingUrl.find("https://") == std::string::npos) return "stagingkeyword";
    if (productionEndpoint.empty() || pingUrl.compare(0, productionEndpoint.size(), productionEndpoint) != 0) {
        return "devtestsecret";
    }
    char text[9];
    std::snprintf(text, sizeof(text), "%x", static_cast<unsigned>(token));
    return text;
}

std::string visitorId(uint32_t tickCount, uint64_t secondsNow) {
    char buffer[32];
    std::snprintf(buffer, sizeof(buffer), "%lx%lx%lx", static_cast<unsigned long>(tickCount),
                  static_cast<unsigned long>(secondsNow & 0xFFFFFFFFu),
                  static_cast<unsigned long>(secondsNow >> 32));
    std::string text = buffer;
    if (text.size() < 16) text.append(16 - text.size(), 'f');
    const size_t half = text.size() / 2;
    return text.substr(0, half) + "-" + text.substr(half);
}

Decision decide(int installResult, const std::string& installStatus) {
    Decision decision;
    decision.reinstall = installStatus == "reinstall";
    const bool overExisting = installStatus == "exists" && (installResult == 1603 || installResult == 1602);
    decision.reportedResult = overExisting || installResult == 1638 ? -128 : installResult;
    const bool declined = installStatus == "decline";
    decision.forgetIdentity = !decision.reinstall && (decision.reportedResult != 0 || declined);
    decision.send = !decision.reinstall && !declined;
    return decision;
}

std::string loggedValues(const std::string& document) {
    const std::string start = "<request>";
    size_t at = document.find(start);
    if (at == std::string::npos) return std::string();
    at += start.size();
    std::string pairs;
    for (;;) {
        const size_t open = document.find('<', at);
        const size_t close = open == std::string::npos ? open : document.find('>', open);
        if (close == std::string::npos || document[open + 1] == '/') break;
        const std::string name = document.substr(open + 1, close - open - 1);
        const size_t end = document.find("</", close);
        if (end == std::string::npos) break;
        pairs += "$" + name + "#";
        // The access token never reaches the log.
        if (name != "prop20") pairs += document.substr(close + 1, end - close - 1);
        at = document.find('>', end);
        if (at == std::string::npos) break;
    }
    return pairs;
}

} // namespace ping
