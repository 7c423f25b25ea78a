#pragma once

#include <cstddef>

namespace settings_impl {
class Context;
class ConfigValidator;
class ConfigValidatorBuilder;
class IKeyMapper;
class KeyMapperBuilder;
} // namespace settings_impl

// One entry of a fixed-value set: flag 1 matches the text's case exactly,
// flag 2 stores the entry's text instead of the one written.
struct SettingsFixedValue {
    const char* text;
    int value;
    unsigned flags;
};

typedef void (*SettingsForEachCallback)(settings_impl::Context* config, size_t count,
                                        size_t index, const char* key, void* user);

// The settings library's flat interface. Every function that answers a
// status answers 0 on success, 300 for a missing required argument, the
// code of a settings failure, or 200 for anything else; none lets an
// exception out. Handles are opaque; texts are UTF-8.
struct settings_api {
    settings_impl::Context* (*createConfig)();
    void (*destroyConfig)(settings_impl::Context* config);
    int (*getDefaultPath)(settings_impl::Context* config, const char** path);
    int (*loadFile)(settings_impl::Context* config, const char* path,
                    const settings_impl::ConfigValidator* validator,
                    const settings_impl::IKeyMapper* keyMapper, bool stopOnError,
                    bool allowKeyWithoutValue);
    int (*loadString)(settings_impl::Context* config, const char* text,
                      const settings_impl::ConfigValidator* validator,
                      const settings_impl::IKeyMapper* keyMapper, bool stopOnError,
                      bool allowKeyWithoutValue);
    int (*merge)(settings_impl::Context* config, const settings_impl::Context* other);
    int (*getErrorLines)(settings_impl::Context* config, const unsigned** firstLine,
                         size_t* count);
    int (*saveFile)(settings_impl::Context* config, const char* path);
    int (*isEmpty)(settings_impl::Context* config, bool* empty);
    int (*equals)(settings_impl::Context* config, const settings_impl::Context* other,
                  bool* equal);
    int (*forEach)(settings_impl::Context* config, SettingsForEachCallback callback, void* user);
    // The text stays owned by the handle and is valid until it changes.
    int (*getString)(settings_impl::Context* config, const char* key, const char** text);
    int (*getBool)(settings_impl::Context* config, const char* key, bool* value);
    int (*getInt)(settings_impl::Context* config, const char* key, int* value);
    int (*getReal)(settings_impl::Context* config, const char* key, double* value);
    int (*removeKey)(settings_impl::Context* config, const char* key);
    void (*destroyValidator)(settings_impl::ConfigValidator* validator);
    settings_impl::ConfigValidatorBuilder* (*createValidatorBuilder)();
    void (*destroyValidatorBuilder)(settings_impl::ConfigValidatorBuilder* builder);
    int (*buildValidator)(settings_impl::ConfigValidatorBuilder* builder,
                          settings_impl::ConfigValidator** validator);
    int (*addStringKey)(settings_impl::ConfigValidatorBuilder* builder, const char* key);
    int (*addIntKey)(settings_impl::ConfigValidatorBuilder* builder, const char* key);
    int (*addBoolKey)(settings_impl::ConfigValidatorBuilder* builder, const char* key);
    int (*addRealKey)(settings_impl::ConfigValidatorBuilder* builder, const char* key);
    int (*setAllowUnlistedKeys)(settings_impl::ConfigValidatorBuilder* builder, bool allow);
    int (*addFixedValues)(settings_impl::ConfigValidatorBuilder* builder, const char* key,
                          const SettingsFixedValue* values, size_t count);
    int (*addDirnameKey)(settings_impl::ConfigValidatorBuilder* builder, const char* key,
                         bool acceptAnything);
    void (*destroyKeyMapper)(settings_impl::IKeyMapper* keyMapper);
    settings_impl::KeyMapperBuilder* (*createKeyMapperBuilder)();
    void (*destroyKeyMapperBuilder)(settings_impl::KeyMapperBuilder* builder);
    int (*buildKeyMapper)(settings_impl::KeyMapperBuilder* builder,
                          settings_impl::IKeyMapper** keyMapper);
    int (*addKeyMapping)(settings_impl::KeyMapperBuilder* builder, const char* source,
                         const char* target, bool caseSensitive);
};

// The library's table.
const settings_api& settingsApi();
