#include "PhoneSession.h"

#include <poll.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <filesystem>

#include "MonoClock.h"
#include "ObexftpdRelay.h"
#include "OwnObexServer.h"
#include "SimOptions.h"
#include "StandardCommands.h"

namespace {

constexpr int64_t kCutDrainMs = 1000;
constexpr int64_t kCutSettleMs = 50;
constexpr int64_t kCutPollNs = 10000000;
// On a paced line: what the phone takes in ahead of handling it. More waits in the pty, so the
// PC's writes see the line's pace too.
constexpr size_t kReceiveBufferBytes = 4096;

}  // namespace

PhoneSession::PhoneSession(const SimOptions& options)
    : options_(options),
      at_(table_, *this, options.line),
      out_(options.line, options.baud, log_),
      fromPc_(options.baud),
      escape_(options.guardMs),
      filter_(options.obex, options.obexServer == ObexServerKind::Own ? options.maxPacket : 0, log_) {}

PhoneSession::~PhoneSession() { StopBackend(); }

void PhoneSession::Tick() {
  nowNs_ = MonoNowNs();
  now_ = nowNs_ / 1000000;
}

bool PhoneSession::Start(std::string& error) {
  Tick();
  if (!options_.logPath.empty() && !log_.Open(options_.logPath)) {
    error = "cannot write the log " + options_.logPath;
    return false;
  }
  if (options_.controlPort != 0 && !control_.Connect(options_.controlPort, error)) return false;
  root_ = options_.root;
  if (root_.empty()) {
    if (!sample_.Create(error)) return false;
    root_ = sample_.Path();
  }
  std::error_code ec;
  if (!std::filesystem::is_directory(root_, ec)) {
    error = "--root: not a folder: " + root_;
    return false;
  }
  root_ = std::filesystem::absolute(root_, ec).string();
  AddStandardCommands(table_, options_.profile);
  extensions_ = CreateAtExtensions({options_.profile, root_}, table_);
  if (!pty_.Open(error)) return false;
  lineSpeed_ = pty_.Speed();
  if (!options_.link.empty() && !pty_.Link(options_.link, error)) return false;
  log_.Note("profile " + options_.profile.name + ", slave " + pty_.SlavePath() + ", root " + root_ +
            (options_.baud != 0 ? ", line at " + std::to_string(options_.baud) + " baud" : ", line at pty speed"));
  std::printf("READY %s\n", pty_.SlavePath().c_str());
  std::fflush(stdout);
  if (options_.controlPort != 0 && !control_.Send("READY " + pty_.SlavePath())) {
    error = "control connection lost";
    return false;
  }
  if (options_.startInObex) EnterObex();
  return true;
}

void PhoneSession::Run(int stopFd) {
  while (running_) {
    Tick();
    DeliverFromPc();
    FlushToPc();
    WriteBackend();

    pollfd fds[4];
    int count = 0;
    fds[count++] = {stopFd, POLLIN, 0};
    int controlAt = -1;
    if (control_.Fd() >= 0) {
      controlAt = count;
      fds[count++] = {control_.Fd(), POLLIN, 0};
    }
    int masterAt = -1;
    if (mode_ != Mode::Cut) {
      masterAt = count;
      const bool room = InputRoom() > 0;
      fds[count++] = {pty_.MasterFd(), static_cast<short>((room ? POLLIN : 0) | (out_.HasReady() ? POLLOUT : 0)), 0};
    }
    int backendAt = -1;
    if (backend_) {
      backendAt = count;
      fds[count++] = {backend_->Fd(), static_cast<short>(POLLIN | (toBackend_.empty() ? 0 : POLLOUT)), 0};
    }
    int64_t due = -1;
    if (mode_ != Mode::Cut) {
      for (int64_t next : {out_.NextDueNs(), fromPc_.NextArrivalNs()}) {
        if (next >= 0 && (due < 0 || next < due)) due = next;
      }
      if (cutReachedMs_ >= 0 && (due < 0 || due > nowNs_ + kCutPollNs)) due = nowNs_ + kCutPollNs;
    }
    timespec wait{};
    if (due >= 0) {
      const int64_t ns = std::max<int64_t>(0, due - nowNs_);
      wait.tv_sec = static_cast<time_t>(ns / 1000000000);
      wait.tv_nsec = static_cast<long>(ns % 1000000000);
    }
    if (ppoll(fds, static_cast<nfds_t>(count), due < 0 ? nullptr : &wait, nullptr) < 0 && errno != EINTR) break;
    Tick();

    if (fds[0].revents) break;
    if (controlAt >= 0 && fds[controlAt].revents) OnControlReadable();
    if (masterAt >= 0 && (fds[masterAt].revents & POLLIN)) ReadFromPc();
    if (backendAt >= 0 && backend_ && (fds[backendAt].revents & (POLLIN | POLLHUP | POLLERR))) OnBackendReadable();
  }
  StopBackend();
}

size_t PhoneSession::InputRoom() const {
  size_t room = kReceiveBufferBytes - std::min(kReceiveBufferBytes, fromPc_.InFlight());
  if (options_.line.stallInputAfter) {
    const uint64_t taken = received_ + fromPc_.InFlight();
    const uint64_t left = *options_.line.stallInputAfter - std::min(*options_.line.stallInputAfter, taken);
    room = static_cast<size_t>(std::min<uint64_t>(room, left));
  }
  return room;
}

void PhoneSession::ReadFromPc() {
  char buffer[kReceiveBufferBytes];
  const size_t room = InputRoom();
  if (room == 0) return;
  ssize_t n = read(pty_.MasterFd(), buffer, room);
  if (n > 0) fromPc_.Add(std::string_view(buffer, static_cast<size_t>(n)), nowNs_);
  DeliverFromPc();
}

