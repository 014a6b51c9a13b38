#include "tweak/toast/ToastPosition.h"

#include <strings.h>

bool ToastPosition::isNamed(const char* constant) const {
  const std::string* text = name();
  return text && strcasecmp(text->c_str(), constant) == 0;
}
