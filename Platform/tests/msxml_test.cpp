// The XML DOM: a document by its CLSID, parsing, XPath with selection namespaces, attributes,
// node lists, tree edits, and wrappers that outlive what made them.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "fixtures/com/com_test_support.h"
#include "msxml6ptr.h"
#include "objbase.h"

namespace {

using testing_com::Hr;

std::wstring Take(BSTR text) {
  std::wstring out(text ? text : L"", SysStringLen(text));
  SysFreeString(text);
  return out;
}

class XmlDom : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(Hr(S_OK), Hr(CoInitialize(nullptr)));
    ASSERT_EQ(Hr(S_OK), Hr(CoCreateInstance(CLSID_DOMDocument60, nullptr, CLSCTX_INPROC_SERVER,
                                            IID_IXMLDOMDocument2, reinterpret_cast<void**>(&doc))));
  }
  void TearDown() override {
    doc = nullptr;
    CoUninitialize();
  }
  void Load(const wchar_t* xml) {
    VARIANT_BOOL ok = VARIANT_FALSE;
    ASSERT_EQ(Hr(S_OK), Hr(doc->loadXML(_bstr_t(xml), &ok)));
    ASSERT_EQ(ok, VARIANT_TRUE);
  }
  std::vector<std::wstring> Names(const wchar_t* xpath) {
    IXMLDOMNodeListPtr list;
    EXPECT_EQ(Hr(S_OK), Hr(doc->selectNodes(_bstr_t(xpath), &list)));
    std::vector<std::wstring> names;
    if (!list) return names;
    IXMLDOMNodePtr node;
    while (list->nextNode(&node) == S_OK) {
      BSTR name = nullptr;
      node->get_nodeName(&name);
      names.push_back(Take(name));
    }
    return names;
  }
  IXMLDOMDocument2Ptr doc;
};

constexpr wchar_t kSample[] =
    L"<pv:Root xmlns:pv=\"xsdPV\"><pv:A n=\"1\"/><pv:A n=\"2\"/><B>text</B></pv:Root>";

TEST_F(XmlDom, ARelativeNamespaceUriParsesWithoutAWarning) {
  testing::internal::CaptureStderr();
  Load(kSample);
  const std::string errors = testing::internal::GetCapturedStderr();
  EXPECT_EQ(errors, "");
}

TEST_F(XmlDom, TextThatIsNotWellFormedLeavesAnEmptyDocument) {
  Load(kSample);
  testing::internal::CaptureStderr();
  for (const wchar_t* bad : {L"<a><b></a>", L"", L"text only", L"<a x='1' x='2'/>"}) {
    SCOPED_TRACE(testing_com::Narrow(bad));
    VARIANT_BOOL ok = VARIANT_TRUE;
    EXPECT_EQ(Hr(S_FALSE), Hr(doc->loadXML(_bstr_t(bad), &ok)));
    EXPECT_EQ(ok, VARIANT_FALSE);
    IXMLDOMElementPtr root;
    EXPECT_EQ(Hr(S_FALSE), Hr(doc->get_documentElement(&root)));
    EXPECT_FALSE(root);
  }
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
}

