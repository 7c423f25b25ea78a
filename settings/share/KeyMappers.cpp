#include "KeyMappers.h"

#include "tstrings.h"

namespace settings_impl {

SimpleKeyMapper::SimpleKeyMapper(std::string source, std::string target, bool caseSensitive)
    : source_(std::move(source)), target_(std::move(target)), caseSensitive_(caseSensitive) {}

IKeyMapper::Result SimpleKeyMapper::map(const std::string& key) const {
    const bool matched = caseSensitive_ ? key == source_
                                        : tstrings::equals(key, source_, tstrings::IGNORE_CASE);
    return matched ? Result{target_, true} : Result{key, false};
}

IKeyMapper::Result CompositeKeyMapper::map(const std::string& key) const {
    for (auto it = mappers_.rbegin(); it != mappers_.rend(); ++it) {
        Result result = (*it)->map(key);
        if (result.matched) return result;
    }
    return Result{key, false};
}

std::unique_ptr<SimpleKeyMapper> KeyMapperBuilder::KeyMapperFactory::create() const {
    return std::make_unique<SimpleKeyMapper>(source_, target_, caseSensitive_);
}

void KeyMapperBuilder::add(std::unique_ptr<IKeyMapperFactory> factory) {
    factories_.push_back(std::move(factory));
}

void KeyMapperBuilder::addKeyMapping(const std::string& source, const std::string& target,
                                     bool caseSensitive) {
    add(std::make_unique<KeyMapperFactory>(source, target, caseSensitive));
}

std::unique_ptr<IKeyMapper> KeyMapperBuilder::build() const {
    std::vector<std::unique_ptr<SimpleKeyMapper>> mappers;
    mappers.reserve(factories_.size());
    for (const auto& factory : factories_) mappers.push_back(factory->create());
    return std::make_unique<CompositeKeyMapper>(std::move(mappers));
}

} // namespace settings_impl
