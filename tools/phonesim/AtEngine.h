#pragma once
#include <string>
#include <string_view>

#include "AtCommand.h"
#include "Faults.h"

// The phone's AT command interpreter: assembles lines, echoes, dispatches to the command
// table and frames the answers as phones do.
class AtEngine : private AtLine {
 public:
  class Host {
   public:
    virtual ~Host() = default;
    // answer: false for the echo, which is never held by the answer delay.
    virtual void SendToPc(std::string_view bytes, bool answer) = 0;
  };

  AtEngine(const AtCommandTable& table, Host& host, const LineFaults& faults);

  // Takes bytes from the PC; stops right after a command that switched the line to OBEX
  // mode. Answers how many bytes it used.
  size_t Feed(std::string_view bytes);
  // True once after a command asked for OBEX mode.
  bool TakeObexRequest();
  // Forgets a half-received line and any raw transfer (the line left AT mode).
  void ClearLine();

 private:
  void ProcessLine();
  void FlushEcho();

  void Send(std::string_view bytes) override;
  void Info(std::string_view text) override;
  void Final(std::string_view result) override;
  void SetEcho(bool on) override { echo_ = on; }
  void EnterObexMode() override { obexRequested_ = true; }
  void TakeRaw(RawSink sink) override { raw_ = std::move(sink); }

  static constexpr size_t kMaxLine = 4096;

  const AtCommandTable& table_;
  Host& host_;
  LineFaults faults_;
  bool echo_ = true;
  bool obexRequested_ = false;
  bool overflow_ = false;
  std::string line_;
  std::string echoPending_;
  std::string currentName_;
  RawSink raw_;
};
