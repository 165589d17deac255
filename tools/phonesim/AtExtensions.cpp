#include "AtExtensions.h"

#include <string>
#include <utility>

namespace {

// Built on first use: registrations run from other files' static initialisers.
std::vector<std::pair<std::string, AtExtensionFactory>>& Registry() {
  static std::vector<std::pair<std::string, AtExtensionFactory>> registry;
  return registry;
}

}  // namespace

bool RegisterAtExtension(const char* profile, AtExtensionFactory factory) {
  Registry().emplace_back(profile, factory);
  return true;
}

std::vector<std::unique_ptr<AtExtension>> CreateAtExtensions(const ExtensionContext& context,
                                                             AtCommandTable& table) {
  std::vector<std::unique_ptr<AtExtension>> made;
  for (const auto& [profile, factory] : Registry()) {
    if (profile != context.profile.name) continue;
    std::unique_ptr<AtExtension> extension = factory(context, table);
    if (extension) made.push_back(std::move(extension));
  }
  return made;
}
