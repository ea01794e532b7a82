#include "PVInputErrors.h"

#include <HostServices.h>
#include <winbase.h>

#include <algorithm>
#include <array>
#include <initializer_list>

#include "PromptInfo.h"
#include "PromptServerWrapper.h"

namespace {

// Formats the prompt's text with the inserts (FormatMessageW from a string, the arguments as
// an array); the text changes only when that succeeds.
HRESULT FormatPromptText(CPromptInfo* prompt, const DWORD_PTR* inserts) {
  LPWSTR buffer = nullptr;
  const DWORD length = FormatMessageW(
      FORMAT_MESSAGE_FROM_STRING | FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_ARGUMENT_ARRAY,
      prompt->m_text.GetString(), 0, 0, reinterpret_cast<LPWSTR>(&buffer), 0,
      reinterpret_cast<va_list*>(const_cast<DWORD_PTR*>(inserts)));
  if (length == 0 || !buffer) {
    const DWORD error = GetLastError();
    if (buffer) LocalFree(buffer);
    // An empty text formats to nothing: that is no failure.
    if (prompt->m_text.IsEmpty()) return S_OK;
    return error ? HRESULT_FROM_WIN32(error) : E_FAIL;
  }
  prompt->m_text = CString(buffer, static_cast<int>(length));
  LocalFree(buffer);
  return S_OK;
}

// The prompt texts are the host's: a text may name more inserts than the caller passes. Every
// insert number the format can name (1 to 99) therefore has an argument; the ones the caller
// does not give are empty texts.
constexpr size_t kInsertSlots = 99;

HRESULT FormatWith(LONG promptId, CPromptInfo* prompt, std::initializer_list<DWORD_PTR> given) {
  const HRESULT hr = GetErrorPromptInfo(promptId, prompt);
  if (FAILED(hr)) return hr;
  std::array<DWORD_PTR, kInsertSlots> inserts;
  inserts.fill(reinterpret_cast<DWORD_PTR>(L""));
  std::copy(given.begin(), given.end(), inserts.begin());
  return FormatPromptText(prompt, inserts.data());
}

DWORD_PTR NumberInsert(LONG value) {
  return static_cast<DWORD_PTR>(static_cast<intptr_t>(value));
}

}  // namespace

bool IsPVErrorCode(HRESULT code) {
  return static_cast<ULONG>(code) - static_cast<ULONG>(PV_E_FIRST_INPUT_ERROR) < 44u;
}

HRESULT GetErrorPromptInfo(LONG promptId, CPromptInfo* prompt) {
  if (!prompt) return E_INVALIDARG;
  CPromptServerWrapper server;
  const HRESULT hr = server.Initialize(&CLSID_PVInputPromptServer, nullptr);
  if (FAILED(hr)) return hr;
  return server.GetPrompt(promptId, prompt);
}

HRESULT FormatErrorPromptInfo(LONG promptId, const wchar_t* insert1, CPromptInfo* prompt) {
  return FormatWith(promptId, prompt, {reinterpret_cast<DWORD_PTR>(insert1 ? insert1 : L"")});
}

HRESULT FormatErrorPromptInfo2(LONG promptId, const wchar_t* insert1, const wchar_t* insert2,
                               CPromptInfo* prompt) {
  return FormatWith(promptId, prompt,
                    {reinterpret_cast<DWORD_PTR>(insert1 ? insert1 : L""),
                     reinterpret_cast<DWORD_PTR>(insert2 ? insert2 : L"")});
}

HRESULT FormatErrorPromptInfo3(LONG promptId, LONG insert1, LONG insert2, LONG insert3, CPromptInfo* prompt) {
  return FormatWith(promptId, prompt, {NumberInsert(insert1), NumberInsert(insert2), NumberInsert(insert3)});
}

void PrefixPromptText(CPromptInfo* prompt, const wchar_t* memberName) {
  if (!prompt || !memberName) return;
  CString text(memberName);
  text += L":  ";
  text += prompt->m_text;
  prompt->m_text = text;
}
