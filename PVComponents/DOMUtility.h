// Helpers over the XML DOM: typed attribute access, first-node selection, element creation
// and the document the framework's XML readers and writers start from.
// The attribute readers give false for an absent attribute without logging; a null element
// raises E_POINTER as _com_error, as do failures of the DOM calls where noted.
#pragma once

#include <msxml6ptr.h>

#include <cstdint>

namespace DOMUtility {

// The attribute's text (the value converted to text when it is not one); out takes it over.
// A failing getAttribute is logged and gives false.
bool GetStringAttribute(const IXMLDOMElementPtr& element, const wchar_t* name, _bstr_t* out);

// The attribute read as a number ("%d", "%lld", "%llu"; "%lf" and "%f" in the C locale). A
// text that does not start with a number is logged and gives false; a failing getAttribute
// raises.
bool GetLongAttribute(const IXMLDOMElementPtr& element, const wchar_t* name, LONG* out);
bool GetLONGLONGAttribute(const IXMLDOMElementPtr& element, const wchar_t* name, int64_t* out);
bool GetULONGLONGAttribute(const IXMLDOMElementPtr& element, const wchar_t* name, uint64_t* out);
bool GetDoubleAttribute(const IXMLDOMElementPtr& element, const wchar_t* name, double* out);
bool GetFloatAttribute(const IXMLDOMElementPtr& element, const wchar_t* name, float* out);

// setAttribute with the value as text ("%d", "%lld", "%llu" or as given); its HRESULT.
HRESULT SetStringAttribute(const IXMLDOMElementPtr& element, const wchar_t* name, const wchar_t* value);
HRESULT SetLongAttribute(const IXMLDOMElementPtr& element, const wchar_t* name, LONG value);
HRESULT SetLONGLONGAttribute(const IXMLDOMElementPtr& element, const wchar_t* name, int64_t value);
HRESULT SetULONGLONGAttribute(const IXMLDOMElementPtr& element, const wchar_t* name, uint64_t value);

// *node: the first node the XPath expression selects from context (a new reference), or
// null. Failures of the DOM calls raise.
void SelectFirstNode(IXMLDOMNode** node, const IXMLDOMNodePtr& context, const wchar_t* xpath);

// A new element named name appended to parent; *element receives it. The DOM call's HRESULT.
HRESULT AppendElement(const IXMLDOMDocumentPtr& document, const IXMLDOMNodePtr& parent, const wchar_t* name,
                      IXMLDOMElement** element);

// A new DOMDocument60 with "SelectionLanguage" set to "XPath".
HRESULT CreateDOMDocument(IXMLDOMDocument2** document);

}  // namespace DOMUtility
