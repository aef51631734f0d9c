#pragma once

// True when the machine looks connected: some network interface other than the loopback is up,
// running and has an IPv4 or IPv6 address. A cheap local test that sends nothing, like Windows'
// InternetGetConnectedState; a true answer does not promise that any server is reachable.
bool InternetGetConnectedState();
