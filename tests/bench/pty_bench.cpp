// Raw pseudo-terminal throughput on this machine: the ceiling for any serial transport that
// runs over a pty (the simulated phones of the Wine tests). Writes 1 MiB into the master
// side in 64 KiB blocks and reads it from the slave side in raw mode.
#include <fcntl.h>
#include <pty.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <thread>
#include <vector>

int main()
{
    constexpr size_t kTotal = 1024 * 1024;
    int master = -1;
    int slave = -1;
    if (openpty(&master, &slave, nullptr, nullptr, nullptr) != 0) {
        perror("openpty");
        return 1;
    }
    termios raw{};
    tcgetattr(slave, &raw);
    cfmakeraw(&raw);
    tcsetattr(slave, TCSANOW, &raw);

    std::vector<char> block(64 * 1024, 'x');
    auto start = std::chrono::steady_clock::now();
    std::thread writer([&] {
        size_t sent = 0;
        while (sent < kTotal) {
            ssize_t n = write(master, block.data(), std::min(block.size(), kTotal - sent));
            if (n <= 0)
                break;
            sent += static_cast<size_t>(n);
        }
    });
    std::vector<char> buffer(64 * 1024);
    size_t got = 0;
    while (got < kTotal) {
        ssize_t n = read(slave, buffer.data(), buffer.size());
        if (n <= 0)
            break;
        got += static_cast<size_t>(n);
    }
    writer.join();
    double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    printf("raw pty (native): %zu bytes in %.1f ms = %.0f bytes/s\n", got, seconds * 1000,
           got / seconds);
    close(master);
    close(slave);
    return got == kTotal ? 0 : 1;
}
