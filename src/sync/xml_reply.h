#pragma once
// Reading the server's XML replies. Replies are GBK and declare gb2312; the
// parser keeps their bytes unchanged, so every text read here is GBK. These
// are the only operations the synchronisation uses on a reply: load, the
// root element, a child by name, all child elements, all elements matching
// an XPath anywhere, and an element's text as text or as an integer.
#include <cstdint>
#include <memory>
#include <optional>
#include <pugixml.hpp>
#include <string>
#include <string_view>
#include <vector>

// True when the reply, without white space at either end, is longer than 10
// characters (counted as bytes, as the reply is GBK text). Anything shorter
// is an error text or nothing at all, never data.
bool IsLongEnough(std::string_view reply);

class XmlElement {
public:
    explicit XmlElement(pugi::xml_node node) : node_(node) {}

    // The first child element named `name`; a missing child reads as empty.
    XmlElement Child(const char* name) const { return XmlElement(node_.child(name)); }
    // Every child element, whatever its name, in document order.
    std::vector<XmlElement> Children() const;
    // The element's text, or `fallback` when it is empty.
    std::string Text(std::string_view fallback = {}) const;
    // The element's text as a leading decimal integer; 0 when empty or not a number.
    int32_t Int() const;

private:
    pugi::xml_node node_;
};

class XmlReply {
public:
    // Nothing when `text` is not a well-formed XML document.
    static std::optional<XmlReply> Load(std::string_view text);

    // The document's root element (its name is never checked).
    XmlElement Root() const { return XmlElement(document_->document_element()); }
    // Every element matching `xpath` (e.g. "//daily") anywhere in the
    // document, in document order.
    std::vector<XmlElement> SelectAll(const char* xpath) const;

private:
    XmlReply() : document_(std::make_unique<pugi::xml_document>()) {}
    std::unique_ptr<pugi::xml_document> document_;
};
