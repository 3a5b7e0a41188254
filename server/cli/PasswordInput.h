#pragma once

#include <QString>

namespace server {

// Reads a password for an operator command from standard input, so that it never appears on a
// command line (which every user of the machine can read with ps). On a terminal it prompts on
// stderr and does not echo; otherwise it takes the first line (without its line ending).
namespace PasswordInput {

QString read(const QString &prompt);

} // namespace PasswordInput

} // namespace server
