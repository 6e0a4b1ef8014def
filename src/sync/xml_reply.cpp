#include "sync/xml_reply.h"

#include "text/parse.h"

bool IsLongEnough(std::string_view reply) {
    const char* blanks = " \t\r\n\v\f";
    const size_t first = reply.find_first_not_of(blanks);
    if (first == std::string_view::npos) return false;
    return reply.find_last_not_of(blanks) - first + 1 > 10;
}

std::vector<XmlElement> XmlElement::Children() const {
    std::vector<XmlElement> children;
    for (const pugi::xml_node child : node_.children())
        if (child.type() == pugi::node_element) children.emplace_back(child);
    return children;
}

std::string XmlElement::Text(std::string_view fallback) const {
    const char* text = node_.text().get();
    return *text ? std::string(text) : std::string(fallback);
}

int32_t XmlElement::Int() const { return text::ParseInt(node_.text().get()); }

std::optional<XmlReply> XmlReply::Load(std::string_view text) {
    XmlReply reply;
    // Read as UTF-8, which converts nothing: GBK bytes pass through as they
    // are, and the markup itself is ASCII in both.
    const pugi::xml_parse_result parsed =
        reply.document_->load_buffer(text.data(), text.size(), pugi::parse_default, pugi::encoding_utf8);
    if (!parsed || !reply.document_->document_element()) return std::nullopt;
    return reply;
}

std::vector<XmlElement> XmlReply::SelectAll(const char* xpath) const {
    pugi::xpath_node_set nodes = document_->select_nodes(xpath);
    nodes.sort();
    std::vector<XmlElement> elements;
    elements.reserve(nodes.size());
    for (const pugi::xpath_node& node : nodes)
        if (node.node()) elements.emplace_back(node.node());
    return elements;
}
