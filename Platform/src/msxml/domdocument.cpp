// The XML DOM on libxml2: documents, nodes, elements, attributes and node lists, XPath selection
// with the document's selection namespaces.
//
// Ownership: a document's libxml2 tree lives in a Tree shared by the document object and every
// node wrapper made from it, so a wrapper stays valid after loadXML replaced the document's
// tree or after the document object was released. Nodes that leave the tree (removeChild, a
// replaced root, a replaced attribute) or were never put into it (createElement,
// createAttribute) are kept as orphans of their Tree and freed with it; nothing a wrapper can
// point to is freed before the Tree.
#include <libxml/parser.h>
#include <libxml/tree.h>
#include <libxml/xmlerror.h>
#include <libxml/xmlsave.h>
#include <libxml/xpath.h>
#include <libxml/xpathInternals.h>

#include <climits>
#include <memory>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "../com/com_internal.h"
#include "../internal/unicode.h"
#include "msxml6.h"

namespace platform::msxml {

namespace {

using platform::com::RefCount;

// One libxml2 tree and the nodes that hang off no parent.
struct Tree {
  xmlDocPtr doc = nullptr;
  std::set<xmlNodePtr> orphans;

  Tree() : doc(xmlNewDoc(BAD_CAST "1.0")) {}
  explicit Tree(xmlDocPtr parsed) : doc(parsed) {}
  ~Tree() {
    // Only nodes that are still without a parent are freed here; the others go with their
    // parent. The roots are found before anything is freed.
    std::vector<xmlNodePtr> roots;
    for (xmlNodePtr node : orphans) {
      if (!node->parent) roots.push_back(node);
    }
    for (xmlNodePtr node : roots) xmlFreeNode(node);
    xmlFreeDoc(doc);
  }
  Tree(const Tree&) = delete;
  Tree& operator=(const Tree&) = delete;
};

// Parser and XPath messages go here instead of standard error while a call runs. Warnings are
// dropped (for example "xmlns: URI xsdPV is not absolute").
class ErrorCapture {
 public:
  ErrorCapture() { xmlSetStructuredErrorFunc(this, &ErrorCapture::Collect); }
  ~ErrorCapture() { xmlSetStructuredErrorFunc(nullptr, nullptr); }
  ErrorCapture(const ErrorCapture&) = delete;
  ErrorCapture& operator=(const ErrorCapture&) = delete;
  int errors = 0;

