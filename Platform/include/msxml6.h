// MSXML 6: the XML DOM with XPath selection. The stand-in is built on libxml2 and covers the
// operations the servers call: a document created by CoCreateInstance(CLSID_DOMDocument60),
// loadXML, the "SelectionLanguage" and "SelectionNamespaces" properties, nodes and elements,
// attributes (by name and as nodes), node lists, serialisation, and selectNodes /
// selectSingleNode. Operations are listed in the platform's slot order; those the servers do
// not call are left out.
// Every operation returns E_INVALIDARG or E_POINTER for null out-parameters.
#pragma once

#include "oleauto.h"

enum DOMNodeType {
  NODE_INVALID = 0,
  NODE_ELEMENT = 1,
  NODE_ATTRIBUTE = 2,
  NODE_TEXT = 3,
  NODE_CDATA_SECTION = 4,
  NODE_ENTITY_REFERENCE = 5,
  NODE_ENTITY = 6,
  NODE_PROCESSING_INSTRUCTION = 7,
  NODE_COMMENT = 8,
  NODE_DOCUMENT = 9,
  NODE_DOCUMENT_TYPE = 10,
  NODE_DOCUMENT_FRAGMENT = 11,
  NODE_NOTATION = 12,
};

interface IXMLDOMDocument;
interface IXMLDOMNodeList;
interface IXMLDOMElement;
interface IXMLDOMAttribute;

// A node of a document. Wrappers are made per request: two pointers to one node need not be
// equal, as on the platform.
interface IXMLDOMNode : public IDispatch {
  // The qualified name ("pv:item"); "#text", "#comment", "#document" for those nodes.
  STDMETHOD(get_nodeName)(BSTR* name) = 0;
  // Text, comment, attribute and processing-instruction nodes: their text (VT_BSTR); other
  // nodes VT_NULL with S_FALSE.
  STDMETHOD(get_nodeValue)(VARIANT* value) = 0;
  STDMETHOD(get_nodeType)(DOMNodeType* type) = 0;
  // Relatives: S_FALSE with null when there is none.
  STDMETHOD(get_parentNode)(IXMLDOMNode** parent) = 0;
  STDMETHOD(get_childNodes)(IXMLDOMNodeList** children) = 0;
  STDMETHOD(get_firstChild)(IXMLDOMNode** child) = 0;
  STDMETHOD(get_lastChild)(IXMLDOMNode** child) = 0;
  STDMETHOD(get_previousSibling)(IXMLDOMNode** sibling) = 0;
  STDMETHOD(get_nextSibling)(IXMLDOMNode** sibling) = 0;
  // oldChild must be a child of this node: E_INVALIDARG otherwise. The removed node stays
  // usable (it belongs to its document, without a parent). outOldChild may be null.
  STDMETHOD(removeChild)(IXMLDOMNode* oldChild, IXMLDOMNode** outOldChild) = 0;
  // Moves newChild (a node of the same document) to the end of this node's children.
  // E_INVALIDARG for a node of another document, for this node or one of its ancestors.
  // outNewChild may be null.
  STDMETHOD(appendChild)(IXMLDOMNode* newChild, IXMLDOMNode** outNewChild) = 0;
  STDMETHOD(hasChildNodes)(VARIANT_BOOL* has) = 0;
  STDMETHOD(get_ownerDocument)(IXMLDOMDocument** document) = 0;
  // The text content of the node and its descendants; put_text replaces the children by one
  // text node.
  STDMETHOD(get_text)(BSTR* text) = 0;
  STDMETHOD(put_text)(BSTR text) = 0;
  // The node written as XML (a document without an XML declaration unless it had one).
  STDMETHOD(get_xml)(BSTR* xml) = 0;
  // XPath on this node as the context, with the document's selection namespaces. An
  // expression that does not parse, or whose result is not a node set, gives E_FAIL.
  STDMETHOD(selectNodes)(BSTR queryString, IXMLDOMNodeList** resultList) = 0;
  // The first node selectNodes would give; S_FALSE with null when there is none.
  STDMETHOD(selectSingleNode)(BSTR queryString, IXMLDOMNode** resultNode) = 0;
  // The namespace URI, the prefix and the local name ("" when none).
  STDMETHOD(get_namespaceURI)(BSTR* uri) = 0;
  STDMETHOD(get_prefix)(BSTR* prefix) = 0;
  STDMETHOD(get_baseName)(BSTR* name) = 0;
};
DECLARE_UUIDOF(IXMLDOMNode, "2933BF80-7B36-11D2-B20E-00C04F983E60");

// A list of nodes taken when it was made (selectNodes, childNodes).
interface IXMLDOMNodeList : public IDispatch {
  // S_FALSE with null for an index outside 0..length-1.
  STDMETHOD(get_item)(LONG index, IXMLDOMNode** listItem) = 0;
  STDMETHOD(get_length)(LONG* listLength) = 0;
  // The next node of the iteration, S_FALSE with null after the last.
  STDMETHOD(nextNode)(IXMLDOMNode** nextItem) = 0;
  STDMETHOD(reset)() = 0;
};
DECLARE_UUIDOF(IXMLDOMNodeList, "2933BF82-7B36-11D2-B20E-00C04F983E60");

