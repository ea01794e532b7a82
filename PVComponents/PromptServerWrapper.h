// Wrappers of the host's prompt and string servers: made per use, created by CLSID, started,
// set to the language of the loaded resource DLL, then asked for texts by number.
#pragma once

#include <HostServices.h>
#include <afx.h>

#include <memory>

class CPromptInfo;

class CPromptServerWrapper {
 public:
  CPromptServerWrapper() = default;
  CPromptServerWrapper(const CPromptServerWrapper& other) = default;
  CPromptServerWrapper& operator=(const CPromptServerWrapper& other);
  virtual ~CPromptServerWrapper() = default;

  // Creates the server (CLSCTX_ALL), runs it (OleRun) and holds its IPromptServer; then sets
  // its language when it answers IServerLocale: *locale when given, else the resource-DLL
  // manager's language when the module has an instance handle, else 1033 (a failing language
  // call is ignored). Returns S_OK or the creation, start or query failure (nothing held
  // then); E_INVALIDARG for a null clsid.
  HRESULT Initialize(const CLSID* clsid, const LCID* locale);

  // E_INVALIDARG for a null out (checked first); E_UNEXPECTED with nothing held (out
  // untouched); otherwise out is cleared and filled on success, and the server's result is
  // returned.
  HRESULT GetPrompt(LONG id, CPromptInfo* out) const;
  // The prompt's text, its caption and type through the (cleared) out-parameters, which may be
  // null; an empty text when nothing is held or the call fails.
  CString GetPromptText(LONG id, CString* caption, LONG* type) const;

  bool IsInitialized() const { return static_cast<bool>(m_spServer); }

 private:
  IPromptServerPtr m_spServer;
};

class CStringServerWrapper {
 public:
  CStringServerWrapper() = default;
  CStringServerWrapper(const CStringServerWrapper& other) = default;
  CStringServerWrapper& operator=(const CStringServerWrapper& other);
  virtual ~CStringServerWrapper() = default;

  // As CPromptServerWrapper::Initialize, for IStringServer.
  HRESULT Initialize(const CLSID* clsid, const LCID* locale);

  // The string; empty when nothing is held or the call fails.
  CString GetString(LONG id) const;
  // Labels with (TRUE) or without their access-key marks. Nothing held raises E_POINTER as
  // _com_error.
  HRESULT SetAccelerators(BOOL on);

  bool IsInitialized() const { return static_cast<bool>(m_spServer); }

 private:
  IStringServerPtr m_spServer;
};

// The string server wrapper kept once per process.
class CSingletonStringServerWrapper : public CStringServerWrapper {};

// Made on the first call, not initialized (the first caller initializes it), and kept until
// the module unloads.
std::shared_ptr<CSingletonStringServerWrapper> GetSingletonStringServerWrapper();