TEST_F(XmlDom, ADocumentTypeDeclarationFailsToLoadUnlessProhibitDtdIsFalse) {
  _variant_t prohibit;
  ASSERT_EQ(Hr(S_OK), Hr(doc->getProperty(_bstr_t(L"ProhibitDTD"), &prohibit)));
  EXPECT_EQ(prohibit.vt, VT_BOOL);
  EXPECT_EQ(prohibit.boolVal, VARIANT_TRUE) << "prohibited by default";
  // One 50 KB entity used 5,000 times in an attribute: refused before it expands.
  std::wstring uses;
  for (int i = 0; i < 5000; ++i) uses += L"&e;";
  const std::wstring expanding =
      L"<!DOCTYPE R [<!ENTITY e \"" + std::wstring(50000, L'x') + L"\">]><R a=\"" + uses + L"\"/>";
  const std::wstring small = L"<!DOCTYPE R [<!ENTITY e \"text\">]><R a=\"&e;\"/>";
  for (const std::wstring& xml : {expanding, small, std::wstring(L"<!DOCTYPE R SYSTEM \"r.dtd\"><R/>")}) {
    SCOPED_TRACE(testing_com::Narrow(xml.substr(0, 40).c_str()));
    Load(kSample);
    VARIANT_BOOL ok = VARIANT_TRUE;
    EXPECT_EQ(Hr(S_FALSE), Hr(doc->loadXML(_bstr_t(xml.c_str()), &ok)));
    EXPECT_EQ(ok, VARIANT_FALSE);
    IXMLDOMElementPtr root;
    EXPECT_EQ(Hr(S_FALSE), Hr(doc->get_documentElement(&root)));
  }
  ASSERT_EQ(Hr(S_OK), Hr(doc->setProperty(_bstr_t(L"ProhibitDTD"), _variant_t(false))));
  ASSERT_EQ(Hr(S_OK), Hr(doc->getProperty(_bstr_t(L"ProhibitDTD"), &prohibit)));
  EXPECT_EQ(prohibit.boolVal, VARIANT_FALSE);
  Load(small.c_str());
  EXPECT_EQ(Names(L"/R"), std::vector<std::wstring>{L"R"});
}

TEST_F(XmlDom, XPathUsesTheSelectionNamespacesNotTheDocumentsPrefixes) {
  Load(kSample);
  IXMLDOMNodeListPtr list;
  EXPECT_EQ(Hr(E_FAIL), Hr(doc->selectNodes(_bstr_t(L"//pv:A"), &list))) << "an undeclared prefix";
  ASSERT_EQ(Hr(S_OK), Hr(doc->setProperty(_bstr_t(L"SelectionLanguage"), _variant_t(L"XPath"))));
  ASSERT_EQ(Hr(S_OK), Hr(doc->setProperty(_bstr_t(L"SelectionNamespaces"), _variant_t(L"xmlns:x='xsdPV'"))));
  EXPECT_EQ(Names(L"//x:A"), (std::vector<std::wstring>{L"pv:A", L"pv:A"}));
  EXPECT_EQ(Names(L"/x:Root/B"), std::vector<std::wstring>{L"B"});
  EXPECT_EQ(Names(L"//x:A/@n"), (std::vector<std::wstring>{L"n", L"n"}));
  EXPECT_EQ(Names(L"//x:Missing"), std::vector<std::wstring>{});

  IXMLDOMNodePtr single;
  EXPECT_EQ(Hr(S_FALSE), Hr(doc->selectSingleNode(_bstr_t(L"//x:Missing"), &single)));
  EXPECT_FALSE(single);
  EXPECT_EQ(Hr(E_FAIL), Hr(doc->selectSingleNode(_bstr_t(L"count(//x:A)"), &single))) << "not a node set";
  EXPECT_EQ(Hr(E_FAIL), Hr(doc->selectSingleNode(_bstr_t(L"//x:A["), &single)));
}

TEST_F(XmlDom, PropertiesRefuseWhatTheyDoNotKnow) {
  EXPECT_EQ(Hr(E_FAIL), Hr(doc->setProperty(_bstr_t(L"SelectionLanguage"), _variant_t(L"XSLPattern"))));
  EXPECT_EQ(Hr(E_FAIL), Hr(doc->setProperty(_bstr_t(L"SelectionNamespaces"), _variant_t(L"xmlns:a="))));
  EXPECT_EQ(Hr(E_FAIL), Hr(doc->setProperty(_bstr_t(L"SelectionNamespaces"), _variant_t(L"other='x'"))));
  EXPECT_EQ(Hr(E_INVALIDARG), Hr(doc->setProperty(_bstr_t(L"NoSuchProperty"), _variant_t(L"x"))));
  ASSERT_EQ(Hr(S_OK), Hr(doc->setProperty(_bstr_t(L"SelectionNamespaces"), _variant_t(L"xmlns:a='u'"))));
  _variant_t value;
  ASSERT_EQ(Hr(S_OK), Hr(doc->getProperty(_bstr_t(L"SelectionNamespaces"), &value)));
  EXPECT_EQ(std::wstring(value.bstrVal), L"xmlns:a='u'");
}

