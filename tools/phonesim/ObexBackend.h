#pragma once
#include <string>

// The OBEX server behind the line while it is in OBEX mode: a byte stream through Fd().
// One object serves one OBEX session (from entering OBEX mode to leaving it).
class ObexBackend {
 public:
  virtual ~ObexBackend() = default;
  virtual bool Start(std::string& error) = 0;
  virtual int Fd() const = 0;
  virtual void Stop() = 0;
};
