#include "platform/runtime/TypeEncoding.h"

#include <cctype>
#include <mutex>
#include <string>
#include <unordered_set>

namespace platform {

const void* detail::internSignature(const char* mangledName) {
  // Never destroyed: signature keys are compared from static destructors too.
  static std::mutex* mutex = new std::mutex;
  static std::unordered_set<std::string>* names = new std::unordered_set<std::string>;
  std::lock_guard lock(*mutex);
  return names->insert(mangledName).first->c_str();
}

bool encodingsMatch(std::string_view declared, std::string_view actual) {
  std::string d;
  for (char c : declared) {
    if (!std::isdigit(static_cast<unsigned char>(c))) d.push_back(c);
  }
  if (d.size() != actual.size()) return false;
  for (size_t i = 0; i < d.size(); ++i) {
    if (d[i] != actual[i] && d[i] != '?' && actual[i] != '?') return false;
  }
  return true;
}

}  // namespace platform
