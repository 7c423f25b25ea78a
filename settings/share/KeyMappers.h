#pragma once

#include <memory>
#include <string>
#include <vector>

namespace settings_impl {

// Turns a key as written into the key to store.
class IKeyMapper {
public:
    struct Result {
        std::string key;
        bool matched;
    };
    virtual ~IKeyMapper() = default;
    virtual Result map(const std::string& key) const = 0;
};

// One source key to one target key; ASCII letters fold when the mapping is
// not case-sensitive.
class SimpleKeyMapper : public IKeyMapper {
public:
    SimpleKeyMapper(std::string source, std::string target, bool caseSensitive);
    Result map(const std::string& key) const override;

private:
    std::string source_;
    std::string target_;
    bool caseSensitive_;
};

// Asks its mappers from the last added to the first; the first match wins.
class CompositeKeyMapper : public IKeyMapper {
public:
    explicit CompositeKeyMapper(std::vector<std::unique_ptr<SimpleKeyMapper>> mappers)
        : mappers_(std::move(mappers)) {}
    Result map(const std::string& key) const override;

private:
    std::vector<std::unique_ptr<SimpleKeyMapper>> mappers_;
};

// Collects mapping factories and builds the composite mapper from them in
// the order they were added.
class KeyMapperBuilder {
public:
    class IKeyMapperFactory {
    public:
        virtual ~IKeyMapperFactory() = default;
        virtual std::unique_ptr<SimpleKeyMapper> create() const = 0;
    };

    class KeyMapperFactory : public IKeyMapperFactory {
    public:
        KeyMapperFactory(std::string source, std::string target, bool caseSensitive)
            : source_(std::move(source)), target_(std::move(target)),
              caseSensitive_(caseSensitive) {}
        std::unique_ptr<SimpleKeyMapper> create() const override;

    private:
        std::string source_;
        std::string target_;
        bool caseSensitive_;
    };

    void add(std::unique_ptr<IKeyMapperFactory> factory);
    void addKeyMapping(const std::string& source, const std::string& target, bool caseSensitive);
    std::unique_ptr<IKeyMapper> build() const;

private:
    std::vector<std::unique_ptr<IKeyMapperFactory>> factories_;
};

} // namespace settings_impl