 private:
  static void Collect(void* self, xmlErrorPtr error) {
    if (error && error->level >= XML_ERR_ERROR) ++static_cast<ErrorCapture*>(self)->errors;
  }
};

void EnsureParserInitialized() {
  static const bool initialized = [] {
    xmlInitParser();
    return true;
  }();
  (void)initialized;
}

// Stops the parse at a document type declaration, before its internal subset is read.
void StopAtDocumentType(void* context, const xmlChar*, const xmlChar*, const xmlChar*) {
  auto* parser = static_cast<xmlParserCtxtPtr>(context);
  *static_cast<bool*>(parser->_private) = true;
  xmlStopParser(parser);
}

// Parses a document; with prohibitDtd a document type declaration fails it, as the platform's
// DOM refuses one unless its ProhibitDTD property is false. A network entity is never read.
xmlDocPtr ReadDocument(const std::string& text, bool prohibitDtd) {
  constexpr int kOptions = XML_PARSE_NONET | XML_PARSE_NOWARNING | XML_PARSE_NOERROR | XML_PARSE_NOBLANKS;
  if (text.size() > static_cast<size_t>(INT_MAX)) return nullptr;
  xmlParserCtxtPtr parser = xmlNewParserCtxt();
  if (!parser) return nullptr;
  bool sawDocumentType = false;
  if (prohibitDtd) {
    parser->_private = &sawDocumentType;
    parser->sax->internalSubset = StopAtDocumentType;
  }
  xmlDocPtr parsed =
      xmlCtxtReadMemory(parser, text.data(), static_cast<int>(text.size()), nullptr, "UTF-8", kOptions);
  xmlFreeParserCtxt(parser);
  if (parsed && sawDocumentType) {
    xmlFreeDoc(parsed);
    parsed = nullptr;
  }
  return parsed;
}

std::string Utf8(BSTR text) {
  return Utf8FromWide(std::wstring_view(text ? text : L"", SysStringLen(text)));
}

HRESULT ReturnText(const std::string& utf8, BSTR* out) {
  if (!out) return E_INVALIDARG;
  const std::wstring wide = WideFromUtf8(utf8);
  *out = SysAllocStringLen(wide.data(), static_cast<UINT>(wide.size()));
  return *out ? S_OK : E_OUTOFMEMORY;
}

std::string FromXml(const xmlChar* text) {
  return text ? std::string(reinterpret_cast<const char*>(text)) : std::string();
}

std::string QualifiedName(xmlNodePtr node) {
  switch (node->type) {
    case XML_ELEMENT_NODE:
    case XML_ATTRIBUTE_NODE: {
      std::string name = FromXml(node->name);
      if (node->ns && node->ns->prefix) name = FromXml(node->ns->prefix) + ":" + name;
      return name;
    }
    case XML_TEXT_NODE:
      return "#text";
    case XML_CDATA_SECTION_NODE:
      return "#cdata-section";
    case XML_COMMENT_NODE:
      return "#comment";
    case XML_DOCUMENT_NODE:
      return "#document";
    case XML_DOCUMENT_FRAG_NODE:
      return "#document-fragment";
    default:
      return FromXml(node->name);
  }
}

DOMNodeType TypeOf(xmlNodePtr node) {
  switch (node->type) {
    case XML_ELEMENT_NODE:
      return NODE_ELEMENT;
    case XML_ATTRIBUTE_NODE:
      return NODE_ATTRIBUTE;
    case XML_TEXT_NODE:
      return NODE_TEXT;
    case XML_CDATA_SECTION_NODE:
      return NODE_CDATA_SECTION;
    case XML_ENTITY_REF_NODE:
      return NODE_ENTITY_REFERENCE;
    case XML_ENTITY_NODE:
      return NODE_ENTITY;
    case XML_PI_NODE:
      return NODE_PROCESSING_INSTRUCTION;
    case XML_COMMENT_NODE:
      return NODE_COMMENT;
    case XML_DOCUMENT_NODE:
      return NODE_DOCUMENT;
    case XML_DOCUMENT_TYPE_NODE:
      return NODE_DOCUMENT_TYPE;
    case XML_DOCUMENT_FRAG_NODE:
      return NODE_DOCUMENT_FRAGMENT;
    case XML_NOTATION_NODE:
      return NODE_NOTATION;
    default:
      return NODE_INVALID;
  }
}

// The attribute of an element by its qualified name as written ("pv:id" or "id").
xmlAttrPtr FindAttribute(xmlNodePtr element, const std::string& name) {
  for (xmlAttrPtr attribute = element->properties; attribute; attribute = attribute->next) {
    if (QualifiedName(reinterpret_cast<xmlNodePtr>(attribute)) == name) return attribute;
  }
  return nullptr;
}

// Replaces the children of an element or attribute by one text node (none for an empty text).
// The old children are unlinked, not freed: wrappers may still point to them.
HRESULT ReplaceContent(Tree& tree, xmlNodePtr node, const std::string& utf8) {
  while (xmlNodePtr child = node->children) {
    xmlUnlinkNode(child);
    tree.orphans.insert(child);
  }
  if (utf8.empty()) return S_OK;
  // Linked by hand: libxml2's content functions do not add text to an attribute.
  xmlNodePtr text = xmlNewDocText(node->doc, BAD_CAST utf8.c_str());
  if (!text) return E_OUTOFMEMORY;
  text->parent = node;
  node->children = text;
  node->last = text;
  return S_OK;
}

// The value as UTF-8 text (VariantChangeType to VT_BSTR).
HRESULT TextOfVariant(const VARIANT& value, std::string& utf8) {
  VARIANT text;
  VariantInit(&text);
  const HRESULT hr = VariantChangeType(&text, &value, 0, VT_BSTR);
  if (FAILED(hr)) return hr;
  utf8 = Utf8(text.bstrVal);
  VariantClear(&text);
  return S_OK;
}

}  // namespace

class DomDocument;

// The private side of every node wrapper (the document too), found by QueryInterface with
// kNodeImplIid: which libxml2 node it stands for and in which tree.
interface INodeImpl : public IUnknown {
  virtual xmlNodePtr XmlNode() const = 0;
  virtual std::shared_ptr<Tree> XmlTree() const = 0;
};
constexpr IID kNodeImplIid = ::platform::GuidFromText("5E0C7A51-2B8D-4C3F-9E61-0D4A7B2C9F10");

// The implementation behind a node pointer handed in (appendChild, removeChild), or null for a
// node that is not one of ours. Not AddRef'd: the caller's pointer keeps it alive.
INodeImpl* ImplOf(IUnknown* node) {
  INodeImpl* impl = nullptr;
  if (!node || FAILED(node->QueryInterface(kNodeImplIid, reinterpret_cast<void**>(&impl)))) return nullptr;
  impl->Release();
  return impl;
}

HRESULT WrapNode(DomDocument* owner, const std::shared_ptr<Tree>& tree, xmlNodePtr node, IXMLDOMNode** out);

// The selection namespaces of a document: (prefix, URI) pairs.
using Namespaces = std::vector<std::pair<std::string, std::string>>;

// XPath over a context node; the node set's nodes in document order (namespace nodes left
// out). E_FAIL for an expression that does not parse or gives no node set.
HRESULT Evaluate(xmlDocPtr doc, xmlNodePtr context, const Namespaces& namespaces, BSTR query,
                 std::vector<xmlNodePtr>& nodes) {
  EnsureParserInitialized();
  nodes.clear();
  ErrorCapture capture;
  xmlXPathContextPtr xpath = xmlXPathNewContext(doc);
  if (!xpath) return E_OUTOFMEMORY;
  xpath->node = context;
  for (const auto& [prefix, uri] : namespaces)
    xmlXPathRegisterNs(xpath, BAD_CAST prefix.c_str(), BAD_CAST uri.c_str());
  const std::string expression = Utf8(query);
  xmlXPathObjectPtr result = xmlXPathEvalExpression(BAD_CAST expression.c_str(), xpath);
  HRESULT hr = S_OK;
  if (!result || result->type != XPATH_NODESET) {
    hr = E_FAIL;
  } else if (result->nodesetval) {
    for (int i = 0; i < result->nodesetval->nodeNr; ++i) {
      xmlNodePtr node = result->nodesetval->nodeTab[i];
      if (node && node->type != XML_NAMESPACE_DECL) nodes.push_back(node);
    }
  }
  if (result) xmlXPathFreeObject(result);
  xmlXPathFreeContext(xpath);
  return hr;
}

// IDispatch of the DOM's objects: they are called through their own slots only, so there is
// no type information and no late binding.
template <class Base>
class WithoutTypeInfo : public Base {
 public:
  STDMETHODIMP GetTypeInfoCount(UINT* count) override {
    if (!count) return E_INVALIDARG;
    *count = 0;
    return S_OK;
  }
  STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo** info) override {
    if (info) *info = nullptr;
    return E_NOTIMPL;
  }
  STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
  STDMETHODIMP Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override {
    return E_NOTIMPL;
  }
};

