#include "support/win/SimLog.h"

int LinesFromPc(const std::string& log, const std::string& text)
{
    int n = 0;
    size_t start = 0;
    while (start < log.size()) {
        size_t end = log.find('\n', start);
        if (end == std::string::npos)
            end = log.size();
        std::string line = log.substr(start, end - start);
        if (line.find("PC> ") != std::string::npos && line.find(text) != std::string::npos)
            ++n;
        start = end + 1;
    }
    return n;
}
