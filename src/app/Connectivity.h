#pragma once

#include <QUrl>

// Whether the machine has a network connection over which the operator's server may be reached.
// A server on loopback always counts as reachable; otherwise the network layer's reachability
// decides, and where it cannot tell, any non-loopback interface that is up with an address.
bool ConnectivityCheck(const QUrl &server);
