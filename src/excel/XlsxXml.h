// XML parts of .xlsx packages through pugixml: the namespaces, the
// declaration every part starts with, and parsing that reports which part
// was broken.
#pragma once

#include <string>

#include <pugixml.hpp>

namespace xl {

inline constexpr const char* kMainNamespace = "http://schemas.openxmlformats.org/spreadsheetml/2006/main";
inline constexpr const char* kRelationshipNamespace =
    "http://schemas.openxmlformats.org/officeDocument/2006/relationships";
inline constexpr const char* kPackageRelationshipNamespace =
    "http://schemas.openxmlformats.org/package/2006/relationships";

// Adds <?xml version="1.0" encoding="UTF-8" standalone="yes"?> and the root
// element; the root gets the given default namespace.
pugi::xml_node StartPart(pugi::xml_document& doc, const char* root, const char* ns = kMainNamespace);
// The part's bytes: UTF-8, no indentation.
std::string PartText(const pugi::xml_document& doc);
// Parses a part and gives its root element; throws std::runtime_error
// naming the part when it is not well-formed or has another root.
pugi::xml_node ParsePart(pugi::xml_document& doc, const std::string& xml, const char* root,
                         const std::string& partName);

}  // namespace xl
