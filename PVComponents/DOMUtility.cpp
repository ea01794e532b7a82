#include "DOMUtility.h"

#include <clocale>
#include <cstdio>
#include <cwchar>
#include <locale.h>

#include "PVLog.h"

namespace {

constexpr CPVSourceLog Log(L"DOMUtility");

// The attribute as text through getAttribute; false for an absent attribute or a value that
// does not convert. A failing call raises.
bool ReadAttributeText(const IXMLDOMElementPtr& element, const wchar_t* name, _bstr_t* text) {
  _variant_t value;
  _bstr_t attributeName(name);
  const HRESULT hr = element->getAttribute(attributeName, &value);
  if (FAILED(hr)) _com_issue_error(hr);
  if (value.vt == VT_NULL) return false;
  if (value.vt != VT_BSTR && FAILED(VariantChangeType(&value, &value, 0, VT_BSTR))) return false;
  *text = _bstr_t(value.bstrVal, true);
  return true;
}

// swscanf with the "C" numeric conventions, whatever the thread's locale is.
template <class T>
int ScanInClassicLocale(const wchar_t* text, const wchar_t* format, T* out) {
#if defined(_WIN32)
  struct Holder {
    _locale_t locale = _create_locale(LC_NUMERIC, "C");
    ~Holder() { _free_locale(locale); }
  };
  static const Holder classic;
  return classic.locale ? _swscanf_l(text, format, classic.locale, out) : swscanf(text, format, out);
#else
  locale_t c = newlocale(LC_NUMERIC_MASK, "C", static_cast<locale_t>(0));
  locale_t previous = c ? uselocale(c) : static_cast<locale_t>(0);
  const int fields = swscanf(text, format, out);
  if (c) {
    uselocale(previous);
    freelocale(c);
  }
  return fields;
#endif
}

// Scans the attribute's text with one conversion; in the C locale when asked.
template <class T>
bool ScanAttribute(const IXMLDOMElementPtr& element, const wchar_t* name, const wchar_t* format, T* out,
                   const wchar_t* function, bool cLocale = false) {
  _bstr_t text;
  if (!ReadAttributeText(element, name, &text)) return false;
  const wchar_t* chars = static_cast<const wchar_t*>(text);
  if (!chars) chars = L"";
  const int fields = cLocale ? ScanInClassicLocale(chars, format, out) : swscanf(chars, format, out);
  if (fields < 1) {
    Log(L"Failed to parse attribute value.", function, __LINE__);
    return false;
  }
  return true;
}

HRESULT SetAttributeText(const IXMLDOMElementPtr& element, const wchar_t* name, const wchar_t* value) {
  return element->setAttribute(_bstr_t(name), _variant_t(value));
}

}  // namespace

