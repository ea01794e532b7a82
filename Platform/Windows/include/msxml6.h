// MSXML 6 as the platform's SDK declares it, for the toolchain, whose headers have the DOM's
// interfaces (msxml2.h) but neither this header, the version 6 document's class id nor the
// interface ids as __uuidof constants. The DOM itself is the platform's, created with
// CoCreateInstance(CLSID_DOMDocument60).
#pragma once

#include <msxml2.h>

#include <comdecl.h>
#include <platform/guid_text.h>

DECLARE_UUIDOF(IXMLDOMNode, "2933BF80-7B36-11D2-B20E-00C04F983E60");
DECLARE_UUIDOF(IXMLDOMNodeList, "2933BF82-7B36-11D2-B20E-00C04F983E60");
DECLARE_UUIDOF(IXMLDOMElement, "2933BF86-7B36-11D2-B20E-00C04F983E60");
DECLARE_UUIDOF(IXMLDOMAttribute, "2933BF85-7B36-11D2-B20E-00C04F983E60");
DECLARE_UUIDOF(IXMLDOMDocument, "2933BF81-7B36-11D2-B20E-00C04F983E60");
DECLARE_UUIDOF(IXMLDOMNamedNodeMap, "2933BF83-7B36-11D2-B20E-00C04F983E60");
DECLARE_UUIDOF(IXMLDOMDocumentType, "2933BF8B-7B36-11D2-B20E-00C04F983E60");
DECLARE_UUIDOF(IXMLDOMParseError, "3EFAA426-272F-11D2-836F-0000F87A7782");
DECLARE_UUIDOF(IXMLDOMDocument2, "2933BF95-7B36-11D2-B20E-00C04F983E60");

inline constexpr CLSID CLSID_DOMDocument60 = ::platform::GuidFromText("88D96A05-F192-11D4-A65F-0040963251E5");
