#pragma once
#include <cstddef>
#include <functional>
#include <map>
#include <string>
#include <string_view>

// One command line from the PC, split for dispatch.
struct AtCommand {
  std::string line;  // as received, without the CR
  bool isAt = false; // false: a line that does not start with AT (kept whole in `line`)
  std::string name;  // upper case: "" for a bare AT, "Z", "E", "+CGMI", "^SQWE", "&F"
  std::string args;  // what follows the name: "", "0", "=3", "?", "=?", "=-1,\"a\""
};

// Splits a line; whatever precedes the first "AT" (line noise, an escape sequence) is dropped.
AtCommand ParseAtCommand(std::string_view line);

// What a command handler can do with the line.
struct RawStep {
  size_t used = 0;   // bytes taken from those offered
  bool done = false; // back to command lines after those bytes
};
using RawSink = std::function<RawStep(std::string_view bytes)>;

class AtLine {
 public:
  virtual ~AtLine() = default;
  virtual void Send(std::string_view bytes) = 0;      // raw answer bytes
  virtual void Info(std::string_view text) = 0;       // "\r\n" text "\r\n"
  virtual void Final(std::string_view result) = 0;    // "\r\n" result "\r\n", unless dropped
  virtual void SetEcho(bool on) = 0;
  virtual void EnterObexMode() = 0;                   // after this command's answer
  virtual void TakeRaw(RawSink sink) = 0;             // the next bytes bypass the line parser
};

using AtHandler = std::function<void(const AtCommand& command, AtLine& line)>;

// Commands the phone knows. Profiles add theirs; a later Add of a name replaces the earlier.
class AtCommandTable {
 public:
  void Add(const std::string& name, AtHandler handler);
  // A line that is not an AT command, matched whole (e.g. "##>").
  void AddLine(const std::string& line, AtHandler handler);
  const AtHandler* Find(const AtCommand& command) const;

 private:
  std::map<std::string, AtHandler> commands_;
  std::map<std::string, AtHandler> lines_;
};
