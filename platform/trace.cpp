#include "platform.h"

namespace platform {
namespace {

TraceSink installedSink = nullptr;

}  // namespace

void SetTraceSink(TraceSink sink) { installedSink = sink; }
TraceSink CurrentTraceSink() { return installedSink; }

}  // namespace platform
