// SAFEARRAY of one dimension. The descriptor is allocated behind a small header that keeps the
// element type (FADF_HAVEVARTYPE) or the elements' IID (FADF_HAVEIID), as the platform keeps
// them just before the descriptor. The element data is a separate zeroed block.
#include "com_internal.h"

#include <cstdlib>
#include <new>

using platform::com::ValueSize;

namespace {

struct ArrayBlock {
  GUID iid;
  VARTYPE vt;
  SAFEARRAY descriptor;
};

ArrayBlock* BlockOf(SAFEARRAY* psa) {
  return reinterpret_cast<ArrayBlock*>(reinterpret_cast<BYTE*>(psa) - offsetof(ArrayBlock, descriptor));
}

// The features that say which elements the array owns.
USHORT OwnershipFeature(VARTYPE vt) {
  switch (vt) {
    case VT_BSTR:
      return FADF_BSTR;
    case VT_VARIANT:
      return FADF_VARIANT;
    case VT_UNKNOWN:
      return FADF_UNKNOWN;
    case VT_DISPATCH:
      return FADF_DISPATCH;
    default:
      return 0;
  }
}

constexpr USHORT kInterfaceFeatures = FADF_UNKNOWN | FADF_DISPATCH;

void* ElementAt(SAFEARRAY* psa, ULONG index) {
  return static_cast<BYTE*>(psa->pvData) + size_t{index} * psa->cbElements;
}

// Releases what one element owns and zeroes it.
void ReleaseElement(SAFEARRAY* psa, void* element) {
  if (psa->fFeatures & FADF_BSTR) {
    SysFreeString(*static_cast<BSTR*>(element));
  } else if (psa->fFeatures & FADF_VARIANT) {
    VariantClear(static_cast<VARIANT*>(element));
  } else if (psa->fFeatures & kInterfaceFeatures) {
    if (IUnknown* unknown = *static_cast<IUnknown**>(element)) unknown->Release();
  }
  std::memset(element, 0, psa->cbElements);
}

// Copies one element into target, which owns nothing: BSTR duplicated, VARIANT copied,
// interface AddRef'd, other types byte for byte.
HRESULT CopyElement(const SAFEARRAY* psa, void* target, const void* source) {
  if (psa->fFeatures & FADF_BSTR) {
    const BSTR text = *static_cast<const BSTR*>(source);
    BSTR copy =
        text ? SysAllocStringByteLen(reinterpret_cast<LPCSTR>(text), SysStringByteLen(text)) : nullptr;
    if (text && !copy) return E_OUTOFMEMORY;
    *static_cast<BSTR*>(target) = copy;
  } else if (psa->fFeatures & FADF_VARIANT) {
    VariantInit(static_cast<VARIANT*>(target));
    return VariantCopy(static_cast<VARIANT*>(target), static_cast<const VARIANT*>(source));
  } else if (psa->fFeatures & kInterfaceFeatures) {
    IUnknown* unknown = *static_cast<IUnknown* const*>(source);
    if (unknown) unknown->AddRef();
    *static_cast<IUnknown**>(target) = unknown;
  } else {
    std::memcpy(target, source, psa->cbElements);
  }
  return S_OK;
}

void ReleaseElements(SAFEARRAY* psa, ULONG from) {
  for (ULONG i = from; i < psa->rgsabound[0].cElements; ++i) ReleaseElement(psa, ElementAt(psa, i));
}

void FreeArray(SAFEARRAY* psa) {
  std::free(psa->pvData);
  BlockOf(psa)->~ArrayBlock();
  std::free(BlockOf(psa));
}

// A zeroed array of the type, bound and features given (the type features are added here).
SAFEARRAY* AllocateArray(VARTYPE vt, const SAFEARRAYBOUND& bound, const GUID* iid) {
  const ULONG size = ValueSize(vt);
  if (size == 0) return nullptr;
  void* memory = std::calloc(1, sizeof(ArrayBlock));
  if (!memory) return nullptr;
  auto* block = new (memory) ArrayBlock{};
  block->vt = vt;
  SAFEARRAY* psa = &block->descriptor;
  psa->cDims = 1;
  psa->cbElements = size;
  psa->rgsabound[0] = bound;
  psa->fFeatures = OwnershipFeature(vt);
  if (iid && (vt == VT_UNKNOWN || vt == VT_DISPATCH)) {
    block->iid = *iid;
    psa->fFeatures |= FADF_HAVEIID;
  } else {
    psa->fFeatures |= FADF_HAVEVARTYPE;
  }
  psa->pvData = std::calloc(bound.cElements ? bound.cElements : 1, size);
  if (!psa->pvData) {
    FreeArray(psa);
    return nullptr;
  }
  return psa;
}

// The element's position for rgIndices, or DISP_E_BADINDEX.
HRESULT IndexOf(const SAFEARRAY* psa, const LONG* rgIndices, ULONG& index) {
  const int64_t offset = int64_t{rgIndices[0]} - psa->rgsabound[0].lLbound;
  if (offset < 0 || offset >= int64_t{psa->rgsabound[0].cElements}) return DISP_E_BADINDEX;
  index = static_cast<ULONG>(offset);
  return S_OK;
}

}  // namespace

