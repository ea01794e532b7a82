// The runtime's locale objects: a named locale's conventions for the "_l" functions.
#include <clocale>
#include <cwchar>
#include <new>

#include "crt_internal.h"
#include "crtwide.h"

namespace {

// The host library's category mask of a platform category, 0 for an unknown one.
int CategoryMask(int category) {
  switch (category) {
    case LC_ALL:
      return LC_ALL_MASK;
    case LC_COLLATE:
      return LC_COLLATE_MASK;
    case LC_CTYPE:
      return LC_CTYPE_MASK;
    case LC_MONETARY:
      return LC_MONETARY_MASK;
    case LC_NUMERIC:
      return LC_NUMERIC_MASK;
    case LC_TIME:
      return LC_TIME_MASK;
    default:
      return 0;
  }
}

}  // namespace

EXTERN_C _locale_t _create_locale(int category, const char* locale) {
  const int mask = CategoryMask(category);
  if (!mask || !locale) return nullptr;
  locale_t handle = newlocale(mask, locale, static_cast<locale_t>(0));
  if (!handle) return nullptr;
  auto* created = new (std::nothrow) PlatformCrtLocale{handle};
  if (!created) freelocale(handle);
  return created;
}

EXTERN_C void _free_locale(_locale_t locale) {
  if (!locale) return;
  freelocale(locale->handle);
  delete locale;
}

EXTERN_C double _wcstod_l(const wchar_t* text, wchar_t** end, _locale_t locale) {
  return locale ? wcstod_l(text, end, locale->handle) : wcstod(text, end);
}