void PhoneSession::DeliverFromPc() {
  const std::string arrived = fromPc_.TakeArrived(nowNs_);
  if (!arrived.empty()) OnPcBytes(arrived);
}

void PhoneSession::FlushToPc() {
  if (mode_ == Mode::Cut) return;
  if (out_.Flush(pty_.MasterFd(), nowNs_) == OutputQueue::FlushResult::Cut && cutReachedMs_ < 0) cutReachedMs_ = now_;
  // A hangup throws away what the PC has not read yet, so the last bytes before the cut
  // get time to reach the slave side's queue and to be read from there.
  if (cutReachedMs_ >= 0) {
    int64_t waited = now_ - cutReachedMs_;
    if ((waited >= kCutSettleMs && pty_.QueuedForPc() == 0) || waited >= kCutDrainMs) CutLine();
  }
}

void PhoneSession::SendToPc(std::string_view bytes, bool answer) {
  out_.Push(bytes, answer ? options_.line.delayMs : 0, nowNs_);
}

void PhoneSession::OnPcBytes(std::string_view bytes) {
  // The PC's line settings live in the pty: bytes after a change show at which speed they came.
  const uint32_t speed = pty_.Speed();
  if (speed != lineSpeed_) {
    log_.Note("line set to " + std::to_string(speed) + " bit/s");
    lineSpeed_ = speed;
  }
  log_.Bytes(true, bytes);
  received_ += bytes.size();
  while (!bytes.empty() && mode_ != Mode::Cut) {
    if (mode_ == Mode::At) {
      size_t used = at_.Feed(bytes);
      bytes.remove_prefix(used);
      if (at_.TakeObexRequest()) EnterObex();
    } else {
      EscapeDetector::Result result = escape_.Feed(bytes, now_);
      ToServer(result.pass);
      bytes.remove_prefix(result.used);
      if (result.escaped) {
        log_.Note("escape +++");
        LeaveObex();
      }
    }
  }
}

void PhoneSession::ToServer(std::string_view bytes) {
  if (bytes.empty()) return;
  std::string toServer;
  std::string toPc;
  filter_.FromPc(bytes, toServer, toPc);
  if (backend_) toBackend_ += toServer;
  SendToPc(toPc, true);
}

void PhoneSession::WriteBackend() {
  while (backend_ && !toBackend_.empty()) {
    ssize_t n = write(backend_->Fd(), toBackend_.data(), toBackend_.size());
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return;
    toBackend_.erase(0, static_cast<size_t>(n));
  }
}

void PhoneSession::OnBackendReadable() {
  char buffer[8192];
  ssize_t n = read(backend_->Fd(), buffer, sizeof buffer);
  if (n < 0 && (errno == EINTR || errno == EAGAIN)) return;
  if (n <= 0) {
    // The phone's OBEX side is gone until the line leaves OBEX mode and enters it again.
    log_.Note("obex server closed the session");
    StopBackend();
    return;
  }
  std::string toPc;
  filter_.FromServer(std::string_view(buffer, static_cast<size_t>(n)), toPc);
  SendToPc(toPc, true);
}

void PhoneSession::OnControlReadable() {
  std::vector<std::string> lines;
  if (!control_.Read(lines)) {
    log_.Note("control connection closed");
    running_ = false;
    return;
  }
  for (const std::string& line : lines) {
    if (line == "STATS") {
      control_.Send("in=" + std::to_string(received_) + " out=" + std::to_string(out_.Written()));
    } else if (line == "MODE?") {
      control_.Send(ModeName());
    } else if (line.rfind("OBEX-FAIL ", 0) == 0) {
      ObexFailRule rule;
      if (ParseFailRule(line.substr(10), rule)) {
        filter_.AddFailRule(rule);
        control_.Send("OK");
      } else {
        control_.Send("ERR " + line);
      }
    } else if (line == "QUIT") {
      control_.Send("BYE");
      running_ = false;
    } else {
      control_.Send("ERR " + line);
    }
  }
}

void PhoneSession::EnterObex() {
  // The answer that switched the line goes out before a server start can hold the loop up.
  FlushToPc();
  if (mode_ == Mode::Cut) return;
  mode_ = Mode::Obex;
  log_.Note("mode obex");
  escape_.Reset(now_);
  filter_.ResetFraming();
  if (options_.obexServer == ObexServerKind::Obexftpd) {
    backend_ = std::make_unique<ObexftpdRelay>(root_, log_);
  } else {
    ServiceSettings settings{root_, options_.profile, options_.memoryTotal, options_.obex.listing,
                             options_.strictConnectionId, options_.listingExtras};
    backend_ = std::make_unique<OwnObexServer>(settings, options_.maxPacket, log_);
  }
  std::string error;
  if (!backend_->Start(error)) {
    log_.Note("obex server did not start: " + error);
    std::fprintf(stderr, "phonesim: %s\n", error.c_str());
    StopBackend();
  }
}

void PhoneSession::LeaveObex() {
  StopBackend();
  at_.ClearLine();
  mode_ = Mode::At;
  log_.Note("mode at");
}

void PhoneSession::StopBackend() {
  if (backend_) backend_->Stop();
  backend_.reset();
  toBackend_.clear();
}

void PhoneSession::CutLine() {
  log_.Note("line cut after " + std::to_string(out_.Written()) + " bytes");
  StopBackend();
  pty_.Cut();
  mode_ = Mode::Cut;
}

const char* PhoneSession::ModeName() const {
  switch (mode_) {
    case Mode::At: return "at";
    case Mode::Obex: return "obex";
    case Mode::Cut: return "cut";
  }
  return "at";
}