SAFEARRAY* SafeArrayCreateEx(VARTYPE vt, UINT cDims, SAFEARRAYBOUND* rgsabound, void* pvExtra) {
  if (cDims != 1 || !rgsabound) return nullptr;  // the stand-in makes one-dimensional arrays only
  return AllocateArray(vt, rgsabound[0], static_cast<const GUID*>(pvExtra));
}

SAFEARRAY* SafeArrayCreate(VARTYPE vt, UINT cDims, SAFEARRAYBOUND* rgsabound) {
  return SafeArrayCreateEx(vt, cDims, rgsabound, nullptr);
}

SAFEARRAY* SafeArrayCreateVector(VARTYPE vt, LONG lLbound, ULONG cElements) {
  SAFEARRAYBOUND bound{cElements, lLbound};
  return SafeArrayCreateEx(vt, 1, &bound, nullptr);
}

HRESULT SafeArrayDestroy(SAFEARRAY* psa) {
  if (!psa) return S_OK;
  if (psa->cLocks != 0) return DISP_E_ARRAYISLOCKED;
  ReleaseElements(psa, 0);
  FreeArray(psa);
  return S_OK;
}

HRESULT SafeArrayCopy(SAFEARRAY* psa, SAFEARRAY** ppsaOut) {
  if (!ppsaOut) return E_INVALIDARG;
  *ppsaOut = nullptr;
  if (!psa) return S_OK;
  ArrayBlock* block = BlockOf(psa);
  SAFEARRAY* copy =
      AllocateArray(block->vt, psa->rgsabound[0], (psa->fFeatures & FADF_HAVEIID) ? &block->iid : nullptr);
  if (!copy) return E_OUTOFMEMORY;
  for (ULONG i = 0; i < psa->rgsabound[0].cElements; ++i) {
    HRESULT hr = CopyElement(psa, ElementAt(copy, i), ElementAt(psa, i));
    if (FAILED(hr)) {
      SafeArrayDestroy(copy);
      return hr;
    }
  }
  *ppsaOut = copy;
  return S_OK;
}

HRESULT SafeArrayRedim(SAFEARRAY* psa, SAFEARRAYBOUND* psaboundNew) {
  if (!psa || !psaboundNew) return E_INVALIDARG;
  if (psa->cLocks != 0) return DISP_E_ARRAYISLOCKED;
  const ULONG count = psaboundNew->cElements;
  void* data = std::calloc(count ? count : 1, psa->cbElements);
  if (!data) return E_OUTOFMEMORY;
  ReleaseElements(psa, count);  // the elements that fall off
  const ULONG kept = count < psa->rgsabound[0].cElements ? count : psa->rgsabound[0].cElements;
  std::memcpy(data, psa->pvData, size_t{kept} * psa->cbElements);
  std::free(psa->pvData);
  psa->pvData = data;
  psa->rgsabound[0] = *psaboundNew;
  return S_OK;
}

UINT SafeArrayGetDim(SAFEARRAY* psa) {
  return psa ? psa->cDims : 0;
}

