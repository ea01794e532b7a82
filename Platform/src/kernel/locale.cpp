// The languages the stand-in knows, one table row each, and the calls that read the table.
#include <cwchar>
#include <string>

#include "winbase.h"
#include "winnls.h"

namespace {

constexpr LCID kUserLocale = 1033;

struct Locale {
  LCID lcid;
  const wchar_t* abbreviation;  // LOCALE_SABBREVLANGNAME, the platform's three letters
  const wchar_t* language;      // LOCALE_SENGLANGUAGE
  const wchar_t* country;       // LOCALE_SENGCOUNTRY; LOCALE_SLANGUAGE is "language (country)"
  const wchar_t* iso639;
  const wchar_t* iso3166;
};

constexpr Locale kLocales[] = {
    {1025, L"ARA", L"Arabic", L"Saudi Arabia", L"ar", L"SA"},
    {1026, L"BGR", L"Bulgarian", L"Bulgaria", L"bg", L"BG"},
    {1028, L"CHT", L"Chinese", L"Taiwan", L"zh", L"TW"},
    {1029, L"CSY", L"Czech", L"Czech Republic", L"cs", L"CZ"},
    {1030, L"DAN", L"Danish", L"Denmark", L"da", L"DK"},
    {1031, L"DEU", L"German", L"Germany", L"de", L"DE"},
    {1032, L"ELL", L"Greek", L"Greece", L"el", L"GR"},
    {1033, L"ENU", L"English", L"United States", L"en", L"US"},
    {1034, L"ESP", L"Spanish", L"Spain, Traditional Sort", L"es", L"ES"},
    {1035, L"FIN", L"Finnish", L"Finland", L"fi", L"FI"},
    {1036, L"FRA", L"French", L"France", L"fr", L"FR"},
    {1037, L"HEB", L"Hebrew", L"Israel", L"he", L"IL"},
    {1038, L"HUN", L"Hungarian", L"Hungary", L"hu", L"HU"},
    {1040, L"ITA", L"Italian", L"Italy", L"it", L"IT"},
    {1041, L"JPN", L"Japanese", L"Japan", L"ja", L"JP"},
    {1042, L"KOR", L"Korean", L"Korea", L"ko", L"KR"},
    {1043, L"NLD", L"Dutch", L"Netherlands", L"nl", L"NL"},
    {1044, L"NOR", L"Norwegian", L"Norway", L"nb", L"NO"},
    {1045, L"PLK", L"Polish", L"Poland", L"pl", L"PL"},
    {1046, L"PTB", L"Portuguese", L"Brazil", L"pt", L"BR"},
    {1048, L"ROM", L"Romanian", L"Romania", L"ro", L"RO"},
    {1049, L"RUS", L"Russian", L"Russia", L"ru", L"RU"},
    {1050, L"HRV", L"Croatian", L"Croatia", L"hr", L"HR"},
    {1051, L"SKY", L"Slovak", L"Slovakia", L"sk", L"SK"},
    {1053, L"SVE", L"Swedish", L"Sweden", L"sv", L"SE"},
    {1054, L"THA", L"Thai", L"Thailand", L"th", L"TH"},
    {1055, L"TRK", L"Turkish", L"Turkey", L"tr", L"TR"},
    {1057, L"IND", L"Indonesian", L"Indonesia", L"id", L"ID"},
    {1058, L"UKR", L"Ukrainian", L"Ukraine", L"uk", L"UA"},
    {1060, L"SLV", L"Slovenian", L"Slovenia", L"sl", L"SI"},
    {1061, L"ETI", L"Estonian", L"Estonia", L"et", L"EE"},
    {1062, L"LVI", L"Latvian", L"Latvia", L"lv", L"LV"},
    {1063, L"LTH", L"Lithuanian", L"Lithuania", L"lt", L"LT"},
    {1066, L"VIT", L"Vietnamese", L"Vietnam", L"vi", L"VN"},
    {2052, L"CHS", L"Chinese", L"People's Republic of China", L"zh", L"CN"},
    {2055, L"DES", L"German", L"Switzerland", L"de", L"CH"},
    {2057, L"ENG", L"English", L"United Kingdom", L"en", L"GB"},
    {2058, L"ESM", L"Spanish", L"Mexico", L"es", L"MX"},
    {2060, L"FRB", L"French", L"Belgium", L"fr", L"BE"},
    {2064, L"ITS", L"Italian", L"Switzerland", L"it", L"CH"},
    {2067, L"NLB", L"Dutch", L"Belgium", L"nl", L"BE"},
    {2070, L"PTG", L"Portuguese", L"Portugal", L"pt", L"PT"},
    {3076, L"ZHH", L"Chinese", L"Hong Kong S.A.R.", L"zh", L"HK"},
    {3079, L"DEA", L"German", L"Austria", L"de", L"AT"},
    {3081, L"ENA", L"English", L"Australia", L"en", L"AU"},
    {3082, L"ESN", L"Spanish", L"Spain", L"es", L"ES"},
    {3084, L"FRC", L"French", L"Canada", L"fr", L"CA"},
    {4105, L"ENC", L"English", L"Canada", L"en", L"CA"},
    {4108, L"FRS", L"French", L"Switzerland", L"fr", L"CH"},
};

const Locale* FindLocale(LCID lcid) {
  if (lcid == LOCALE_USER_DEFAULT || lcid == LOCALE_SYSTEM_DEFAULT) lcid = kUserLocale;
  for (const auto& locale : kLocales)
    if (locale.lcid == lcid) return &locale;
  return nullptr;
}

bool InfoText(const Locale& locale, LCTYPE kind, std::wstring* text) {
  switch (kind) {
    case LOCALE_SABBREVLANGNAME:
      *text = locale.abbreviation;
      return true;
    case LOCALE_SENGLANGUAGE:
      *text = locale.language;
      return true;
    case LOCALE_SENGCOUNTRY:
      *text = locale.country;
      return true;
    case LOCALE_SLANGUAGE:
      *text = std::wstring(locale.language) + L" (" + locale.country + L")";
      return true;
    case LOCALE_SISO639LANGNAME:
      *text = locale.iso639;
      return true;
    case LOCALE_SISO3166CTRYNAME:
      *text = locale.iso3166;
      return true;
    case LOCALE_ILANGUAGE: {
      wchar_t digits[8];
      std::swprintf(digits, 8, L"%04x", static_cast<unsigned>(LANGIDFROMLCID(locale.lcid)));
      *text = digits;
      return true;
    }
    default:
      return false;
  }
}

}  // namespace

