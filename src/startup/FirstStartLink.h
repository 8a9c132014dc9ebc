#pragma once

#include <QString>

// The first start of a program folder with a controller already plugged in: when the folder has
// no ports/COM1 and exactly one USB serial adapter is present, port 1 is linked to it by its
// stable name (under /dev/serial/by-id), so that the program opens it without a visit to "Chose
// port". With none or several adapters nothing is guessed.
namespace FirstStartLink {

// Where the adapters' stable names are: /dev/serial/by-id, or the folder the environment
// variable KVT_SERIAL_BY_ID names (a stand-in for tests).
QString ByIdFolder();

// Links <portsFolder>/COM1 to the one adapter of `byIdFolder`; the adapter's name when it was
// linked, empty otherwise.
QString LinkSingleAdapter(const QString& portsFolder, const QString& byIdFolder);

} // namespace FirstStartLink