UINT SafeArrayGetElemsize(SAFEARRAY* psa) {
  return psa ? psa->cbElements : 0;
}

HRESULT SafeArrayGetLBound(SAFEARRAY* psa, UINT nDim, LONG* plLbound) {
  if (!psa || !plLbound) return E_INVALIDARG;
  if (nDim < 1 || nDim > psa->cDims) return DISP_E_BADINDEX;
  *plLbound = psa->rgsabound[0].lLbound;
  return S_OK;
}

HRESULT SafeArrayGetUBound(SAFEARRAY* psa, UINT nDim, LONG* plUbound) {
  if (!psa || !plUbound) return E_INVALIDARG;
  if (nDim < 1 || nDim > psa->cDims) return DISP_E_BADINDEX;
  *plUbound = static_cast<LONG>(int64_t{psa->rgsabound[0].lLbound} + psa->rgsabound[0].cElements - 1);
  return S_OK;
}

HRESULT SafeArrayGetVartype(SAFEARRAY* psa, VARTYPE* pvt) {
  if (!psa || !pvt) return E_INVALIDARG;
  if (psa->fFeatures & FADF_HAVEVARTYPE) {
    *pvt = BlockOf(psa)->vt;
  } else if (psa->fFeatures & FADF_HAVEIID) {
    *pvt = (psa->fFeatures & FADF_DISPATCH) ? VT_DISPATCH : VT_UNKNOWN;
  } else {
    return E_INVALIDARG;
  }
  return S_OK;
}

HRESULT SafeArrayPtrOfIndex(SAFEARRAY* psa, LONG* rgIndices, void** ppvData) {
  if (!psa || !rgIndices || !ppvData) return E_INVALIDARG;
  ULONG index = 0;
  HRESULT hr = IndexOf(psa, rgIndices, index);
  if (FAILED(hr)) return hr;
  *ppvData = ElementAt(psa, index);
  return S_OK;
}

HRESULT SafeArrayGetElement(SAFEARRAY* psa, LONG* rgIndices, void* pv) {
  if (!pv) return E_INVALIDARG;
  void* element = nullptr;
  HRESULT hr = SafeArrayPtrOfIndex(psa, rgIndices, &element);
  if (FAILED(hr)) return hr;
  return CopyElement(psa, pv, element);
}

HRESULT SafeArrayPutElement(SAFEARRAY* psa, LONG* rgIndices, void* pv) {
  void* element = nullptr;
  HRESULT hr = SafeArrayPtrOfIndex(psa, rgIndices, &element);
  if (FAILED(hr)) return hr;
  if (psa->fFeatures & (FADF_BSTR | kInterfaceFeatures)) {
    // pv is the BSTR or interface pointer itself.
    void* copy = nullptr;
    hr = CopyElement(psa, &copy, &pv);
    if (FAILED(hr)) return hr;
    ReleaseElement(psa, element);
    std::memcpy(element, &copy, sizeof copy);
    return S_OK;
  }
  if (!pv) return E_INVALIDARG;
  if (psa->fFeatures & FADF_VARIANT)
    return VariantCopy(static_cast<VARIANT*>(element), static_cast<VARIANT*>(pv));
  std::memcpy(element, pv, psa->cbElements);
  return S_OK;
}

HRESULT SafeArrayLock(SAFEARRAY* psa) {
  if (!psa) return E_INVALIDARG;
  if (psa->cLocks >= 0xFFFF) return E_UNEXPECTED;
  ++psa->cLocks;
  return S_OK;
}

HRESULT SafeArrayUnlock(SAFEARRAY* psa) {
  if (!psa) return E_INVALIDARG;
  if (psa->cLocks == 0) return E_UNEXPECTED;
  --psa->cLocks;
  return S_OK;
}

HRESULT SafeArrayAccessData(SAFEARRAY* psa, void** ppvData) {
  if (!psa || !ppvData) return E_INVALIDARG;
  HRESULT hr = SafeArrayLock(psa);
  if (FAILED(hr)) return hr;
  *ppvData = psa->pvData;
  return S_OK;
}

HRESULT SafeArrayUnaccessData(SAFEARRAY* psa) {
  return SafeArrayUnlock(psa);
}
