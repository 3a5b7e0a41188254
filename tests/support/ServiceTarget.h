#pragma once

#include <QString>

// Registers the client's service settings for the server at baseUrl ("http://host:port/"), with a
// call time limit short enough that a test waiting on a dead server fails quickly.
void pointClientAt(const QString &baseUrl, int timeoutMs = 5000);
