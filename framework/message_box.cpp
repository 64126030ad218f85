#include "framework/message_box.h"

#include <cstdio>

namespace framework {

namespace {

MessageSink& InstalledSink() {
    static MessageSink sink;
    return sink;
}

// A message box's text spans lines; on a terminal it becomes one line.
int WriteToStandardError(const std::string& text, unsigned /*type*/, unsigned /*helpContext*/) {
    std::string line = text;
    while (!line.empty() && line.back() == '\n') {
        line.pop_back();
    }
    for (char& c : line) {
        if (c == '\n') {
            c = ' ';
        }
    }
    std::fprintf(stderr, "%s\n", line.c_str());
    return kIdOk;
}

}  // namespace

int MessageBox(const std::string& text, unsigned type, unsigned helpContext) {
    const MessageSink& sink = InstalledSink();
    return sink ? sink(text, type, helpContext) : WriteToStandardError(text, type, helpContext);
}

MessageSink SetMessageSink(MessageSink sink) {
    MessageSink previous = std::move(InstalledSink());
    InstalledSink() = std::move(sink);
    return previous;
}

}  // namespace framework
