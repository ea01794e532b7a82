// The panel's extended information from the host: titles, expanded state, help and the
// page-id map, and the sub-item document built from the same map.
//
// The host's elements are in the namespace "xsdPV"; the readers bind the prefix pv to it through
// the DOM's selection namespaces, so the host's document may use any prefix of its own.
#include "PVPanel.h"

#include <objbase.h>

#include <new>
#include <string>

#include "DOMUtility.h"
#include "FilePath.h"
#include "OrvoWinApp.h"
#include "PVLog.h"

namespace {

constexpr CPVSourceLog Log(L"PVPanelExtendedInfo");

constexpr DWORD kDomContext = 0x17;  // CLSCTX_ALL
constexpr wchar_t kSelectionNamespaces[] = L"xmlns:pv='xsdPV'";
constexpr LCID kFallbackHelpLanguage = 1033;

constexpr wchar_t kPanelTitlePath[] = L"ExtendedInfo/pv:PVPanelTitle/pv:Text[@LCID='%lu']";
constexpr wchar_t kBannerTitlePath[] = L"ExtendedInfo/pv:PVBannerTitle/pv:Text[@LCID='%lu']";
constexpr wchar_t kPanelStatePath[] = L"ExtendedInfo/pv:PVPanelState";
constexpr wchar_t kHelpPath[] = L"ExtendedInfo/pv:Help";
constexpr wchar_t kPageMapItemsPath[] = L"ExtendedInfo/pv:PVPageIdToClsidMap/pv:PVPageIdToClsidMapItem";

// The sub-item document: the module's fragment goes in front of the end tag.
constexpr wchar_t kSubItemsDocument[] =
    L"<ProfileViewDirectory xmlns=\"xsdPV\" xsi:schemaLocation=\"xsdPV PV.xsd\" "
    L"xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\"></ProfileViewDirectory>";
constexpr wchar_t kSubItemsEndTag[] = L"</ProfileViewDirectory>";
constexpr wchar_t kPageSetPath[] = L"/pv:ProfileViewDirectory/pv:PageSet";

constexpr wchar_t kDefaultPageId[] = L"*";

// A new DOM document (the platform's XML DOM class).
HRESULT CreateDom(IXMLDOMDocument2Ptr& document) {
  return document.CreateInstance(CLSID_DOMDocument60, nullptr, kDomContext);
}

CString TitlePath(const wchar_t* format, LCID lcid) {
  CString path;
  path.Format(format, static_cast<unsigned long>(lcid));
  return path;
}

// The text of the first node the path selects, or nothing.
bool SelectText(const IXMLDOMDocument2Ptr& document, const wchar_t* path, CString* text) {
  IXMLDOMNodePtr node;
  DOMUtility::SelectFirstNode(&node, document, path);
  if (!node) return false;
  _bstr_t value;
  const HRESULT hr = node->get_text(value.GetAddress());
  if (FAILED(hr)) _com_issue_error(hr);
  *text = static_cast<const wchar_t*>(value);
  return true;
}

// The first element the path selects, or null.
IXMLDOMElementPtr SelectElement(const IXMLDOMDocument2Ptr& document, const wchar_t* path) {
  IXMLDOMNodePtr node;
  DOMUtility::SelectFirstNode(&node, document, path);
  return node;  // null for nothing selected or a node that is not an element
}

std::wstring Text(const _bstr_t& text) {
  return std::wstring(static_cast<const wchar_t*>(text) ? static_cast<const wchar_t*>(text) : L"",
                      text.length());
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// Extended information

STDMETHODIMP CPVPanel::SetExtendedInfo(BSTR xml) {
  AFX_MANAGE_STATE(AfxGetStaticModuleState());
  constexpr wchar_t kFunction[] = L"CPVPanel::SetExtendedInfo";

  IXMLDOMDocument2Ptr document;
  HRESULT hr = CreateDom(document);
  if (FAILED(hr)) {
    Log(L"Failed to create DOM", kFunction, __LINE__);
    return hr;
  }
  VARIANT_BOOL loaded = VARIANT_FALSE;
  hr = document->loadXML(xml, &loaded);
  if (FAILED(hr) || loaded != VARIANT_TRUE) {
    // Ill-formed extended information changes nothing; the host is not told.
    Log(L"Failed to create XML DOM for PV extended info xml", kFunction, __LINE__);
    return S_OK;
  }
  hr = document->setProperty(_bstr_t(L"SelectionNamespaces"), _variant_t(kSelectionNamespaces));
  if (FAILED(hr)) {
    Log(L"Failed to set name space", kFunction, __LINE__);
    return hr;
  }
  COrvoWinApp* app = GetOrvoWinApp();
  if (!app) {
    Log(L"Bad application pointer.", kFunction, __LINE__);
    return E_UNEXPECTED;
  }
  const LCID language = app->GetLanguage();

  // The DOM helpers raise the failures of the DOM's own calls; none may leave this method.
  try {
    CString title;
    if (SelectText(document, TitlePath(kPanelTitlePath, language), &title)) m_strPanelTitle = title;
    if (SelectText(document, TitlePath(kBannerTitlePath, language), &title)) m_strBannerTitle = title;

    if (IXMLDOMElementPtr state = SelectElement(document, kPanelStatePath)) {
      _bstr_t expand;
      if (DOMUtility::GetStringAttribute(state, L"Expand", &expand)) {
        const std::wstring value = Text(expand);
        m_lDefaultExpandedState = value == L"True" || value == L"true" ? 1 : 0;
      }
    }

    if (IXMLDOMElementPtr help = SelectElement(document, kHelpPath)) {
      LONG helpId = 0;
      if (DOMUtility::GetLongAttribute(help, L"HelpID", &helpId)) m_pHelpId = std::make_unique<LONG>(helpId);
      _bstr_t helpFile;
      if (DOMUtility::GetStringAttribute(help, L"HelpFile", &helpFile)) {
        // The help file in the application's language, else in the fallback language, else none.
        CString path = GetHelpFilePathInProgramFiles(helpFile, language);
        if (!CFilePath::Exists(path)) path = GetHelpFilePathInProgramFiles(helpFile, kFallbackHelpLanguage);
        m_bstrHelpFile = CFilePath::Exists(path) ? _bstr_t(static_cast<const wchar_t*>(path)) : _bstr_t();
      }
      m_bCustomHelp = 1;
    }

    IXMLDOMNodeListPtr items;
    hr = document->selectNodes(_bstr_t(kPageMapItemsPath), &items);
    if (FAILED(hr)) _com_issue_error(hr);
    LONG count = 0;
    hr = items->get_length(&count);
    if (FAILED(hr)) _com_issue_error(hr);
    for (LONG index = 0; index < count; ++index) {
      IXMLDOMNodePtr node;
      hr = items->get_item(index, &node);
      if (FAILED(hr) || !node) {
        Log(L"Failed to PageId to ClsId map node from DOM", kFunction, __LINE__);
        return FAILED(hr) ? hr : E_FAIL;
      }
      IXMLDOMElementPtr item(node);
      if (!item) {
        Log(L"pElement is invalid", kFunction, __LINE__);
        return E_FAIL;
      }
      _bstr_t clsidText;
      if (!DOMUtility::GetStringAttribute(item, L"Clsid", &clsidText)) {
        Log(L"Failed to get page CLSID\n.", kFunction, __LINE__);
        return E_FAIL;
      }
      // Only checked: the map keeps the text as written.
      CLSID clsid = GUID_NULL;
      hr = CLSIDFromString(clsidText, &clsid);
      if (FAILED(hr)) {
        Log(L"Failed to get clsid from string", kFunction, __LINE__);
        return hr;
      }
      _bstr_t pageId;
      if (!DOMUtility::GetStringAttribute(item, L"PageId", &pageId)) {
        Log(L"Failed to get page Id\n.", kFunction, __LINE__);
        return E_FAIL;
      }
      if (Text(pageId) != kDefaultPageId) {
        _variant_t number(pageId);
        hr = VariantChangeType(&number, &number, 0, VT_I4);
        if (FAILED(hr)) {
          Log(L"Failed to convert pageId string to integer", kFunction, __LINE__);
          return hr;
        }
      }
      m_pageIdToClsid[Text(pageId)] = Text(clsidText);
    }
  } catch (const _com_error& error) {
    Log(L"Failed to read PV extended info xml", kFunction, __LINE__);
    return error.Error();
  }
  return S_OK;
}

// ---------------------------------------------------------------------------------------------
// Sub-item document

HRESULT CPVPanel::AddPageClsidAndXMLHeader(BSTR* pXml) {
  constexpr wchar_t kFunction[] = L"CPVPanel::AddPageClsidAndXMLHeader";
  if (!pXml) {
    Log(L"pXml is null", kFunction, __LINE__);
    return E_POINTER;
  }

  std::wstring text(kSubItemsDocument);
  const size_t endTag = text.rfind(kSubItemsEndTag);
  if (endTag == std::wstring::npos) {
    Log(L"subItemsXML is invalid.", kFunction, __LINE__);
    return E_FAIL;
  }
  try {
    text.insert(endTag, *pXml ? *pXml : L"", SysStringLen(*pXml));
  } catch (const std::bad_alloc&) {
    Log(L"Failed to add pXML", kFunction, __LINE__);
    return E_OUTOFMEMORY;
  }

  IXMLDOMDocument2Ptr document;
  HRESULT hr = CreateDom(document);
  if (FAILED(hr)) {
    Log(L"Failed to create DOM", kFunction, __LINE__);
    return hr;
  }
  VARIANT_BOOL loaded = VARIANT_FALSE;
  hr = document->loadXML(_bstr_t(text.c_str()), &loaded);
  if (FAILED(hr) || loaded != VARIANT_TRUE) {
    Log(L"Failed to create XML DOM for PV extended info xml", kFunction, __LINE__);
    return FAILED(hr) ? hr : E_FAIL;
  }
  hr = document->setProperty(_bstr_t(L"SelectionNamespaces"), _variant_t(kSelectionNamespaces));
  if (FAILED(hr)) {
    Log(L"Failed to set name space", kFunction, __LINE__);
    return hr;
  }

  IXMLDOMNodePtr pageSet;
  hr = document->selectSingleNode(_bstr_t(kPageSetPath), &pageSet);
  if (FAILED(hr) || !pageSet) {
    Log(L"Failed to get <PageSet> node", kFunction, __LINE__);
    return FAILED(hr) ? hr : E_FAIL;
  }
  IXMLDOMNodeListPtr pages;
  hr = pageSet->get_childNodes(&pages);
  if (FAILED(hr) || !pages) {
    Log(L"Failed to get <Page> nodes", kFunction, __LINE__);
    return FAILED(hr) ? hr : E_FAIL;
  }
  hr = RecursivelyAddPageClsid(pages, document);
  if (FAILED(hr)) {
    Log(L"Failed to add page clsid", kFunction, __LINE__);
    return hr;
  }

  _bstr_t result;
  hr = document->get_xml(result.GetAddress());
  if (FAILED(hr)) {
    Log(L"Failed to get the sub items document text", kFunction, __LINE__);
    return hr;
  }
  const _bstr_t replaced(*pXml, false);  // the fragment's text is freed as the document takes its place
  *pXml = result.Detach();
  return S_OK;
}

HRESULT CPVPanel::RecursivelyAddPageClsid(IXMLDOMNodeList* spPageNodes, IXMLDOMDocument* pDocument) {
  constexpr wchar_t kFunction[] = L"CPVPanel::RecursivelyAddPageClsid";
  if (!spPageNodes || !pDocument) {
    Log(L"spPageNodes is invalid", kFunction, __LINE__);
    return E_POINTER;
  }
  LONG count = 0;
  HRESULT hr = spPageNodes->get_length(&count);
  if (FAILED(hr)) {
    Log(L"spPageNodes is invalid", kFunction, __LINE__);
    return hr;
  }
  for (LONG index = 0; index < count; ++index) {
    IXMLDOMNodePtr node;
    hr = spPageNodes->get_item(index, &node);
    if (FAILED(hr) || !node) {
      Log(L"Failed to get page node from DOM\n.", kFunction, __LINE__);
      return FAILED(hr) ? hr : E_FAIL;
    }
    IXMLDOMElementPtr page(node);
    if (!page) {
      Log(L"pElement is invalid", kFunction, __LINE__);
      return E_FAIL;
    }
    LONG id = 0;
    bool haveId = false;
    try {
      haveId = DOMUtility::GetLongAttribute(page, L"Id", &id);
    } catch (const _com_error& error) {
      Log(L"Failed to get page CLSID\n.", kFunction, __LINE__);
      return error.Error();
    }
    if (!haveId) {
      Log(L"Failed to get page CLSID\n.", kFunction, __LINE__);
      return E_FAIL;
    }
    CString idText;
    idText.Format(L"%u", static_cast<unsigned>(id));
    auto entry = m_pageIdToClsid.find(std::wstring(idText.GetString()));
    if (entry == m_pageIdToClsid.end()) entry = m_pageIdToClsid.find(kDefaultPageId);
    if (entry == m_pageIdToClsid.end()) {
      Log(L"Failed to find pageId\n.", kFunction, __LINE__);
      return E_FAIL;
    }

    IXMLDOMAttributePtr clsid;
    hr = pDocument->createAttribute(_bstr_t(L"Clsid"), &clsid);
    if (FAILED(hr) || !clsid) {
      Log(L"createAttribute failed", kFunction, __LINE__);
      return FAILED(hr) ? hr : E_FAIL;
    }
    hr = clsid->put_value(_variant_t(entry->second.c_str()));
    if (SUCCEEDED(hr)) hr = page->setAttributeNode(clsid, nullptr);
    if (FAILED(hr)) {
      Log(L"Failed to set page clsid attribute", kFunction, __LINE__);
      return hr;
    }

    IXMLDOMNodeListPtr children;
    hr = page->get_childNodes(&children);
    if (SUCCEEDED(hr)) hr = RecursivelyAddPageClsid(children, pDocument);
    if (FAILED(hr)) {
      Log(L"Failed to update page clsid for child pages", kFunction, __LINE__);
      return hr;
    }
  }
  return S_OK;
}
