#pragma once

#include <string>

#include "HttpConnection.h"

// SHA-256 of the file at path as 64 lower-case hexadecimal digits. False,
// with an ERROR record, when the file cannot be read or hashed; never raises.
bool getCheckSum(const std::string& path, std::string& checksum);

// Whether the file's checksum equals expected, case-sensitively; a
// difference is logged with both values. Never raises.
bool verifyCheckSum(const std::string& path, const std::string& expected);

// Whether text is a country code: exactly two ASCII letters.
bool IsCountryCode(const std::string& text);

// The policy value "Country" (32-bit view) when it holds a country code.
bool ReadStoredCountry(std::string& country);

// A request to a vendor address: plain HTTP allowed, bounded by 10 s, and
// never redirected, since a redirect could lead away from the vendor's hosts.
HttpConnection::Settings VendorRequestSettings(const std::string& url, int kind, const std::string& agent);

// Sets the run's country: "YY", then the stored "Country" value, else the
// "COUNTRY" header of a HEAD request to url (an allowed vendor address),
// which is then stored. True when a country was found; never raises.
bool GetCountry(const std::string& url);
