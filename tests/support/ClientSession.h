#pragma once

#include <QString>
#include <QStringList>

class TestServer;

// What the login leaves behind, done directly for tests of the windows after login: the client
// points at a test server, the toolbar globals hold the server's values, the configuration globals
// the demo seed's, the user's globals are filled from the user's record and the user's login row is
// written, all through the same code the login window uses.
namespace ClientSession {

// Logs the user in as far as the main window needs it. Level filtering and the other settings
// are the test's own: set them after this call.
void logIn(TestServer &server, const QString &name, const QString &password);
void logIn(const QString &baseUrl, const QString &name, const QString &password);

// The login window's configuration load: the configuration and toolbar records into the globals.
// Raises AppError when it fails.
void loadConfiguration();

// The user ids that have a login row on the server.
QStringList loggedInUserIds(TestServer &server);

} // namespace ClientSession
