// The XML helpers on real XML with namespaces, through the platform's DOM document created by
// its CLSID.
#include <windows.h>

#include <OrvoLog.h>
#include <msxml6ptr.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "DOMUtility.h"
#include "HostSession.h"

namespace {

using pvtest::Hr;

// The panel's extended information: a relative namespace URI, as the host writes it.
constexpr wchar_t kExtendedInfo[] =
    L"<?xml version=\"1.0\"?>"
    L"<pv:ExtendedInfo xmlns:pv=\"xsdPV\" xmlns:u=\"urn:units\">"
    L"<pv:Item pv:Id=\"17\" Name=\"Mass flow\" Big=\"-9000000000\" Huge=\"18000000000000000000\" "
    L"Ratio=\"0.25\" Text=\"abc\" Empty=\"\" Spaced=\"  42\"/>"
    L"<pv:Item pv:Id=\"18\" Name=\"Density\"/>"
    L"<u:Unit Code=\"4608\"/>"
    L"</pv:ExtendedInfo>";

class DomUtility : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(Hr(S_OK), Hr(CoInitialize(nullptr)));
    ASSERT_EQ(Hr(S_OK), Hr(DOMUtility::CreateDOMDocument(&m_document)));
    VARIANT_BOOL loaded = VARIANT_FALSE;
    ASSERT_EQ(Hr(S_OK), Hr(m_document->loadXML(_bstr_t(kExtendedInfo), &loaded)));
    ASSERT_EQ(loaded, VARIANT_TRUE);
    ASSERT_EQ(Hr(S_OK), Hr(m_document->setProperty(_bstr_t(L"SelectionNamespaces"),
                                                   _variant_t(L"xmlns:pv='xsdPV' xmlns:u='urn:units'"))));
    orvolog::ClearRecords();
  }
  void TearDown() override {
    m_document = nullptr;
    CoUninitialize();
  }

  IXMLDOMElementPtr Element(const wchar_t* xpath) {
    IXMLDOMNodePtr node;
    DOMUtility::SelectFirstNode(&node, IXMLDOMNodePtr(m_document), xpath);
    return IXMLDOMElementPtr(node);
  }

  IXMLDOMDocument2Ptr m_document;
};

TEST_F(DomUtility, SelectFirstNodeFindsTheFirstMatchThroughTheSelectionNamespaces) {
  IXMLDOMElementPtr item = Element(L"/pv:ExtendedInfo/pv:Item");
  ASSERT_TRUE(item);
  _bstr_t name;
  ASSERT_TRUE(DOMUtility::GetStringAttribute(item, L"Name", &name));
  EXPECT_EQ(std::wstring(static_cast<const wchar_t*>(name)), L"Mass flow");

  IXMLDOMNodePtr none;
  DOMUtility::SelectFirstNode(&none, IXMLDOMNodePtr(m_document), L"//pv:Missing");
  EXPECT_FALSE(none);
  EXPECT_TRUE(Element(L"//u:Unit[@Code='4608']"));
}

TEST_F(DomUtility, StringAttributesAreReadAndAbsentOnesGiveFalseWithoutALogRecord) {
  IXMLDOMElementPtr item = Element(L"//pv:Item[@pv:Id='17']");
  ASSERT_TRUE(item);
  struct Case {
    const wchar_t* name;
    bool found;
    const wchar_t* value;
  };
  const Case cases[] = {
      {L"pv:Id", true, L"17"},      {L"Empty", true, L""},   {L"Spaced", true, L"  42"},
      {L"Missing", false, nullptr}, {L"Id", false, nullptr},  // the prefix is part of the name
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::PrintToString(std::wstring(c.name)));
    _bstr_t value(L"untouched");
    EXPECT_EQ(DOMUtility::GetStringAttribute(item, c.name, &value), c.found);
    const wchar_t* got = static_cast<const wchar_t*>(value);
    EXPECT_EQ(std::wstring(got ? got : L""), std::wstring(c.found ? c.value : L"untouched"));
  }
  EXPECT_EQ(pvtest::LoggedSinceClear(), std::vector<std::wstring>{});
}

