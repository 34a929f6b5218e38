#include "ui/LocalizationUtils.h"

#include "config/BackendHosts.h"
#include "ui/MessageTexts.h"
#include "utils/StringUtils.h"
#include "utils/TextConversion.h"

namespace {

// The process-wide instance; created by instance(), deleted by destroyInstance().
LocalizationUtils* gInstance = nullptr;

// A text of the data with its support link completed: "<a>" becomes <a href="ADDRESS">.
std::wstring completedText(const char* text) {
  const std::wstring plain = toUtf16(text);
  const std::wstring marker = L"<a>";
  const std::wstring opening = L"<a href=\"" + toUtf16(BackendHosts::supportUrl) + L"\">";
  std::wstring out;
  std::size_t from = 0;
  for (std::size_t at = plain.find(marker); at != std::wstring::npos;
       at = plain.find(marker, from)) {
    out.append(plain, from, at - from).append(opening);
    from = at + marker.size();
  }
  return out.append(plain, from, std::wstring::npos);
}

LocalizationUtils::MessageTable buildTable() {
  LocalizationUtils::MessageTable table;
  for (const LanguageTexts& language : kLanguageTexts) {
    auto& texts = table[toUtf16(language.tag)];
    for (const MessageText& entry : language.texts) {
      texts[toUtf16(entry.key)] = completedText(entry.text);
    }
  }
  return table;
}

} // namespace

LocalizationUtils::LocalizationUtils() : table_(buildTable()), currentLanguage_(L"en-GB") {
  currentLanguage_ = languageFor(table_, detectUiLanguage());
}

LocalizationUtils::~LocalizationUtils() = default;

LocalizationUtils& LocalizationUtils::instance() {
  if (gInstance == nullptr) {
    gInstance = new LocalizationUtils();
  }
  return *gInstance;
}

void LocalizationUtils::destroyInstance() {
  delete gInstance;
  gInstance = nullptr;
}

std::wstring LocalizationUtils::languageFor(const MessageTable& table,
                                            const std::wstring& uiLanguage) {
  if (table.count(uiLanguage) != 0) {
    return uiLanguage;
  }
  // Serbian is written in both scripts; its readers read the Latin texts either way.
  if (uiLanguage.size() > 3 && uiLanguage.compare(0, 3, L"sr-") == 0) {
    return L"sr-latn";
  }
  return L"en-gb";
}

std::wstring LocalizationUtils::translate(const std::wstring& key) {
  const LocalizationUtils& self = instance();
  const auto language = self.table_.find(self.currentLanguage_);
  if (language == self.table_.end()) {
    return key;
  }
  const auto text = language->second.find(key);
  return text == language->second.end() ? key : text->second;
}

bool LocalizationUtils::isRightToLeftUi() {
  const std::wstring language = detectUiLanguage();
  return language == L"ar-ae" || language == L"he-il";
}

std::wstring LocalizationUtils::clientRegionCode(const std::wstring& code) {
  static const struct {
    const wchar_t* threeLetterForm;
    const wchar_t* twoLetterForm;
    const wchar_t* region;
  } rows[] = {
      {L"deu_deu", L"de_de", L"de-DE"},
      {L"gbr_eng", L"en_gb", L"en-GB"},
      {L"esp_spa", L"es_es", L"es-ES"},
      {L"cze_ces", L"cs_cz", L"cs-CZ"},
      {L"fra_fra", L"fr_fr", L"fr-FR"},
      {L"ita_ita", L"it_it", L"it-IT"},
      {L"pol_pol", L"pl_pl", L"pl-PL"},
      {L"rus_rus", L"ru_ru", L"ru-RU"},
      {L"tur_tur", L"tr_tr", L"tr-TR"},
      {L"rou_ron", L"ro_ro", L"ro-RO"},
      {L"hun_hun", L"hu_hu", L"hu-HU"},
      {L"usa_eng", L"en_us", L"en-US"},
      {L"are_ara", L"ar_ae", L"ar-AE"},
      // The client expects Portugal's code with an underscore.
      {L"prt_por", L"pt_pt", L"pt_PT"},
      {L"bra_por", L"pt_br", L"pt-BR"},
      {L"arg_spa", L"es_ar", L"es-AR"},
      {L"nld_nld", L"nl_nl", L"nl-NL"},
      {L"grc_ell", L"el_gr", L"el-GR"},
      {L"mex_spa", L"es_mx", L"es-MX"},
      {L"dnk_dan", L"da_dk", L"da-DK"},
      {L"twn_zho", L"zh_tw", L"zh-TW"},
      {L"svk_slk", L"sk_sk", L"sk-SK"},
      {L"fin_fin", L"fi_fi", L"fi-FI"},
      {L"ltu_lit", L"lt_lt", L"lt-LT"},
      {L"bgr_bul", L"bg_bg", L"bg-BG"},
      {L"hrv_hrv", L"hr_hr", L"hr-HR"},
      {L"lva_lav", L"lv_lv", L"lv-LV"},
      {L"srb_srp", L"sr_rs", L"sr-RS"},
      {L"jpn_jpn", L"ja_jp", L"ja-JP"},
  };
  const std::wstring lower = toLowerCase(code);
  for (const auto& row : rows) {
    if (lower == row.threeLetterForm || lower == row.twoLetterForm) {
      return row.region;
    }
  }
  return code;
}
