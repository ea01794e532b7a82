// The module definition's document read with libxml2.
#include <libxml/parser.h>
#include <libxml/parserInternals.h>
#include <libxml/tree.h>

#include <algorithm>
#include <memory>

#include "DefinitionDocument.h"

namespace hostsim {
namespace {

struct DocumentDeleter {
  void operator()(xmlDoc* doc) const { xmlFreeDoc(doc); }
};
struct ParserDeleter {
  void operator()(xmlParserCtxt* parser) const { xmlFreeParserCtxt(parser); }
};

void StopAtDocumentType(void* context, const xmlChar*, const xmlChar*, const xmlChar*) {
  auto* parser = static_cast<xmlParserCtxtPtr>(context);
  *static_cast<int*>(parser->_private) = parser->input ? std::max(parser->input->line, 1) : 1;
  xmlStopParser(parser);
}

const char* Text(const xmlChar* text) {
  return reinterpret_cast<const char*>(text);
}

// The attribute's value as xmlGetProp gives it: by local name, entities substituted.
std::string PropertyValue(const xmlNode* node, const xmlChar* name) {
  xmlChar* value = xmlGetProp(node, name);
  std::string text = value ? Text(value) : "";
  xmlFree(value);
  return text;
}

DefinitionElement ElementOf(const xmlNode* node) {
  DefinitionElement element{Text(node->name), {}, {}, static_cast<long>(node->line)};
  for (const xmlAttr* attribute = node->properties; attribute; attribute = attribute->next)
    element.attributes.emplace_back(Text(attribute->name), PropertyValue(node, attribute->name));
  for (const xmlNode* child = node->children; child; child = child->next)
    if (child->type == XML_ELEMENT_NODE) element.children.push_back(ElementOf(child));
  return element;
}

}  // namespace

std::optional<DefinitionElement> ReadDefinitionDocument(std::string_view xml, std::string* error) {
  // The format has no document type declaration; one is refused where it starts, before its
  // entities are read (they could expand without bound).
  std::unique_ptr<xmlParserCtxt, ParserDeleter> parser(xmlNewParserCtxt());
  if (!parser) {
    if (error) *error = "out of memory";
    return std::nullopt;
  }
  int documentTypeLine = 0;
  parser->_private = &documentTypeLine;
  parser->sax->internalSubset = StopAtDocumentType;
  std::unique_ptr<xmlDoc, DocumentDeleter> doc(
      xmlCtxtReadMemory(parser.get(), xml.data(), static_cast<int>(xml.size()), "module-definition.xml",
                        "UTF-8", XML_PARSE_NONET | XML_PARSE_NOERROR | XML_PARSE_NOWARNING));
  if (documentTypeLine) {
    if (error)
      *error = "line " + std::to_string(documentTypeLine) + ": a module definition has no <!DOCTYPE>";
    return std::nullopt;
  }
  const xmlNode* root = doc ? xmlDocGetRootElement(doc.get()) : nullptr;
  if (!root) {
    if (error) {
      const xmlError* last = xmlGetLastError();
      *error = last ? "line " + std::to_string(last->line) + ": not well-formed XML" : "not well-formed XML";
    }
    return std::nullopt;
  }
  return ElementOf(root);
}

}  // namespace hostsim
