#include "samsung/AtLine.h"

#include "transport/Socket.h"

LineStatus ReadAtLine(Socket& socket, std::string& line)
{
    line.clear();
    for (;;) {
        char byte = 0;
        if (socket.Read(&byte, 1) <= 0)
            return LineStatus::Silent;
        if (byte == '\n')
            return LineStatus::Line;
        if (byte == '\r')
            continue;
        if (line.size() >= kMaxAtLineBytes)
            return LineStatus::TooLong;
        line.push_back(byte);
    }
}
