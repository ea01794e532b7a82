// The platform's binary resource file (.res), which the toolchain's resource tools turn into the
// resource section of an image. Little-endian, every header and every data block DWORD-aligned:
//
//   per resource  DWORD dataSize, headerSize; type, name; DWORD dataVersion; WORD memoryFlags,
//                 language; DWORD version, characteristics; then dataSize bytes of data
//   type, name    an ordinal (the 16-bit word 0xFFFF, then the ordinal) or a string of 16-bit
//                 units with its terminator, in upper case as the platform's compiler stores
//                 names; the name is followed by padding to a DWORD boundary
//
// The file starts with an empty resource (type and name ordinal 0, 32 bytes of header) that
// tells it apart from a 16-bit resource file.
#include <cstring>
#include <cwctype>

#include "rc_compiler.h"
#include "platform/utf16.h"
#include "unicode.h"

namespace rc {

namespace {

using platform::resources::ResourceId;

constexpr WORD kOrdinalMarker = 0xFFFF;
constexpr WORD kDialogType = 5;
constexpr WORD kStringType = 6;
// MOVEABLE | PURE, and DISCARDABLE for the kinds the platform's compiler marks so.
constexpr WORD kMoveablePure = 0x0030;
constexpr WORD kDiscardable = 0x1000;

template <class T>
void Append(std::vector<BYTE>* out, const T& value) {
  const size_t at = out->size();
  out->resize(at + sizeof(T));
  std::memcpy(out->data() + at, &value, sizeof(T));
}

void AlignToDword(std::vector<BYTE>* out) {
  out->resize((out->size() + 3) & ~static_cast<size_t>(3), 0);
}

void AppendId(std::vector<BYTE>* out, const ResourceId& id) {
  if (id.isOrdinal) {
    Append(out, kOrdinalMarker);
    Append(out, id.ordinal);
    return;
  }
  std::wstring upper = id.text;
  for (auto& c : upper) c = static_cast<wchar_t>(std::towupper(static_cast<wint_t>(c)));
  for (char16_t unit : platform::Utf16FromWide(upper)) Append(out, unit);
  Append(out, char16_t{0});
}

WORD MemoryFlags(const ResourceId& type) {
  const bool discardable = type.isOrdinal && (type.ordinal == kDialogType || type.ordinal == kStringType);
  return discardable ? kMoveablePure | kDiscardable : kMoveablePure;
}

// One resource: its header (sizes filled in once the names are written) and its data.
void AppendResource(std::vector<BYTE>* out, const ResourceId& type, const ResourceId& name, WORD memoryFlags,
                    WORD language, const std::vector<BYTE>& data) {
  const size_t start = out->size();
  Append(out, static_cast<DWORD>(data.size()));
  Append(out, DWORD{0});  // headerSize, below
  AppendId(out, type);
  AppendId(out, name);
  AlignToDword(out);
  Append(out, DWORD{0});  // dataVersion
  Append(out, memoryFlags);
  Append(out, language);
  Append(out, DWORD{0});  // version
  Append(out, DWORD{0});  // characteristics
  const auto headerSize = static_cast<DWORD>(out->size() - start);
  std::memcpy(out->data() + start + sizeof(DWORD), &headerSize, sizeof headerSize);
  out->insert(out->end(), data.begin(), data.end());
  AlignToDword(out);
}

}  // namespace

std::vector<BYTE> BuildResourceFile(const std::vector<platform::resources::ResourceItem>& items) {
  std::vector<BYTE> out;
  AppendResource(&out, ResourceId::Ordinal(0), ResourceId::Ordinal(0), 0, 0, {});
  for (const auto& item : items)
    AppendResource(&out, item.type, item.name, MemoryFlags(item.type), item.language, item.data);
  return out;
}

}  // namespace rc
