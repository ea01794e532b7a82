// String resources (LoadStringW on the resource handle) with the class library's own
// strings, and the message box by string id.
#include <afxwin.h>

#include <string>

#include "mfc_internal.h"

namespace {
// The class library's own strings, found when the resource handle's module has
// no string of that id (on the platform they live in the class library's
// resources).
struct ClassLibraryString {
  UINT id;
  const wchar_t* text;
};
constexpr ClassLibraryString kClassLibraryStrings[] = {
    {AFX_IDP_FAILED_TO_LAUNCH_HELP, L"Failed to launch help."},
};
}  // namespace

BOOL CString::LoadString(HINSTANCE hInstance, UINT nId) {
  // A string resource has at most 65535 characters; a result that fills the
  // buffer may have been cut, so the buffer grows until it does not.
  constexpr int kLongestString = 65535;
  for (int size = 256;; size *= 2) {
    std::wstring buffer(static_cast<size_t>(size), L'\0');
    const int length = ::LoadStringW(hInstance, nId, buffer.data(), size);
    if (length <= 0) return FALSE;
    if (length < size - 1 || size > kLongestString) {
      buffer.resize(static_cast<size_t>(length));
      Commit(std::move(buffer));
      return TRUE;
    }
  }
}

BOOL CString::LoadString(UINT nId) {
  if (LoadString(AfxGetResourceHandle(), nId)) return TRUE;
  for (const ClassLibraryString& entry : kClassLibraryStrings)
    if (entry.id == nId) {
      *this = entry.text;
      return TRUE;
    }
  return FALSE;
}

int AFXAPI AfxMessageBox(UINT nIDPrompt, UINT nType, UINT nIDHelp) {
  CString text;
  text.LoadString(nIDPrompt);  // a prompt without a string shows an empty text
  return platform::mfc::detail::RecordMessageBox(text, nIDPrompt, nType,
                                                 nIDHelp == static_cast<UINT>(-1) ? nIDPrompt : nIDHelp);
}