// The COM side of every DOM object: the reference count, the document it belongs to (each of
// its objects keeps it alive; the document itself has none) with the tree it shows, and
// QueryInterface over Derived's table, Derived::Interfaces(). Interfaces: the class that brings
// the object's interfaces. (Document is a parameter only so that it may still be incomplete
// here.)
template <class Derived, class Interfaces, class Document = DomDocument>
class DomObject : public Interfaces {
 public:
  DomObject(const DomObject&) = delete;
  DomObject& operator=(const DomObject&) = delete;

  STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override {
    return platform::com::QueryInterfaceFromTable(static_cast<Derived*>(this), Derived::Interfaces(), riid,
                                                  ppv);
  }
  STDMETHODIMP_(ULONG) AddRef() override { return m_refs.AddRef(); }
  STDMETHODIMP_(ULONG) Release() override {
    const ULONG left = m_refs.Release();
    if (left == 0) delete this;
    return left;
  }

 protected:
  DomObject(Document* owner, std::shared_ptr<Tree> tree) : m_owner(owner), m_tree(std::move(tree)) {
    if (m_owner) m_owner->AddRef();
  }
  virtual ~DomObject() {
    if (m_owner) m_owner->Release();
  }

  Document* const m_owner;
  std::shared_ptr<Tree> m_tree;

 private:
  RefCount m_refs;
};

// The operations every node has, over Derived's XmlNode(), XmlTree() and Owner().
template <class Derived, class Base>
class NodeOperations : public WithoutTypeInfo<Base>, public INodeImpl {
 public:
  STDMETHODIMP get_nodeName(BSTR* name) override { return ReturnText(QualifiedName(Node()), name); }

  STDMETHODIMP get_nodeValue(VARIANT* value) override {
    if (!value) return E_INVALIDARG;
    VariantInit(value);
    xmlNodePtr node = Node();
    switch (node->type) {
      case XML_TEXT_NODE:
      case XML_CDATA_SECTION_NODE:
      case XML_COMMENT_NODE:
      case XML_PI_NODE:
      case XML_ATTRIBUTE_NODE: {
        xmlChar* content = xmlNodeGetContent(node);
        const std::string text = FromXml(content);
        xmlFree(content);
        value->vt = VT_BSTR;
        const HRESULT hr = ReturnText(text, &value->bstrVal);
        if (FAILED(hr)) value->vt = VT_EMPTY;
        return hr;
      }
      default:
        value->vt = VT_NULL;
        return S_FALSE;
    }
  }

  STDMETHODIMP get_nodeType(DOMNodeType* type) override {
    if (!type) return E_INVALIDARG;
    *type = TypeOf(Node());
    return S_OK;
  }

  STDMETHODIMP get_parentNode(IXMLDOMNode** parent) override {
    xmlNodePtr node = Node();
    return Wrap(node->type == XML_DOCUMENT_NODE ? nullptr : node->parent, parent);
  }

  STDMETHODIMP get_childNodes(IXMLDOMNodeList** children) override {
    if (!children) return E_INVALIDARG;
    std::vector<xmlNodePtr> nodes;
    for (xmlNodePtr child = Node()->children; child; child = child->next) nodes.push_back(child);
    return MakeList(std::move(nodes), children);
  }

  STDMETHODIMP get_firstChild(IXMLDOMNode** child) override { return Wrap(Node()->children, child); }
  STDMETHODIMP get_lastChild(IXMLDOMNode** child) override { return Wrap(Node()->last, child); }
  STDMETHODIMP get_previousSibling(IXMLDOMNode** sibling) override {
    return Wrap(IsTreeNode() ? Node()->prev : nullptr, sibling);
  }
  STDMETHODIMP get_nextSibling(IXMLDOMNode** sibling) override {
    return Wrap(IsTreeNode() ? Node()->next : nullptr, sibling);
  }

  STDMETHODIMP removeChild(IXMLDOMNode* oldChild, IXMLDOMNode** outOldChild) override {
    if (outOldChild) *outOldChild = nullptr;
    INodeImpl* impl = ImplOf(oldChild);
    if (!impl || impl->XmlTree() != OwnTree() || impl->XmlNode()->parent != Node() ||
        impl->XmlNode()->type == XML_ATTRIBUTE_NODE)
      return E_INVALIDARG;
    xmlUnlinkNode(impl->XmlNode());
    OwnTree()->orphans.insert(impl->XmlNode());
    if (outOldChild) {
      *outOldChild = oldChild;
      oldChild->AddRef();
    }
    return S_OK;
  }

  STDMETHODIMP appendChild(IXMLDOMNode* newChild, IXMLDOMNode** outNewChild) override {
    if (outNewChild) *outNewChild = nullptr;
    INodeImpl* impl = ImplOf(newChild);
    if (!impl || impl->XmlTree() != OwnTree()) return E_INVALIDARG;
    xmlNodePtr child = impl->XmlNode();
    const xmlElementType type = child->type;
    if (type == XML_DOCUMENT_NODE || type == XML_ATTRIBUTE_NODE || type == XML_NAMESPACE_DECL)
      return E_INVALIDARG;
    for (xmlNodePtr ancestor = Node(); ancestor; ancestor = ancestor->parent) {
      if (ancestor == child) return E_INVALIDARG;
    }
    xmlNodePtr parent = Node();
    if (parent->type == XML_DOCUMENT_NODE && type == XML_ELEMENT_NODE && xmlDocGetRootElement(OwnTree()->doc))
      return E_FAIL;  // a document has one root element
    if (parent->type != XML_ELEMENT_NODE && parent->type != XML_DOCUMENT_NODE &&
        parent->type != XML_DOCUMENT_FRAG_NODE)
      return E_FAIL;
    xmlUnlinkNode(child);
    // Linked by hand: libxml2's own add functions merge neighbouring text nodes and free one of
    // them, which a wrapper may still point to.
    child->parent = parent;
    child->doc = OwnTree()->doc;
    child->next = nullptr;
    child->prev = parent->last;
    if (parent->last)
      parent->last->next = child;
    else
      parent->children = child;
    parent->last = child;
    if (outNewChild) {
      *outNewChild = newChild;
      newChild->AddRef();
    }
    return S_OK;
  }

