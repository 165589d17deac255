#include "AtEngine.h"

#include <algorithm>

AtEngine::AtEngine(const AtCommandTable& table, Host& host, const LineFaults& faults)
    : table_(table), host_(host), faults_(faults) {}

size_t AtEngine::Feed(std::string_view bytes) {
  size_t i = 0;
  while (i < bytes.size()) {
    if (raw_) {
      // A sink that is not done must take everything it is offered.
      RawStep step = raw_(bytes.substr(i));
      i += step.done ? std::min(step.used, bytes.size() - i) : bytes.size() - i;
      if (step.done) raw_ = nullptr;
      continue;
    }
    char c = bytes[i++];
    if (echo_) echoPending_.push_back(c);
    if (c == '\r') {
      FlushEcho();
      ProcessLine();
      if (obexRequested_) return i;
    } else if (c == '\b') {
      if (!line_.empty()) line_.pop_back();
    } else if (c == '\n' && line_.empty()) {
      // the LF of a CR LF line end
    } else if (line_.size() < kMaxLine) {
      line_.push_back(c);
    } else {
      overflow_ = true;
    }
  }
  FlushEcho();
  return i;
}

bool AtEngine::TakeObexRequest() {
  bool requested = obexRequested_;
  obexRequested_ = false;
  return requested;
}

void AtEngine::ClearLine() {
  line_.clear();
  echoPending_.clear();
  overflow_ = false;
  raw_ = nullptr;
}

void AtEngine::FlushEcho() {
  if (echoPending_.empty()) return;
  host_.SendToPc(echoPending_, false);
  echoPending_.clear();
}

void AtEngine::ProcessLine() {
  std::string text;
  text.swap(line_);
  size_t start = text.find_first_not_of(" \t\n");
  text.erase(0, start == std::string::npos ? text.size() : start);
  if (overflow_) {
    overflow_ = false;
    currentName_.clear();
    Final("ERROR");
    return;
  }
  if (text.empty()) return;
  AtCommand command = ParseAtCommand(text);
  currentName_ = command.name;
  if (const AtHandler* handler = table_.Find(command)) {
    (*handler)(command, *this);
  } else if (command.isAt) {
    Final("ERROR");
  }
}

void AtEngine::Send(std::string_view bytes) { host_.SendToPc(bytes, true); }

void AtEngine::Info(std::string_view text) {
  std::string framed = "\r\n";
  framed.append(text);
  framed += "\r\n";
  Send(framed);
}

void AtEngine::Final(std::string_view result) {
  if (faults_.dropFinal && (faults_.dropFinalCommand.empty() || faults_.dropFinalCommand == currentName_)) return;
  Info(result);
}
