// One reply line read byte by byte, for the Samsung exchanges that must stop at a marker line
// rather than at the final result.
#pragma once

#include <cstdint>
#include <string>

class Socket;

enum class LineStatus {
    Line,      // a line ended by LF arrived (CR and LF are not kept)
    Silent,    // a read returned nothing before the LF
    TooLong,   // the phone sent more than kMaxAtLineBytes without a line end
};

constexpr uint32_t kMaxAtLineBytes = 4 * 1024;

LineStatus ReadAtLine(Socket& socket, std::string& line);