  STDMETHODIMP hasChildNodes(VARIANT_BOOL* has) override {
    if (!has) return E_INVALIDARG;
    *has = Node()->children ? VARIANT_TRUE : VARIANT_FALSE;
    return *has ? S_OK : S_FALSE;
  }

  STDMETHODIMP get_ownerDocument(IXMLDOMDocument** document) override {
    if (!document) return E_INVALIDARG;
    *document = nullptr;
    if (Node()->type == XML_DOCUMENT_NODE) return S_FALSE;
    return Self()->Owner()->QueryInterface(IID_IXMLDOMDocument, reinterpret_cast<void**>(document));
  }

  STDMETHODIMP get_text(BSTR* text) override {
    xmlChar* content = xmlNodeGetContent(Node());
    const std::string utf8 = FromXml(content);
    xmlFree(content);
    return ReturnText(utf8, text);
  }

  STDMETHODIMP put_text(BSTR text) override {
    xmlNodePtr node = Node();
    if (node->type == XML_DOCUMENT_NODE) return E_FAIL;
    const std::string utf8 = Utf8(text);
    if (node->type != XML_ELEMENT_NODE && node->type != XML_ATTRIBUTE_NODE) {
      xmlNodeSetContent(node, BAD_CAST utf8.c_str());
      return S_OK;
    }
    return ReplaceContent(*OwnTree(), node, utf8);
  }

  STDMETHODIMP get_xml(BSTR* xml) override {
    if (!xml) return E_INVALIDARG;
    xmlBufferPtr buffer = xmlBufferCreate();
    if (!buffer) return E_OUTOFMEMORY;
    xmlNodePtr node = Node();
    std::string text;
    if (node->type == XML_DOCUMENT_NODE) {
      for (xmlNodePtr child = node->children; child; child = child->next) {
        xmlBufferEmpty(buffer);
        xmlNodeDump(buffer, OwnTree()->doc, child, 0, 0);
        text += FromXml(xmlBufferContent(buffer));
        text += "\r\n";
      }
    } else {
      xmlNodeDump(buffer, OwnTree()->doc, node, 0, 0);
      text = FromXml(xmlBufferContent(buffer));
    }
    xmlBufferFree(buffer);
    return ReturnText(text, xml);
  }

  STDMETHODIMP selectNodes(BSTR queryString, IXMLDOMNodeList** resultList) override {
    if (!resultList) return E_INVALIDARG;
    *resultList = nullptr;
    std::vector<xmlNodePtr> nodes;
    const HRESULT hr =
        Evaluate(OwnTree()->doc, Node(), Self()->Owner()->SelectionNamespaces(), queryString, nodes);
    if (FAILED(hr)) return hr;
    return MakeList(std::move(nodes), resultList);
  }

  STDMETHODIMP selectSingleNode(BSTR queryString, IXMLDOMNode** resultNode) override {
    if (!resultNode) return E_INVALIDARG;
    *resultNode = nullptr;
    std::vector<xmlNodePtr> nodes;
    const HRESULT hr =
        Evaluate(OwnTree()->doc, Node(), Self()->Owner()->SelectionNamespaces(), queryString, nodes);
    if (FAILED(hr)) return hr;
    return nodes.empty() ? S_FALSE : Wrap(nodes.front(), resultNode);
  }

  STDMETHODIMP get_namespaceURI(BSTR* uri) override {
    xmlNodePtr node = Node();
    const bool named = node->type == XML_ELEMENT_NODE || node->type == XML_ATTRIBUTE_NODE;
    return ReturnText(named && node->ns ? FromXml(node->ns->href) : std::string(), uri);
  }
  STDMETHODIMP get_prefix(BSTR* prefix) override {
    xmlNodePtr node = Node();
    const bool named = node->type == XML_ELEMENT_NODE || node->type == XML_ATTRIBUTE_NODE;
    return ReturnText(named && node->ns ? FromXml(node->ns->prefix) : std::string(), prefix);
  }
  STDMETHODIMP get_baseName(BSTR* name) override {
    xmlNodePtr node = Node();
    const bool named = node->type == XML_ELEMENT_NODE || node->type == XML_ATTRIBUTE_NODE;
    std::string local = named ? FromXml(node->name) : std::string();
    if (named && !node->ns) {
      const size_t colon = local.find(':');
      if (colon != std::string::npos) local = local.substr(colon + 1);
    }
    return ReturnText(local, name);
  }

 private:
  Derived* Self() { return static_cast<Derived*>(this); }
  xmlNodePtr Node() { return Self()->XmlNode(); }
  std::shared_ptr<Tree> OwnTree() { return Self()->XmlTree(); }
  bool IsTreeNode() {
    const xmlElementType type = Node()->type;
    return type != XML_DOCUMENT_NODE && type != XML_ATTRIBUTE_NODE;
  }
  HRESULT Wrap(xmlNodePtr node, IXMLDOMNode** out) { return WrapNode(Self()->Owner(), OwnTree(), node, out); }
  HRESULT MakeList(std::vector<xmlNodePtr> nodes, IXMLDOMNodeList** out);
};

// ---------------------------------------------------------------------------------------------
// The document object.

class DomDocument final : public DomObject<DomDocument, NodeOperations<DomDocument, IXMLDOMDocument2>> {
 public:
  DomDocument() : DomObject(nullptr, std::make_shared<Tree>()) {}

