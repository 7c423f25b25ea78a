#include "OnlineOptions.h"

#include <gtest/gtest.h>

TEST(OnlineOptions, DocumentRules) {
    const std::string head = "<?xml version=\"1.0\"?><calyx-update>";
    const std::string en =
        "<information version=\"1.0\" xml:lang=\"en\"><post-status>http://p/en</post-status>"
        "<cntry-lookup>http://c/en</cntry-lookup><msi-url>http://m/en</msi-url>"
        "<offline-options>a&lt;b&gt;c&amp;d</offline-options></information>";
    const std::string jaBare = "<information version=\"1.0\" xml:lang=\"ja\"/>";
    const std::string longUrl = "<information version=\"1.0\" xml:lang=\"ja\"><post-status>" +
                                std::string(256, 'p') + "</post-status><msi-url>" + std::string(260, 'm') +
                                "</msi-url><cntry-lookup>http://c/ja</cntry-lookup></information>";
    // Expected: post-status|country lookup|package|offline options, or "error".
    struct Case { std::string document, locale, expected; } cases[] = {
        {head + en + "</calyx-update>", "ja", "http://p/en|http://c/en|http://m/en|a<b>c&d"},
        {head + en + "<information version=\"1.0\" xml:lang=\"ja\"><post-status>0</post-status></information>", "ja", "|||"},
        {head + en + jaBare + "</calyx-update>", "ja", "|||"},
        {head + jaBare + en + "</calyx-update>", "ja", "|||"},
        {head + en + "<information version=\"2.0\" xml:lang=\"ja\"><post-status>x</post-status>", "ja", "http://p/en|http://c/en|http://m/en|a<b>c&d"},
        {head + longUrl + "</calyx-update>", "ja", "|http://c/ja||"},
        {head + "<information version=\"1.0\" xml:lang=\"en\"><post-status/></information>", "en", "|||"},
        {"<other/>", "ja", "error"},
        {"<calyx-update><a>", "ja", "|||"},
    };
    for (const Case& c : cases) {
        std::string got = "error";
        try {
            const OnlineOptions o = OnlineOptions::fromDocument(c.document, c.locale);
            got = o.postStatusUrl + "|" + o.countryLookupUrl + "|" + o.packageUrl + "|" + o.offlineOptions;
        } catch (const std::exception&) {}
        EXPECT_EQ(c.expected, got) << c.document;
    }
}
