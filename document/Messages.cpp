#include "document/Messages.h"

#include <cstdio>
#include <utility>

namespace {
TMessageHandler CurrentHandler;
}

TMessageHandler SetMessageHandler(TMessageHandler handler) {
  return std::exchange(CurrentHandler, std::move(handler));
}

void ShowMessage(TMessageKind kind, const std::string& text) {
  if (CurrentHandler) {
    CurrentHandler(kind, text);
    return;
  }
  std::fprintf(stderr, "%s: %s\n", kind == TMessageKind::Error ? "Error" : "Warning", text.c_str());
}
