#include "excel/XlsxXml.h"

#include <sstream>
#include <stdexcept>

namespace xl {

pugi::xml_node StartPart(pugi::xml_document& doc, const char* root, const char* ns) {
    pugi::xml_node declaration = doc.append_child(pugi::node_declaration);
    declaration.append_attribute("version") = "1.0";
    declaration.append_attribute("encoding") = "UTF-8";
    declaration.append_attribute("standalone") = "yes";
    pugi::xml_node node = doc.append_child(root);
    node.append_attribute("xmlns") = ns;
    return node;
}

std::string PartText(const pugi::xml_document& doc) {
    std::ostringstream out;
    doc.save(out, "", pugi::format_raw, pugi::encoding_utf8);
    return out.str();
}

pugi::xml_node ParsePart(pugi::xml_document& doc, const std::string& xml, const char* root,
                         const std::string& partName) {
    const pugi::xml_parse_result result = doc.load_buffer(xml.data(), xml.size(), pugi::parse_default,
                                                          pugi::encoding_utf8);
    if (!result)
        throw std::runtime_error("the part \"" + partName + "\" is not well-formed XML (" +
                                 result.description() + " at byte " + std::to_string(result.offset) + ")");
    pugi::xml_node node = doc.child(root);
    if (!node) throw std::runtime_error("the part \"" + partName + "\" has no <" + root + "> element");
    return node;
}

}  // namespace xl
