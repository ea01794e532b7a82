// The class library's registrar: registry scripts run for registration and unregistration.
#include <atlbase.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

#if defined(_WIN32)
#include <wchar.h>  // the C runtime's _wcsicmp and the other wide-string functions
#else
#include "crtwide.h"
#endif
#include "platform/utf8.h"
#include "winuser.h"

namespace {

struct Token {
  std::wstring text;
  bool quoted = false;
};

// A value of a key: its name (empty for the default value), type letter and text.
struct ScriptValue {
  std::wstring name;
  wchar_t type = L's';
  std::wstring data;
};

struct ScriptKey {
  enum class Mode { kNormal, kNoRemove, kForceRemove, kDelete } mode = Mode::kNormal;
  std::wstring name;
  bool hasDefault = false;
  ScriptValue defaultValue;
  std::vector<ScriptValue> values;
  std::vector<ScriptKey> subkeys;
};

struct ScriptRoot {
  HKEY root;
  std::vector<ScriptKey> keys;
};

struct RootName {
  const wchar_t* name;
  HKEY key;
};
const RootName kRoots[] = {
    {L"HKCR", HKEY_CLASSES_ROOT},  {L"HKEY_CLASSES_ROOT", HKEY_CLASSES_ROOT},
    {L"HKCU", HKEY_CURRENT_USER},  {L"HKEY_CURRENT_USER", HKEY_CURRENT_USER},
    {L"HKLM", HKEY_LOCAL_MACHINE}, {L"HKEY_LOCAL_MACHINE", HKEY_LOCAL_MACHINE},
};

// Replacement names compare without regard to case, as the registrar's keywords do.
struct NoCaseLess {
  bool operator()(const std::wstring& a, const std::wstring& b) const {
    return _wcsicmp(a.c_str(), b.c_str()) < 0;
  }
};
using Replacements = std::map<std::wstring, std::wstring, NoCaseLess>;

bool Is(const Token& token, const wchar_t* word) {
  return !token.quoted && _wcsicmp(token.text.c_str(), word) == 0;
}

// Replaces %NAME% and %%; false for an unknown or unterminated replacement.
bool Substitute(const std::wstring& text, const Replacements& replacements, std::wstring* out) {
  out->clear();
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] != L'%') {
      *out += text[i];
      continue;
    }
    const size_t end = text.find(L'%', i + 1);
    if (end == std::wstring::npos) return false;
    if (end == i + 1) {
      *out += L'%';
    } else {
      const auto found = replacements.find(text.substr(i + 1, end - i - 1));
      if (found == replacements.end()) return false;
      *out += found->second;
    }
    i = end;
  }
  return true;
}

// Tokens separated by white space; 'quoted text' with '' for a quote.
bool Tokenize(const std::wstring& text, std::vector<Token>* tokens) {
  size_t i = 0;
  while (i < text.size()) {
    if (iswspace(text[i])) {
      ++i;
      continue;
    }
    Token token;
    if (text[i] == L'\'') {
      token.quoted = true;
      ++i;
      for (;;) {
        if (i >= text.size()) return false;
        if (text[i] == L'\'') {
          if (i + 1 < text.size() && text[i + 1] == L'\'') {
            token.text += L'\'';
            i += 2;
            continue;
          }
          ++i;
          break;
        }
        token.text += text[i++];
      }
    } else {
      while (i < text.size() && !iswspace(text[i])) token.text += text[i++];
    }
    tokens->push_back(std::move(token));
  }
  return true;
}

class Parser {
 public:
  explicit Parser(std::vector<Token> tokens) : tokens_(std::move(tokens)) {}

  bool Parse(std::vector<ScriptRoot>* roots) {
    while (pos_ < tokens_.size()) {
      const Token& name = tokens_[pos_++];
      ScriptRoot root{nullptr, {}};
      for (const RootName& r : kRoots)
        if (Is(name, r.name)) root.root = r.key;
      if (!root.root || !Take(L"{")) return false;
      while (!Peek(L"}")) {
        ScriptKey key;
        if (!ParseKey(&key)) return false;
        root.keys.push_back(std::move(key));
      }
      ++pos_;
      roots->push_back(std::move(root));
    }
    return true;
  }

 private:
  bool Peek(const wchar_t* word) const { return pos_ < tokens_.size() && Is(tokens_[pos_], word); }
  bool Take(const wchar_t* word) {
    if (!Peek(word)) return false;
    ++pos_;
    return true;
  }

  bool ParseValue(ScriptValue* value) {
    if (pos_ + 1 >= tokens_.size()) return false;
    const Token& type = tokens_[pos_++];
    if (Is(type, L"s"))
      value->type = L's';
    else if (Is(type, L"d"))
      value->type = L'd';
    else if (Is(type, L"b"))
      value->type = L'b';
    else
      return false;
    value->data = tokens_[pos_++].text;
    return true;
  }

