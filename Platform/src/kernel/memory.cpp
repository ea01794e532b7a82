// Local and global memory blocks, and MulDiv. Every live block is in one table, so that a
// handle that is not a live block is refused with ERROR_INVALID_HANDLE instead of corrupting
// the heap.
#include <cstdlib>
#include <limits>
#include <mutex>
#include <unordered_map>

#include "winbase.h"

namespace {

struct Block {
  void* data;
  SIZE_T size;
  bool moveable;
  int locks;
};

struct Heap {
  std::mutex mutex;
  std::unordered_map<void*, Block> blocks;  // by handle
};

Heap& TheHeap() {
  static Heap* heap = new Heap;  // never destroyed: blocks may be freed from static destructors
  return *heap;
}

HGLOBAL Allocate(UINT flags, SIZE_T bytes) {
  // One byte at least, so that every block has its own address.
  void* data = (flags & GMEM_ZEROINIT) ? std::calloc(bytes ? bytes : 1, 1) : std::malloc(bytes ? bytes : 1);
  if (!data) {
    SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return nullptr;
  }
  const bool moveable = (flags & GMEM_MOVEABLE) != 0;
  // A moveable block's handle is a separate little allocation, so it differs from the address.
  void* handle = moveable ? std::malloc(1) : data;
  if (!handle) {
    std::free(data);
    SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return nullptr;
  }
  Heap& heap = TheHeap();
  std::lock_guard lock(heap.mutex);
  heap.blocks.emplace(handle, Block{data, bytes, moveable, 0});
  return handle;
}

LPVOID Lock(HGLOBAL handle) {
  Heap& heap = TheHeap();
  std::lock_guard lock(heap.mutex);
  auto it = heap.blocks.find(handle);
  if (it == heap.blocks.end()) {
    SetLastError(ERROR_INVALID_HANDLE);
    return nullptr;
  }
  if (it->second.moveable) ++it->second.locks;
  return it->second.data;
}

BOOL Unlock(HGLOBAL handle) {
  Heap& heap = TheHeap();
  std::lock_guard lock(heap.mutex);
  auto it = heap.blocks.find(handle);
  if (it == heap.blocks.end()) {
    SetLastError(ERROR_INVALID_HANDLE);
    return FALSE;
  }
  Block& block = it->second;
  if (!block.moveable) return FALSE;
  if (block.locks == 0) {
    SetLastError(ERROR_NOT_LOCKED);
    return FALSE;
  }
  if (--block.locks > 0) return TRUE;
  SetLastError(NO_ERROR);
  return FALSE;
}

HGLOBAL Free(HGLOBAL handle) {
  if (!handle) return nullptr;
  Block block;
  {
    Heap& heap = TheHeap();
    std::lock_guard lock(heap.mutex);
    auto it = heap.blocks.find(handle);
    if (it == heap.blocks.end()) {
      SetLastError(ERROR_INVALID_HANDLE);
      return handle;
    }
    block = it->second;
    heap.blocks.erase(it);
  }
  std::free(block.data);
  if (block.moveable) std::free(handle);
  return nullptr;
}

SIZE_T Size(HGLOBAL handle) {
  Heap& heap = TheHeap();
  std::lock_guard lock(heap.mutex);
  auto it = heap.blocks.find(handle);
  if (it == heap.blocks.end()) {
    SetLastError(ERROR_INVALID_HANDLE);
    return 0;
  }
  return it->second.size;
}

}  // namespace

EXTERN_C HGLOBAL WINAPI GlobalAlloc(UINT uFlags, SIZE_T dwBytes) {
  return Allocate(uFlags, dwBytes);
}
EXTERN_C LPVOID WINAPI GlobalLock(HGLOBAL hMem) {
  return Lock(hMem);
}
EXTERN_C BOOL WINAPI GlobalUnlock(HGLOBAL hMem) {
  return Unlock(hMem);
}
EXTERN_C HGLOBAL WINAPI GlobalFree(HGLOBAL hMem) {
  return Free(hMem);
}
EXTERN_C SIZE_T WINAPI GlobalSize(HGLOBAL hMem) {
  return Size(hMem);
}

static_assert(LMEM_MOVEABLE == GMEM_MOVEABLE && LMEM_ZEROINIT == GMEM_ZEROINIT, "one heap, one set of flags");
EXTERN_C HLOCAL WINAPI LocalAlloc(UINT uFlags, SIZE_T uBytes) {
  return Allocate(uFlags, uBytes);
}
EXTERN_C LPVOID WINAPI LocalLock(HLOCAL hMem) {
  return Lock(hMem);
}
EXTERN_C BOOL WINAPI LocalUnlock(HLOCAL hMem) {
  return Unlock(hMem);
}
EXTERN_C HLOCAL WINAPI LocalFree(HLOCAL hMem) {
  return Free(hMem);
}
EXTERN_C SIZE_T WINAPI LocalSize(HLOCAL hMem) {
  return Size(hMem);
}

EXTERN_C int WINAPI MulDiv(int nNumber, int nNumerator, int nDenominator) {
  if (nDenominator == 0) return -1;
  const int64_t product = static_cast<int64_t>(nNumber) * nNumerator;
  // Magnitudes in unsigned arithmetic: |INT_MIN * INT_MIN| = 2^62 and |INT_MIN| fit.
  const uint64_t magnitude =
      product < 0 ? 0 - static_cast<uint64_t>(product) : static_cast<uint64_t>(product);
  const uint64_t divisor = nDenominator < 0 ? 0 - static_cast<uint64_t>(static_cast<int64_t>(nDenominator))
                                            : static_cast<uint64_t>(nDenominator);
  const uint64_t quotient = (magnitude + divisor / 2) / divisor;  // half away from zero
  const bool negative = (product < 0) != (nDenominator < 0);
  const uint64_t limit = negative ? uint64_t{1} << 31 : (uint64_t{1} << 31) - 1;
  if (quotient > limit) return -1;
  return negative ? static_cast<int>(-static_cast<int64_t>(quotient)) : static_cast<int>(quotient);
}
