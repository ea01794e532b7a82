// BSTR allocation. A BSTR points just past an 8-byte header whose last 4 bytes hold the byte
// length; the text is followed by at least one zero OLECHAR, so a BSTR is also a terminated
// wide string (and the characters stay aligned for wchar_t).
#include "oleauto.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <limits>

namespace {

constexpr size_t kHeaderBytes = 8;

DWORD& ByteLength(BSTR bstr) {
  return *reinterpret_cast<DWORD*>(reinterpret_cast<BYTE*>(bstr) - sizeof(DWORD));
}

void* BlockOf(BSTR bstr) {
  return reinterpret_cast<BYTE*>(bstr) - kHeaderBytes;
}

// A BSTR of byteCount bytes, all zero, with room for the terminator after them.
BSTR AllocateBytes(size_t byteCount) {
  if (byteCount > std::numeric_limits<DWORD>::max() - 2 * sizeof(OLECHAR)) return nullptr;
  const size_t units = (byteCount + sizeof(OLECHAR) - 1) / sizeof(OLECHAR) + 1;
  void* block = std::calloc(1, kHeaderBytes + units * sizeof(OLECHAR));
  if (!block) return nullptr;
  auto bstr = reinterpret_cast<BSTR>(static_cast<BYTE*>(block) + kHeaderBytes);
  ByteLength(bstr) = static_cast<DWORD>(byteCount);
  return bstr;
}

BSTR AllocateCopy(const void* source, size_t byteCount) {
  BSTR bstr = AllocateBytes(byteCount);
  if (bstr && source) std::memcpy(bstr, source, byteCount);
  return bstr;
}

}  // namespace

BSTR SysAllocString(const OLECHAR* psz) {
  if (!psz) return nullptr;
  return AllocateCopy(psz, std::wcslen(psz) * sizeof(OLECHAR));
}

BSTR SysAllocStringLen(const OLECHAR* strIn, UINT ui) {
  if (ui > std::numeric_limits<DWORD>::max() / sizeof(OLECHAR)) return nullptr;
  return AllocateCopy(strIn, size_t{ui} * sizeof(OLECHAR));
}

BSTR SysAllocStringByteLen(LPCSTR psz, UINT len) {
  return AllocateCopy(psz, len);
}

namespace {

// How many of the wanted characters to copy from source: those up to the end of old's text
// when source points into it, else all of them.
size_t CharactersToCopy(BSTR old, const OLECHAR* source, size_t wanted) {
  if (!old) return wanted;
  const OLECHAR* end = old + SysStringLen(old);
  if (source < old || source > end) return wanted;
  return std::min(wanted, static_cast<size_t>(end - source));
}

}  // namespace

INT SysReAllocStringLen(BSTR* pbstr, const OLECHAR* psz, UINT len) {
  if (!pbstr) return FALSE;
  // Before freeing: psz may point into *pbstr. Then only its own characters are copied, as
  // growing the string in place keeps its text; the new ones past them are zero here (the
  // platform leaves them undefined, so nothing may rely on them).
  BSTR copy = SysAllocStringLen(nullptr, len);
  if (!copy) return FALSE;
  if (psz) std::memcpy(copy, psz, CharactersToCopy(*pbstr, psz, len) * sizeof(OLECHAR));
  SysFreeString(*pbstr);
  *pbstr = copy;
  return TRUE;
}

INT SysReAllocString(BSTR* pbstr, const OLECHAR* psz) {
  if (!pbstr) return FALSE;
  if (!psz) {
    SysFreeString(*pbstr);
    *pbstr = nullptr;
    return TRUE;
  }
  return SysReAllocStringLen(pbstr, psz, static_cast<UINT>(std::wcslen(psz)));
}

void SysFreeString(BSTR bstrString) {
  if (bstrString) std::free(BlockOf(bstrString));
}

UINT SysStringByteLen(BSTR bstr) {
  return bstr ? ByteLength(bstr) : 0;
}

UINT SysStringLen(BSTR pbstr) {
  return SysStringByteLen(pbstr) / sizeof(OLECHAR);
}
