#include "tweak/catalogue/ToggleTexts.h"

namespace toggle_texts {

std::string fill(std::string_view format, std::initializer_list<std::string_view> args) {
  std::string text;
  text.reserve(format.size() + 48);
  auto next = args.begin();
  for (size_t i = 0; i < format.size(); ++i) {
    if (format[i] == '%' && i + 1 < format.size() && format[i + 1] == '@') {
      if (next != args.end()) text += *next++;
      ++i;
    } else {
      text += format[i];
    }
  }
  return text;
}

}  // namespace toggle_texts
