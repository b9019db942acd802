#include "support/test_sockets.h"

#ifndef _WIN32
#include <fcntl.h>
#endif

namespace testsockets {

Socket tcp()
{
#ifdef _WIN32
    static const bool started = [] {
        WSADATA data;
        return WSAStartup(MAKEWORD(2, 2), &data) == 0;
    }();
    if (!started)
        return none;
#endif
    return ::socket(AF_INET, SOCK_STREAM, 0);
}

void close(Socket s)
{
    if (s == none)
        return;
#ifdef _WIN32
    ::closesocket(s);
#else
    ::close(s);
#endif
}

sockaddr_in loopback(unsigned short port)
{
    sockaddr_in address {};
    address.sin_family = AF_INET;
    address.sin_port = htons(port);
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    return address;
}

bool bindLoopback(Socket s, unsigned short port)
{
    const sockaddr_in address = loopback(port);
    return ::bind(s, reinterpret_cast<const sockaddr *>(&address), sizeof address) == 0;
}

unsigned short boundPort(Socket s)
{
    sockaddr_in address {};
    socklen_t length = sizeof address;
    ::getsockname(s, reinterpret_cast<sockaddr *>(&address), &length);
    return ntohs(address.sin_port);
}

int poll(pollfd *fds, unsigned count, int timeoutMs)
{
#ifdef _WIN32
    return ::WSAPoll(fds, count, timeoutMs);
#else
    return ::poll(fds, count, timeoutMs);
#endif
}

long receive(Socket s, char *into, long size)
{
    return long(::recv(s, into, int(size), 0));
}

long send(Socket s, const char *bytes, long size)
{
#ifdef _WIN32
    return long(::send(s, bytes, int(size), 0));
#else
    return long(::send(s, bytes, size_t(size), MSG_NOSIGNAL));
#endif
}

namespace {

void setTimeout(Socket s, int option, int seconds)
{
#ifdef _WIN32
    const DWORD limit = DWORD(seconds) * 1000;
#else
    const timeval limit { seconds, 0 };
#endif
    ::setsockopt(s, SOL_SOCKET, option, reinterpret_cast<const char *>(&limit), sizeof limit);
}

} // namespace

void setReceiveTimeout(Socket s, int seconds)
{
    setTimeout(s, SO_RCVTIMEO, seconds);
}

void setSendTimeout(Socket s, int seconds)
{
    setTimeout(s, SO_SNDTIMEO, seconds);
}

void resetOnClose(Socket s)
{
    const linger abort { 1, 0 };
    ::setsockopt(s, SOL_SOCKET, SO_LINGER, reinterpret_cast<const char *>(&abort), sizeof abort);
}

void setNonBlocking(Socket s)
{
#ifdef _WIN32
    u_long on = 1;
    ::ioctlsocket(s, FIONBIO, &on);
#else
    ::fcntl(s, F_SETFL, ::fcntl(s, F_GETFL) | O_NONBLOCK);
#endif
}

bool pair(Socket ends[2])
{
    ends[0] = ends[1] = none;
    const Socket listener = tcp();
    bool ok = listener != none && bindLoopback(listener) && ::listen(listener, 1) == 0;
    if (ok) {
        ends[1] = tcp();
        const sockaddr_in address = loopback(boundPort(listener));
        ok = ends[1] != none
            && ::connect(ends[1], reinterpret_cast<const sockaddr *>(&address), sizeof address) == 0;
    }
    if (ok) {
        ends[0] = ::accept(listener, nullptr, nullptr);
        ok = ends[0] != none;
    }
    close(listener);
    if (!ok) {
        close(ends[0]);
        close(ends[1]);
        ends[0] = ends[1] = none;
    }
    return ok;
}

} // namespace testsockets