TEST_F(XmlDom, AttributesByQualifiedNameAndAbsentOnesAsNull) {
  Load(L"<r xmlns:p='urn:p' a='1' p:b='two'/>");
  IXMLDOMElementPtr root;
  ASSERT_EQ(Hr(S_OK), Hr(doc->get_documentElement(&root)));
  struct Case {
    const wchar_t* name;
    HRESULT hr;
    VARTYPE vt;
    const wchar_t* text;
  };
  const Case cases[] = {{L"a", S_OK, VT_BSTR, L"1"},
                        {L"p:b", S_OK, VT_BSTR, L"two"},
                        {L"b", S_FALSE, VT_NULL, nullptr},
                        {L"missing", S_FALSE, VT_NULL, nullptr}};
  for (const Case& c : cases) {
    SCOPED_TRACE(testing_com::Narrow(c.name));
    _variant_t value;
    EXPECT_EQ(Hr(c.hr), Hr(root->getAttribute(_bstr_t(c.name), &value)));
    EXPECT_EQ(value.vt, c.vt);
    if (c.text) {
      EXPECT_EQ(std::wstring(value.bstrVal), c.text);
    }
  }
  EXPECT_EQ(Hr(S_OK), Hr(root->setAttribute(_bstr_t(L"a"), _variant_t(LONG{42}))));
  EXPECT_EQ(Hr(S_OK), Hr(root->setAttribute(_bstr_t(L"p:c"), _variant_t(L"new"))));
  EXPECT_EQ(Hr(E_FAIL), Hr(root->setAttribute(_bstr_t(L"q:c"), _variant_t(L"x")))) << "undeclared prefix";
  EXPECT_EQ(Hr(S_OK), Hr(root->removeAttribute(_bstr_t(L"p:b"))));
  EXPECT_EQ(Hr(S_FALSE), Hr(root->removeAttribute(_bstr_t(L"p:b"))));
  BSTR xml = nullptr;
  ASSERT_EQ(Hr(S_OK), Hr(root->get_xml(&xml)));
  EXPECT_EQ(Take(xml), L"<r xmlns:p=\"urn:p\" a=\"42\" p:c=\"new\"/>");
}

TEST_F(XmlDom, OnlyElementsAnswerTheElementInterface) {
  Load(L"<r>text<!--c--></r>");
  IXMLDOMElementPtr root;
  ASSERT_EQ(Hr(S_OK), Hr(doc->get_documentElement(&root)));
  IXMLDOMNodePtr text;
  ASSERT_EQ(Hr(S_OK), Hr(root->get_firstChild(&text)));
  DOMNodeType type = NODE_INVALID;
  EXPECT_EQ(Hr(S_OK), Hr(text->get_nodeType(&type)));
  EXPECT_EQ(type, NODE_TEXT);
  IXMLDOMElement* element = nullptr;
  EXPECT_EQ(Hr(E_NOINTERFACE),
            Hr(text->QueryInterface(IID_IXMLDOMElement, reinterpret_cast<void**>(&element))));
  _variant_t value;
  EXPECT_EQ(Hr(S_OK), Hr(text->get_nodeValue(&value)));
  EXPECT_EQ(std::wstring(value.bstrVal), L"text");
  _variant_t rootValue;
  EXPECT_EQ(Hr(S_FALSE), Hr(root->get_nodeValue(&rootValue)));
  EXPECT_EQ(rootValue.vt, VT_NULL);
}

TEST_F(XmlDom, ListsIndexAndIterateAndStopAtTheirEnd) {
  Load(L"<r><a/><b/><c/></r>");
  IXMLDOMElementPtr root;
  ASSERT_EQ(Hr(S_OK), Hr(doc->get_documentElement(&root)));
  IXMLDOMNodeListPtr children;
  ASSERT_EQ(Hr(S_OK), Hr(root->get_childNodes(&children)));
  LONG length = 0;
  EXPECT_EQ(Hr(S_OK), Hr(children->get_length(&length)));
  EXPECT_EQ(length, 3);
  IXMLDOMNodePtr item;
  EXPECT_EQ(Hr(S_OK), Hr(children->get_item(2, &item)));
  EXPECT_EQ(Take([&] {
              BSTR name = nullptr;
              item->get_nodeName(&name);
              return name;
            }()),
            L"c");
  EXPECT_EQ(Hr(S_FALSE), Hr(children->get_item(3, &item)));
  EXPECT_FALSE(item);
  EXPECT_EQ(Hr(S_FALSE), Hr(children->get_item(-1, &item)));
  int seen = 0;
  while (children->nextNode(&item) == S_OK) ++seen;
  EXPECT_EQ(seen, 3);
  EXPECT_EQ(Hr(S_OK), Hr(children->reset()));
  EXPECT_EQ(Hr(S_OK), Hr(children->nextNode(&item)));
}