interface IXMLDOMElement : public IXMLDOMNode {
  STDMETHOD(get_tagName)(BSTR* tagName) = 0;
  // name: the qualified name as written ("pv:id"). The value as VT_BSTR; an absent attribute
  // gives VT_NULL and S_FALSE.
  STDMETHOD(getAttribute)(BSTR name, VARIANT* value) = 0;
  // The value converted to text (VariantChangeType); a prefixed name needs its namespace
  // declared on the element or an ancestor (E_FAIL otherwise).
  STDMETHOD(setAttribute)(BSTR name, VARIANT value) = 0;
  // S_FALSE when there is no such attribute.
  STDMETHOD(removeAttribute)(BSTR name) = 0;
  // Puts the attribute node (made by this document's createAttribute) on the element. An
  // attribute of the same name is replaced; *outOldAttribute (may be null) receives it, or null
  // when there was none. The replaced attribute stays usable, without an element. E_INVALIDARG
  // for a node that is not an attribute of this document; E_FAIL for an attribute that is on
  // another element already. Setting an attribute on its own element again does nothing.
  STDMETHOD(setAttributeNode)(IXMLDOMAttribute* newAttribute, IXMLDOMAttribute** outOldAttribute) = 0;
};
DECLARE_UUIDOF(IXMLDOMElement, "2933BF86-7B36-11D2-B20E-00C04F983E60");

// An attribute node: its qualified name and its value as text.
interface IXMLDOMAttribute : public IXMLDOMNode {
  STDMETHOD(get_name)(BSTR* name) = 0;
  // The value as VT_BSTR.
  STDMETHOD(get_value)(VARIANT* value) = 0;
  // The value converted to text (VariantChangeType); its failure is returned.
  STDMETHOD(put_value)(VARIANT value) = 0;
};
DECLARE_UUIDOF(IXMLDOMAttribute, "2933BF85-7B36-11D2-B20E-00C04F983E60");

interface IXMLDOMDocument : public IXMLDOMNode {
  // S_FALSE with null for an empty document.
  STDMETHOD(get_documentElement)(IXMLDOMElement** element) = 0;
  // Makes the element (of this document) the root, replacing the old root.
  STDMETHOD(putref_documentElement)(IXMLDOMElement* element) = 0;
  // A new element without parent; tagName may be qualified only when the namespace is given
  // with createNode.
  STDMETHOD(createElement)(BSTR tagName, IXMLDOMElement** element) = 0;
  // A new attribute with an empty value, on no element. A prefixed name is kept as written,
  // without a namespace (simplified: the platform binds the prefix when the attribute is set).
  // E_FAIL for a name that is not a qualified XML name.
  STDMETHOD(createAttribute)(BSTR name, IXMLDOMAttribute** attribute) = 0;
  // type: NODE_ELEMENT (VT_I4) only; name: qualified name; namespaceURI: its namespace (may be
  // empty). E_INVALIDARG for other types.
  STDMETHOD(createNode)(VARIANT type, BSTR name, BSTR namespaceURI, IXMLDOMNode** node) = 0;
  // Parses the text and replaces the document. Returns S_OK and VARIANT_TRUE, or S_FALSE and
  // VARIANT_FALSE when the text is not well-formed (the document is then empty). Warnings
  // (a relative namespace URI such as "xsdPV") are not reported. No network, no DTD loading.
  STDMETHOD(loadXML)(BSTR bstrXML, VARIANT_BOOL* isSuccessful) = 0;
};
DECLARE_UUIDOF(IXMLDOMDocument, "2933BF81-7B36-11D2-B20E-00C04F983E60");

interface IXMLDOMDocument2 : public IXMLDOMDocument {
  // "SelectionLanguage": "XPath" (the only language of this version; others E_FAIL).
  // "SelectionNamespaces": namespace declarations "xmlns:a='uri' xmlns:b='uri2'" that XPath
  // expressions use (E_FAIL when the text is not such a list). Other names: E_INVALIDARG.
  STDMETHOD(setProperty)(BSTR name, VARIANT value) = 0;
  STDMETHOD(getProperty)(BSTR name, VARIANT* value) = 0;
};
DECLARE_UUIDOF(IXMLDOMDocument2, "2933BF95-7B36-11D2-B20E-00C04F983E60");

inline constexpr CLSID CLSID_DOMDocument60 = ::platform::GuidFromText("88D96A05-F192-11D4-A65F-0040963251E5");
inline constexpr IID IID_IXMLDOMNode = __uuidof(IXMLDOMNode);
inline constexpr IID IID_IXMLDOMNodeList = __uuidof(IXMLDOMNodeList);
inline constexpr IID IID_IXMLDOMElement = __uuidof(IXMLDOMElement);
inline constexpr IID IID_IXMLDOMAttribute = __uuidof(IXMLDOMAttribute);
inline constexpr IID IID_IXMLDOMDocument = __uuidof(IXMLDOMDocument);
inline constexpr IID IID_IXMLDOMDocument2 = __uuidof(IXMLDOMDocument2);
