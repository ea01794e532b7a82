// The module definition's document read with the platform's MSXML 6 DOM. The DOM tells the
// line of a parse error but not an element's, so the rules' refusals carry no line here.
#include <windows.h>

#include <comdef.h>
#include <msxml6.h>
#include <platform/utf8.h>

#include <cstdio>

#include "DefinitionDocument.h"

namespace hostsim {
namespace {

_COM_SMARTPTR_TYPEDEF(IXMLDOMDocument2, __uuidof(IXMLDOMDocument2));
_COM_SMARTPTR_TYPEDEF(IXMLDOMElement, __uuidof(IXMLDOMElement));
_COM_SMARTPTR_TYPEDEF(IXMLDOMNode, __uuidof(IXMLDOMNode));
_COM_SMARTPTR_TYPEDEF(IXMLDOMNamedNodeMap, __uuidof(IXMLDOMNamedNodeMap));
_COM_SMARTPTR_TYPEDEF(IXMLDOMParseError, __uuidof(IXMLDOMParseError));
_COM_SMARTPTR_TYPEDEF(IXMLDOMDocumentType, __uuidof(IXMLDOMDocumentType));

std::string Utf8Of(const _bstr_t& text) {
  return platform::Utf8TextFromWide(text.length() ? static_cast<const wchar_t*>(text) : L"");
}

std::string LocalNameOf(IXMLDOMNode* node) {
  _bstr_t name;
  return SUCCEEDED(node->get_baseName(name.GetAddress())) ? Utf8Of(name) : "";
}

std::string TextOf(IXMLDOMNode* node) {
  _bstr_t text;
  return SUCCEEDED(node->get_text(text.GetAddress())) ? Utf8Of(text) : "";
}

DefinitionElement ElementOf(IXMLDOMNode* node) {
  DefinitionElement element{LocalNameOf(node), {}, {}, 0};
  IXMLDOMNamedNodeMapPtr attributes;
  LONG count = 0;
  if (SUCCEEDED(node->get_attributes(&attributes)) && attributes && SUCCEEDED(attributes->get_length(&count)))
    for (LONG i = 0; i < count; ++i) {
      IXMLDOMNodePtr attribute;
      if (SUCCEEDED(attributes->get_item(i, &attribute)) && attribute)
        element.attributes.emplace_back(LocalNameOf(attribute), TextOf(attribute));
    }
  IXMLDOMNodePtr child;
  for (HRESULT hr = node->get_firstChild(&child); hr == S_OK && child;) {
    DOMNodeType type = NODE_INVALID;
    if (SUCCEEDED(child->get_nodeType(&type)) && type == NODE_ELEMENT)
      element.children.push_back(ElementOf(child));
    IXMLDOMNodePtr next;
    hr = child->get_nextSibling(&next);
    child = next;
  }
  return element;
}

// The parse error's line as the DOM reports it.
long ParseErrorLine(IXMLDOMDocument2* document) {
  IXMLDOMParseErrorPtr parseError;
  LONG line = 0;
  if (SUCCEEDED(document->get_parseError(&parseError)) && parseError) parseError->get_line(&line);
  return line;
}

bool Fail(std::string* error, long line, const char* text) {
  if (error) *error = (line > 0 ? "line " + std::to_string(line) + ": " : std::string()) + text;
  return false;
}

}  // namespace

std::optional<DefinitionElement> ReadDefinitionDocument(std::string_view xml, std::string* error) {
  IXMLDOMDocument2Ptr document;
  HRESULT hr = CoCreateInstance(CLSID_DOMDocument60, nullptr, CLSCTX_INPROC_SERVER,
                                __uuidof(IXMLDOMDocument2), reinterpret_cast<void**>(&document));
  if (FAILED(hr) || !document) {
    char code[16];
    std::snprintf(code, sizeof code, "0x%08X", static_cast<unsigned>(hr));
    if (error) *error = std::string("the platform's XML DOM is not available (") + code + ")";
    return std::nullopt;
  }
  // A document type declaration is refused by the parser itself, before its entities expand.
  document->put_async(VARIANT_FALSE);
  document->put_resolveExternals(VARIANT_FALSE);
  document->put_validateOnParse(VARIANT_FALSE);
  document->setProperty(_bstr_t(L"ProhibitDTD"), _variant_t(true));
  VARIANT_BOOL loaded = VARIANT_FALSE;
  hr = document->loadXML(_bstr_t(platform::WideFromUtf8Text(xml).c_str()), &loaded);
  if (FAILED(hr) || loaded != VARIANT_TRUE) {
    // The parser refuses a declaration that ProhibitDTD forbids; an implementation that reads
    // it anyway is caught below.
    Fail(error, ParseErrorLine(document), "not well-formed XML");
    return std::nullopt;
  }
  IXMLDOMDocumentTypePtr documentType;
  if (SUCCEEDED(document->get_doctype(&documentType)) && documentType) {
    Fail(error, 0, "a module definition has no <!DOCTYPE>");
    return std::nullopt;
  }
  IXMLDOMElementPtr root;
  if (FAILED(document->get_documentElement(&root)) || !root) {
    Fail(error, 0, "not well-formed XML");
    return std::nullopt;
  }
  return ElementOf(root);
}

}  // namespace hostsim
