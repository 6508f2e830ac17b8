// The one way the document and the engine show a message to the user. They
// never open a window themselves: the application installs a handler (a
// message box in the window, standard error on the command line, a recorder
// in tests). Without a handler, messages go to standard error.
#pragma once

#include <functional>
#include <string>

enum class TMessageKind { Error, Warning };

using TMessageHandler = std::function<void(TMessageKind kind, const std::string& text)>;

// Installs the handler and returns the one it replaces.
TMessageHandler SetMessageHandler(TMessageHandler handler);

void ShowMessage(TMessageKind kind, const std::string& text);
