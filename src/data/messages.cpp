#include "data/messages.h"

namespace {
MessageSink g_sink = nullptr;
}

MessageSink SetMessageSink(MessageSink sink)
{
    const MessageSink replaced = g_sink;
    g_sink = sink;
    return replaced;
}

void ReportMessage(const char* title, const char* text)
{
    if (g_sink) g_sink(title, text);
}
