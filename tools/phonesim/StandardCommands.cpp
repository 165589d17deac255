#include "StandardCommands.h"

namespace {

AtHandler Identity(std::string value) {
  return [value](const AtCommand& command, AtLine& line) {
    if (command.args == "=?") {
      line.Final("OK");
    } else if (command.args.empty()) {
      line.Info(value);
      line.Final("OK");
    } else {
      line.Final("ERROR");
    }
  };
}

void Reset(const AtCommand& command, AtLine& line) {
  if (!command.args.empty() && command.args != "0") {
    line.Final("ERROR");
    return;
  }
  line.SetEcho(true);
  line.Final("OK");
}

void EchoSetting(const AtCommand& command, AtLine& line) {
  if (command.args.empty() || command.args == "0") {
    line.SetEcho(false);
  } else if (command.args == "1") {
    line.SetEcho(true);
  } else {
    line.Final("ERROR");
    return;
  }
  line.Final("OK");
}

// AT^SQWE=3 hands the cable to OBEX; =0 is the AT mode the line is already in.
void SiemensSwitch(const AtCommand& command, AtLine& line) {
  if (command.args == "=3") {
    line.Final("OK");
    line.EnterObexMode();
  } else if (command.args == "=0") {
    line.Final("OK");
  } else if (command.args == "?") {
    line.Info("^SQWE: 0");
    line.Final("OK");
  } else if (command.args == "=?") {
    line.Info("^SQWE: (0-3)");
    line.Final("OK");
  } else {
    line.Final("ERROR");
  }
}

}  // namespace

void AddStandardCommands(AtCommandTable& table, const PhoneProfile& profile) {
  table.Add("", [](const AtCommand&, AtLine& line) { line.Final("OK"); });
  table.Add("Z", Reset);
  table.Add("&F", Reset);
  table.Add("E", EchoSetting);
  const std::pair<const char*, const std::string*> identity[] = {
      {"+CGMI", &profile.manufacturer}, {"+CGMM", &profile.model},   {"+CGSN", &profile.serial},
      {"+CGMR", &profile.revision},     {"+GMI", &profile.manufacturer}, {"+GMM", &profile.model},
      {"+GSN", &profile.serial},        {"+GMR", &profile.revision},
  };
  for (const auto& [name, value] : identity) table.Add(name, Identity(*value));
  if (profile.obexSwitch) table.Add("^SQWE", SiemensSwitch);
}
