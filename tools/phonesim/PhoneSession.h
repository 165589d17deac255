#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "AtCommand.h"
#include "AtEngine.h"
#include "AtExtensions.h"
#include "ByteLog.h"
#include "ControlChannel.h"
#include "EscapeDetector.h"
#include "ObexBackend.h"
#include "ObexPacketFilter.h"
#include "OutputQueue.h"
#include "PacedLine.h"
#include "PtyLine.h"
#include "SampleTree.h"
#include "SimOptions.h"

// One simulated phone on one pty: the line in AT mode or OBEX mode, the OBEX server of the
// current session, the faults and the control connection, driven by one poll loop.
class PhoneSession : private AtEngine::Host {
 public:
  explicit PhoneSession(const SimOptions& options);
  ~PhoneSession() override;

  // Creates the pty and the link and announces READY.
  bool Start(std::string& error);
  // Until a byte on stopFd (the signal handlers' pipe), the control connection closing or
  // QUIT.
  void Run(int stopFd);

 private:
  enum class Mode { At, Obex, Cut };

  void SendToPc(std::string_view bytes, bool answer) override;
  // Writes what is due and closes the line once a cut is due.
  void FlushToPc();
  // Bytes the phone takes in from the pty now (its receive buffer, the input stall fault).
  size_t InputRoom() const;
  // Takes what the PC wrote from the pty onto the line towards the phone.
  void ReadFromPc();
  // Hands the phone what has crossed the line by now.
  void DeliverFromPc();
  void OnPcBytes(std::string_view bytes);
  // Sets now_ and nowNs_ from the clock.
  void Tick();
  void OnBackendReadable();
  void OnControlReadable();
  void ToServer(std::string_view bytes);
  void WriteBackend();
  void EnterObex();
  void LeaveObex();
  void StopBackend();
  void CutLine();
  const char* ModeName() const;

  SimOptions options_;
  ByteLog log_;
  ControlChannel control_;
  SampleTree sample_;
  std::string root_;
  PtyLine pty_;
  AtCommandTable table_;
  std::vector<std::unique_ptr<AtExtension>> extensions_;
  AtEngine at_;
  OutputQueue out_;
  PacedLine fromPc_;
  EscapeDetector escape_;
  ObexPacketFilter filter_;
  std::unique_ptr<ObexBackend> backend_;
  std::string toBackend_;
  Mode mode_ = Mode::At;
  int64_t now_ = 0;    // ms
  int64_t nowNs_ = 0;
  int64_t cutReachedMs_ = -1;  // when the last byte before the cut went out
  uint64_t received_ = 0;
  uint32_t lineSpeed_ = 0;  // as last noted in the log
  bool running_ = true;
};
