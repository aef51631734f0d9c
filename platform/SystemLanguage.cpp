#include "SystemLanguage.h"

#include <cctype>

namespace {

struct LocaleId {
  const char *name; // language, or language_COUNTRY
  uint16_t id;
};

// The first entry of each language is its main variant, used when the country is missing or
// not listed.
const LocaleId kLocales[] = {
    {"en_US", 0x0409}, {"en_GB", 0x0809}, {"en_AU", 0x0C09}, {"en_CA", 0x1009}, {"en_NZ", 0x1409},
    {"en_IE", 0x1809}, {"en_ZA", 0x1C09}, {"en_JM", 0x2009}, {"en_BZ", 0x2809}, {"en_TT", 0x2C09},
    {"en_ZW", 0x3009}, {"en_PH", 0x3409}, {"en_IN", 0x4009}, {"en_MY", 0x4409}, {"en_SG", 0x4809},
    {"de_DE", 0x0407}, {"de_CH", 0x0807}, {"de_AT", 0x0C07}, {"de_LU", 0x1007}, {"de_LI", 0x1407},
    {"fr_FR", 0x040C}, {"fr_BE", 0x080C}, {"fr_CA", 0x0C0C}, {"fr_CH", 0x100C}, {"fr_LU", 0x140C},
    {"fr_MC", 0x180C}, {"ja_JP", 0x0411}, {"es_ES", 0x0C0A}, {"es_MX", 0x080A}, {"es_GT", 0x100A},
    {"es_CR", 0x140A}, {"es_PA", 0x180A}, {"es_DO", 0x1C0A}, {"es_VE", 0x200A}, {"es_CO", 0x240A},
    {"es_PE", 0x280A}, {"es_AR", 0x2C0A}, {"es_EC", 0x300A}, {"es_CL", 0x340A}, {"es_UY", 0x380A},
    {"es_PY", 0x3C0A}, {"es_BO", 0x400A}, {"es_SV", 0x440A}, {"es_HN", 0x480A}, {"es_NI", 0x4C0A},
    {"es_PR", 0x500A}, {"es_US", 0x540A}, {"it_IT", 0x0410}, {"it_CH", 0x0810}, {"nl_NL", 0x0413},
    {"nl_BE", 0x0813}, {"pt_BR", 0x0416}, {"pt_PT", 0x0816}, {"zh_CN", 0x0804}, {"zh_TW", 0x0404},
    {"zh_HK", 0x0C04}, {"zh_SG", 0x1004}, {"zh_MO", 0x1404}, {"ko_KR", 0x0412}, {"ru_RU", 0x0419},
    {"pl_PL", 0x0415}, {"cs_CZ", 0x0405}, {"sk_SK", 0x041B}, {"sl_SI", 0x0424}, {"hu_HU", 0x040E},
    {"ro_RO", 0x0418}, {"bg_BG", 0x0402}, {"hr_HR", 0x041A}, {"uk_UA", 0x0422}, {"el_GR", 0x0408},
    {"tr_TR", 0x041F}, {"he_IL", 0x040D}, {"ar_SA", 0x0401}, {"ar_EG", 0x0C01}, {"fa_IR", 0x0429},
    {"hi_IN", 0x0439}, {"th_TH", 0x041E}, {"vi_VN", 0x042A}, {"id_ID", 0x0421}, {"ms_MY", 0x043E},
    {"sv_SE", 0x041D}, {"sv_FI", 0x081D}, {"da_DK", 0x0406}, {"fi_FI", 0x040B}, {"nb_NO", 0x0414},
    {"no_NO", 0x0414}, {"nn_NO", 0x0814}, {"is_IS", 0x040F}, {"et_EE", 0x0425}, {"lv_LV", 0x0426},
    {"lt_LT", 0x0427}, {"ca_ES", 0x0403}, {"eu_ES", 0x042D}, {"gl_ES", 0x0456},
};

} // namespace

uint16_t LangIdFromLocaleName(const std::string &locale) {
  // "ll_CC.codeset@modifier": only the language and the country count.
  std::string language, country;
  size_t i = 0;
  while (i < locale.size() && std::isalpha(static_cast<unsigned char>(locale[i])))
    language += static_cast<char>(std::tolower(static_cast<unsigned char>(locale[i++])));
  if (i < locale.size() && (locale[i] == '_' || locale[i] == '-')) {
    ++i;
    while (i < locale.size() && std::isalpha(static_cast<unsigned char>(locale[i])))
      country += static_cast<char>(std::toupper(static_cast<unsigned char>(locale[i++])));
  }
  if (language.empty())
    return 0;
  if (language == "c" || language == "posix")
    return 0x0409;
  uint16_t mainVariant = 0;
  for (const LocaleId &entry : kLocales) {
    const std::string name = entry.name;
    if (name.compare(0, name.find('_'), language) != 0)
      continue;
    if (mainVariant == 0)
      mainVariant = entry.id;
    if (name.substr(name.find('_') + 1) == country)
      return entry.id;
  }
  return mainVariant;
}
