// Settings text through the parser. The first byte picks the parser flags
// and whether a validator and a key mapper take part; the rest is the text.
// A parsed configuration must survive being written back and parsed again.
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>

#include "Config.h"
#include "ConfigOperations.h"
#include "ConfigValidatorBuilder.h"
#include "KeyMappers.h"
#include "PlainTextEntrySerializer.h"
#include "PlainTextFileConfigParser.h"
#include "SettingsException.h"
#include "StringBuffer.h"
#include "ValueText.h"

using namespace settings_impl;

namespace {

const ConfigValidator& validator() {
    static const std::unique_ptr<ConfigValidator> v = [] {
        ConfigValidatorBuilder b;
        b.addType("i", ConfigValue::INTEGER);
        b.addType("b", ConfigValue::BOOLEAN);
        b.addType("r", ConfigValue::REAL);
        b.addType("s", ConfigValue::STRING);
        b.addDirname("d", false);
        b.addFixedValues("e", {{"Enable", 1, 1}, {"Disable", 0, 1}, {"vh", 4, 2}});
        b.setAllowUnlistedKeys(true);
        return b.build();
    }();
    return *v;
}

const IKeyMapper& keyMapper() {
    static const std::unique_ptr<IKeyMapper> m = [] {
        KeyMapperBuilder b;
        b.addKeyMapping("INT", "i", false);
        b.addKeyMapping("Dir", "d", true);
        return b.build();
    }();
    return *m;
}

std::unique_ptr<Config> parse(const std::string& text, uint8_t options) {
    PlainTextFileConfigParser parser(std::make_unique<StringBuffer>(text));
    parser.setAllowKeyWithoutValue(options & 1);
    parser.setStopOnError(options & 2);
    if (options & 4) parser.setValidator(&validator());
    if (options & 8) parser.setKeyMapper(&keyMapper());
    return parser.parse();
}

void readAll(const Config& config) {
    for (const std::string& key : config.keys()) {
        for (int reader = 0; reader < 4; ++reader) {
            try {
                switch (reader) {
                case 0: config.getInt(key); break;
                case 1: config.getBool(key); break;
                case 2: config.getReal(key); break;
                default: config.getType(key); break;
                }
            } catch (const settings::Exception&) {
            }
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) return 0;
    const uint8_t options = data[0];
    const std::string text(reinterpret_cast<const char*>(data + 1), size - 1);
    std::unique_ptr<Config> config;
    try {
        config = parse(text, options);
    } catch (const settings::Exception& e) {
        if (e.code() != settings::STATUS_NOT_PLAIN_TEXT || isPlainText(text)) std::abort();
        return 0;
    }
    if (!config) return 0;
    readAll(*config);
    // Written back, every entry reads the same, with keys alone allowed.
    const std::unique_ptr<Config> again =
        parse(PlainTextEntrySerializer::serialize(*config), (options & 12) | 3);
    if (!again || !configsEqual(*config, *again)) std::abort();
    return 0;
}