TEST_F(XmlDom, ElementsAreCreatedMovedAndRemovedWithinTheirDocument) {
  Load(L"<r><keep/></r>");
  IXMLDOMElementPtr root;
  ASSERT_EQ(Hr(S_OK), Hr(doc->get_documentElement(&root)));
  IXMLDOMElementPtr added;
  ASSERT_EQ(Hr(S_OK), Hr(doc->createElement(_bstr_t(L"added"), &added)));
  IXMLDOMElementPtr unattached;  // freed with its document although it never joined the tree
  ASSERT_EQ(Hr(S_OK), Hr(doc->createElement(_bstr_t(L"never-attached"), &unattached)));
  IXMLDOMNodePtr namespaced;
  ASSERT_EQ(Hr(S_OK), Hr(doc->createNode(_variant_t(LONG{NODE_ELEMENT}), _bstr_t(L"pv:item"),
                                         _bstr_t(L"xsdPV"), &namespaced)));
  EXPECT_EQ(Hr(S_OK), Hr(root->appendChild(added, nullptr)));
  EXPECT_EQ(Hr(S_OK), Hr(added->appendChild(namespaced, nullptr)));
  EXPECT_EQ(Hr(E_INVALIDARG), Hr(added->appendChild(root, nullptr))) << "an ancestor cannot become a child";
  ASSERT_EQ(Hr(S_OK), Hr(added->put_text(_bstr_t(L"replaced"))));
  BSTR xml = nullptr;
  ASSERT_EQ(Hr(S_OK), Hr(root->get_xml(&xml)));
  EXPECT_EQ(Take(xml), L"<r><keep/><added>replaced</added></r>");
  BSTR uri = nullptr;
  EXPECT_EQ(Hr(S_OK), Hr(namespaced->get_namespaceURI(&uri)));
  EXPECT_EQ(Take(uri), L"xsdPV");

  IXMLDOMNodePtr keep;
  ASSERT_EQ(Hr(S_OK), Hr(root->get_firstChild(&keep)));
  EXPECT_EQ(Hr(S_OK), Hr(root->removeChild(keep, nullptr)));
  EXPECT_EQ(Hr(E_INVALIDARG), Hr(root->removeChild(keep, nullptr))) << "no longer a child";
  IXMLDOMNodePtr parent;
  EXPECT_EQ(Hr(S_FALSE), Hr(keep->get_parentNode(&parent)));

  IXMLDOMDocument2Ptr other;
  ASSERT_EQ(Hr(S_OK), Hr(other.CreateInstance(CLSID_DOMDocument60)));
  IXMLDOMElementPtr foreign;
  ASSERT_EQ(Hr(S_OK), Hr(other->createElement(_bstr_t(L"foreign"), &foreign)));
  EXPECT_EQ(Hr(E_INVALIDARG), Hr(root->appendChild(foreign, nullptr)));
}

