#include "SettingsApi.h"

#include <initializer_list>
#include <new>

#include "ConfigOperations.h"
#include "ConfigValidatorBuilder.h"
#include "KeyMappers.h"
#include "SettingsContext.h"
#include "SettingsException.h"
#include "SettingsPaths.h"

using namespace settings_impl;

namespace {

// Runs body and turns what it raises into a status.
template <class Body>
int guarded(std::initializer_list<const void*> required, Body body) {
    for (const void* p : required) {
        if (p == nullptr) return settings::STATUS_NULL_ARGUMENT;
    }
    try {
        body();
        return settings::STATUS_OK;
    } catch (const settings::Exception& e) {
        return e.code();
    } catch (...) {
        return settings::STATUS_INTERNAL_ERROR;
    }
}

// For constructors, which answer no status: null when anything fails.
template <class T, class Make>
T* created(Make make) {
    try {
        return make();
    } catch (...) {
        return nullptr;
    }
}

Context* createConfig() {
    return created<Context>([] {
        std::string path;
        try {
            path = runtimeSettingsPath();
        } catch (const std::exception&) {
            // getDefaultPath answers 200 for this context.
        }
        return new Context(path);
    });
}

void destroyConfig(Context* config) {
    delete config;
}

int getDefaultPath(Context* config, const char** path) {
    return guarded({config, path}, [&] { *path = config->defaultPath().c_str(); });
}

int loadFile(Context* config, const char* path, const ConfigValidator* validator,
             const IKeyMapper* keyMapper, bool stopOnError, bool allowKeyWithoutValue) {
    return guarded({config, path}, [&] {
        config->loadFile(path, validator, keyMapper, stopOnError, allowKeyWithoutValue);
    });
}

int loadString(Context* config, const char* text, const ConfigValidator* validator,
               const IKeyMapper* keyMapper, bool stopOnError, bool allowKeyWithoutValue) {
    return guarded({config, text}, [&] {
        config->loadString(text, validator, keyMapper, stopOnError, allowKeyWithoutValue);
    });
}

int merge(Context* config, const Context* other) {
    return guarded({config, other}, [&] { config->merge(*other); });
}

int getErrorLines(Context* config, const unsigned** firstLine, size_t* count) {
    return guarded({config, firstLine, count}, [&] {
        const auto& lines = config->errorLines();
        *firstLine = lines.empty() ? nullptr : lines.data();
        *count = lines.size();
    });
}

int saveFile(Context* config, const char* path) {
    return guarded({config, path}, [&] { config->saveFile(path); });
}

int isEmpty(Context* config, bool* empty) {
    return guarded({config, empty}, [&] { *empty = config->config().entries().empty(); });
}

int equals(Context* config, const Context* other, bool* equal) {
    return guarded({config, other, equal},
                   [&] { *equal = configsEqual(config->config(), other->config()); });
}

int forEach(Context* config, SettingsForEachCallback callback, void* user) {
    if (callback == nullptr) return settings::STATUS_NULL_ARGUMENT;
    return guarded({config}, [&] {
        // A copy, so the callback may change the configuration.
        const std::vector<std::string> keys = config->config().keys();
        for (size_t i = 0; i < keys.size(); ++i) {
            callback(config, keys.size(), i, keys[i].c_str(), user);
        }
    });
}

int getString(Context* config, const char* key, const char** text) {
    return guarded({config, key, text}, [&] { *text = config->config().getString(key).c_str(); });
}

int getBool(Context* config, const char* key, bool* value) {
    return guarded({config, key, value}, [&] {
        const Config& c = config->config();
        *value = c.hasValue(key) ? c.getBool(key) : true;
    });
}

int getInt(Context* config, const char* key, int* value) {
    return guarded({config, key, value}, [&] { *value = config->config().getInt(key); });
}

int getReal(Context* config, const char* key, double* value) {
    return guarded({config, key, value}, [&] { *value = config->config().getReal(key); });
}

int removeKey(Context* config, const char* key) {
    return guarded({config, key}, [&] { config->removeKey(key); });
}

void destroyValidator(ConfigValidator* validator) {
    delete validator;
}

ConfigValidatorBuilder* createValidatorBuilder() {
    return created<ConfigValidatorBuilder>([] { return new ConfigValidatorBuilder(); });
}

void destroyValidatorBuilder(ConfigValidatorBuilder* builder) {
    delete builder;
}

int buildValidator(ConfigValidatorBuilder* builder, ConfigValidator** validator) {
    return guarded({builder, validator}, [&] { *validator = builder->build().release(); });
}

int addTypedKey(ConfigValidatorBuilder* builder, const char* key, ConfigValue::Type type) {
    return guarded({builder, key}, [&] { builder->addType(key, type); });
}

int addStringKey(ConfigValidatorBuilder* builder, const char* key) {
    return addTypedKey(builder, key, ConfigValue::STRING);
}

int addIntKey(ConfigValidatorBuilder* builder, const char* key) {
    return addTypedKey(builder, key, ConfigValue::INTEGER);
}

int addBoolKey(ConfigValidatorBuilder* builder, const char* key) {
    return addTypedKey(builder, key, ConfigValue::BOOLEAN);
}

int addRealKey(ConfigValidatorBuilder* builder, const char* key) {
    return addTypedKey(builder, key, ConfigValue::REAL);
}

int setAllowUnlistedKeys(ConfigValidatorBuilder* builder, bool allow) {
    return guarded({builder}, [&] { builder->setAllowUnlistedKeys(allow); });
}

int addFixedValues(ConfigValidatorBuilder* builder, const char* key,
                   const SettingsFixedValue* values, size_t count) {
    if (count != 0 && values == nullptr) return settings::STATUS_NULL_ARGUMENT;
    for (size_t i = 0; i < count; ++i) {
        if (values[i].text == nullptr) return settings::STATUS_NULL_ARGUMENT;
    }
    return guarded({builder, key}, [&] {
        std::vector<FixedValueValidator::Entry> entries;
        for (size_t i = 0; i < count; ++i) {
            entries.push_back({values[i].text, values[i].value, values[i].flags});
        }
        builder->addFixedValues(key, entries);
    });
}

int addDirnameKey(ConfigValidatorBuilder* builder, const char* key, bool acceptAnything) {
    return guarded({builder, key}, [&] { builder->addDirname(key, acceptAnything); });
}

void destroyKeyMapper(IKeyMapper* keyMapper) {
    delete keyMapper;
}

KeyMapperBuilder* createKeyMapperBuilder() {
    return created<KeyMapperBuilder>([] { return new KeyMapperBuilder(); });
}

void destroyKeyMapperBuilder(KeyMapperBuilder* builder) {
    delete builder;
}

int buildKeyMapper(KeyMapperBuilder* builder, IKeyMapper** keyMapper) {
    return guarded({builder, keyMapper}, [&] { *keyMapper = builder->build().release(); });
}

int addKeyMapping(KeyMapperBuilder* builder, const char* source, const char* target,
                  bool caseSensitive) {
    return guarded({builder, source, target},
                   [&] { builder->addKeyMapping(source, target, caseSensitive); });
}

const settings_api kSettingsApi = {
    createConfig,           destroyConfig,          getDefaultPath,   loadFile,
    loadString,             merge,                  getErrorLines,    saveFile,
    isEmpty,                equals,                 forEach,          getString,
    getBool,                getInt,                 getReal,          removeKey,
    destroyValidator,       createValidatorBuilder, destroyValidatorBuilder,
    buildValidator,         addStringKey,           addIntKey,        addBoolKey,
    addRealKey,             setAllowUnlistedKeys,   addFixedValues,   addDirnameKey,
    destroyKeyMapper,       createKeyMapperBuilder, destroyKeyMapperBuilder,
    buildKeyMapper,         addKeyMapping,
};

} // namespace

const settings_api& settingsApi() {
    return kSettingsApi;
}
