// One localized prompt from the host's prompt server: its text (which may hold message
// inserts such as "%1!s!"), the caption of the dialog that shows it, and its type, which the
// error and message dialogs pass on as their help context.
#pragma once

#include <afx.h>

#include <cstdint>

class CPromptInfo {
 public:
  CPromptInfo() = default;
  CPromptInfo(const CString& text, const CString& caption, int32_t type);
  CPromptInfo(const CPromptInfo& other) = default;
  CPromptInfo& operator=(const CPromptInfo& other) = default;
  virtual ~CPromptInfo() = default;

  // Texts compare case-sensitively; the types must be equal as well.
  bool operator==(const CPromptInfo& other) const;
  bool operator!=(const CPromptInfo& other) const { return !(*this == other); }

  // Empty text and caption, type 0.
  void Clear();

  CString m_text;
  CString m_caption;
  int32_t m_type = 0;
};
