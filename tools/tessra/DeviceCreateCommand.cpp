// `tessra device create DIR [--version X.Y] [--kind phone|tablet] [--activator]`: a new device root.
#include <ostream>

#include "tools/tessra/Command.h"
#include "tools/tessra/DeviceArguments.h"
#include "tools/tessra/DeviceInstaller.h"

namespace tessra::cli {
namespace {

int runCreate(const Invocation& invocation) {
  DeviceInstaller::Options options;
  Invocation positional = invocation;
  positional.args.clear();
  for (size_t i = 0; i < invocation.args.size(); ++i) {
    const std::string& word = invocation.args[i];
    if ((word == "--version" || word == "--kind") && i + 1 < invocation.args.size()) {
      const std::string& value = invocation.args[++i];
      if (word == "--version") {
        options.systemVersion = value;
      } else if (value == "phone" || value == "tablet") {
        options.kind =
            value == "tablet" ? platform::springboard::DeviceKind::Tablet : platform::springboard::DeviceKind::Phone;
      } else {
        *invocation.err << "tessra device create: --kind is phone or tablet, not '" << value << "'\n";
        return 2;
      }
    } else if (word == "--activator") {
      options.activator = true;
    } else if (word.starts_with("--")) {
      *invocation.err << "tessra device create: unknown option '" << word << "'\n";
      return 2;
    } else {
      positional.args.push_back(word);
    }
  }
  auto root = deviceFolderArgument(positional, "device create", true);
  if (!root) return 2;
  if (!DeviceInstaller::create(*root, options, *invocation.err, invocation.err)) return 1;
  *invocation.out << "created a " << (options.kind == platform::springboard::DeviceKind::Tablet ? "tablet" : "phone")
                  << " with system " << options.systemVersion << (options.activator ? " and Activator" : "") << " at "
                  << root->string() << "\n";
  return 0;
}

const CommandRegistration registration{
    {"device create",
     "DIR [--version X.Y] [--kind phone|tablet] [--activator]: a new device root with the plug-in installed",
     runCreate}};

}  // namespace
}  // namespace tessra::cli
