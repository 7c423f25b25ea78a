#include "OptionsReader.h"

#include <algorithm>
#include <cstring>

#include "TeguError.h"

namespace xml {

namespace {

bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

bool isLetter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

bool isNameStart(char c) {
    return isLetter(c) || c == '_' || c == ':';
}

bool isNameChar(char c) {
    return isNameStart(c) || (c >= '0' && c <= '9') || c == '-' || c == '.';
}

const struct {
    const char* entity;
    char value;
} kEntities[] = {
    {"&amp;", '&'}, {"&lt;", '<'}, {"&gt;", '>'}, {"&apos;", '\''}, {"&quote;", '"'},
};

} // namespace

const Node* Node::child(const std::string& childName) const {
    for (const Node& c : children) {
        if (!c.isText && c.name == childName) return &c;
    }
    return nullptr;
}

std::string Node::childText(const std::string& childName) const {
    const Node* c = child(childName);
    if (c == nullptr || c->children.empty() || !c->children.front().isText) return std::string();
    return c->children.front().name;
}

const std::string* Node::attribute(const std::string& attributeName) const {
    for (const auto& a : attributes) {
        if (a.first == attributeName) return &a.second;
    }
    return nullptr;
}

bool OptionsReader::at(const char* prefix) const {
    return text_.compare(pos_, std::strlen(prefix), prefix) == 0;
}

void OptionsReader::skipPast(const char* terminator) {
    const size_t found = text_.find(terminator, pos_);
    pos_ = found == std::string::npos ? text_.size() : found + std::strlen(terminator);
}

void OptionsReader::skipIgnorable() {
    for (;;) {
        while (pos_ < text_.size() && isBlank(text_[pos_])) ++pos_;
        if (at("<!--")) {
            skipPast("-->");
        } else if (at("<!")) {
            skipPast(">");
        } else if (at("<?")) {
            skipPast("?>");
        } else {
            return;
        }
    }
}

std::string OptionsReader::readName() {
    if (pos_ >= text_.size() || !isNameStart(text_[pos_])) {
        JP_THROW_MSG("options document: '<' without a name at offset " + std::to_string(pos_));
    }
    const size_t start = pos_;
    while (pos_ < text_.size() && isNameChar(text_[pos_])) ++pos_;
    return text_.substr(start, pos_ - start);
}

std::string OptionsReader::readText() {
    const size_t end = std::min(text_.find('<', pos_), text_.size());
    std::string out;
    while (pos_ < end) {
        bool decoded = false;
        if (text_[pos_] == '&') {
            for (const auto& e : kEntities) {
                const size_t length = std::strlen(e.entity);
                if (pos_ + length <= end && text_.compare(pos_, length, e.entity) == 0) {
                    out += e.value;
                    pos_ += length;
                    decoded = true;
                    break;
                }
            }
        }
        if (!decoded) out += text_[pos_++];
    }
    return out;
}

OptionsReader::Token OptionsReader::next() {
    skipIgnorable();
    Token token;
    if (pos_ >= text_.size()) return token;
    if (text_[pos_] == '<') {
        ++pos_;
        token.kind = START_TAG;
        if (pos_ < text_.size() && text_[pos_] == '/') {
            ++pos_;
            token.kind = END_TAG;
        }
        token.value = readName();
    } else if (at("/>")) {
        pos_ += 2;
        token.kind = EMPTY_CLOSE;
    } else if (text_[pos_] == '>') {
        ++pos_;
        token.kind = TAG_CLOSE;
    } else {
        token.kind = TEXT;
        token.value = readText();
    }
    return token;
}

bool OptionsReader::readAttributes(Node& node) {
    for (;;) {
        while (pos_ < text_.size() && isBlank(text_[pos_])) ++pos_;
        if (pos_ >= text_.size()) return false;
        if (text_[pos_] == '>') {
            ++pos_;
            return true;
        }
        if (at("/>")) {
            pos_ += 2;
            return false;
        }
        const size_t start = pos_;
        while (pos_ < text_.size() && !isBlank(text_[pos_]) && text_[pos_] != '=' &&
               text_[pos_] != '>' && !at("/>")) {
            ++pos_;
        }
        std::string name = text_.substr(start, pos_ - start);
        while (pos_ < text_.size() && isBlank(text_[pos_])) ++pos_;
        std::string value;
        if (pos_ < text_.size() && text_[pos_] == '=') {
            ++pos_;
            while (pos_ < text_.size() && isBlank(text_[pos_])) ++pos_;
            if (pos_ < text_.size() && text_[pos_] == '"') {
                const size_t close = std::min(text_.find('"', pos_ + 1), text_.size());
                value = text_.substr(pos_ + 1, close - pos_ - 1);
                pos_ = std::min(close + 1, text_.size());
            } else {
                const size_t valueStart = pos_;
                while (pos_ < text_.size() && !isBlank(text_[pos_]) && text_[pos_] != '>') ++pos_;
                value = text_.substr(valueStart, pos_ - valueStart);
            }
        } else if (name.empty()) {
            ++pos_;  // a stray character; the reader must move on
            continue;
        }
        node.attributes.emplace_back(std::move(name), std::move(value));
    }
}

void OptionsReader::readSiblings(std::vector<Node>& out, int depth) {
    if (depth > kMaxDepth) {
        JP_THROW_MSG("options document: elements nested deeper than " + std::to_string(kMaxDepth));
    }
    for (;;) {
        Token token = next();
        switch (token.kind) {
        case END:
            return;
        case END_TAG:
            skipPast(">");
            return;
        case START_TAG: {
            Node node;
            node.name = std::move(token.value);
            if (readAttributes(node)) readSiblings(node.children, depth + 1);
            out.push_back(std::move(node));
            break;
        }
        case TEXT: {
            Node node;
            node.isText = true;
            node.name = std::move(token.value);
            out.push_back(std::move(node));
            break;
        }
        case TAG_CLOSE:
        case EMPTY_CLOSE:
            break;  // outside a start tag these mean nothing
        }
    }
}

Node OptionsReader::read() {
    pos_ = 0;
    Node document;
    readSiblings(document.children, 0);
    return document;
}

} // namespace xml
