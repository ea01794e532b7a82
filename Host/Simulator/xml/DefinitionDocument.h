// A module definition's XML document as the definition's rules read it: its elements only,
// each with its name, its attributes and the line it starts on. Two readers make it: libxml2
// on Linux, which tells every element's line, and the platform's MSXML 6 DOM on Windows,
// which tells the line of a parse error only (an element's line is 0 there).
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace hostsim {

struct DefinitionElement {
  std::string name;                                             // the local name, without a namespace prefix
  std::vector<std::pair<std::string, std::string>> attributes;  // local name and value, UTF-8
  std::vector<DefinitionElement> children;                      // the child elements, in order
  long line = 0;                                                // 0 where the reader cannot tell

  // The first attribute of that name, or nullopt.
  std::optional<std::string> Attribute(std::string_view attributeName) const {
    for (const auto& [key, value] : attributes)
      if (key == attributeName) return value;
    return std::nullopt;
  }
};

// Reads the UTF-8 XML text into its root element, or returns nullopt with *error (optional):
// "line N: not well-formed XML", or "line N: a module definition has no <!DOCTYPE>" for a
// document type declaration, which is refused where it starts, before its entities expand.
std::optional<DefinitionElement> ReadDefinitionDocument(std::string_view xml, std::string* error);

}  // namespace hostsim