// Attribute nodes: made by the document, given a value, put on an element in place of one of
// the same name, and the replaced one still readable; a document in the default namespace
// selected through a prefix bound only by the selection namespaces, and written out again.
TEST_F(XmlDom, AttributeNodesAreSetOnElementsAndReplaceOnesOfTheSameName) {
  Load(
      L"<Dir xmlns=\"xsdPV\" xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\" "
      L"xsi:schemaLocation=\"xsdPV PV.xsd\"><PageSet><Page Id=\"1\" Clsid=\"old\"/><Page Id=\"2\"/>"
      L"</PageSet></Dir>");
  ASSERT_EQ(Hr(S_OK), Hr(doc->setProperty(_bstr_t(L"SelectionNamespaces"), _variant_t(L"xmlns:pv='xsdPV'"))));
  IXMLDOMNodeListPtr pages;
  ASSERT_EQ(Hr(S_OK), Hr(doc->selectNodes(_bstr_t(L"/pv:Dir/pv:PageSet/pv:Page"), &pages)));
  IXMLDOMNodePtr firstNode, secondNode;
  ASSERT_EQ(Hr(S_OK), Hr(pages->get_item(0, &firstNode)));
  ASSERT_EQ(Hr(S_OK), Hr(pages->get_item(1, &secondNode)));
  IXMLDOMElementPtr first(firstNode), second(secondNode);
  ASSERT_TRUE(first && second);

  IXMLDOMAttributePtr clsid;
  ASSERT_EQ(Hr(S_OK), Hr(doc->createAttribute(_bstr_t(L"Clsid"), &clsid)));
  BSTR name = nullptr;
  EXPECT_EQ(Hr(S_OK), Hr(clsid->get_name(&name)));
  EXPECT_EQ(Take(name), L"Clsid");
  DOMNodeType type = NODE_INVALID;
  EXPECT_EQ(Hr(S_OK), Hr(clsid->get_nodeType(&type)));
  EXPECT_EQ(type, NODE_ATTRIBUTE);
  _variant_t value;
  EXPECT_EQ(Hr(S_OK), Hr(clsid->get_value(&value)));
  EXPECT_EQ(std::wstring(value.bstrVal), L"") << "a new attribute is empty";
  ASSERT_EQ(Hr(S_OK), Hr(clsid->put_value(_variant_t(L"{NEW}"))));

  IXMLDOMAttributePtr replaced;
  ASSERT_EQ(Hr(S_OK), Hr(first->setAttributeNode(clsid, &replaced)));
  ASSERT_TRUE(replaced) << "the attribute of the same name is handed back";
  value.Clear();
  EXPECT_EQ(Hr(S_OK), Hr(replaced->get_value(&value)));
  EXPECT_EQ(std::wstring(value.bstrVal), L"old");
  EXPECT_EQ(Hr(S_OK), Hr(first->setAttributeNode(clsid, nullptr))) << "already on this element";
  EXPECT_EQ(Hr(E_FAIL), Hr(second->setAttributeNode(clsid, nullptr))) << "on another element";

  // A new attribute on an element without one of that name: nothing is replaced. A number
  // value is written as text.
  IXMLDOMAttributePtr numbered;
  ASSERT_EQ(Hr(S_OK), Hr(doc->createAttribute(_bstr_t(L"Clsid"), &numbered)));
  ASSERT_EQ(Hr(S_OK), Hr(numbered->put_value(_variant_t(LONG{7}))));
  replaced = nullptr;
  EXPECT_EQ(Hr(S_OK), Hr(second->setAttributeNode(numbered, &replaced)));
  EXPECT_FALSE(replaced);

  BSTR xml = nullptr;
  ASSERT_EQ(Hr(S_OK), Hr(doc->get_xml(&xml)));
  EXPECT_EQ(Take(xml),
            L"<Dir xmlns=\"xsdPV\" xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\" "
            L"xsi:schemaLocation=\"xsdPV PV.xsd\"><PageSet><Page Id=\"1\" Clsid=\"{NEW}\"/>"
            L"<Page Id=\"2\" Clsid=\"7\"/></PageSet></Dir>\r\n");
  EXPECT_EQ(Names(L"//pv:Page[@Clsid='7']/@Id"), std::vector<std::wstring>{L"Id"});
}

