#include "support/fatalcapture.h"

namespace {
void ThrowingHandler(const std::string& message) { throw FatalError(message); }
}  // namespace

ScopedFatalCapture::ScopedFatalCapture() : m_previous(SetFatalHandler(ThrowingHandler)) {}
ScopedFatalCapture::~ScopedFatalCapture() { SetFatalHandler(m_previous); }
