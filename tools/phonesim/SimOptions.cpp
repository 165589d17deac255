#include "SimOptions.h"

#include <cctype>
#include <cerrno>
#include <cstdlib>
#include <map>
#include <optional>

namespace {

bool ParseNumber(const std::string& text, uint64_t max, uint64_t& out) {
  if (text.empty() || text[0] == '-' || text[0] == '+') return false;
  char* end = nullptr;
  errno = 0;
  unsigned long long value = std::strtoull(text.c_str(), &end, 0);
  if (errno != 0 || *end != '\0' || value > max) return false;
  out = value;
  return true;
}

bool ParseSigned(const std::string& text, int64_t min, int64_t max, int64_t& out) {
  if (text.empty()) return false;
  char* end = nullptr;
  errno = 0;
  long long value = std::strtoll(text.c_str(), &end, 0);
  if (errno != 0 || *end != '\0' || value < min || value > max) return false;
  out = value;
  return true;
}

std::string Upper(std::string text) {
  for (char& c : text) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return text;
}

// "GET=0xC4", "0x85=0xC3:2"
bool ParseFailRuleText(const std::string& text, ObexFailRule& rule) {
  static const std::map<std::string, uint8_t> names = {
      {"CONNECT", 0x80}, {"DISCONNECT", 0x81}, {"PUT", 0x82},  {"GET", 0x83},
      {"SETPATH", 0x85}, {"ACTION", 0x86},     {"ABORT", 0xFF},
  };
  size_t eq = text.find('=');
  if (eq == std::string::npos) return false;
  std::string op = text.substr(0, eq);
  std::string rest = text.substr(eq + 1);
  std::string count;
  size_t colon = rest.find(':');
  if (colon != std::string::npos) {
    count = rest.substr(colon + 1);
    rest.resize(colon);
  }
  uint64_t value = 0;
  auto named = names.find(Upper(op));
  if (named != names.end()) {
    rule.opcode = named->second;
    rule.eitherFinal = true;
  } else if (ParseNumber(op, 0xFF, value)) {
    rule.opcode = static_cast<uint8_t>(value);
    rule.eitherFinal = false;
  } else {
    return false;
  }
  if (!ParseNumber(rest, 0xFF, value)) return false;
  rule.code = static_cast<uint8_t>(value);
  rule.count = 0;
  if (!count.empty()) {
    if (!ParseNumber(count, UINT32_MAX, value) || value == 0) return false;
    rule.count = static_cast<uint32_t>(value);
  }
  return true;
}

bool ParseListingFault(const std::string& text, ListingFault& out) {
  static const std::map<std::string, ListingFault> kinds = {
      {"raw-names", ListingFault::RawNames},   {"no-space", ListingFault::NoSpace},
      {"single-quotes", ListingFault::SingleQuotes}, {"truncated", ListingFault::Truncated},
      {"empty", ListingFault::Empty},
  };
  auto found = kinds.find(text);
  if (found == kinds.end()) return false;
  out = found->second;
  return true;
}

}  // namespace

bool ParseFailRule(const std::string& text, ObexFailRule& rule) { return ParseFailRuleText(text, rule); }