  static const auto& Interfaces() {
    static const platform::com::InterfaceEntry<DomDocument> table[] = {
        {&IID_IUnknown, &platform::com::CastTo<DomDocument, IXMLDOMDocument2>},
        {&IID_IDispatch, &platform::com::CastTo<DomDocument, IXMLDOMDocument2>},
        {&IID_IXMLDOMNode, &platform::com::CastTo<DomDocument, IXMLDOMDocument2>},
        {&IID_IXMLDOMDocument, &platform::com::CastTo<DomDocument, IXMLDOMDocument2>},
        {&IID_IXMLDOMDocument2, &platform::com::CastTo<DomDocument, IXMLDOMDocument2>},
        {&kNodeImplIid, &platform::com::CastTo<DomDocument, INodeImpl>},
    };
    return table;
  }

  xmlNodePtr XmlNode() const override { return reinterpret_cast<xmlNodePtr>(m_tree->doc); }
  DomDocument* Owner() { return this; }
  std::shared_ptr<Tree> XmlTree() const override { return m_tree; }
  const Namespaces& SelectionNamespaces() const { return m_namespaces; }

  STDMETHODIMP get_documentElement(IXMLDOMElement** element) override {
    if (!element) return E_INVALIDARG;
    *element = nullptr;
    xmlNodePtr root = xmlDocGetRootElement(m_tree->doc);
    if (!root) return S_FALSE;
    platform::com::OwnedInterface<IXMLDOMNode> node;
    HRESULT hr = WrapNode(this, m_tree, root, &node);
    if (FAILED(hr)) return hr;
    return node->QueryInterface(IID_IXMLDOMElement, reinterpret_cast<void**>(element));
  }

  STDMETHODIMP putref_documentElement(IXMLDOMElement* element) override {
    INodeImpl* impl = ImplOf(element);
    if (!impl || impl->XmlTree() != m_tree || impl->XmlNode()->type != XML_ELEMENT_NODE) return E_INVALIDARG;
    xmlNodePtr node = impl->XmlNode();
    if (node == xmlDocGetRootElement(m_tree->doc)) return S_OK;
    xmlUnlinkNode(node);
    xmlNodePtr old = xmlDocSetRootElement(m_tree->doc, node);
    if (old) m_tree->orphans.insert(old);
    return S_OK;
  }

  STDMETHODIMP createElement(BSTR tagName, IXMLDOMElement** element) override {
    if (!element) return E_INVALIDARG;
    *element = nullptr;
    const std::string name = Utf8(tagName);
    if (name.empty() || xmlValidateQName(BAD_CAST name.c_str(), 0) != 0) return E_FAIL;
    return CreateElementNode(name, std::string(), element);
  }

  STDMETHODIMP createAttribute(BSTR name, IXMLDOMAttribute** attribute) override {
    if (!attribute) return E_INVALIDARG;
    *attribute = nullptr;
    const std::string qualified = Utf8(name);
    if (qualified.empty() || xmlValidateQName(BAD_CAST qualified.c_str(), 0) != 0) return E_FAIL;
    xmlAttrPtr created = xmlNewDocProp(m_tree->doc, BAD_CAST qualified.c_str(), nullptr);
    if (!created) return E_OUTOFMEMORY;
    xmlNodePtr node = reinterpret_cast<xmlNodePtr>(created);
    m_tree->orphans.insert(node);
    platform::com::OwnedInterface<IXMLDOMNode> wrapped;
    HRESULT hr = WrapNode(this, m_tree, node, &wrapped);
    if (FAILED(hr)) return hr;
    return wrapped->QueryInterface(IID_IXMLDOMAttribute, reinterpret_cast<void**>(attribute));
  }

  STDMETHODIMP createNode(VARIANT type, BSTR name, BSTR namespaceURI, IXMLDOMNode** node) override {
    if (!node) return E_INVALIDARG;
    *node = nullptr;
    VARIANT number;
    VariantInit(&number);
    if (FAILED(VariantChangeType(&number, &type, 0, VT_I4)) || number.lVal != NODE_ELEMENT)
      return E_INVALIDARG;
    const std::string qualified = Utf8(name);
    if (qualified.empty() || xmlValidateQName(BAD_CAST qualified.c_str(), 0) != 0) return E_FAIL;
    platform::com::OwnedInterface<IXMLDOMElement> element;
    HRESULT hr = CreateElementNode(qualified, Utf8(namespaceURI), &element);
    if (FAILED(hr)) return hr;
    return element->QueryInterface(IID_IXMLDOMNode, reinterpret_cast<void**>(node));
  }

  STDMETHODIMP loadXML(BSTR bstrXML, VARIANT_BOOL* isSuccessful) override {
    if (!isSuccessful) return E_INVALIDARG;
    EnsureParserInitialized();
    const std::string text = Utf8(bstrXML);
    xmlDocPtr parsed = nullptr;
    {
      ErrorCapture capture;
      parsed = ReadDocument(text, m_prohibitDtd);
      if (parsed && capture.errors > 0) {
        xmlFreeDoc(parsed);
        parsed = nullptr;
      }
    }
    if (!parsed) {
      m_tree = std::make_shared<Tree>();
      *isSuccessful = VARIANT_FALSE;
      return S_FALSE;
    }
    m_tree = std::make_shared<Tree>(parsed);
    *isSuccessful = VARIANT_TRUE;
    return S_OK;
  }

  STDMETHODIMP setProperty(BSTR name, VARIANT value) override {
    const std::wstring property(name ? name : L"");
    if (property == L"ProhibitDTD") {
      VARIANT flag;
      VariantInit(&flag);
      if (FAILED(VariantChangeType(&flag, &value, 0, VT_BOOL))) return E_INVALIDARG;
      m_prohibitDtd = flag.boolVal != VARIANT_FALSE;
      return S_OK;
    }
    VARIANT text;
    VariantInit(&text);
    if (FAILED(VariantChangeType(&text, &value, 0, VT_BSTR))) return E_INVALIDARG;
    const std::string utf8 = Utf8(text.bstrVal);
    VariantClear(&text);
    if (property == L"SelectionLanguage") {
      if (utf8 != "XPath") return E_FAIL;
      return S_OK;
    }
    if (property == L"SelectionNamespaces") return SetSelectionNamespaces(utf8);
    return E_INVALIDARG;
  }

