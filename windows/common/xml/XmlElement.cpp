#include "XmlElement.h"

#include <shlwapi.h>

#include <algorithm>

#include "Log.h"
#include "WinErrorHandling.h"
#include "tstrings.h"

namespace xml {

namespace {

const wchar_t* const kDocumentIid = L"{2933BF95-7B36-11D2-B20E-00C04F983E60}";  // IXMLDOMDocument2

std::string fromBstr(BSTR text) {
    std::string result = text ? tstrings::toUtf8(std::wstring(text, SysStringLen(text))) : "";
    SysFreeString(text);
    return result;
}

// A BSTR owned for the length of one call.
class Bstr {
public:
    explicit Bstr(const std::string& text) : text_(SysAllocString(tstrings::toUtf16(text).c_str())) {}
    ~Bstr() { SysFreeString(text_); }
    Bstr(const Bstr&) = delete;
    Bstr& operator=(const Bstr&) = delete;
    operator BSTR() const { return text_; }

private:
    BSTR text_;
};

HRESULT setProperty(IXMLDOMDocument2* document, const char* name, VARIANT value) {
    return document->setProperty(Bstr(name), value);
}

[[noreturn]] void throwParseError(IXMLDOMDocument2* document) {
    UniqueComPtr<IXMLDOMParseError> error;
    JP_CHECK_HRESULT(document->get_parseError(error.receive()), "get_parseError()");
    long line = 0, position = 0;
    BSTR reason = nullptr;
    error.get()->get_line(&line);
    error.get()->get_linepos(&position);
    error.get()->get_reason(&reason);
    JP_THROW_MSG("xml parse error at line " + std::to_string(line) + ", pos " +
                 std::to_string(position) + ": " + tstrings::trim(fromBstr(reason)));
}

} // namespace

Element Element::load(const std::string& text) {
    if (text.empty()) JP_THROW(std::invalid_argument("Invalid argument"));

    CLSID clsid;
    IID iid;
    JP_CHECK_HRESULT(CLSIDFromProgID(L"Msxml2.DOMDocument.3.0", &clsid), "CLSIDFromProgID()");
    JP_CHECK_HRESULT(IIDFromString(kDocumentIid, &iid), "IIDFromString()");
    UniqueComPtr<IXMLDOMDocument2> document;
    JP_CHECK_HRESULT(CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, iid,
                                      reinterpret_cast<void**>(document.receive())),
                     "CoCreateInstance(Msxml2.DOMDocument.3.0)");
    IXMLDOMDocument2* doc = document.get();
    JP_CHECK_HRESULT(doc->put_async(VARIANT_FALSE), "put_async()");
    JP_CHECK_HRESULT(doc->put_validateOnParse(VARIANT_FALSE), "put_validateOnParse()");
    JP_CHECK_HRESULT(doc->put_resolveExternals(VARIANT_FALSE), "put_resolveExternals()");
    VARIANT value;
    VariantInit(&value);
    value.vt = VT_BOOL;
    value.boolVal = VARIANT_TRUE;
    // A parser that cannot be told to refuse definitions is not used.
    JP_CHECK_HRESULT(setProperty(doc, "ProhibitDTD", value), "setProperty(ProhibitDTD)");
    value.vt = VT_BSTR;
    value.bstrVal = SysAllocString(L"XPath");
    const HRESULT hr = setProperty(doc, "SelectionLanguage", value);
    // Older parsers lack it and select with XPath's subset anyway.
    if (FAILED(hr)) LOG_WARNING(ComError(hr, "setProperty(SelectionLanguage)").what());
    VariantClear(&value);

    UniqueComPtr<IStream> stream(SHCreateMemStream(reinterpret_cast<const BYTE*>(text.data()),
                                                   static_cast<UINT>(text.size())));
    if (!stream) JP_THROW_MSG("SHCreateMemStream() failed");
    VARIANT source;
    VariantInit(&source);
    source.vt = VT_UNKNOWN;
    source.punkVal = stream.get();
    VARIANT_BOOL loaded = VARIANT_FALSE;
    if (FAILED(doc->load(source, &loaded)) || loaded != VARIANT_TRUE) throwParseError(doc);
    // The parser has read the document in whatever encoding it declares, so
    // a definition no text scan would find still shows here.
    UniqueComPtr<IXMLDOMDocumentType> definition;
    if (SUCCEEDED(doc->get_doctype(definition.receive())) && definition) {
        JP_THROW_MSG("xml document type definitions are not accepted");
    }

    UniqueComPtr<IXMLDOMElement> root;
    JP_CHECK_HRESULT(doc->get_documentElement(root.receive()), "get_documentElement()");
    if (!root) JP_THROW_MSG("xml document has no root element");
    return Element(root.release());
}

std::vector<Element> Element::selectElements(const std::string& xpath) const {
    const std::string context = "selectElements(" + xpath + ") failed";
    UniqueComPtr<IXMLDOMNodeList> list;
    JP_CHECK_HRESULT(node_.get()->selectNodes(Bstr(xpath), list.receive()), context);
    long length = 0;
    JP_CHECK_HRESULT(list.get()->get_length(&length), context);
    std::vector<Element> result;
    for (long i = 0; i < length; ++i) {
        IXMLDOMNode* item = nullptr;
        JP_CHECK_HRESULT(list.get()->get_item(i, &item), context);
        result.push_back(Element(item));
    }
    return result;
}

std::optional<Element> Element::selectElementIfExist(const std::string& xpath) const {
    IXMLDOMNode* item = nullptr;
    JP_CHECK_HRESULT(node_.get()->selectSingleNode(Bstr(xpath), &item),
                     "selectElementIfExist(" + xpath + ") failed");
    if (!item) return std::nullopt;
    return Element(item);
}

std::string Element::text() const {
    BSTR text = nullptr;
    JP_CHECK_HRESULT(node_.get()->get_text(&text), "get_text()");
    return fromBstr(text);
}

std::string Element::attribute(const std::string& name) const {
    UniqueComPtr<IXMLDOMNamedNodeMap> attributes;
    JP_CHECK_HRESULT(node_.get()->get_attributes(attributes.receive()), "get_attributes()");
    if (!attributes) return std::string();
    UniqueComPtr<IXMLDOMNode> item;
    JP_CHECK_HRESULT(attributes.get()->getNamedItem(Bstr(name), item.receive()),
                     "getNamedItem(" + name + ")");
    if (!item) return std::string();
    BSTR text = nullptr;
    JP_CHECK_HRESULT(item.get()->get_text(&text), "get_text()");
    return fromBstr(text);
}

} // namespace xml
