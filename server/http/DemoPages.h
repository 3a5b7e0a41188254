#pragma once

#include "http/HttpReply.h"

#include <QString>

#include <optional>

namespace server {

// The server's own pages: "/" (what this server offers) and the demo pages under "/demo/" that
// the demo toolbar entries 4 to 10 and the demo home page point at.
namespace DemoPages {

std::optional<HttpReply> page(const QString &path);

// The demo pages of toolbar entries 4 to 10, relative to the server's base address.
QString toolbarPage(int entry);

} // namespace DemoPages

} // namespace server
