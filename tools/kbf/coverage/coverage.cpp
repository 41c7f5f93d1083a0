// What a keyboard covers, and the CLDR exemplar characters (see coverage.h).
#include "tools/kbf/coverage/coverage.h"

#include <stdexcept>

#include <unicode/uchar.h>
#include <unicode/ulocdata.h>
#include <unicode/uset.h>

namespace kbf::coverage {

Coverage CoverageOf(const TapGraph& graph) {
  // The taps are in the order of their states' depth, so the first that
  // types a character is a shortest way to it.
  Coverage coverage;
  for (const Tap& tap : graph.taps) {
    if (tap.to != NO_STATE) {
      for (char32_t c : CodePoints(tap.typed)) coverage.characters.emplace(c, &tap);
    }
    for (const std::string& key : tap.specialKeys) coverage.specialKeys.emplace(key, &tap);
  }
  return coverage;
}

std::set<char32_t> CodePoints(const std::u16string& text) {
  std::set<char32_t> points;
  for (size_t i = 0; i < text.size(); ++i) {
    const char16_t u = text[i];
    if (u >= 0xD800 && u <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF) {
      points.insert(0x10000 + ((static_cast<char32_t>(u) - 0xD800) << 10) + (text[i + 1] - 0xDC00));
      ++i;
    } else {
      points.insert(u);
    }
  }
  return points;
}

std::set<char32_t> Untypeable(const Coverage& coverage, const std::set<char32_t>& wanted) {
  std::set<char32_t> missing;
  for (char32_t c : wanted) {
    if (c != U'\r' && coverage.characters.count(c) == 0) missing.insert(c);
  }
  return missing;
}

std::set<char32_t> ExemplarCharacters(const std::string& localeTag) {
  UErrorCode status = U_ZERO_ERROR;
  ULocaleData* data = ulocdata_open(localeTag.c_str(), &status);
  // A fallback to the root locale means ICU does not know the language.
  if (U_FAILURE(status) || status == U_USING_DEFAULT_WARNING) {
    if (data != nullptr) ulocdata_close(data);
    throw std::runtime_error("the Unicode CLDR in ICU has no exemplar characters for \"" + localeTag + "\"");
  }
  std::set<char32_t> characters;
  const ULocaleDataExemplarSetType kinds[] = {ULOCDATA_ES_STANDARD, ULOCDATA_ES_AUXILIARY,
                                              ULOCDATA_ES_PUNCTUATION};
  // Letters are listed in lower case; the author needs the capitals too.
  // Only single-character case mappings are added: the full closure would
  // bring in strings such as "SS" for ß or i with a combining dot for İ,
  // which no language lists.
  auto add = [&characters](char32_t c) {
    characters.insert(c);
    characters.insert(static_cast<char32_t>(u_toupper(static_cast<UChar32>(c))));
    characters.insert(static_cast<char32_t>(u_totitle(static_cast<UChar32>(c))));
  };
  for (ULocaleDataExemplarSetType kind : kinds) {
    status = U_ZERO_ERROR;
    USet* set = ulocdata_getExemplarSet(data, nullptr, 0, kind, &status);
    if (U_FAILURE(status) || set == nullptr) continue;
    const int32_t items = uset_getItemCount(set);
    for (int32_t i = 0; i < items; ++i) {
      UChar32 start = 0;
      UChar32 end = 0;
      UChar text[64];
      UErrorCode itemStatus = U_ZERO_ERROR;
      const int32_t length = uset_getItem(set, i, &start, &end, text, 64, &itemStatus);
      if (U_FAILURE(itemStatus)) continue;
      if (length == 0) {
        for (UChar32 c = start; c <= end; ++c) add(static_cast<char32_t>(c));
      } else {
        for (char32_t c : CodePoints(std::u16string(text, text + length))) add(c);
      }
    }
    uset_close(set);
  }
  ulocdata_close(data);
  if (characters.empty()) {
    throw std::runtime_error("the Unicode CLDR in ICU has no exemplar characters for \"" + localeTag + "\"");
  }
  return characters;
}

std::string BlockName(char32_t c) {
  const UBlockCode block = ublock_getCode(static_cast<UChar32>(c));
  const char* name = u_getPropertyValueName(UCHAR_BLOCK, block, U_LONG_PROPERTY_NAME);
  std::string text = name == nullptr ? "No Block" : name;
  for (char& ch : text) {
    if (ch == '_') ch = ' ';
  }
  // ICU's names lack the hyphens of the Unicode block names: "Latin-1
  // Supplement", "Latin Extended-A".
  if (text == "Latin 1 Supplement") text = "Latin-1 Supplement";
  const size_t extended = text.rfind("Extended ");
  if (extended != std::string::npos && extended + 10 == text.size()) text[extended + 8] = '-';
  return text;
}

}  // namespace kbf::coverage
