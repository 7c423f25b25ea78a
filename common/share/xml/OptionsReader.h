#pragma once

#include <string>
#include <utility>
#include <vector>

namespace xml {

// A node of a document read by OptionsReader: an element (name, attributes
// in document order, children) or a text.
struct Node {
    bool isText = false;
    std::string name;  // the element's name, or the text
    std::vector<std::pair<std::string, std::string>> attributes;
    std::vector<Node> children;

    // The first element child of that name; null when there is none.
    const Node* child(const std::string& childName) const;
    // The text of that child: its first node when that is a text, else "".
    std::string childText(const std::string& childName) const;
    // The first attribute of that name; null when there is none.
    const std::string* attribute(const std::string& attributeName) const;
};

// A small non-validating reader of narrow text for the online options
// document. It knows five entities ("&quote;" is the double quote), never
// resolves declarations, and reads end tags without matching their names.
// Malformed input raises a located std::runtime_error; the reader always
// moves forward and never nests deeper than kMaxDepth.
class OptionsReader {
public:
    static const int kMaxDepth = 64;

    explicit OptionsReader(std::string text) : text_(std::move(text)) {}
    // The document's top-level nodes as the children of an unnamed node.
    Node read();

private:
    enum TokenKind { END, START_TAG, END_TAG, TAG_CLOSE, EMPTY_CLOSE, TEXT };
    struct Token {
        TokenKind kind = END;
        std::string value;
    };

    Token next();
    void skipIgnorable();
    void skipPast(const char* terminator);
    std::string readName();
    std::string readText();
    // Reads attributes into node; false after "/>" or the end of text.
    bool readAttributes(Node& node);
    void readSiblings(std::vector<Node>& out, int depth);
    bool at(const char* prefix) const;

    std::string text_;
    size_t pos_ = 0;
};

} // namespace xml
