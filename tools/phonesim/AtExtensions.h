#pragma once
#include <filesystem>
#include <memory>
#include <vector>

#include "AtCommand.h"
#include "PhoneProfile.h"

// Extra AT commands that a profile brings from its own source file
// (tools/phonesim/<profile>_*.cpp). Such a file registers a factory from a static initialiser:
//
//   static const bool registered = RegisterAtExtension("samsung", &CreateSamsungFileSystem);
//
// When the phone starts with that profile, the factory adds its handlers to the table and
// returns the state they share, which lives as long as the phone.
class AtExtension {
 public:
  virtual ~AtExtension() = default;
};

struct ExtensionContext {
  const PhoneProfile& profile;
  std::filesystem::path root;  // the phone's folder tree
};

using AtExtensionFactory = std::unique_ptr<AtExtension> (*)(const ExtensionContext& context,
                                                             AtCommandTable& table);

bool RegisterAtExtension(const char* profile, AtExtensionFactory factory);

// Runs the factories registered for context.profile, in registration order.
std::vector<std::unique_ptr<AtExtension>> CreateAtExtensions(const ExtensionContext& context,
                                                             AtCommandTable& table);