  STDMETHODIMP getProperty(BSTR name, VARIANT* value) override {
    if (!value) return E_INVALIDARG;
    VariantInit(value);
    const std::wstring property(name ? name : L"");
    std::string text;
    if (property == L"ProhibitDTD") {
      value->vt = VT_BOOL;
      value->boolVal = m_prohibitDtd ? VARIANT_TRUE : VARIANT_FALSE;
      return S_OK;
    }
    if (property == L"SelectionLanguage") {
      text = "XPath";
    } else if (property == L"SelectionNamespaces") {
      text = m_namespaceText;
    } else {
      return E_INVALIDARG;
    }
    value->vt = VT_BSTR;
    return ReturnText(text, &value->bstrVal);
  }

 private:
  ~DomDocument() override = default;

  HRESULT CreateElementNode(const std::string& qualified, const std::string& uri, IXMLDOMElement** element) {
    std::string prefix;
    std::string local = qualified;
    const size_t colon = qualified.find(':');
    if (colon != std::string::npos) {
      prefix = qualified.substr(0, colon);
      local = qualified.substr(colon + 1);
    }
    xmlNodePtr node = xmlNewDocNode(m_tree->doc, nullptr, BAD_CAST local.c_str(), nullptr);
    if (!node) return E_OUTOFMEMORY;
    m_tree->orphans.insert(node);
    if (!uri.empty()) {
      xmlNsPtr ns = xmlNewNs(node, BAD_CAST uri.c_str(), prefix.empty() ? nullptr : BAD_CAST prefix.c_str());
      xmlSetNs(node, ns);
    } else if (!prefix.empty()) {
      // A prefix without a namespace: the name is kept as written.
      xmlNodeSetName(node, BAD_CAST qualified.c_str());
    }
    platform::com::OwnedInterface<IXMLDOMNode> wrapped;
    HRESULT hr = WrapNode(this, m_tree, node, &wrapped);
    if (FAILED(hr)) return hr;
    return wrapped->QueryInterface(IID_IXMLDOMElement, reinterpret_cast<void**>(element));
  }

  // "xmlns:a='uri' xmlns:b='uri2'": read by the XML parser as the attributes of an element.
  HRESULT SetSelectionNamespaces(const std::string& declarations) {
    EnsureParserInitialized();
    const std::string wrapper = "<n " + declarations + "/>";
    ErrorCapture capture;
    xmlDocPtr parsed = xmlReadMemory(wrapper.data(), static_cast<int>(wrapper.size()), nullptr, "UTF-8",
                                     XML_PARSE_NONET | XML_PARSE_NOWARNING | XML_PARSE_NOERROR);
    xmlNodePtr root = parsed ? xmlDocGetRootElement(parsed) : nullptr;
    const bool valid = root && capture.errors == 0 && !root->properties && !root->children;
    Namespaces namespaces;
    if (valid) {
      for (xmlNsPtr ns = root->nsDef; ns; ns = ns->next) {
        if (ns->prefix) namespaces.emplace_back(FromXml(ns->prefix), FromXml(ns->href));
      }
    }
    if (parsed) xmlFreeDoc(parsed);
    if (!valid) return E_FAIL;
    m_namespaces = std::move(namespaces);
    m_namespaceText = declarations;
    return S_OK;
  }

  bool m_prohibitDtd = true;  // a document with a document type declaration fails to load
  Namespaces m_namespaces;
  std::string m_namespaceText;
};

// ---------------------------------------------------------------------------------------------
// Nodes other than the document.

class DomNode final : public DomObject<DomNode, NodeOperations<DomNode, IXMLDOMElement>> {
 public:
  DomNode(DomDocument* owner, std::shared_ptr<Tree> tree, xmlNodePtr node)
      : DomObject(owner, std::move(tree)), m_node(node) {}

  static const auto& Interfaces() {
    static const platform::com::InterfaceEntry<DomNode> table[] = {
        {&IID_IUnknown, &platform::com::CastTo<DomNode, IXMLDOMElement>},
        {&IID_IDispatch, &platform::com::CastTo<DomNode, IXMLDOMElement>},
        {&IID_IXMLDOMNode, &platform::com::CastTo<DomNode, IXMLDOMElement>},
        {&IID_IXMLDOMElement, &platform::com::CastTo<DomNode, IXMLDOMElement>},
        {&kNodeImplIid, &platform::com::CastTo<DomNode, INodeImpl>},
    };
    return table;
  }
  // Only elements answer the element interface.
  STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override {
    if (riid == IID_IXMLDOMElement && ppv && m_node->type != XML_ELEMENT_NODE) {
      *ppv = nullptr;
      return E_NOINTERFACE;
    }
    return DomObject::QueryInterface(riid, ppv);
  }

  xmlNodePtr XmlNode() const override { return m_node; }
  DomDocument* Owner() { return m_owner; }
  std::shared_ptr<Tree> XmlTree() const override { return m_tree; }

  STDMETHODIMP get_tagName(BSTR* tagName) override { return ReturnText(QualifiedName(m_node), tagName); }

  STDMETHODIMP getAttribute(BSTR name, VARIANT* value) override {
    if (!value) return E_INVALIDARG;
    VariantInit(value);
    xmlAttrPtr attribute = FindAttribute(m_node, Utf8(name));
    if (!attribute) {
      value->vt = VT_NULL;
      return S_FALSE;
    }
    xmlChar* content = xmlNodeGetContent(reinterpret_cast<xmlNodePtr>(attribute));
    const std::string text = FromXml(content);
    xmlFree(content);
    value->vt = VT_BSTR;
    const HRESULT hr = ReturnText(text, &value->bstrVal);
    if (FAILED(hr)) value->vt = VT_EMPTY;
    return hr;
  }