namespace DOMUtility {

bool GetStringAttribute(const IXMLDOMElementPtr& element, const wchar_t* name, _bstr_t* out) {
  _variant_t value;
  const HRESULT hr = element->getAttribute(_bstr_t(name), &value);
  if (FAILED(hr)) {
    Log(L"Failed to get string attribute.", L"DOMUtility::GetStringAttribute", __LINE__);
    return false;
  }
  if (value.vt == VT_NULL) return false;
  if (value.vt != VT_BSTR && FAILED(VariantChangeType(&value, &value, 0, VT_BSTR))) return false;
  if (out) out->Attach(value.Detach().bstrVal);
  return true;
}

bool GetLongAttribute(const IXMLDOMElementPtr& element, const wchar_t* name, LONG* out) {
  int value = 0;
  if (!ScanAttribute(element, name, L"%d", &value, L"DOMUtility::GetLongAttribute")) return false;
  if (out) *out = value;
  return true;
}

bool GetLONGLONGAttribute(const IXMLDOMElementPtr& element, const wchar_t* name, int64_t* out) {
  long long value = 0;
  if (!ScanAttribute(element, name, L"%lld", &value, L"DOMUtility::GetLONGLONGAttribute")) return false;
  if (out) *out = value;
  return true;
}

bool GetULONGLONGAttribute(const IXMLDOMElementPtr& element, const wchar_t* name, uint64_t* out) {
  unsigned long long value = 0;
  if (!ScanAttribute(element, name, L"%llu", &value, L"DOMUtility::GetULONGLONGAttribute")) return false;
  if (out) *out = value;
  return true;
}

bool GetDoubleAttribute(const IXMLDOMElementPtr& element, const wchar_t* name, double* out) {
  double value = 0;
  if (!ScanAttribute(element, name, L"%lf", &value, L"DOMUtility::GetDoubleAttribute", true)) return false;
  if (out) *out = value;
  return true;
}

bool GetFloatAttribute(const IXMLDOMElementPtr& element, const wchar_t* name, float* out) {
  float value = 0;
  if (!ScanAttribute(element, name, L"%f", &value, L"DOMUtility::GetFloatAttribute", true)) return false;
  if (out) *out = value;
  return true;
}

HRESULT SetStringAttribute(const IXMLDOMElementPtr& element, const wchar_t* name, const wchar_t* value) {
  return SetAttributeText(element, name, value ? value : L"");
}

HRESULT SetLongAttribute(const IXMLDOMElementPtr& element, const wchar_t* name, LONG value) {
  wchar_t text[16];
  swprintf(text, 16, L"%d", static_cast<int>(value));
  return SetAttributeText(element, name, text);
}

HRESULT SetLONGLONGAttribute(const IXMLDOMElementPtr& element, const wchar_t* name, int64_t value) {
  wchar_t text[32];
  swprintf(text, 32, L"%lld", static_cast<long long>(value));
  return SetAttributeText(element, name, text);
}

HRESULT SetULONGLONGAttribute(const IXMLDOMElementPtr& element, const wchar_t* name, uint64_t value) {
  wchar_t text[32];
  swprintf(text, 32, L"%llu", static_cast<unsigned long long>(value));
  return SetAttributeText(element, name, text);
}

void SelectFirstNode(IXMLDOMNode** node, const IXMLDOMNodePtr& context, const wchar_t* xpath) {
  if (!node) _com_issue_error(E_POINTER);
  *node = nullptr;
  IXMLDOMNodeListPtr list;
  HRESULT hr = context->selectNodes(_bstr_t(xpath), &list);
  if (FAILED(hr)) _com_issue_error(hr);
  LONG length = 0;
  hr = list->get_length(&length);
  if (FAILED(hr)) _com_issue_error(hr);
  if (length <= 0) return;
  hr = list->get_item(0, node);
  if (FAILED(hr)) _com_issue_error(hr);
}

HRESULT AppendElement(const IXMLDOMDocumentPtr& document, const IXMLDOMNodePtr& parent, const wchar_t* name,
                      IXMLDOMElement** element) {
  if (!element) return E_POINTER;
  *element = nullptr;
  IXMLDOMElementPtr created;
  HRESULT hr = document->createElement(_bstr_t(name), &created);
  if (FAILED(hr)) return hr;
  hr = parent->appendChild(created, nullptr);
  if (FAILED(hr)) return hr;
  *element = created.Detach();
  return S_OK;
}

HRESULT CreateDOMDocument(IXMLDOMDocument2** document) {
  if (!document) return E_POINTER;
  *document = nullptr;
  IXMLDOMDocument2Ptr created;
  HRESULT hr = created.CreateInstance(CLSID_DOMDocument60, nullptr, CLSCTX_INPROC_SERVER);
  if (FAILED(hr)) return hr;
  hr = created->setProperty(_bstr_t(L"SelectionLanguage"), _variant_t(L"XPath"));
  if (FAILED(hr)) return hr;
  *document = created.Detach();
  return S_OK;
}

}  // namespace DOMUtility
