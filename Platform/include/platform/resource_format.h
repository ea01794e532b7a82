// The resources of a module: the bytes of its ELF section ".rsrc", which the resource
// compiler writes and the module loader reads (the platform keeps them in a section of the
// image too). Little-endian, every field and every data block 4-byte aligned:
//
//   header   u32 magic "RSRC" (0x43525352), u16 version 1, u16 0, u32 entryCount, u32 size
//            (size: the bytes of the directory, names and data; the section may be longer)
//   entries  entryCount x { u32 type, u32 name, u32 language, u32 offset, u32 size }
//            type, name: an ordinal (0..0xFFFF) or, with bit 31 set, the offset (bits 0..30)
//            of a name string: u32 length, then length WCHAR units (32 bits), then a 0 unit.
//            String names are stored in upper case, as the platform's resource compiler does.
//            offset, size: the resource's data inside the blob; offset 4-byte aligned.
//   names and data, each 4-byte aligned.
//
// RT_STRING data (a block of 16 strings, block id = string id / 16 + 1): 16 entries, each
// u16 length, u16 0 (so the text is aligned for WCHAR), length WCHAR units without terminator.
// The platform stores a 16-bit length followed by the text; the padding word is the alignment
// of that pair with a 32-bit WCHAR, so that LoadStringW can hand out a pointer into the block.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "../wtypesbase.h"

namespace platform::resources {

inline constexpr DWORD kBlobMagic = 0x43525352;  // "RSRC"
inline constexpr WORD kBlobVersion = 1;
inline constexpr DWORD kNameIsString = 0x80000000u;
inline constexpr const char* kSectionName = ".rsrc";

struct BlobHeader {
  DWORD magic;
  WORD version;
  WORD reserved;
  DWORD entryCount;
  DWORD size;
};
struct BlobEntry {
  DWORD type;
  DWORD name;
  DWORD language;
  DWORD offset;
  DWORD size;
};
static_assert(sizeof(BlobHeader) == 16 && sizeof(BlobEntry) == 20, "fixed blob layout");

// A type or a name: an ordinal, or a string (compared without regard to case).
struct ResourceId {
  bool isOrdinal = true;
  WORD ordinal = 0;
  std::wstring text;

  static ResourceId Ordinal(WORD value) { return {true, value, {}}; }
  static ResourceId Text(std::wstring value) { return {false, 0, std::move(value)}; }
  bool operator==(const ResourceId&) const = default;
};

// One resource as the compiler writes it, or as the loader found it (data then points into
// the blob; it is not copied).
struct ResourceItem {
  ResourceId type;
  ResourceId name;
  WORD language = 0;
  std::vector<BYTE> data;  // writer side
};

struct FoundResource {
  ResourceId type;
  ResourceId name;
  WORD language = 0;
  const BYTE* data = nullptr;
  DWORD size = 0;
};

// Writes the blob for items (in their order; string ids upper-cased).
PLATFORM_API std::vector<BYTE> BuildResourceBlob(const std::vector<ResourceItem>& items);

// Reads the blob of size bytes at data, which must be 4-byte aligned. Returns nullopt for
// anything malformed: a wrong magic or version, a directory, name or data block outside the
// blob or misaligned, an ordinal above 0xFFFF, a language above 0xFFFF, a name string without
// its terminator. The found resources point into data.
PLATFORM_API std::optional<std::vector<FoundResource>> ParseResourceBlob(const BYTE* data, size_t size);

}  // namespace platform::resources