  STDMETHODIMP setAttribute(BSTR name, VARIANT value) override {
    const std::string qualified = Utf8(name);
    if (qualified.empty() || xmlValidateQName(BAD_CAST qualified.c_str(), 0) != 0) return E_FAIL;
    std::string utf8;
    HRESULT hr = TextOfVariant(value, utf8);
    if (FAILED(hr)) return hr;
    if (xmlAttrPtr existing = FindAttribute(m_node, qualified)) {
      return ReplaceContent(*m_tree, reinterpret_cast<xmlNodePtr>(existing), utf8);
    }
    const size_t colon = qualified.find(':');
    if (colon == std::string::npos) {
      return xmlSetProp(m_node, BAD_CAST qualified.c_str(), BAD_CAST utf8.c_str()) ? S_OK : E_OUTOFMEMORY;
    }
    const std::string prefix = qualified.substr(0, colon);
    const std::string local = qualified.substr(colon + 1);
    if (prefix == "xmlns") {
      return xmlNewNs(m_node, BAD_CAST utf8.c_str(), BAD_CAST local.c_str()) ? S_OK : E_FAIL;
    }
    xmlNsPtr ns = xmlSearchNs(m_tree->doc, m_node, BAD_CAST prefix.c_str());
    if (!ns) return E_FAIL;
    return xmlSetNsProp(m_node, ns, BAD_CAST local.c_str(), BAD_CAST utf8.c_str()) ? S_OK : E_OUTOFMEMORY;
  }

  STDMETHODIMP removeAttribute(BSTR name) override {
    xmlAttrPtr attribute = FindAttribute(m_node, Utf8(name));
    if (!attribute) return S_FALSE;
    // Unlinked, not freed: a wrapper of the attribute may still exist.
    xmlUnlinkNode(reinterpret_cast<xmlNodePtr>(attribute));
    m_tree->orphans.insert(reinterpret_cast<xmlNodePtr>(attribute));
    return S_OK;
  }

  STDMETHODIMP setAttributeNode(IXMLDOMAttribute* newAttribute, IXMLDOMAttribute** outOldAttribute) override {
    if (outOldAttribute) *outOldAttribute = nullptr;
    if (m_node->type != XML_ELEMENT_NODE) return E_FAIL;
    INodeImpl* impl = ImplOf(newAttribute);
    if (!impl || impl->XmlTree() != m_tree || impl->XmlNode()->type != XML_ATTRIBUTE_NODE)
      return E_INVALIDARG;
    auto* attribute = reinterpret_cast<xmlAttrPtr>(impl->XmlNode());
    if (attribute->parent == m_node) return S_OK;
    if (attribute->parent) return E_FAIL;  // on another element

    if (xmlAttrPtr existing = FindAttribute(m_node, QualifiedName(impl->XmlNode()))) {
      xmlNodePtr replaced = reinterpret_cast<xmlNodePtr>(existing);
      platform::com::OwnedInterface<IXMLDOMNode> wrapped;
      if (outOldAttribute) {
        const HRESULT hr = WrapNode(m_owner, m_tree, replaced, &wrapped);
        if (FAILED(hr)) return hr;
      }
      // Unlinked, not freed: a wrapper of the replaced attribute may still exist.
      xmlUnlinkNode(replaced);
      m_tree->orphans.insert(replaced);
      if (outOldAttribute)
        wrapped->QueryInterface(IID_IXMLDOMAttribute, reinterpret_cast<void**>(outOldAttribute));
    }
    // Linked by hand at the end of the element's attributes: libxml2's own add function frees an
    // attribute of the same name, which a wrapper may still point to.
    attribute->parent = m_node;
    attribute->doc = m_tree->doc;
    attribute->next = nullptr;
    attribute->prev = nullptr;
    if (!m_node->properties) {
      m_node->properties = attribute;
    } else {
      xmlAttrPtr last = m_node->properties;
      while (last->next) last = last->next;
      last->next = attribute;
      attribute->prev = last;
    }
    return S_OK;
  }

 private:
  ~DomNode() override = default;

  xmlNodePtr m_node;
};

// ---------------------------------------------------------------------------------------------
// Attribute nodes.

class DomAttribute final : public DomObject<DomAttribute, NodeOperations<DomAttribute, IXMLDOMAttribute>> {
 public:
  DomAttribute(DomDocument* owner, std::shared_ptr<Tree> tree, xmlNodePtr node)
      : DomObject(owner, std::move(tree)), m_node(node) {}

  static const auto& Interfaces() {
    static const platform::com::InterfaceEntry<DomAttribute> table[] = {
        {&IID_IUnknown, &platform::com::CastTo<DomAttribute, IXMLDOMAttribute>},
        {&IID_IDispatch, &platform::com::CastTo<DomAttribute, IXMLDOMAttribute>},
        {&IID_IXMLDOMNode, &platform::com::CastTo<DomAttribute, IXMLDOMAttribute>},
        {&IID_IXMLDOMAttribute, &platform::com::CastTo<DomAttribute, IXMLDOMAttribute>},
        {&kNodeImplIid, &platform::com::CastTo<DomAttribute, INodeImpl>},
    };
    return table;
  }

  xmlNodePtr XmlNode() const override { return m_node; }
  DomDocument* Owner() { return m_owner; }
  std::shared_ptr<Tree> XmlTree() const override { return m_tree; }

  STDMETHODIMP get_name(BSTR* name) override { return ReturnText(QualifiedName(m_node), name); }

