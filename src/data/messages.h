// How code without a window reports the program's modal messages.
//
// The core library never opens a window; it hands each message (title, text)
// to the installed sink. The toolkit layer installs one that shows a modal
// message box; the exporter installs one that writes to standard error.
#pragma once

using MessageSink = void (*)(const char* title, const char* text);

// Installs the sink and returns the one it replaces; nullptr drops messages.
MessageSink SetMessageSink(MessageSink sink);

// Hands one message to the installed sink.
void ReportMessage(const char* title, const char* text);
