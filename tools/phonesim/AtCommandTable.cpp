#include "AtCommand.h"

#include <cctype>

namespace {

bool IsExtendedPrefix(char c) { return c == '+' || c == '^' || c == '$' || c == '*' || c == '%' || c == '#'; }

std::string Upper(std::string_view text) {
  std::string out(text);
  for (char& c : out) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return out;
}

}  // namespace

AtCommand ParseAtCommand(std::string_view line) {
  AtCommand command;
  command.line = std::string(line);
  size_t at = Upper(line).find("AT");
  if (at == std::string::npos) return command;
  command.isAt = true;
  std::string_view rest = line.substr(at + 2);
  size_t nameEnd = 0;
  if (rest.empty()) {
    nameEnd = 0;
  } else if (IsExtendedPrefix(rest[0])) {
    nameEnd = 1;
    while (nameEnd < rest.size() && rest[nameEnd] != '=' && rest[nameEnd] != '?') ++nameEnd;
  } else if (rest[0] == '&' && rest.size() > 1) {
    nameEnd = 2;
  } else {
    nameEnd = 1;
  }
  command.name = Upper(rest.substr(0, nameEnd));
  command.args = std::string(rest.substr(nameEnd));
  return command;
}

void AtCommandTable::Add(const std::string& name, AtHandler handler) { commands_[Upper(name)] = std::move(handler); }

void AtCommandTable::AddLine(const std::string& line, AtHandler handler) { lines_[line] = std::move(handler); }

const AtHandler* AtCommandTable::Find(const AtCommand& command) const {
  auto line = lines_.find(command.line);
  if (line != lines_.end()) return &line->second;
  if (!command.isAt) return nullptr;
  auto found = commands_.find(command.name);
  return found == commands_.end() ? nullptr : &found->second;
}