  STDMETHODIMP get_value(VARIANT* value) override {
    if (!value) return E_INVALIDARG;
    VariantInit(value);
    xmlChar* content = xmlNodeGetContent(m_node);
    const std::string text = FromXml(content);
    xmlFree(content);
    value->vt = VT_BSTR;
    const HRESULT hr = ReturnText(text, &value->bstrVal);
    if (FAILED(hr)) value->vt = VT_EMPTY;
    return hr;
  }

  STDMETHODIMP put_value(VARIANT value) override {
    std::string utf8;
    const HRESULT hr = TextOfVariant(value, utf8);
    if (FAILED(hr)) return hr;
    return ReplaceContent(*m_tree, m_node, utf8);
  }

 private:
  ~DomAttribute() override = default;

  xmlNodePtr m_node;
};

// ---------------------------------------------------------------------------------------------
// Node lists.

class DomNodeList final : public DomObject<DomNodeList, WithoutTypeInfo<IXMLDOMNodeList>> {
 public:
  DomNodeList(DomDocument* owner, std::shared_ptr<Tree> tree, std::vector<xmlNodePtr> nodes)
      : DomObject(owner, std::move(tree)), m_nodes(std::move(nodes)) {}

  static const auto& Interfaces() {
    static const platform::com::InterfaceEntry<DomNodeList> table[] = {
        {&IID_IUnknown, &platform::com::CastTo<DomNodeList, IXMLDOMNodeList>},
        {&IID_IDispatch, &platform::com::CastTo<DomNodeList, IXMLDOMNodeList>},
        {&IID_IXMLDOMNodeList, &platform::com::CastTo<DomNodeList, IXMLDOMNodeList>},
    };
    return table;
  }

  STDMETHODIMP get_item(LONG index, IXMLDOMNode** listItem) override {
    if (!listItem) return E_INVALIDARG;
    *listItem = nullptr;
    if (index < 0 || static_cast<size_t>(index) >= m_nodes.size()) return S_FALSE;
    return WrapNode(m_owner, m_tree, m_nodes[static_cast<size_t>(index)], listItem);
  }
  STDMETHODIMP get_length(LONG* listLength) override {
    if (!listLength) return E_INVALIDARG;
    *listLength = static_cast<LONG>(m_nodes.size());
    return S_OK;
  }
  STDMETHODIMP nextNode(IXMLDOMNode** nextItem) override {
    if (!nextItem) return E_INVALIDARG;
    *nextItem = nullptr;
    if (m_next >= m_nodes.size()) return S_FALSE;
    return WrapNode(m_owner, m_tree, m_nodes[m_next++], nextItem);
  }
  STDMETHODIMP reset() override {
    m_next = 0;
    return S_OK;
  }

 private:
  ~DomNodeList() override = default;

  std::vector<xmlNodePtr> m_nodes;
  size_t m_next = 0;
};

template <class Derived, class Base>
HRESULT NodeOperations<Derived, Base>::MakeList(std::vector<xmlNodePtr> nodes, IXMLDOMNodeList** out) {
  auto* list = new DomNodeList(Self()->Owner(), OwnTree(), std::move(nodes));
  const HRESULT hr = list->QueryInterface(IID_IXMLDOMNodeList, reinterpret_cast<void**>(out));
  list->Release();
  return hr;
}

HRESULT WrapNode(DomDocument* owner, const std::shared_ptr<Tree>& tree, xmlNodePtr node, IXMLDOMNode** out) {
  if (!out) return E_INVALIDARG;
  *out = nullptr;
  if (!node) return S_FALSE;
  if (node == reinterpret_cast<xmlNodePtr>(tree->doc)) {
    if (tree != owner->XmlTree()) return S_FALSE;  // the document has loaded another tree since
    return owner->QueryInterface(IID_IXMLDOMNode, reinterpret_cast<void**>(out));
  }
  if (node->type == XML_ATTRIBUTE_NODE) {
    auto* attribute = new DomAttribute(owner, tree, node);
    const HRESULT hr = attribute->QueryInterface(IID_IXMLDOMNode, reinterpret_cast<void**>(out));
    attribute->Release();
    return hr;
  }
  auto* wrapper = new DomNode(owner, tree, node);
  const HRESULT hr = wrapper->QueryInterface(IID_IXMLDOMNode, reinterpret_cast<void**>(out));
  wrapper->Release();
  return hr;
}

// ---------------------------------------------------------------------------------------------
// The class object of CLSID_DOMDocument60.

class DocumentFactory final : public IClassFactory {
 public:
  STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override {
    static const platform::com::InterfaceEntry<DocumentFactory> table[] = {
        {&IID_IUnknown, &platform::com::CastTo<DocumentFactory, IClassFactory>},
        {&IID_IClassFactory, &platform::com::CastTo<DocumentFactory, IClassFactory>},
    };
    return platform::com::QueryInterfaceFromTable(this, table, riid, ppv);
  }
  // A static object: the count is kept for form only.
  STDMETHODIMP_(ULONG) AddRef() override { return 2; }
  STDMETHODIMP_(ULONG) Release() override { return 1; }

  STDMETHODIMP CreateInstance(IUnknown* outer, REFIID riid, void** ppv) override {
    if (!ppv) return E_INVALIDARG;
    *ppv = nullptr;
    if (outer) return CLASS_E_NOAGGREGATION;
    auto* document = new DomDocument();
    const HRESULT hr = document->QueryInterface(riid, ppv);
    document->Release();
    return hr;
  }
  STDMETHODIMP LockServer(BOOL) override { return S_OK; }
};

}  // namespace platform::msxml

namespace platform::com {

HRESULT GetBuiltInClassObject(REFCLSID rclsid, REFIID riid, void** ppv) {
  static platform::msxml::DocumentFactory documentFactory;
  if (rclsid == CLSID_DOMDocument60) return documentFactory.QueryInterface(riid, ppv);
  return CLASS_E_CLASSNOTAVAILABLE;
}

}  // namespace platform::com