ParseOutcome ParseOptions(int argc, const char* const* argv, SimOptions& options, std::string& error) {
  std::string profileName = "generic";
  std::map<std::string, std::string> identity;
  bool ownOnly = false;
  for (int i = 1; i < argc; ++i) {
    std::string arg = argv[i];
    std::optional<std::string> inlineValue;
    size_t eq = arg.find('=');
    if (arg.rfind("--", 0) == 0 && eq != std::string::npos) {
      inlineValue = arg.substr(eq + 1);
      arg.resize(eq);
    }
    auto value = [&](std::string& out) {
      if (inlineValue) {
        out = *inlineValue;
        return true;
      }
      if (i + 1 >= argc) {
        error = arg + " needs a value";
        return false;
      }
      out = argv[++i];
      return true;
    };
    auto number = [&](uint64_t max, uint64_t& out) {
      std::string text;
      if (!value(text)) return false;
      if (ParseNumber(text, max, out)) return true;
      error = arg + ": not a number in range: " + text;
      return false;
    };
    auto flag = [&]() {
      if (!inlineValue) return true;
      error = arg + " takes no value";
      return false;
    };
    std::string text;
    uint64_t n = 0;
    if (arg == "--help" || arg == "-h") {
      return ParseOutcome::Help;
    } else if (arg == "--link") {
      if (!value(options.link)) return ParseOutcome::Error;
    } else if (arg == "--control") {
      if (!number(65535, n) || n == 0) {
        if (error.empty()) error = "--control needs a port number";
        return ParseOutcome::Error;
      }
      options.controlPort = static_cast<int>(n);
    } else if (arg == "--baud") {
      if (!number(4000000, n)) return ParseOutcome::Error;
      if (n < 50) {
        error = "--baud: at least 50";
        return ParseOutcome::Error;
      }
      options.baud = static_cast<uint32_t>(n);
    } else if (arg == "--profile") {
      if (!value(profileName)) return ParseOutcome::Error;
    } else if (arg == "--manufacturer" || arg == "--model" || arg == "--serial" || arg == "--revision") {
      if (!value(identity[arg])) return ParseOutcome::Error;
    } else if (arg == "--start-in-obex") {
      if (!flag()) return ParseOutcome::Error;
      options.startInObex = true;
    } else if (arg == "--guard") {
      if (!number(60000, n)) return ParseOutcome::Error;
      options.guardMs = static_cast<int>(n);
    } else if (arg == "--obex") {
      if (!value(text)) return ParseOutcome::Error;
      if (text == "own") {
        options.obexServer = ObexServerKind::Own;
      } else if (text == "obexftpd") {
        options.obexServer = ObexServerKind::Obexftpd;
      } else {
        error = "--obex: own or obexftpd, not " + text;
        return ParseOutcome::Error;
      }
    } else if (arg == "--root") {
      if (!value(options.root)) return ParseOutcome::Error;
    } else if (arg == "--max-packet") {
      if (!number(65535, n)) return ParseOutcome::Error;
      if (n < 255) {
        error = "--max-packet: at least 255";
        return ParseOutcome::Error;
      }
      options.maxPacket = static_cast<uint32_t>(n);
      ownOnly = true;
    } else if (arg == "--memory") {
      if (!number(UINT32_MAX, n)) return ParseOutcome::Error;
      options.memoryTotal = n;
      ownOnly = true;
    } else if (arg == "--strict-connection-id") {
      if (!flag()) return ParseOutcome::Error;
      options.strictConnectionId = true;
      ownOnly = true;
    } else if (arg == "--log") {
      if (!value(options.logPath)) return ParseOutcome::Error;
    } else if (arg == "--delay") {
      if (!number(600000, n)) return ParseOutcome::Error;
      options.line.delayMs = static_cast<int>(n);
    } else if (arg == "--silence-after") {
      if (!number(UINT64_MAX, n)) return ParseOutcome::Error;
      options.line.silenceAfter = n;
    } else if (arg == "--garbage") {
      if (!value(text)) return ParseOutcome::Error;
      size_t at = text.find('@');
      uint64_t count = 0;
      uint64_t offset = 0;
      if (!ParseNumber(text.substr(0, at), 1u << 20, count) ||
          (at != std::string::npos && !ParseNumber(text.substr(at + 1), UINT64_MAX, offset))) {
        error = "--garbage: N or N@OFFSET, not " + text;
        return ParseOutcome::Error;
      }
      options.line.garbageCount = static_cast<uint32_t>(count);
      options.line.garbageAt = offset;
    } else if (arg == "--cut-at") {
      if (!number(UINT64_MAX, n)) return ParseOutcome::Error;
      options.line.cutAt = n;
    } else if (arg == "--stall-input-after") {
      if (!number(UINT64_MAX, n)) return ParseOutcome::Error;
      options.line.stallInputAfter = n;
    } else if (arg == "--drop-final") {
      options.line.dropFinal = true;
      options.line.dropFinalCommand = inlineValue ? Upper(*inlineValue) : std::string();
    } else if (arg == "--obex-fail") {
      ObexFailRule rule;
      if (!value(text)) return ParseOutcome::Error;
      if (!ParseFailRuleText(text, rule)) {
        error = "--obex-fail: OPCODE=CODE[:COUNT], not " + text;
        return ParseOutcome::Error;
      }
      options.obex.fail.push_back(rule);
    } else if (arg == "--obex-stall-after") {
      if (!number(UINT64_MAX, n)) return ParseOutcome::Error;
      options.obex.stallAfter = n;
    } else if (arg == "--obex-bad-length") {
      if (!value(text)) return ParseOutcome::Error;
      size_t colon = text.find(':');
      int64_t delta = 5;
      if (!ParseNumber(text.substr(0, colon), UINT64_MAX, n) || n == 0 ||
          (colon != std::string::npos && !ParseSigned(text.substr(colon + 1), -65535, 65535, delta)) ||
          delta == 0) {
        error = "--obex-bad-length: K[:DELTA] (K from 1, DELTA not 0), not " + text;
        return ParseOutcome::Error;
      }
      options.obex.badLengthAt = n;
      options.obex.badLengthDelta = static_cast<int>(delta);
    } else if (arg == "--listing-extra") {
      if (!value(text)) return ParseOutcome::Error;
      const size_t eq = text.find('=');
      if (eq == std::string::npos) {
        error = "--listing-extra: FOLDER=NAME, not " + text;
        return ParseOutcome::Error;
      }
      ListingExtra extra;
      extra.folder = text.substr(0, eq);
      extra.name = text.substr(eq + 1);
      if (!extra.name.empty() && extra.name.back() == '/') {
        extra.isFolder = true;
        extra.name.pop_back();
      }
      options.listingExtras.push_back(extra);
      ownOnly = true;
    } else if (arg == "--bad-listing") {
      if (!value(text)) return ParseOutcome::Error;
      if (!ParseListingFault(text, options.obex.listing)) {
        error = "--bad-listing: raw-names|no-space|single-quotes|truncated|empty, not " + text;
        return ParseOutcome::Error;
      }
      ownOnly = true;
    } else {
      error = "unknown option " + arg + " (see --help)";
      return ParseOutcome::Error;
    }
  }
  if (!FindProfile(profileName, options.profile)) {
    error = "--profile: " + std::string(ProfileNames()) + ", not " + profileName;
    return ParseOutcome::Error;
  }
  if (identity.count("--manufacturer")) options.profile.manufacturer = identity["--manufacturer"];
  if (identity.count("--model")) options.profile.model = identity["--model"];
  if (identity.count("--serial")) options.profile.serial = identity["--serial"];
  if (identity.count("--revision")) options.profile.revision = identity["--revision"];
  if (ownOnly && options.obexServer == ObexServerKind::Obexftpd) {
    error = "--max-packet, --memory, --strict-connection-id, --bad-listing and --listing-extra apply to the own OBEX server only";
    return ParseOutcome::Error;
  }
  return ParseOutcome::Run;
}
