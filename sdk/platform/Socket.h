// Thin layer over POSIX sockets: one operation each, IPv4 only. Sockets are close-on-exec. A receive that
// times out or is interrupted returns 0 ("nothing received"), so callers simply try again.
#pragma once

#include <cstdint>
#include <netinet/in.h>

namespace calvox::net {

using Address = sockaddr_in;  // 16-byte IPv4 socket address

constexpr int kInvalidSocket = -1;

int OpenUdp();     // -1 on failure
int OpenTcp();
void Close(int fd);
// Stops receiving: a thread blocked in ReceiveFrom returns at once.
void ShutdownRead(int fd);
bool SetReceiveTimeout(int fd, int ms);
bool SetBroadcast(int fd, bool on);
bool Bind(int fd, uint32_t addressNetworkOrder, uint16_t port);
uint16_t LocalPort(int fd);  // 0 when unknown
bool Connect(int fd, const Address& to);
// Stream sockets (the HTTP client). Send returns the bytes sent or -1.
int Send(int fd, const void* data, int length);
// Bytes received; 0 at the end of the stream; kTimedOut when the receive time-out passed or a signal came in
// (nothing received); -1 on error.
constexpr int kTimedOut = -2;
int Receive(int fd, void* data, int capacity);
int SendTo(int fd, const void* data, int length, const Address& to);
// Bytes received, or 0 for time-out, interruption, shutdown or error. A datagram longer than capacity is cut,
// and its full length is returned, so the caller can tell and drop it.
int ReceiveFrom(int fd, void* data, int capacity, Address* from);
// As ReceiveFrom, but returns 0 at once when nothing is queued.
int ReceiveFromNow(int fd, void* data, int capacity, Address* from);
// Sleeps until fd has something to read (a datagram, or its reading side shut down) or timeoutNs passed; true
// for the former. An interruption counts as a time-out.
bool WaitReadable(int fd, int64_t timeoutNs);
// First IPv4 address of a dotted address or host name, network order; 0 when unknown.
uint32_t Resolve(const char* host);
// address in network order as passed; port converted to network order.
Address MakeAddress(uint32_t addressNetworkOrder, uint16_t port);

}  // namespace calvox::net
