#include "PromptInfo.h"

CPromptInfo::CPromptInfo(const CString& text, const CString& caption, int32_t type)
    : m_text(text), m_caption(caption), m_type(type) {}

bool CPromptInfo::operator==(const CPromptInfo& other) const {
  return m_text.Compare(other.m_text) == 0 && m_caption.Compare(other.m_caption) == 0 &&
         m_type == other.m_type;
}

void CPromptInfo::Clear() {
  m_text.Empty();
  m_caption.Empty();
  m_type = 0;
}
