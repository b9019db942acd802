#pragma once

// The few socket calls of the test servers, the same on POSIX and on Windows
// (Winsock), where sockets are handles of their own type, need starting,
// and take their options and buffers as char pointers.
#ifdef _WIN32
#include <winsock2.h>
#include <ws2tcpip.h>
#else
#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>
#endif

namespace testsockets {

#ifdef _WIN32
using Socket = SOCKET;
inline const Socket none = INVALID_SOCKET;
#else
using Socket = int;
inline const Socket none = -1;
#endif

// A TCP socket (the library started first where it needs it).
Socket tcp();
void close(Socket s);
sockaddr_in loopback(unsigned short port);
bool bindLoopback(Socket s, unsigned short port = 0);
unsigned short boundPort(Socket s);
// Waits for the events on the sockets; the number with events, 0 at the time-out.
int poll(pollfd *fds, unsigned count, int timeoutMs);
long receive(Socket s, char *into, long size);
// Never raises SIGPIPE: a client that left is an ordinary outcome.
long send(Socket s, const char *bytes, long size);
void setReceiveTimeout(Socket s, int seconds);
// A send that cannot go on for that long fails instead of blocking for ever.
void setSendTimeout(Socket s, int seconds);
// The close sends a reset instead of the orderly end.
void resetOnClose(Socket s);
void setNonBlocking(Socket s);
// Two connected sockets on 127.0.0.1: a wake-up line that poll() watches.
bool pair(Socket ends[2]);

} // namespace testsockets
