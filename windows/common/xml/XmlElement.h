#pragma once

#include <msxml2.h>

#include <optional>
#include <string>
#include <vector>

#include "AutoHandle.h"

namespace xml {

// An element of a document parsed by the system's XML DOM, selected with
// XPath. COM must be initialised on the calling thread. Failures raise
// located errors (ComError for COM calls).
class Element {
public:
    // Parses text. A text holding a NUL, "<!DOCTYPE" or "<!ENTITY" is refused
    // before parsing: nothing here needs a document type, and its entities
    // could expand without bound.
    static Element load(const std::string& text);

    std::vector<Element> selectElements(const std::string& xpath) const;
    std::optional<Element> selectElementIfExist(const std::string& xpath) const;
    // The element's text (UTF-8).
    std::string text() const;
    // The attribute's value; empty when it is missing.
    std::string attribute(const std::string& name) const;

private:
    explicit Element(IXMLDOMNode* node) : node_(node) {}
    UniqueComPtr<IXMLDOMNode> node_;
};

} // namespace xml
