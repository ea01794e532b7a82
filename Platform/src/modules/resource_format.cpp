// The resource blob of a module's ".rsrc" section: the writer the resource compiler uses and
// the bounds-checked reader the loader uses. Also compiled into the resource compiler.
#include "platform/resource_format.h"

#include <cwctype>

namespace platform::resources {

namespace {

size_t AlignUp(size_t value) {
  return (value + 3) & ~static_cast<size_t>(3);
}

void PutDword(std::vector<BYTE>* out, size_t at, DWORD value) {
  std::memcpy(out->data() + at, &value, 4);
}

DWORD ReadDword(const BYTE* data, size_t at) {
  DWORD value;
  std::memcpy(&value, data + at, 4);
  return value;
}

std::wstring Upper(const std::wstring& text) {
  std::wstring out = text;
  for (auto& c : out) c = static_cast<wchar_t>(std::towupper(static_cast<wint_t>(c)));
  return out;
}

// Appends a name string; returns its reference (bit 31 plus offset).
DWORD AppendName(std::vector<BYTE>* out, const std::wstring& text) {
  const size_t at = out->size();
  out->resize(at + 4 + (text.size() + 1) * sizeof(WCHAR), 0);
  PutDword(out, at, static_cast<DWORD>(text.size()));
  std::memcpy(out->data() + at + 4, text.data(), text.size() * sizeof(WCHAR));
  return kNameIsString | static_cast<DWORD>(at);
}

DWORD IdReference(std::vector<BYTE>* out, const ResourceId& id) {
  return id.isOrdinal ? id.ordinal : AppendName(out, Upper(id.text));
}

// Reads an id field: an ordinal or a name string inside the blob.
std::optional<ResourceId> ReadId(const BYTE* data, size_t size, DWORD field) {
  if ((field & kNameIsString) == 0) {
    if (field > 0xFFFF) return std::nullopt;
    return ResourceId::Ordinal(static_cast<WORD>(field));
  }
  const size_t at = field & ~kNameIsString;
  if (at % 4 != 0 || at > size || size - at < 4) return std::nullopt;
  const size_t length = ReadDword(data, at);
  const size_t room = (size - at - 4) / sizeof(WCHAR);
  if (length >= room) return std::nullopt;  // the terminator must fit too
  std::wstring text(length, L'\0');
  std::memcpy(text.data(), data + at + 4, length * sizeof(WCHAR));
  WCHAR terminator;
  std::memcpy(&terminator, data + at + 4 + length * sizeof(WCHAR), sizeof(WCHAR));
  if (terminator != 0) return std::nullopt;
  return ResourceId::Text(std::move(text));
}

}  // namespace

std::vector<BYTE> BuildResourceBlob(const std::vector<ResourceItem>& items) {
  std::vector<BYTE> out(sizeof(BlobHeader) + items.size() * sizeof(BlobEntry), 0);
  std::vector<BlobEntry> entries;
  entries.reserve(items.size());
  for (const auto& item : items) {
    BlobEntry entry{};
    entry.type = IdReference(&out, item.type);
    entry.name = IdReference(&out, item.name);
    entry.language = item.language;
    entry.offset = static_cast<DWORD>(out.size());
    entry.size = static_cast<DWORD>(item.data.size());
    out.insert(out.end(), item.data.begin(), item.data.end());
    out.resize(AlignUp(out.size()), 0);
    entries.push_back(entry);
  }
  const BlobHeader header{kBlobMagic, kBlobVersion, 0, static_cast<DWORD>(items.size()),
                          static_cast<DWORD>(out.size())};
  std::memcpy(out.data(), &header, sizeof header);
  if (!entries.empty())
    std::memcpy(out.data() + sizeof header, entries.data(), entries.size() * sizeof(BlobEntry));
  return out;
}

std::optional<std::vector<FoundResource>> ParseResourceBlob(const BYTE* data, size_t size) {
  if (!data || reinterpret_cast<uintptr_t>(data) % 4 != 0 || size < sizeof(BlobHeader)) return std::nullopt;
  BlobHeader header;
  std::memcpy(&header, data, sizeof header);
  if (header.magic != kBlobMagic || header.version != kBlobVersion || header.size > size ||
      header.size < sizeof(BlobHeader))
    return std::nullopt;
  size = header.size;
  if (header.entryCount > (size - sizeof(BlobHeader)) / sizeof(BlobEntry)) return std::nullopt;
  std::vector<FoundResource> found;
  found.reserve(header.entryCount);
  for (DWORD i = 0; i < header.entryCount; ++i) {
    BlobEntry entry;
    std::memcpy(&entry, data + sizeof(BlobHeader) + i * sizeof(BlobEntry), sizeof entry);
    auto type = ReadId(data, size, entry.type);
    auto name = ReadId(data, size, entry.name);
    if (!type || !name || entry.language > 0xFFFF || entry.offset % 4 != 0 || entry.offset > size ||
        entry.size > size - entry.offset)
      return std::nullopt;
    found.push_back({std::move(*type), std::move(*name), static_cast<WORD>(entry.language),
                     data + entry.offset, entry.size});
  }
  return found;
}

}  // namespace platform::resources