TEST_F(XmlDom, AttributeNodesOfOtherDocumentsOrWithBadNamesAreRefused) {
  Load(L"<r/>");
  IXMLDOMElementPtr root;
  ASSERT_EQ(Hr(S_OK), Hr(doc->get_documentElement(&root)));
  for (const wchar_t* bad : {L"", L"1x", L"a b", L"a:"}) {
    SCOPED_TRACE(testing_com::Narrow(bad));
    IXMLDOMAttributePtr attribute;
    EXPECT_EQ(Hr(E_FAIL), Hr(doc->createAttribute(_bstr_t(bad), &attribute)));
    EXPECT_FALSE(attribute);
  }
  IXMLDOMAttributePtr unattached;  // freed with its document although it never joined an element
  ASSERT_EQ(Hr(S_OK), Hr(doc->createAttribute(_bstr_t(L"never-set"), &unattached)));
  ASSERT_EQ(Hr(S_OK), Hr(unattached->put_value(_variant_t(L"x"))));

  IXMLDOMDocument2Ptr other;
  ASSERT_EQ(Hr(S_OK), Hr(other.CreateInstance(CLSID_DOMDocument60)));
  IXMLDOMAttributePtr foreign;
  ASSERT_EQ(Hr(S_OK), Hr(other->createAttribute(_bstr_t(L"a"), &foreign)));
  EXPECT_EQ(Hr(E_INVALIDARG), Hr(root->setAttributeNode(foreign, nullptr)));
  EXPECT_EQ(Hr(E_INVALIDARG), Hr(root->setAttributeNode(nullptr, nullptr)));
  EXPECT_EQ(Hr(E_INVALIDARG), Hr(doc->createAttribute(_bstr_t(L"a"), nullptr)));
}

TEST_F(XmlDom, SelectedAttributesAnswerTheAttributeInterfaceAndTakeNewText) {
  Load(L"<r a='1'/>");
  IXMLDOMNodePtr node;
  ASSERT_EQ(Hr(S_OK), Hr(doc->selectSingleNode(_bstr_t(L"/r/@a"), &node)));
  IXMLDOMAttributePtr attribute(node);
  ASSERT_TRUE(attribute);
  ASSERT_EQ(Hr(S_OK), Hr(node->put_text(_bstr_t(L"two"))));
  IXMLDOMElementPtr root;
  ASSERT_EQ(Hr(S_OK), Hr(doc->get_documentElement(&root)));
  _variant_t value;
  EXPECT_EQ(Hr(S_OK), Hr(root->getAttribute(_bstr_t(L"a"), &value)));
  EXPECT_EQ(std::wstring(value.bstrVal), L"two");
  IXMLDOMAttributePtr notAnAttribute(root);
  EXPECT_FALSE(notAnAttribute);
}

// Wrappers keep their tree: a node stays readable after the document loaded new text and after
// the document object itself was released.
TEST_F(XmlDom, NodesOutliveAReloadAndTheirDocumentObject) {
  Load(L"<old><child name='kept'/></old>");
  IXMLDOMNodePtr child;
  ASSERT_EQ(Hr(S_OK), Hr(doc->selectSingleNode(_bstr_t(L"/old/child"), &child)));
  Load(L"<new/>");
  doc = nullptr;
  IXMLDOMElementPtr element(child);
  ASSERT_TRUE(element);
  _variant_t name;
  EXPECT_EQ(Hr(S_OK), Hr(element->getAttribute(_bstr_t(L"name"), &name)));
  EXPECT_EQ(std::wstring(name.bstrVal), L"kept");
  IXMLDOMNodePtr parent;
  EXPECT_EQ(Hr(S_OK), Hr(child->get_parentNode(&parent)));
  IXMLDOMDocumentPtr owner;
  EXPECT_EQ(Hr(S_OK), Hr(child->get_ownerDocument(&owner)));
  EXPECT_TRUE(owner);
}

TEST(XmlDomClass, IsNotAggregatableAndNeedsCom) {
  IUnknown* unknown = nullptr;
  EXPECT_EQ(Hr(CO_E_NOTINITIALIZED), Hr(CoCreateInstance(CLSID_DOMDocument60, nullptr, CLSCTX_INPROC_SERVER,
                                                         IID_IUnknown, reinterpret_cast<void**>(&unknown))));
  ASSERT_EQ(Hr(S_OK), Hr(CoInitialize(nullptr)));
  testing_com::CountingObject<> outer;
  EXPECT_EQ(Hr(CLASS_E_NOAGGREGATION),
            Hr(CoCreateInstance(CLSID_DOMDocument60, &outer, CLSCTX_INPROC_SERVER, IID_IUnknown,
                                reinterpret_cast<void**>(&unknown))));
  EXPECT_EQ(unknown, nullptr);
  CoUninitialize();
}

}  // namespace