TEST_F(DomUtility, NumericAttributesParseTheirLeadingNumberAndLogTextThatIsNone) {
  IXMLDOMElementPtr item = Element(L"//pv:Item[@pv:Id='17']");
  ASSERT_TRUE(item);
  LONG id = 0;
  EXPECT_TRUE(DOMUtility::GetLongAttribute(item, L"pv:Id", &id));
  EXPECT_EQ(id, 17);
  LONG spaced = 0;
  EXPECT_TRUE(DOMUtility::GetLongAttribute(item, L"Spaced", &spaced));
  EXPECT_EQ(spaced, 42);
  int64_t big = 0;
  EXPECT_TRUE(DOMUtility::GetLONGLONGAttribute(item, L"Big", &big));
  EXPECT_EQ(big, -9000000000LL);
  uint64_t huge = 0;
  EXPECT_TRUE(DOMUtility::GetULONGLONGAttribute(item, L"Huge", &huge));
  EXPECT_EQ(huge, 18000000000000000000ULL);
  double ratio = 0;
  EXPECT_TRUE(DOMUtility::GetDoubleAttribute(item, L"Ratio", &ratio));
  EXPECT_EQ(ratio, 0.25);
  float ratioF = 0;
  EXPECT_TRUE(DOMUtility::GetFloatAttribute(item, L"Ratio", &ratioF));
  EXPECT_EQ(ratioF, 0.25f);
  EXPECT_EQ(pvtest::LoggedSinceClear(), std::vector<std::wstring>{});

  LONG text = 5;
  EXPECT_FALSE(DOMUtility::GetLongAttribute(item, L"Text", &text));
  EXPECT_EQ(text, 5);
  EXPECT_EQ(pvtest::LoggedSinceClear(),
            std::vector<std::wstring>{L"DOMUtility::GetLongAttribute: Failed to parse attribute value."});
  orvolog::ClearRecords();
  EXPECT_FALSE(DOMUtility::GetLongAttribute(item, L"Missing", &text));
  EXPECT_EQ(pvtest::LoggedSinceClear(), std::vector<std::wstring>{});
}

TEST_F(DomUtility, ANullElementRaisesEPointer) {
  IXMLDOMElementPtr none;
  _bstr_t value;
  try {
    DOMUtility::GetStringAttribute(none, L"Name", &value);
    ADD_FAILURE() << "no exception";
  } catch (const _com_error& error) {
    EXPECT_EQ(Hr(E_POINTER), Hr(error.Error()));
  }
}

TEST_F(DomUtility, AnExpressionThatDoesNotParseRaises) {
  IXMLDOMNodePtr node;
  try {
    DOMUtility::SelectFirstNode(&node, IXMLDOMNodePtr(m_document), L"//pv:Item[");
    ADD_FAILURE() << "no exception";
  } catch (const _com_error& error) {
    EXPECT_EQ(Hr(E_FAIL), Hr(error.Error()));
  }
}

TEST_F(DomUtility, SettersWriteTextThatTheGettersReadBack) {
  IXMLDOMElementPtr root;
  ASSERT_EQ(Hr(S_OK), Hr(m_document->get_documentElement(&root)));
  IXMLDOMElementPtr added;
  ASSERT_EQ(Hr(S_OK), Hr(DOMUtility::AppendElement(IXMLDOMDocumentPtr(m_document), IXMLDOMNodePtr(root),
                                                   L"Added", &added)));
  EXPECT_EQ(Hr(S_OK), Hr(DOMUtility::SetLongAttribute(added, L"Long", -12)));
  EXPECT_EQ(Hr(S_OK), Hr(DOMUtility::SetLONGLONGAttribute(added, L"Big", -9000000000LL)));
  EXPECT_EQ(Hr(S_OK), Hr(DOMUtility::SetULONGLONGAttribute(added, L"Huge", 18000000000000000000ULL)));
  EXPECT_EQ(Hr(S_OK), Hr(DOMUtility::SetStringAttribute(added, L"pv:Name", L"Zero <point>")));

  IXMLDOMElementPtr found = Element(L"/pv:ExtendedInfo/Added[@pv:Name='Zero <point>']");
  ASSERT_TRUE(found);
  LONG value = 0;
  EXPECT_TRUE(DOMUtility::GetLongAttribute(found, L"Long", &value));
  EXPECT_EQ(value, -12);
  uint64_t huge = 0;
  EXPECT_TRUE(DOMUtility::GetULONGLONGAttribute(found, L"Huge", &huge));
  EXPECT_EQ(huge, 18000000000000000000ULL);
  BSTR xml = nullptr;
  ASSERT_EQ(Hr(S_OK), Hr(found->get_xml(&xml)));
  EXPECT_EQ(std::wstring(xml),
            L"<Added Long=\"-12\" Big=\"-9000000000\" Huge=\"18000000000000000000\" pv:Name=\"Zero "
            L"&lt;point&gt;\"/>");
  SysFreeString(xml);
}

}  // namespace
