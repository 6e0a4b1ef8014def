#pragma once
// A loopback port nobody listens on now (the kernel's choice of a free one,
// released at once), for tests that need a closed port or start a program
// on a port of their choosing.
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

namespace testing_support {

inline int FreeLoopbackPort() {
    const int fd = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{AF_INET, 0, {htonl(INADDR_LOOPBACK)}, {}};
    socklen_t size = sizeof address;
    bind(fd, reinterpret_cast<sockaddr*>(&address), size);
    getsockname(fd, reinterpret_cast<sockaddr*>(&address), &size);
    close(fd);
    return ntohs(address.sin_port);
}

}  // namespace testing_support
