#include "data/messages.h"

namespace {
MessageSink g_sink = nullptr;
}

void SetMessageSink(MessageSink sink)
{
    g_sink = sink;
}

void ReportMessage(const char* title, const char* text)
{
    if (g_sink) g_sink(title, text);
}
