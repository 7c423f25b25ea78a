#pragma once

#include <memory>
#include <string>
#include <vector>

#include "Config.h"
#include "ConfigParserInterfaces.h"

namespace settings_impl {

class ConfigValidator;
class IKeyMapper;

// The configuration behind one settings_api handle. Loads merge into it;
// a load stops at its first bad line, remembers that line and raises
// settings::Exception 313, leaving the configuration as it was.
class Context : public IParserErrorListener {
public:
    // defaultPath is the runtime settings file; empty when it could not be
    // found.
    explicit Context(std::string defaultPath);

    // Raises settings::Exception 200 when the path was not found.
    const std::string& defaultPath() const;

    // An empty path is a missing argument (300).
    void loadFile(const std::string& path, const ConfigValidator* validator,
                  const IKeyMapper* keyMapper, bool stopOnError, bool allowKeyWithoutValue);
    void loadString(const std::string& text, const ConfigValidator* validator,
                    const IKeyMapper* keyMapper, bool stopOnError, bool allowKeyWithoutValue);
    // Entries of other replace those of the same key.
    void merge(const Context& other);
    // Raises settings::NoSuchKeyError and keeps everything when key is absent.
    void removeKey(const std::string& key);
    // Writes every entry; an empty configuration is written as one blank
    // so the file is never empty.
    void saveFile(const std::string& path) const;

    const Config& config() const { return *config_; }
    // 0-based lines of the parse errors of the last load.
    const std::vector<unsigned>& errorLines() const { return errorLines_; }

    void onError(const IParserCursor& cursor, const std::string& message) override;

private:
    void load(IConfigParser& parser, const ConfigValidator* validator,
              const IKeyMapper* keyMapper, bool stopOnError, bool allowKeyWithoutValue);

    std::string defaultPath_;
    std::unique_ptr<Config> config_;
    std::vector<unsigned> errorLines_;
};

} // namespace settings_impl
