#include "NetworkState.h"

#include <ifaddrs.h>
#include <net/if.h>
#include <netinet/in.h>
#include <sys/socket.h>

bool InternetGetConnectedState() {
  ifaddrs *list = nullptr;
  if (getifaddrs(&list) != 0)
    return false;
  bool connected = false;
  for (const ifaddrs *entry = list; entry && !connected; entry = entry->ifa_next) {
    if (!entry->ifa_addr || (entry->ifa_flags & IFF_LOOPBACK))
      continue;
    if (!(entry->ifa_flags & IFF_UP) || !(entry->ifa_flags & IFF_RUNNING))
      continue;
    const int family = entry->ifa_addr->sa_family;
    if (family == AF_INET)
      connected = true;
    else if (family == AF_INET6) {
      // A link-local address alone (fe80::/10) comes with every cable and reaches no server.
      const auto *address = reinterpret_cast<const sockaddr_in6 *>(entry->ifa_addr);
      connected = !IN6_IS_ADDR_LINKLOCAL(&address->sin6_addr);
    }
  }
  freeifaddrs(list);
  return connected;
}
