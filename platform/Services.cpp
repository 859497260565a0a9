#include "Services.h"

#include <QtGlobal>

namespace platform {

void missingPort(const char* typeName) {
    qFatal("no platform adapter installed for %s", typeName);
}

} // namespace platform
