#pragma once

#include <QString>

// Where one of the program's private modules (a library it loads on first use) lies: the file
// that the environment variable `overrideVariable` names when it is set; otherwise beside the
// program (a build tree) or in the installed library folder "../lib/tipdesk" beside it.
QString privateModulePath(const char *fileName, const char *overrideVariable);
