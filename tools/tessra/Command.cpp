#include "tools/tessra/Command.h"

namespace tessra::cli {

std::vector<Command>& commands() {
  static std::vector<Command> all;
  return all;
}

}  // namespace tessra::cli
