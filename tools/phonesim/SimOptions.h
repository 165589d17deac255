#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "Faults.h"
#include "PhoneProfile.h"

enum class ObexServerKind { Own, Obexftpd };

// Everything the command line sets.
struct SimOptions {
  std::string link;
  int controlPort = 0;
  uint32_t baud = 0;              // 0: the line runs at pty speed
  PhoneProfile profile;
  bool startInObex = false;
  int guardMs = 500;
  ObexServerKind obexServer = ObexServerKind::Own;
  std::string root;               // empty: a temporary sample tree
  uint32_t maxPacket = 1024;
  uint64_t memoryTotal = 16u << 20;
  bool strictConnectionId = false;
  std::string logPath;
  LineFaults line;
  ObexFaults obex;
  std::vector<ListingExtra> listingExtras;
};

enum class ParseOutcome { Run, Help, Error };

ParseOutcome ParseOptions(int argc, const char* const* argv, SimOptions& options, std::string& error);
// One OBEX fail rule as --obex-fail takes it: "OP=CODE[:COUNT]".
bool ParseFailRule(const std::string& text, ObexFailRule& rule);
std::string HelpText();
