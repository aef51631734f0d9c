#include "SystemLanguage.h"

#include <cstdlib>

uint16_t GetSystemDefaultLangID() {
  // The variables in the order in which they decide the language of messages.
  for (const char *name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
    const char *value = std::getenv(name);
    if (value && *value)
      return LangIdFromLocaleName(value);
  }
  return 0x0409;
}