  bool ParseKey(ScriptKey* key) {
    if (Take(L"NoRemove"))
      key->mode = ScriptKey::Mode::kNoRemove;
    else if (Take(L"ForceRemove"))
      key->mode = ScriptKey::Mode::kForceRemove;
    else if (Take(L"Delete"))
      key->mode = ScriptKey::Mode::kDelete;
    if (pos_ >= tokens_.size() || Is(tokens_[pos_], L"{") || Is(tokens_[pos_], L"}")) return false;
    key->name = tokens_[pos_++].text;
    // An empty name would open the parent key itself, and unregistering it would delete the
    // parent: such a script is refused.
    if (key->name.empty()) return false;
    if (Take(L"=")) {
      key->hasDefault = true;
      if (!ParseValue(&key->defaultValue)) return false;
    }
    if (!Take(L"{")) return true;
    while (!Take(L"}")) {
      if (pos_ >= tokens_.size()) return false;
      if (Take(L"val")) {
        ScriptValue value;
        if (pos_ >= tokens_.size()) return false;
        value.name = tokens_[pos_++].text;
        if (!Take(L"=") || !ParseValue(&value)) return false;
        key->values.push_back(std::move(value));
      } else {
        ScriptKey subkey;
        if (!ParseKey(&subkey)) return false;
        key->subkeys.push_back(std::move(subkey));
      }
    }
    return true;
  }

  std::vector<Token> tokens_;
  size_t pos_ = 0;
};

LONG SetValue(HKEY key, const ScriptValue& value) {
  const wchar_t* name = value.name.empty() ? nullptr : value.name.c_str();
  if (value.type == L'd') {
    wchar_t* end = nullptr;
    const DWORD number = static_cast<DWORD>(wcstoul(value.data.c_str(), &end, 0));
    if (end == value.data.c_str() || *end) return ERROR_INVALID_DATA;
    return RegSetValueExW(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&number), sizeof(number));
  }
  if (value.type == L'b') {
    std::vector<BYTE> bytes;
    if (value.data.size() % 2) return ERROR_INVALID_DATA;
    for (size_t i = 0; i < value.data.size(); i += 2) {
      wchar_t* end = nullptr;
      const std::wstring pair = value.data.substr(i, 2);
      const unsigned long byte = wcstoul(pair.c_str(), &end, 16);
      if (*end) return ERROR_INVALID_DATA;
      bytes.push_back(static_cast<BYTE>(byte));
    }
    return RegSetValueExW(key, name, 0, REG_BINARY, bytes.data(), static_cast<DWORD>(bytes.size()));
  }
  return RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.data.c_str()),
                        static_cast<DWORD>((value.data.size() + 1) * sizeof(wchar_t)));
}

LONG RegisterKey(HKEY parent, const ScriptKey& script) {
  if (script.mode == ScriptKey::Mode::kDelete) {
    const LONG error = RegDeleteTreeW(parent, script.name.c_str());
    return error == ERROR_FILE_NOT_FOUND ? ERROR_SUCCESS : error;
  }
  if (script.mode == ScriptKey::Mode::kForceRemove) {
    const LONG error = RegDeleteTreeW(parent, script.name.c_str());
    if (error != ERROR_SUCCESS && error != ERROR_FILE_NOT_FOUND) return error;
  }
  HKEY key = nullptr;
  LONG error = RegCreateKeyExW(parent, script.name.c_str(), 0, nullptr, 0, KEY_READ | KEY_WRITE, nullptr,
                               &key, nullptr);
  if (error != ERROR_SUCCESS) return error;
  if (script.hasDefault) error = SetValue(key, script.defaultValue);
  for (size_t i = 0; error == ERROR_SUCCESS && i < script.values.size(); ++i)
    error = SetValue(key, script.values[i]);
  for (size_t i = 0; error == ERROR_SUCCESS && i < script.subkeys.size(); ++i)
    error = RegisterKey(key, script.subkeys[i]);
  RegCloseKey(key);
  return error;
}