EXTERN_C int WINAPI GetLocaleInfoW(LCID Locale, LCTYPE LCType, LPWSTR lpLCData, int cchData) {
  if (cchData < 0 || (cchData > 0 && !lpLCData)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  const ::Locale* locale = FindLocale(Locale);
  if (!locale) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  std::wstring text;
  if (!InfoText(*locale, LCType & ~LOCALE_NOUSEROVERRIDE, &text)) {
    SetLastError(ERROR_INVALID_FLAGS);
    return 0;
  }
  const int needed = static_cast<int>(text.size() + 1);
  if (cchData == 0) return needed;
  if (cchData < needed) {
    SetLastError(ERROR_INSUFFICIENT_BUFFER);
    return 0;
  }
  std::wmemcpy(lpLCData, text.c_str(), static_cast<size_t>(needed));
  return needed;
}

EXTERN_C LCID WINAPI GetUserDefaultLCID() {
  return kUserLocale;
}
EXTERN_C LCID WINAPI GetSystemDefaultLCID() {
  return kUserLocale;
}
EXTERN_C LCID WINAPI GetThreadLocale() {
  return kUserLocale;
}
EXTERN_C LANGID WINAPI GetUserDefaultLangID() {
  return LANGIDFROMLCID(kUserLocale);
}
EXTERN_C LANGID WINAPI GetSystemDefaultLangID() {
  return LANGIDFROMLCID(kUserLocale);
}
EXTERN_C LANGID WINAPI GetUserDefaultUILanguage() {
  return LANGIDFROMLCID(kUserLocale);
}
EXTERN_C LANGID WINAPI GetSystemDefaultUILanguage() {
  return LANGIDFROMLCID(kUserLocale);
}