bool HasSubkeys(HKEY key) {
  wchar_t name[256];
  DWORD size = 256;
  return RegEnumKeyExW(key, 0, name, &size, nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
}

// Missing keys and values are not errors: unregistration removes what is there.
LONG UnregisterKey(HKEY parent, const ScriptKey& script) {
  if (script.mode == ScriptKey::Mode::kDelete) return ERROR_SUCCESS;
  if (script.mode == ScriptKey::Mode::kForceRemove) {
    const LONG error = RegDeleteTreeW(parent, script.name.c_str());
    return error == ERROR_FILE_NOT_FOUND ? ERROR_SUCCESS : error;
  }
  HKEY key = nullptr;
  LONG error = RegOpenKeyExW(parent, script.name.c_str(), 0, KEY_READ | KEY_WRITE, &key);
  if (error == ERROR_FILE_NOT_FOUND) return ERROR_SUCCESS;
  if (error != ERROR_SUCCESS) return error;
  for (size_t i = 0; error == ERROR_SUCCESS && i < script.subkeys.size(); ++i)
    error = UnregisterKey(key, script.subkeys[i]);
  if (script.mode == ScriptKey::Mode::kNoRemove) {
    for (const ScriptValue& value : script.values) {
      const LONG deleted = RegDeleteValueW(key, value.name.c_str());
      if (error == ERROR_SUCCESS && deleted != ERROR_SUCCESS && deleted != ERROR_FILE_NOT_FOUND)
        error = deleted;
    }
    RegCloseKey(key);
    return error;
  }
  const bool keep = HasSubkeys(key);
  RegCloseKey(key);
  if (error != ERROR_SUCCESS || keep) return error;
  error = RegDeleteKeyW(parent, script.name.c_str());
  return error == ERROR_FILE_NOT_FOUND ? ERROR_SUCCESS : error;
}

// A script in UTF-16 (little-endian, its byte-order mark removed) as wide text: the units
// themselves where wchar_t is 16 bits; where it holds a whole code point, a surrogate pair
// becomes its one character (a lone surrogate stays as it is).
std::wstring WideFromUtf16Le(const unsigned char* bytes, DWORD size) {
  std::wstring text;
  for (DWORD i = 0; i + 1 < size; i += 2) {
    char32_t unit = bytes[i] | (bytes[i + 1] << 8);
    if constexpr (sizeof(wchar_t) == 4) {
      if (unit >= 0xD800 && unit < 0xDC00 && i + 3 < size) {
        const char32_t low = bytes[i + 2] | (bytes[i + 3] << 8);
        if (low >= 0xDC00 && low < 0xE000) {
          unit = 0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00);
          i += 2;
        }
      }
    }
    text += static_cast<wchar_t>(unit);
  }
  return text;
}

}  // namespace

namespace ATL {

struct CRegObject::Impl {
  Replacements replacements;

  HRESULT Run(const std::wstring& script, bool doRegister) const {
    std::wstring text;
    std::vector<Token> tokens;
    std::vector<ScriptRoot> roots;
    if (!Substitute(script, replacements, &text) || !Tokenize(text, &tokens) ||
        !Parser(std::move(tokens)).Parse(&roots))
      return DISP_E_EXCEPTION;
    LONG error = ERROR_SUCCESS;
    for (const ScriptRoot& root : roots)
      for (const ScriptKey& key : root.keys) {
        const LONG result = doRegister ? RegisterKey(root.root, key) : UnregisterKey(root.root, key);
        if (error == ERROR_SUCCESS) error = result;
        if (doRegister && error != ERROR_SUCCESS) break;
      }
    if (doRegister && error != ERROR_SUCCESS) {
      // Roll back what was written.
      for (const ScriptRoot& root : roots)
        for (const ScriptKey& key : root.keys) UnregisterKey(root.root, key);
    }
    return error == ERROR_SUCCESS ? S_OK : HRESULT_FROM_WIN32(error);
  }
};

CRegObject::CRegObject() : m_impl(new Impl) {}
CRegObject::~CRegObject() {
  delete m_impl;
}

HRESULT CRegObject::AddReplacement(LPCOLESTR key, LPCOLESTR item) {
  if (!key || !item) return E_INVALIDARG;
  m_impl->replacements[key] = item;
  return S_OK;
}

HRESULT CRegObject::ClearReplacements() {
  m_impl->replacements.clear();
  return S_OK;
}

HRESULT CRegObject::StringRegister(LPCOLESTR data) {
  return data ? m_impl->Run(data, true) : E_INVALIDARG;
}

HRESULT CRegObject::StringUnregister(LPCOLESTR data) {
  return data ? m_impl->Run(data, false) : E_INVALIDARG;
}

HRESULT CRegObject::ResourceRegister(LPCOLESTR resFileName, UINT nID, LPCOLESTR szType) {
  return RunResource(resFileName, nID, szType, true);
}

HRESULT CRegObject::ResourceUnregister(LPCOLESTR resFileName, UINT nID, LPCOLESTR szType) {
  return RunResource(resFileName, nID, szType, false);
}

HRESULT CRegObject::RunResource(LPCOLESTR resFileName, UINT nID, LPCOLESTR szType, bool doRegister) {
  if (!resFileName || !szType) return E_INVALIDARG;
  HMODULE module = LoadLibraryExW(resFileName, nullptr, LOAD_LIBRARY_AS_DATAFILE);
  if (!module) return HRESULT_FROM_WIN32(GetLastError());
  std::wstring script;
  HRESULT hr = S_OK;
  HRSRC found = FindResourceW(module, MAKEINTRESOURCEW(nID), szType);
  if (!found) {
    hr = HRESULT_FROM_WIN32(ERROR_RESOURCE_TYPE_NOT_FOUND);
  } else {
    const auto* bytes = static_cast<const unsigned char*>(LockResource(LoadResource(module, found)));
    const DWORD size = SizeofResource(module, found);
    if (size >= 2 && bytes[0] == 0xFF && bytes[1] == 0xFE)
      script = WideFromUtf16Le(bytes + 2, size - 2);
    else
      script = platform::WideFromUtf8Text(std::string_view(reinterpret_cast<const char*>(bytes), size));
  }
  FreeLibrary(module);
  return SUCCEEDED(hr) ? m_impl->Run(script, doRegister) : hr;
}

}  // namespace ATL
